// Every door to the same files gives one answer. Setting files and images made from a
// fixed seed (all five types, a group that overflows its page, texts with control
// characters, every offered code page) go through the main window and brimvale-cli:
// the window's Export values is what show prints, its Apply values and Save write what
// apply writes, a setting file comes back from its JSON form byte for byte, a profile
// put back on its own image changes nothing, the typing check takes exactly what the
// encoder writes, and check warns of another record exactly when the window asks.
// Generated records get one verdict from the check, brimvale-cli check, import and the
// setting dialog's OK, and the dialog refuses to show exactly those it would alter.
#include "core/CodePage.h"
#include "core/SettingFile.h"
#include "core/SettingFileJson.h"
#include "lang/LangTable.h"
#include "lang/Wording.h"
#include "seem/authoring/FindingTexts.h"
#include "seem/authoring/RecordRules.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/values/SettingCodec.h"
#include "seem/values/SettingValueParse.h"
#include "support/CliRun.h"
#include "support/EditorFixtures.h"
#include "support/FileBytes.h"
#include "support/GeneratedRecords.h"
#include "support/MainFixtures.h"
#include "support/ScriptedPlatform.h"

#include "ui/editor/bvlEditSettingDo.h"

#include <QJsonDocument>
#include <QRegularExpression>

#include <QRandomGenerator>
#include <QUndoStack>
#include <QtTest>

using namespace MainFixtures;

