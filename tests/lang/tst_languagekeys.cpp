#include "lang/LangTable.h"
#include "support/ScriptedPlatform.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

// The shipped language files against the program: all complete, all alike, and every
// key that the code looks up present in each.

namespace {

const QStringList ShippedFiles{QStringLiteral("english.sel"),  QStringLiteral("italiano.sel"),
                               QStringLiteral("deutsch.sel"),  QStringLiteral("espanol.sel"),
                               QStringLiteral("francais.sel"), QStringLiteral("portugues.sel"),
                               QStringLiteral("polski.sel"),   QStringLiteral("russkij.sel")};

QString shippedPath(const QString &fileName)
{
    return QStringLiteral(BVL_DATA_DIR) + QLatin1Char('/') + fileName;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// Keys of a language file, folded (keys are unique without regard to case).
QSet<QString> keysOf(const QString &path)
{
    QSet<QString> keys;
    for (const QByteArray &line : readAll(path).split('\n')) {
        const int eq = line.indexOf('=');
        if (eq >= 0)
            keys.insert(QString::fromLatin1(line.left(eq)).toCaseFolded());
    }
    return keys;
}

// Every string literal of source text that has the form of a language key
// ("bvlMain.sSave?_M", "bvlEditSettingDo.opType(3)"). Include lines name files, not keys.
QStringList keysInSource(const QString &source)
{
    static const QRegularExpression literal(QStringLiteral("\"(bvl[A-Za-z]+\\.[A-Za-z0-9_?()]+)\""));
    QStringList keys;
    for (const QString &line : source.split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1String("#include")))
            continue;
        auto it = literal.globalMatch(line);
        while (it.hasNext())
            keys << it.next().captured(1);
    }
    return keys;
}

// The localised controls of the program's windows.
const QStringList ControlKeys{"bvlMain.frDescription",
                              "bvlMain.mnuFile",
                              "bvlMain.mnfOpenSEEM",
                              "bvlMain.mnfChangeSettingFile",
                              "bvlMain.mnfSaveSEEM",
                              "bvlMain.mnfRestore",
                              "bvlMain.mnfAutoSettingSelection",
                              "bvlMain.mnfQuit",
                              "bvlMain.mnuSetting",
                              "bvlMain.mnuLanguage",
                              "bvlMain.mnfRestoreItem",
                              "bvlEditSetting.frSettings",
                              "bvlEditSetting.cmEdit",
                              "bvlEditSetting.cmCopy",
                              "bvlEditSetting.cmDelete",
                              "bvlEditSetting.cmAdd",
                              "bvlEditSetting.frGeneralInfo",
                              "bvlEditSetting.lbSuitableSEEMRec",
                              "bvlEditSetting.lbSuitablePhone",
                              "bvlEditSetting.lbSuitableSEEM",
                              "bvlEditSetting.lbAuthor",
                              "bvlEditSetting.mnuFile",
                              "bvlEditSetting.mnfNew",
                              "bvlEditSetting.mnfOpenSetting",
                              "bvlEditSetting.mnfSaveSetting",
                              "bvlEditSettingDo.cmCancel",
                              "bvlEditSettingDo.cmOK",
                              "bvlEditSettingDo.frSetting",
                              "bvlEditSettingDo.opType(0)",
                              "bvlEditSettingDo.opType(1)",
                              "bvlEditSettingDo.opType(2)",
                              "bvlEditSettingDo.opType(3)",
                              "bvlEditSettingDo.opType(4)",
                              "bvlEditSettingDo.lbMaxStringLength",
                              "bvlEditSettingDo.lbAvailableChars",
                              "bvlEditSettingDo.lbUncheckedValue",
                              "bvlEditSettingDo.lbCheckedValue",
                              "bvlEditSettingDo.lbSettingValueVal",
                              "bvlEditSettingDo.lbSettingValueList",
                              "bvlEditSettingDo.lbStateBin",
                              "bvlEditSettingDo.lbStateDec",
                              "bvlEditSettingDo.lbBitSelection",
                              "bvlEditSettingDo.lbSettingName",
                              "bvlEditSettingDo.lbSettingDescription",
                              "bvlEditSettingDo.lbSettingGroup",
                              "bvlEditSettingDo.lbOffset",
                              "bvlEditSettingDo.lbDecOffset",
                              "bvlEditSettingDo.lbHexOffset"};

}   // namespace

