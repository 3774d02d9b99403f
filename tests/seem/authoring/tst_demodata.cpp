// The demo setting file and SEEM image shipped in data/ must work together: the file is
// accepted, the image's name leads the automatic choice to it, and every setting decodes.

#include "core/BvlError.h"
#include "core/SettingFile.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/files/SeemFileName.h"
#include "seem/values/SettingCodec.h"

#include <QMap>
#include <QSet>
#include <QtTest>
#include <algorithm>

class TestDemoData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void settingFileIsAccepted();
    void imageNameMatchesHeader();
    void everySettingDecodes();
    void reencodingChangesNoByte();
    void coversWhatTheEditorHasToShow();

private:
    SettingFileHeader m_header;
    SettingList m_settings;
    QByteArray m_image;
};

void TestDemoData::initTestCase()
{
    try {
        ReadSettingFile(QStringLiteral(BVL_DATA_DIR "/demo-phone.sec"), m_header, m_settings);
    } catch (const BvlError &e) {
        QFAIL(qPrintable(QStringLiteral("demo-phone.sec cannot be read: error %1").arg(e.number())));
    }
    QFile image(QStringLiteral(BVL_DATA_DIR "/0032_0001.seem"));
    QVERIFY(image.open(QIODevice::ReadOnly));
    m_image = image.readAll();
    QVERIFY(m_image.size() >= 256);
}

void TestDemoData::settingFileIsAccepted()
{
    QCOMPARE(CheckSettingHeader(m_header), HeaderCheck::Accepted);
    QCOMPARE(m_header.SettingCount, m_settings.size());
    QVERIFY(!m_header.Phones.isEmpty());
    QVERIFY(!m_header.Author.isEmpty());
    QVERIFY(!m_header.ProgramVersion.isEmpty());
}

void TestDemoData::imageNameMatchesHeader()
{
    SeemNameNumbers numbers;
    QVERIFY(ParseSeemFileName(QStringLiteral("0032_0001.seem"), numbers));
    QCOMPARE(numbers.seemNr, m_header.SEEMNr);
    QCOMPARE(numbers.seemRec, m_header.SEEMRec);
}

void TestDemoData::everySettingDecodes()
{
    MemoryByteStore store(m_image);
    for (int i = 0; i < m_settings.size(); ++i) {
        const SettingStruct &s = m_settings[i];
        const QByteArray where = QStringLiteral("setting %1 \"%2\"").arg(i + 1).arg(s.Name).toUtf8();
        try {
            switch (SettingType(s.Type)) {
            case SettingType::Checkbox:
                SettingCodec::DecodeChecked(store, s);
                break;
            case SettingType::ValueList:
                // A sensible image selects an entry in every list.
                QVERIFY2(SettingCodec::DecodeListIndex(store, s) >= 0, where.constData());
                break;
            default:
                SettingCodec::DecodeText(store, s);
                break;
            }
        } catch (const BvlError &e) {
            QFAIL(QStringLiteral("%1: error %2").arg(QString::fromUtf8(where)).arg(e.number()).toUtf8().constData());
        }
        QVERIFY2(!s.Description.isEmpty(), where.constData());
    }
}

void TestDemoData::reencodingChangesNoByte()
{
    // Writing back what was read must give the same image, as a save without edits does.
    MemoryByteStore store(m_image);
    for (const SettingStruct &s : m_settings) {
        switch (SettingType(s.Type)) {
        case SettingType::Checkbox:
            SettingCodec::EncodeChecked(store, s, SettingCodec::DecodeChecked(store, s));
            break;
        case SettingType::ValueList:
            SettingCodec::EncodeListValue(store, s,
                                          SettingCodec::ValueNumbers(s).at(SettingCodec::DecodeListIndex(store, s)));
            break;
        default:
            SettingCodec::EncodeText(store, s, SettingCodec::DecodeText(store, s));
            break;
        }
    }
    QCOMPARE(store.bytes(), m_image);
}

void TestDemoData::coversWhatTheEditorHasToShow()
{
    QSet<int> types;
    QMap<QString, int> perGroup;
    QMap<qint32, int> bitSettingsPerByte;
    bool nonLatinText = false;
    MemoryByteStore store(m_image);
    for (const SettingStruct &s : m_settings) {
        types.insert(s.Type);
        ++perGroup[s.Group];
        if (s.Type == quint8(SettingType::Checkbox) || s.Type == quint8(SettingType::ValueList))
            ++bitSettingsPerByte[s.Offset];
        if (s.Type == quint8(SettingType::UnicodeString)) {
            for (QChar c : SettingCodec::DecodeText(store, s))
                nonLatinText = nonLatinText || c.unicode() > 0xFF;
        }
    }
    QCOMPARE(types, (QSet<int>{0, 1, 2, 3, 4}));
    QVERIFY(std::any_of(perGroup.cbegin(), perGroup.cend(), [](int n) { return n > 20; }));
    QVERIFY(std::any_of(bitSettingsPerByte.cbegin(), bitSettingsPerByte.cend(), [](int n) { return n >= 2; }));
    QVERIFY(perGroup.contains(QStringLiteral("Sound\\Ringer")));
    QVERIFY(perGroup.contains(QStringLiteral("Network\\GPRS")));
    QVERIFY(nonLatinText);
}

QTEST_GUILESS_MAIN(TestDemoData)
#include "tst_demodata.moc"