namespace {

// Random texts in the code page in use: letters, its upper half and control characters,
// NUL included (a setting file stores a text with its length, so any byte travels).
QString RandomText(QRandomGenerator &random, int length)
{
    QByteArray bytes;
    for (int i = 0; i < length; ++i) {
        const int kind = random.bounded(6);
        bytes.append(char(kind == 0   ? random.bounded(0x20)
                          : kind == 1 ? random.bounded(0x80, 0x100)
                                      : random.bounded('a', 'z' + 1)));
    }
    bytes.replace('\xA7', 'x');   // the separator of ValueNames and Values
    bytes.replace('\\', 'y');     // the separator of a group path
    return CodePage::decode(bytes);
}

// Every type, values inside their masks, lists with as many values as names and names
// repeated; one group of more than 20 settings, which the window shows on two pages.
SettingList RandomSettings(QRandomGenerator &random, int imageSize)
{
    SettingList settings;
    const int count = random.bounded(22, 40);
    for (int i = 0; i < count; ++i) {
        SettingStruct s;
        s.Type = quint8(random.bounded(5));
        s.Name = QStringLiteral("N%1 ").arg(i) + RandomText(random, 3).remove(QChar(0));
        s.Group =
            i < 21 ? QStringLiteral("Features")
                   : QStringLiteral("Net\\") + RandomText(random, 2).remove(QChar(0)).trimmed() + QStringLiteral("g");
        s.Description = RandomText(random, random.bounded(12));
        s.BitMask = quint8(random.bounded(1, 256));
        const int fieldSize = random.bounded(0, 12);
        s.MaxStringLength = fieldSize;
        s.Offset = random.bounded(imageSize - qMax(1, fieldSize) + 1);
        QStringList values, names;
        const int states = s.Type == quint8(SettingType::Checkbox) ? 2 : random.bounded(1, 5);
        for (int k = 0; k < states; ++k) {
            values << QString::number(random.bounded(256) & (random.bounded(8) ? s.BitMask : 0xFF));
            names << (random.bounded(3) ? QStringLiteral("V%1").arg(k) : QStringLiteral("V0"));
        }
        s.Values = JoinValues(values);
        if (s.Type == quint8(SettingType::ValueList))
            s.ValueNames = JoinValues(names);
        settings.append(s);
    }
    return settings;
}

QByteArray RandomImage(QRandomGenerator &random, int size)
{
    QByteArray image(size, Qt::Uninitialized);
    for (char &byte : image)
        byte = char(random.bounded(4) == 0 ? 0 : random.bounded(256));   // zeros often, to end strings
    return image;
}

CliResult Cli(const MainFixture &f, QStringList arguments)
{
    arguments.insert(1, QStringLiteral("--code-page=%1").arg(CodePage::Current()));
    return RunCliCaptured(arguments, f.folder.dir.path());
}

// One sample through both doors; a failure names the code page and the sample.
void DoorsAgree(MainFixture &f, QRandomGenerator &random, const QByteArray &what)
{
    const int imageSize = random.bounded(24, 96);
    const SettingList settings = RandomSettings(random, imageSize);
    const QByteArray image = RandomImage(random, imageSize);
    f.platform.clearCalls();
    f.openWith(settings, image);
    QVERIFY2(f.window->Settings.size() == settings.size() && f.platform.messages().isEmpty(),
             qPrintable(what + ": " + f.platform.messages().join('\n')));

    // Export values is what show prints.
    f.platform.answerFile(f.folder.file(QStringLiteral("exported.json")));
    f.window->mnfExportValues_Click();
    const CliResult shown = Cli(f, {QStringLiteral("show"), QStringLiteral("--format=json"), f.seemPath});
    QVERIFY2(shown.status == 0, qPrintable(shown.err));
    QVERIFY2(f.folder.bytes(QStringLiteral("exported.json")) == shown.out.toUtf8(), what.constData());

    // The setting file comes back from its JSON form byte for byte.
    const CliResult exported = Cli(
        f, {QStringLiteral("export"), f.secPath, QStringLiteral("-o"), f.folder.file(QStringLiteral("copy/sec.json"))});
    QVERIFY2(exported.status == 0, qPrintable(what + ": " + exported.err));
    const CliResult imported = Cli(f, {QStringLiteral("import"), f.folder.file(QStringLiteral("copy/sec.json")),
                                       QStringLiteral("-o"), f.folder.file(QStringLiteral("copy/back.sec"))});
    QVERIFY2(imported.status == 0, qPrintable(what + ": " + imported.err));
    QVERIFY2(f.folder.bytes(QStringLiteral("copy/back.sec")) == f.folder.bytes(QStringLiteral("sample.sec")),
             what.constData());

    // A profile put back on its own image: apply writes nothing, the window changes nothing.
    const int steps = f.window->UndoStack->count();
    f.platform.answerFile(f.folder.file(QStringLiteral("exported.json")));
    f.window->mnfApplyValues_Click();
    QVERIFY2(f.platform.messages().isEmpty(), qPrintable(what + ": " + f.platform.messages().join('\n')));
    QVERIFY2(f.window->UndoStack->count() == steps && f.window->IsSaved(), what.constData());
    const CliResult same =
        Cli(f, {QStringLiteral("apply"), f.seemPath, f.folder.file(QStringLiteral("exported.json"))});
    QVERIFY2(same.status == 0, qPrintable(what + ": " + same.err));
    QVERIFY2(f.image() == image, what.constData());

    // The values of another image: the window's apply and save write what apply writes,
    // or both refuse.
    const QString copy = f.folder.writeBytes(QStringLiteral("copy/0032_0001.seem"), image);
    const QString other = f.folder.writeBytes(QStringLiteral("other/0032_0001.seem"), RandomImage(random, imageSize));
    const CliResult profile =
        Cli(f, {QStringLiteral("show"), QStringLiteral("--format=json"), QStringLiteral("--sec"), f.secPath, other});
    QVERIFY2(profile.status == 0, qPrintable(profile.err));
    f.folder.writeBytes(QStringLiteral("profile.json"), profile.out.toUtf8());
    f.platform.clearCalls();
    f.platform.answerFile(f.folder.file(QStringLiteral("profile.json")));
    f.window->mnfApplyValues_Click();
    const bool windowRefused = !f.platform.messages().isEmpty();
    const bool windowSaved = windowRefused || f.window->IsSaved() || f.save();
    const CliResult applied = Cli(f, {QStringLiteral("apply"), QStringLiteral("--sec"), f.secPath, copy,
                                      f.folder.file(QStringLiteral("profile.json"))});
    QVERIFY2(windowSaved, qPrintable(what + ": " + f.platform.messages().join('\n')));
    QVERIFY2(windowRefused == (applied.status != 0),
             qPrintable(what + ": window: " + f.platform.messages().join('\n') + " cli: " + applied.err));
    QVERIFY2(f.image() == FileBytes(copy), what.constData());
}

// Whether the encoder writes text into a field so that it reads back as it was (a lone
// surrogate does, but no profile or argument can carry it, so both checks refuse it).
bool EncoderKeeps(const SettingStruct &s, const QString &text)
{
    MemoryByteStore store(QByteArray(s.MaxStringLength, '\x55'));
    try {
        SettingCodec::EncodeText(store, s, text);
    } catch (const BvlError &) {
        return false;
    }
    return SettingCodec::DecodeText(store, s) == text;
}

}   // namespace

