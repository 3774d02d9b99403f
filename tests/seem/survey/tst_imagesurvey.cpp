// A survey of many images: each setting's values as the document decodes them, the
// bytes and bits that vary, and the images left out with their reasons.
#include "core/CodePage.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/survey/ImageSurvey.h"
#include "seem/values/SettingCodec.h"
#include "support/FifoFiles.h"
#include "support/SeemFixtures.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int ImageSize = 24;

// Beep (bit 0) and Volume (bits 4-5) share byte 0, whose bit 7 nobody owns; Timeout at 1,
// Greeting at 2..9, Owner at 10..17, Model at 18 the same everywhere; 19..23 undescribed.
SettingList Settings()
{
    using namespace SeemFixtures;
    SettingStruct volume = ValueList(0, 0x30, {0, 16, 32});
    volume.ValueNames = JoinValues({QStringLiteral("Low"), QStringLiteral("Mid"), QStringLiteral("High")});
    return {Named(Checkbox(0, 0x01, 1, 0), "Beep", "Sound"),
            Named(volume, "Volume", "Sound"),
            Named(Int8(1), "Timeout", "Display"),
            Named(AnsiString(2, 8), "Greeting", "Display"),
            Named(UnicodeString(10, 8), "Owner", "Display"),
            Named(Int8(18), "Model", "Phone")};
}

struct Values
{
    bool beep;
    int volume;
    QString timeout, greeting, owner;
};

QByteArray Image(const Values &v, quint8 byte0Extra = 0, quint8 byte20 = 0)
{
    const SettingList s = Settings();
    MemoryByteStore image(QByteArray(ImageSize, '\0'));
    SettingCodec::EncodeChecked(image, s.at(0), v.beep);
    SettingCodec::EncodeListValue(image, s.at(1), v.volume);
    SettingCodec::EncodeText(image, s.at(2), v.timeout);
    SettingCodec::EncodeText(image, s.at(3), v.greeting);
    SettingCodec::EncodeText(image, s.at(4), v.owner);
    SettingCodec::EncodeText(image, s.at(5), QStringLiteral("7"));
    QByteArray bytes = image.bytes();
    bytes[0] = char(quint8(bytes.at(0)) | byte0Extra);
    bytes[20] = char(byte20);
    return bytes;
}

QString Write(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        QTest::qFail("cannot write an image", __FILE__, __LINE__);
    return f.fileName();
}

SettingFileHeader Header()
{
    SettingFileHeader header;
    header.SEEMNr = 0x32;
    header.SEEMRec = 1;
    return header;
}

// Each value's words and count, in the order first seen.
QStringList Distribution(const ImageSurvey &survey, int setting)
{
    QStringList texts;
    for (const SurveyValue &v : survey.values(setting))
        texts << QStringLiteral("%1=%2").arg(v.value.decoded ? v.value.text : v.value.reason).arg(v.count);
    return texts;
}

}   // namespace

class tst_ImageSurvey : public QObject
{
    Q_OBJECT

private slots:
    void valuesCountsAndUndescribedBits()
    {
        QTemporaryDir dir;
        const QString a = Write(dir, "0032_0001_a.seem", Image({true, 16, "5", "Hello", "Ann"}, 0x80));
        const QString b = Write(dir, "0032_0001_b.seem", Image({false, 16, "200", "Hello", "Bob"}, 0, 0x02));
        const QString c = Write(dir, "0032_0001_c.seem", Image({true, 32, "5", "Hi", "Ann"}, 0, 0x04));
        ImageSurvey survey(Header(), Settings());
        for (const QString &path : {a, b, c})
            QVERIFY(survey.add(path).used());
        QCOMPARE(survey.usedCount(), 3);
        QCOMPARE(survey.imageSize(), qint64(ImageSize));

        QCOMPARE(Distribution(survey, 0), QStringList({"on=2", "off=1"}));
        QCOMPARE(Distribution(survey, 1), QStringList({"Mid=2", "High=1"}));
        QCOMPARE(Distribution(survey, 2), QStringList({"5=2", "200=1"}));
        QCOMPARE(Distribution(survey, 3), QStringList({"Hello=2", "Hi=1"}));
        QCOMPARE(Distribution(survey, 4), QStringList({"Ann=2", "Bob=1"}));
        QCOMPARE(Distribution(survey, 5), QStringList({"7=3"}));
        for (int s = 0; s < 5; ++s)
            QVERIFY2(survey.varies(s), qPrintable(QString::number(s)));
        QVERIFY(!survey.varies(5));
        // Which image holds which value, both ways round.
        QCOMPARE(survey.imagesByValue(4), QVector<QVector<int>>({{0, 2}, {1}}));
        QCOMPARE(survey.valueIndex(1, 2), 1);

        // Byte 0 takes 0x91, 0x10 and 0x21: bit 7 varies and no setting owns it; byte 20
        // takes 0, 2 and 4, owned by none.
        QCOMPARE(survey.distinctByteValues(0), 3);
        QCOMPARE(survey.varyingBits(0), quint8(0xB1));
        QCOMPARE(survey.distinctByteValues(18), 1);
        const QVector<UndescribedDifference> undescribed = survey.undescribedVariation();
        QCOMPARE(undescribed.size(), 2);
        QCOMPARE(undescribed.at(0).offset, qint64(0));
        QCOMPARE(undescribed.at(0).bits, quint8(0x80));
        QCOMPARE(undescribed.at(1).offset, qint64(20));
        QCOMPARE(undescribed.at(1).bits, quint8(0x06));
    }

