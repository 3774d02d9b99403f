// How often the codec calls into the byte store: once per setting to show it, once per
// run of bytes to save it. A return to access byte by byte fails here.
#include "core/BvlError.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/files/SeemFile.h"
#include "seem/values/SettingCodec.h"
#include "support/SeemFixtures.h"

#include <QtTest>

using namespace SeemFixtures;

namespace {

class CountingStore : public MemoryByteStore
{
public:
    using MemoryByteStore::MemoryByteStore;
    QByteArray read(qint64 offset, qint64 count) override
    {
        ++reads;
        return MemoryByteStore::read(offset, count);
    }
    void write(qint64 offset, const QByteArray &bytes) override
    {
        ++writes;
        MemoryByteStore::write(offset, bytes);
    }
    int reads = 0;
    int writes = 0;
};

// Settings of every type, each with a free byte after it so that no two share a run.
SettingList SpacedSettings(int count, qint32 &imageSize)
{
    SettingList settings;
    qint32 at = 0;
    for (int i = 0; i < count; ++i) {
        switch (i % 5) {
        case 0:
            settings << Checkbox(at, 0x01, 1, 0);
            at += 2;
            break;
        case 1:
            settings << ValueList(at, 0x0E, {0, 2, 4, 6, 8, 10, 12, 14});
            at += 2;
            break;
        case 2:
            settings << Int8(at);
            at += 2;
            break;
        case 3:
            settings << AnsiString(at, 12);
            at += 13;
            break;
        default:
            settings << UnicodeString(at, 12);
            at += 13;
            break;
        }
    }
    imageSize = at;
    return settings;
}

// The state a setting's control shows.
struct Shown
{
    bool checked = false;
    int index = -1;
    QString text;
};

Shown Decode(ByteStore &store, const SettingStruct &s)
{
    Shown shown;
    switch (SettingType(s.Type)) {
    case SettingType::Checkbox:
        shown.checked = SettingCodec::DecodeChecked(store, s);
        break;
    case SettingType::ValueList:
        shown.index = SettingCodec::DecodeListIndex(store, s);
        break;
    default:
        shown.text = SettingCodec::DecodeText(store, s);
        break;
    }
    return shown;
}

// Writes the shown state back, or a different one when changed.
void Encode(ByteStore &store, const SettingStruct &s, const Shown &shown, bool changed)
{
    switch (SettingType(s.Type)) {
    case SettingType::Checkbox:
        SettingCodec::EncodeChecked(store, s, shown.checked != changed);
        break;
    case SettingType::ValueList:
        SettingCodec::EncodeListValue(store, s, 2 * ((shown.index + (changed ? 1 : 0)) % 8));
        break;
    case SettingType::Int8:
        SettingCodec::EncodeText(store, s, QString::number((shown.text.toInt() + (changed ? 1 : 0)) % 256));
        break;
    default:
        SettingCodec::EncodeText(store, s, changed ? shown.text + QLatin1Char('x') : shown.text);
        break;
    }
}

}   // namespace

class TestStoreAccess : public QObject
{
    Q_OBJECT

private slots:
    void oneReadPerSettingAndOneWritePerRun();
};

void TestStoreAccess::oneReadPerSettingAndOneWritePerRun()
{
    qint32 imageSize = 0;
    SettingList settings = SpacedSettings(400, imageSize);
    // Every list starts on an entry; strings hold a few characters and a terminator.
    QByteArray image(imageSize, '\0');
    for (int i = 0; i < settings.size(); ++i) {
        const SettingStruct &s = settings[i];
        if (s.Type == quint8(SettingType::AnsiString))
            image.replace(s.Offset, 4, QByteArray("abc", 4));
        else if (s.Type != quint8(SettingType::UnicodeString))
            image[s.Offset] = char(2 * (i % 7));
    }
    // Past the end: one string that runs into it, settings wholly beyond it.
    image[imageSize - 1] = 'z';
    settings << AnsiString(imageSize - 1, 12) << Checkbox(imageSize, 0x01, 1, 0) << Int8(imageSize + 5);

    CountingStore store(image);
    QVector<Shown> shown;
    int failed = 0;
    for (const SettingStruct &s : settings) {
        try {
            shown << Decode(store, s);
        } catch (const BvlError &e) {
            QCOMPARE(e.number(), int(ErrNo::InputPastEnd));
            ++failed;
        }
    }
    QCOMPARE(failed, 3);
    // The string reaching past the end is read once too; nothing is asked beyond the end.
    QCOMPARE(store.reads, 401);
    QCOMPARE(store.writes, 0);

    // Every third setting changed, every seventh written back as it was.
    store.reads = 0;
    PendingWrites pending(store);
    int changed = 0;
    int unchanged = 0;
    for (int i = 0; i < 400; ++i) {
        if (i % 3 == 0) {
            Encode(pending, settings[i], shown[i], true);
            ++changed;
        } else if (i % 7 == 0) {
            Encode(pending, settings[i], shown[i], false);
            ++unchanged;
        }
    }
    pending.commit();
    QCOMPARE(store.reads, 1);   // the image once, whatever is encoded over it
    QCOMPARE(store.writes, changed);

    // What was changed reads back so, the rest as it was.
    for (int i = 0; i < 400; ++i) {
        const Shown now = Decode(store, settings[i]);
        const bool same = now.checked == shown[i].checked && now.index == shown[i].index && now.text == shown[i].text;
        QVERIFY2(same != (i % 3 == 0), qPrintable(QStringLiteral("setting %1").arg(i)));
    }
}

QTEST_GUILESS_MAIN(TestStoreAccess)
#include "tst_storeaccess.moc"