class TestDoorsAgree : public QObject
{
    Q_OBJECT
private slots:
    void everyCodePageEveryDoor();
    void typingCheckTakesWhatTheEncoderWrites();
    void checkWarnsWhereTheWindowAsks();
    void languageFileWithoutMarkReadInTheChosenCodePage();
    void refusalsAreWordedAlike();
    void recordRulesAgreeAcrossDoors();
    void percentSignsStayAsWritten();
};

namespace {

QVector<int> ErrorRules(const QVector<FitFinding> &findings, int record)
{
    QVector<int> rules;
    for (const FitFinding &f : findings)
        if (f.severity == FitSeverity::Error && f.settings == QVector<int>{record})
            rules << int(f.rule);
    return rules;
}

QString JsonFile(const ProgramFolder &folder, const QString &name, const SettingList &settings)
{
    SettingFileHeader header = Header(0x32, 1);
    header.SettingCount = int(settings.size());
    return folder.writeBytes(name, QJsonDocument(SettingFileToJson(header, settings)).toJson());
}

}   // namespace

void TestDoorsAgree::everyCodePageEveryDoor()
{
    QRandomGenerator random(27062026);
    MainFixture f;
    QDir(f.folder.dir.path()).mkpath(QStringLiteral("copy"));
    QDir(f.folder.dir.path()).mkpath(QStringLiteral("other"));
    for (int page = 0; page < CodePage::Supported().size(); ++page) {
        f.window->mnfCodePage_Click(page);
        QCOMPARE(CodePage::Current(), CodePage::Supported().at(page));
        for (int sample = 0; sample < 2; ++sample) {
            DoorsAgree(f, random, QByteArray::number(CodePage::Current()) + " sample " + QByteArray::number(sample));
            if (QTest::currentTestFailed())
                return;
        }
    }
}

void TestDoorsAgree::typingCheckTakesWhatTheEncoderWrites()
{
    using namespace SeemFixtures;
    const SettingStruct ansi = AnsiString(0, 4);
    const SettingStruct unicode = UnicodeString(0, 8);
    // UTF-16 fields do not depend on the code page: checked once, in the first.
    for (int number : CodePage::Supported()) {
        CodePage::Scope scope(number);
        for (int u = 0; u <= 0xFFFF; ++u) {
            const QString text = QStringLiteral("a") + QChar(u) + QStringLiteral("b");
            for (const SettingStruct &s : {ansi, unicode}) {
                if (s.Type == unicode.Type && number != CodePage::Supported().first())
                    continue;
                // The window's check, the command line's and the encoder's round trip.
                const bool typed = CheckTypedValue(s, text) == TypedValueProblem::None;
                const bool given = ParseValueText(s, text).accepted;
                if (typed != given || (typed && !EncoderKeeps(s, text)))
                    QFAIL(qPrintable(QStringLiteral("%1, type %2, U+%3: typed %4, given %5, encoder keeps %6")
                                         .arg(number)
                                         .arg(s.Type)
                                         .arg(u, 4, 16, QLatin1Char('0'))
                                         .arg(typed)
                                         .arg(given)
                                         .arg(EncoderKeeps(s, text))));
            }
        }
    }
}