    void ansiStringInEveryCodePage_data()
    {
        QTest::addColumn<int>("codePage");
        for (int number : CodePage::Supported())
            QTest::newRow(qPrintable(QString::number(number))) << number;
    }

    // The same bytes read as each code page has them: the survey decodes in the one chosen.
    void ansiStringInEveryCodePage()
    {
        QFETCH(int, codePage);
        const QByteArray raw("\xC1\xE9\xF0");
        const QString text = CodePage::decode(codePage, raw);
        QTemporaryDir dir;
        QByteArray first = Image({true, 0, "1", "", "x"});
        first.replace(2, raw.size(), raw);
        const QString a = Write(dir, "0032_0001_a.seem", first);
        const QString b = Write(dir, "0032_0001_b.seem", Image({true, 0, "1", "plain", "x"}));
        const QString c = Write(dir, "0032_0001_c.seem", first);

        CodePage::Scope scope(codePage);
        ImageSurvey survey(Header(), Settings());
        for (const QString &path : {a, b, c})
            survey.add(path);
        QCOMPARE(Distribution(survey, 3), QStringList({text + "=2", "plain=1"}));
    }

    void imagesThatCannotBeUsedAreLeftOut()
    {
        QTemporaryDir dir;
        const QByteArray image = Image({true, 0, "1", "a", "b"});
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        // A folder gives its *.seem files by name, special files among them.
        Write(dir, "folder/0032_0001_2.seem", Image({false, 0, "1", "a", "b"}));
        Write(dir, "folder/0032_0001_1.seem", image);
        Write(dir, "folder/notes.txt", "x");
        MakeFifo(dir.filePath("folder/0032_0001_3.seem"));
        const QString otherSize = Write(dir, "0032_0001_big.seem", image + "more");
        const QString otherRecord = Write(dir, "0032_0002.seem", image);
        const QString missing = dir.filePath("0032_0001_gone.seem");

        const QStringList paths = SurveyImagePaths({dir.filePath("folder"), otherSize, otherRecord, missing});
        QCOMPARE(paths.size(), 6);
        QVERIFY(paths.at(0).endsWith("folder/0032_0001_1.seem"));
        QVERIFY(paths.at(2).endsWith("folder/0032_0001_3.seem"));
        ImageSurvey survey(Header(), Settings());
        for (const QString &path : paths)
            survey.add(path);

        using Status = SurveyImage::Status;
        QCOMPARE(survey.imageCount(), 6);
        QCOMPARE(survey.usedCount(), 2);
        QCOMPARE(survey.image(2).status, Status::Unreadable);
        QCOMPARE(survey.image(2).errorNumber, int(ErrNo::NotRegularFile));
        QCOMPARE(survey.image(3).status, Status::OtherSize);
        QCOMPARE(survey.image(3).size, qint64(ImageSize + 4));
        QCOMPARE(survey.image(4).status, Status::OtherRecord);
        QCOMPARE(survey.image(4).named.seemRec, qint16(2));
        QCOMPARE(survey.image(5).status, Status::Unreadable);
        QCOMPARE(survey.image(5).errorNumber, int(ErrNo::FileNotFound));
        // Only the images used are counted.
        QCOMPARE(Distribution(survey, 0), QStringList({"on=1", "off=1"}));
        QCOMPARE(survey.valueIndex(0, 3), -1);
    }
};

QTEST_GUILESS_MAIN(tst_ImageSurvey)
#include "tst_imagesurvey.moc"