class TestLanguageKeys : public QObject
{
    Q_OBJECT
private slots:
    void shippedFilesLoad_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("languageName");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("english") << "english.sel"
                                 << "English"
                                 << "en" << false;
        QTest::newRow("italiano") << "italiano.sel"
                                  << "Italiano"
                                  << "it" << false;
        QTest::newRow("deutsch") << "deutsch.sel"
                                 << "Deutsch"
                                 << "de" << false;
        QTest::newRow("espanol") << "espanol.sel" << QString::fromUtf8("Español") << "es" << false;
        QTest::newRow("francais") << "francais.sel" << QString::fromUtf8("Français") << "fr" << false;
        QTest::newRow("portugues") << "portugues.sel" << QString::fromUtf8("Português") << "pt" << false;
        QTest::newRow("polski") << "polski.sel"
                                << "Polski"
                                << "pl" << true;
        QTest::newRow("russkij") << "russkij.sel" << QString::fromUtf8("Русский") << "ru" << true;
    }
    void shippedFilesLoad()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, languageName);
        QFETCH(QString, locale);
        QFETCH(bool, utf8);
        const QString path = shippedPath(fileName);

        ScriptedPlatform platform;
        LangTable table(platform);
        QVERIFY(table.LoadLanguageFile(path));
        QString name;
        QVERIFY(LangTable::GetLanguageName(path, name));
        QCOMPARE(name, languageName);
        QCOMPARE(table.GetLangString(QStringLiteral("Main.Locale")), locale);
        QVERIFY(platform.calls.isEmpty());

        // CR LF line ends, as other editors of these files expect; Windows-1252 text, or
        // UTF-8 marked as such for the languages that code page cannot write.
        const QByteArray bytes = readAll(path);
        QCOMPARE(bytes.count("\n"), bytes.count("\r\n"));
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.startsWith("\xEF\xBB\xBF"), utf8);
        if (!utf8)
            QVERIFY(!bytes.contains("\xC3"));   // no UTF-8 sequences for accented letters
    }

    // A translation keeps what the program or the user relies on: the placeholders, the
    // blank a text ends with when something follows it, and a mnemonic where English has
    // one (a translation may give one where English has none yet, never two).
    void translationsKeepTheEnglishForm()
    {
        ScriptedPlatform platform;
        LangTable english(platform);
        QVERIFY(english.LoadLanguageFile(shippedPath(ShippedFiles.at(0))));
        static const QRegularExpression placeholder(QStringLiteral("%\\d"));
        const auto form = [](const QString &text) {
            QStringList marks;
            auto it = placeholder.globalMatch(text);
            while (it.hasNext())
                marks << it.next().captured();
            marks.sort();
            return QStringLiteral("%1, ends with blank: %2")
                .arg(marks.join(QLatin1Char(' ')))
                .arg(text.endsWith(QLatin1Char(' ')));
        };
        for (const QString &fileName : ShippedFiles.mid(1)) {
            LangTable table(platform);
            QVERIFY(table.LoadLanguageFile(shippedPath(fileName)));
            for (const QString &key : keysOf(shippedPath(ShippedFiles.at(0)))) {
                QString value;
                QVERIFY2(table.Lookup(key, value), qPrintable(fileName + ": " + key));
                const QString englishValue = english.GetLangString(key);
                QCOMPARE(fileName + ": " + key + ": " + form(value), fileName + ": " + key + ": " + form(englishValue));
                const int marks = int(value.count(QLatin1Char('&')));
                QVERIFY2(marks == englishValue.count(QLatin1Char('&')) || (marks == 1 && !englishValue.contains('&')),
                         qPrintable(fileName + ": " + key + ": " + value));
            }
        }
        QVERIFY(platform.calls.isEmpty());
    }

    void italianAccentsAreWindows1252()
    {
        ScriptedPlatform platform;
        LangTable table(platform);
        QVERIFY(table.LoadLanguageFile(shippedPath("italiano.sel")));
        QCOMPARE(table.GetLangString("bvlEditSetting.lbSuitablePhone"),
                 QString::fromUtf8("Il file &è adatto ai telefoni:"));
    }

    void filesHoldTheSameKeys()
    {
        const QSet<QString> english = keysOf(shippedPath(ShippedFiles.at(0)));
        QVERIFY(!english.isEmpty());
        for (const QString &fileName : ShippedFiles.mid(1)) {
            const QSet<QString> other = keysOf(shippedPath(fileName));
            QVERIFY2(QSet<QString>(english).subtract(other).isEmpty(), qPrintable(fileName + " lacks keys"));
            // Italian is written with English; the other translations may hold keys whose
            // English is still on its way from another branch.
            if (fileName == QLatin1String("italiano.sel"))
                QVERIFY2(QSet<QString>(other).subtract(english).isEmpty(),
                         qPrintable(fileName + " has keys English lacks"));
        }
    }

    void everyControlKeyIsPresent()
    {
        QCOMPARE(ControlKeys.size(), 48);
        for (const QString &fileName : ShippedFiles) {
            ScriptedPlatform platform;
            LangTable table(platform);
            QVERIFY(table.LoadLanguageFile(shippedPath(fileName)));
            QString value;
            for (const QString &key : ControlKeys)
                QVERIFY2(table.Lookup(key, value) && !value.isEmpty(), qPrintable(fileName + ": " + key));
        }
    }

    void keysAreFoundInSource_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("lookup") << "ctx.T(QStringLiteral(\"bvlMain.sSave?_M\"))" << QStringList{"bvlMain.sSave?_M"};
        QTest::newRow("array element and constant")
            << "const QString k = QStringLiteral(\"bvlEditSettingDo.opType(3)\"); GetLangString(\"bvlMain.a_V\")"
            << QStringList{"bvlEditSettingDo.opType(3)", "bvlMain.a_V"};
        QTest::newRow("key prefix only") << "QStringLiteral(\"bvlMain.\") + name" << QStringList{};
        QTest::newRow("window name") << "setObjectName(QStringLiteral(\"bvlMain\"))" << QStringList{};
        QTest::newRow("include") << "#include \"bvlMain.h\"" << QStringList{};
    }
    void keysAreFoundInSource()
    {
        QFETCH(QString, source);
        QFETCH(QStringList, keys);
        QCOMPARE(keysInSource(source), keys);
    }

    // A key that a window looks up but the files lack would show "?" to the user.
    void everyKeyTheCodeUsesIsPresent()
    {
        QStringList used;
        QDirIterator files(QStringLiteral(BVL_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            for (const QString &key : keysInSource(QString::fromUtf8(readAll(path))))
                used << key + QStringLiteral(" (") + QFileInfo(path).fileName() + QLatin1Char(')');
        }

        for (const QString &fileName : ShippedFiles) {
            ScriptedPlatform platform;
            LangTable table(platform);
            QVERIFY(table.LoadLanguageFile(shippedPath(fileName)));
            QStringList missing;
            QString value;
            // A count's key is the base of its plural forms, of which "other" is always there.
            for (const QString &use : used)
                if (const QString key = use.section(QLatin1Char(' '), 0, 0);
                    !table.Lookup(key, value) && !table.Lookup(key + QStringLiteral(".other"), value))
                    missing << use;
            QVERIFY2(missing.isEmpty(), qPrintable(fileName + " lacks " + missing.join(", ")));
        }
    }
};

QTEST_GUILESS_MAIN(TestLanguageKeys)
#include "tst_languagekeys.moc"