void TestDoorsAgree::checkWarnsWhereTheWindowAsks()
{
    MainFixture f;
    for (const auto &[seemNr, seemRec] : {QPair<int, int>{0x32, 1}, {0x32, 2}, {0x33, 1}, {0xFFFF, 0x8000}}) {
        f.platform.clearCalls();
        f.folder.writeSec(QStringLiteral("sample.sec"), Header(qint16(seemNr), qint16(seemRec)), SampleSettings());
        const bool other = seemNr != 0x32 || seemRec != 1;
        f.platform.answerFile(f.seemPath);
        if (other) {   // no setting file matches the image's name: the user picks this one
            f.platform.answerFile(f.secPath);
            f.platform.answerMessage(MsgResult::No);
        }
        f.window->mnfOpenSEEM_Click();
        QVERIFY2(f.platform.allAnswersUsed(), qPrintable(QString::number(seemNr) + f.platform.messages().join('\n')));
        QCOMPARE(f.platform.messages().size(), other ? 1 : 0);
        const CliResult checked = Cli(f, {QStringLiteral("check"), f.secPath, f.seemPath});
        QCOMPARE(checked.out.contains(QStringLiteral("the image is SEEM 0032 record 0001")), other);
        if (other) {   // both name the setting file's numbers
            const QString numbers = QStringLiteral("%1_%2")
                                        .arg(seemNr, 4, 16, QLatin1Char('0'))
                                        .arg(seemRec, 4, 16, QLatin1Char('0'))
                                        .toUpper();
            QVERIFY2(f.platform.messages().first().contains(numbers), qPrintable(f.platform.messages().first()));
            const QString padded = QStringLiteral("SEEM %1 record %2")
                                       .arg(numbers.section('_', 0, 0).rightJustified(4, '0'),
                                            numbers.section('_', 1).rightJustified(4, '0'));
            QVERIFY2(checked.out.contains(padded), qPrintable(checked.out));
        }
    }
}

void TestDoorsAgree::languageFileWithoutMarkReadInTheChosenCodePage()
{
    UnstartedWindow u;
    QByteArray language = FileBytes(QStringLiteral(BVL_DATA_DIR "/english.sel"));
    language.replace("bvlMain.mnfExportValues=E&xport values...",
                     "bvlMain.mnfExportValues=" + CodePage::encode(1251, QStringLiteral("Дом...")));
    u.platform.preferences.insert(QStringLiteral("Lang/Language"),
                                  u.folder.writeBytes(QStringLiteral("own.sel"), language));
    u.platform.preferences.insert(QStringLiteral("UI/CodePage"), QStringLiteral("1251"));
    QVERIFY(u.window.Form_Load());
    QCOMPARE(u.window.mnfExportValues->text(), QStringLiteral("Дом..."));
    CodePage::SetCurrent(CodePage::Default);
}

