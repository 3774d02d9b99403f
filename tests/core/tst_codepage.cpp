#include "core/CodePage.h"
#include "core/Cp1252.h"
#include "core/SettingFile.h"
#include "support/CoreErrors.h"

#include <QStringDecoder>
#include <QtTest>

namespace {

QByteArray AllBytes()
{
    QByteArray all(256, Qt::Uninitialized);
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    return all;
}

// A setting file whose texts hold every byte: each code page must give them all back.
QByteArray FileWithEveryByte()
{
    SettingFileHeader header;
    header.Magic = QStringLiteral("sec");
    header.FileVersion = 3;
    header.ProgramVersion = QStringLiteral("1.01.500_Tavik");
    header.SEEMNr = 0x32;
    header.SEEMRec = 1;
    header.SettingCount = 1;
    SettingStruct s;
    s.Type = quint8(SettingType::ValueList);
    s.BitMask = 0x03;
    s.Values = QStringLiteral("0\u00A71");
    s.Group = QStringLiteral("A\\B");
    QByteArray bytes = EncodeSettingFile(header, {s});
    // Phones, the header's second text, at offset 24 of a file whose version text is 14
    // bytes long: replaced by all 256 bytes, count first.
    const QByteArray all = AllBytes();
    bytes.replace(24, 2, QByteArray("\x00\x01", 2) + all);
    return bytes;
}

}   // namespace

class TestCodePage : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { CodePage::SetCurrent(CodePage::Default); }

    void handWrittenWindows1252AgreesWithQt()
    {
        for (int b = 0; b < 256; ++b) {
            QStringDecoder qt("windows-1252", QStringDecoder::Flag::Stateless);
            const char byte = char(b);
            const QString fromQt = qt.decode(QByteArrayView(&byte, 1));
            QVERIFY(!qt.hasError());
            QCOMPARE(Cp1252::decode(QByteArrayView(&byte, 1)), fromQt);
        }
    }

    void everyCodePage_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("ownLetters");   // letters only this code page of the six holds
        QTest::addColumn<QByteArray>("ownBytes");
        QTest::newRow("1252") << 1252 << QStringLiteral("\u00E9\u20AC") << QByteArray("\xE9\x80");
        QTest::newRow("1250") << 1250 << QStringLiteral("\u0141\u0151") << QByteArray("\xA3\xF5");
        QTest::newRow("1251") << 1251 << QStringLiteral("\u0416\u044F") << QByteArray("\xC6\xFF");
        QTest::newRow("1253") << 1253 << QStringLiteral("\u03A9\u03B1") << QByteArray("\xD9\xE1");
        QTest::newRow("1254") << 1254 << QStringLiteral("\u011E\u0131") << QByteArray("\xD0\xFD");
        QTest::newRow("1257") << 1257 << QStringLiteral("\u0100\u0173") << QByteArray("\xC2\xF8");
    }

    // The table agrees with Qt's converter on every byte it assigns, every byte comes
    // back, the format's separators keep their bytes, and a setting file reads and
    // writes back to the same bytes.
    void everyCodePage()
    {
        QFETCH(int, number);
        QFETCH(QString, ownLetters);
        QFETCH(QByteArray, ownBytes);
        QVERIFY(CodePage::SetCurrent(number));

        const QByteArray all = AllBytes();
        const QString text = CodePage::decode(all);
        QCOMPARE(text.size(), 256);
        for (int b = 0; b < 256; ++b) {
            QStringDecoder qt(("windows-" + QByteArray::number(number)).constData(), QStringDecoder::Flag::Stateless);
            const QString fromQt = qt.decode(all.mid(b, 1));
            if (!qt.hasError())
                QCOMPARE(QString(text[b]), fromQt);
        }
        QVERIFY(CodePage::canEncode(text));
        QCOMPARE(CodePage::encode(text), all);
        QCOMPARE(text[0xA7], QChar(0x00A7));
        QCOMPARE(text[0x5C], QLatin1Char('\\'));

        QCOMPARE(CodePage::decode(ownBytes), ownLetters);
        QCOMPARE(CodePage::encode(ownLetters), ownBytes);

        const QByteArray file = FileWithEveryByte();
        QBuffer in;
        in.setData(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        SettingFileHeader header;
        SettingList settings;
        ReadSettingStream(in, header, settings);
        QCOMPARE(header.Phones, text);
        QCOMPARE(EncodeSettingFile(header, settings), file);
    }

    void textsTheCodePageCannotHoldAreRefused_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("Greek in 1252") << 1252 << QStringLiteral("\u03A9");
        QTest::newRow("Cyrillic in 1250") << 1250 << QStringLiteral("\u0416");
        QTest::newRow("e acute in 1251") << 1251 << QStringLiteral("\u00E9");
        QTest::newRow("Cyrillic in 1253") << 1253 << QStringLiteral("\u0416");
        QTest::newRow("Greek in 1254") << 1254 << QStringLiteral("\u03A9");
        QTest::newRow("Chinese in 1257") << 1257 << QStringLiteral("\u4E2D");
    }

    void textsTheCodePageCannotHoldAreRefused()
    {
        QFETCH(int, number);
        QFETCH(QString, text);
        QVERIFY(CodePage::SetCurrent(number));
        QVERIFY(!CodePage::canEncode(text));
        QVERIFY(ThrowsNumber(ErrNo::TypeMismatch, [&] { CodePage::encode(text); }));
        SettingFileHeader header;
        header.Magic = QStringLiteral("sec");
        header.Author = text;
        QVERIFY(ThrowsNumber(ErrNo::TypeMismatch, [&] { EncodeSettingFile(header, {}); }));
    }

    void onlyTheOfferedCodePagesCanBeChosen()
    {
        QVERIFY(CodePage::SetCurrent(1251));
        QVERIFY(!CodePage::SetCurrent(1255));
        QVERIFY(!CodePage::SetCurrent(65001));
        QCOMPARE(CodePage::Current(), 1251);
        {
            CodePage::Scope scope(1253);
            QCOMPARE(CodePage::Current(), 1253);
        }
        QCOMPARE(CodePage::Current(), 1251);
    }
};

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