void TestDoorsAgree::refusalsAreWordedAlike()
{
    // One profile refused by both doors: each refusal the command line tells is a line of
    // the window's message, word for word (the command line adds the names an unknown
    // name comes near).
    MainFixture f;
    f.open(f.seemPath);
    const QString profile = f.folder.writeBytes(
        QStringLiteral("refused.json"), "{\"settings\": [{\"name\": \"Volme\", \"value\": 1}, "
                                        "{\"name\": \"Volume\", \"value\": \"Loud\"}, {\"name\": \"Beep\", \"value\": "
                                        "\"off\"}, {\"name\": \"Sound\\\\Beep\", \"value\": \"on\"}]}");
    f.platform.clearCalls();
    f.platform.answerFile(profile);
    f.window->mnfApplyValues_Click();
    const CliResult cli = Cli(f, {QStringLiteral("apply"), f.seemPath, profile});
    QCOMPARE(cli.status, 1);
    QCOMPARE(f.platform.messages().size(), 1);
    QStringList windowLines = f.platform.messages().first().split(QLatin1Char('\n'));
    windowLines.removeFirst();   // the message's heading
    const QString prefix = QStringLiteral("brimvale-cli: ") + f.seemPath + QStringLiteral(": ");
    QStringList cliLines;
    for (const QString &line : cli.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.endsWith(QStringLiteral("nothing was written")))
            cliLines << line.mid(prefix.size()).section(QStringLiteral("; did you mean"), 0, 0);
    QCOMPARE(cliLines, windowLines);
    QCOMPARE(windowLines.size(), 3);
}

// Every generated record: the check of the whole file and CheckRecord give it the same
// errors; import refuses it alone exactly when it holds a text the format cannot, naming
// the field, and takes all the others as one file, which brimvale-cli check then reports
// with errors exactly where CheckRecord has them; the setting dialog refuses it exactly
// when a finding keeps it from the dialog.
void TestDoorsAgree::recordRulesAgreeAcrossDoors()
{
    const int codePage = CodePage::Current();
    const SettingList records = GeneratedRecords();
    const QVector<FitFinding> fileFindings = CheckSettingFile(Header(0x32, 1), records, codePage);
    ProgramFolder folder;
    SettingList writable;
    int refused = 0, erroneous = 0, unshowable = 0;
    // The setting dialog, filled from each record it can show and closed with OK.
    EditorFixture editor;
    bvlEditSettingDo dialog(editor.ctx, editor.document, editor.images);
    for (int i = 0; i < records.size(); ++i) {
        const SettingStruct &s = records.at(i);
        const QVector<FitFinding> own = CheckRecord(s, i + 1, codePage);
        const QString where = QStringLiteral("record %1").arg(i + 1);
        QCOMPARE(ErrorRules(fileFindings, i + 1), ErrorRules(own, i + 1));
        erroneous += HasError(own);
        const bool keeps =
            std::any_of(own.begin(), own.end(), [](const FitFinding &f) { return KeepsFromDialog(f.rule); });
        QVERIFY2(CanShowInDialog(s) == !keeps, qPrintable(where));
        unshowable += keeps;
        if (!keeps) {
            dialog.ReadSettingStruct(s);
            SettingStruct out = s;
            const int messages = int(editor.platform.messages().size());
            const bool accepted = dialog.WriteSettingStruct(out);
            QVERIFY2(accepted == !HasError(own),
                     qPrintable(where + QLatin1Char(' ') + editor.platform.messages().value(messages)));
            if (accepted)
                QVERIFY2(out == s, qPrintable(where));
        }
        const auto unwritable = std::find_if(own.begin(), own.end(), IsUnwritable);
        QCOMPARE(CanHoldRecord(s, codePage), unwritable == own.end());
        if (unwritable == own.end()) {
            writable << s;
            continue;
        }
        ++refused;
        const QString sec = folder.file(QStringLiteral("one.sec"));
        const CliResult r = RunCliCaptured(
            {QStringLiteral("import"), JsonFile(folder, QStringLiteral("one.json"), {s}), QStringLiteral("-o"), sec},
            folder.dir.path());
        const QString field =
            QStringLiteral("$.settings[0].") + RecordFieldName(unwritable->field) + QStringLiteral(": ");
        QVERIFY2(r.status == 1 && r.err.contains(field) && !QFile::exists(sec), qPrintable(where + r.err));
    }
    const QString sec = folder.file(QStringLiteral("all.sec"));
    const CliResult imported = RunCliCaptured(
        {QStringLiteral("import"), JsonFile(folder, QStringLiteral("all.json"), writable), QStringLiteral("-o"), sec},
        folder.dir.path());
    QVERIFY2(imported.status == 0, qPrintable(imported.err));
    QSet<int> expected;
    for (int j = 0; j < writable.size(); ++j)
        if (HasRecordError(writable.at(j), codePage))
            expected << j + 1;
    const CliResult checked = RunCliCaptured({QStringLiteral("check"), sec}, folder.dir.path());
    QSet<int> reported;
    const QRegularExpression record(QStringLiteral(": error: .*? \\(#(\\d+)\\): "));
    for (const QString &line : checked.out.split(QLatin1Char('\n')))
        if (const QRegularExpressionMatch m = record.match(line); m.hasMatch())
            reported << m.captured(1).toInt();
    QCOMPARE(reported, expected);
    QCOMPARE(checked.status, expected.isEmpty() ? 0 : 1);
    // Every kind of record was met.
    QVERIFY2(
        refused > 50 && erroneous > refused && unshowable > 50 && expected.size() > 50,
        qPrintable(QStringLiteral("%1 %2 %3 %4").arg(refused).arg(erroneous).arg(unshowable).arg(expected.size())));
}

// A "%1" or "%2" in a name, group or value is text, not a place for a number: it stays as
// written in the command line's lines, import's refusal and the windows' words.
void TestDoorsAgree::percentSignsStayAsWritten()
{
    SettingStruct s;
    s.Type = quint8(SettingType::ValueList);
    s.Name = QStringLiteral("Ring %1");
    s.Group = QStringLiteral("G%2");
    s.ValueNames = QStringLiteral("%1");
    s.Values = QStringLiteral("%2");
    ProgramFolder folder;
    const QString sec = folder.writeSec(QStringLiteral("p.sec"), Header(0x32, 1), {s});
    const CliResult checked = RunCliCaptured({QStringLiteral("check"), sec}, folder.dir.path());
    QCOMPARE(checked.out.split(QLatin1Char('\n')).mid(0, 2),
             QStringList({sec + QStringLiteral(": error: G%2\\Ring %1 (#1): value 1 \"%2\" is not a number"),
                          sec + QStringLiteral(": error: G%2\\Ring %1 (#1): its bit mask is empty")}));

    ScriptedPlatform platform;
    LangTable german(platform);
    QVERIFY(german.LoadLanguageFile(QStringLiteral(BVL_DATA_DIR "/deutsch.sel")));
    LangWording words(german);
    SettingStruct foreign = s;
    foreign.Name = QStringLiteral("%1 \u4e2d");
    const SettingList both = {s, foreign};
    const SettingFileVerdict verdict =
        VerdictOf(words, both, CheckSettingFile(Header(0x32, 1), both, CodePage::Default));
    QCOMPARE(verdict.lines.mid(0, 3),
             QStringList({QStringLiteral("Fehler: G%2\\Ring %1 (#1): Wert 1 \"%2\" ist keine Zahl"),
                          QStringLiteral("Fehler: G%2\\Ring %1 (#1): ihre Bitmaske ist leer"),
                          QStringLiteral("Fehler: G%2\\%1 \u4e2d (#2): ihr Name enth\u00e4lt das Zeichen \"\u4e2d\" "
                                         "(U+4E2D), das Windows-1252 nicht darstellen kann")}));

    const CliResult imported =
        RunCliCaptured({QStringLiteral("import"), JsonFile(folder, QStringLiteral("p.json"), both),
                        QStringLiteral("-o"), folder.file(QStringLiteral("p2.sec"))},
                       folder.dir.path());
    QVERIFY2(imported.status == 1
                 && imported.err.contains(QStringLiteral(
                     "$.settings[1].Name: G%2\\%1 \u4e2d (#2): its name has the character \"\u4e2d\" (U+4E2D), "
                     "which Windows-1252 cannot hold; nothing was written")),
             qPrintable(imported.err));
}

QTEST_MAIN(TestDoorsAgree)
#include "tst_doorsagree.moc"
