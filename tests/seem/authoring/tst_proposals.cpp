#include "core/BvlError.h"
#include "seem/authoring/BitCoverage.h"
#include "seem/authoring/DifferenceProposals.h"
#include "seem/authoring/SurveyProposals.h"
#include "seem/values/OwnedBytes.h"

#include <QtTest>

// Coverage of an image by settings, and the drafts proposed from two hand-made images.

namespace {

SettingStruct owning(SettingType type, qint32 offset, quint8 mask = 0, qint32 length = 0)
{
    SettingStruct s;
    s.Name = QStringLiteral("known");
    s.Group = QStringLiteral("G");
    s.Type = quint8(type);
    s.Offset = offset;
    s.BitMask = mask;
    s.MaxStringLength = length;
    s.Values = type == SettingType::Checkbox ? QStringLiteral("%1§0").arg(mask) : QString();
    return s;
}

QByteArray zeros(int size)
{
    return QByteArray(size, '\0');
}

// Puts text at offset (Windows-1252 bytes, or UTF-16 high byte first) with its terminator.
void putAnsi(QByteArray &image, int offset, const QByteArray &text)
{
    image.replace(offset, text.size() + 1, text + '\0');
}

void putWide(QByteArray &image, int offset, const QString &text)
{
    QByteArray bytes;
    for (QChar c : text)
        bytes.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    bytes.append(2, '\0');
    image.replace(offset, bytes.size(), bytes);
}

// Every bit the drafts own, by byte; fails when two drafts or a draft and a setting share one.
void verifyNoOverlap(const SettingList &settings, const QVector<Proposal> &proposals, int imageSize)
{
    SettingList all = settings;
    for (const Proposal &p : proposals)
        all << p.setting;
    QCOMPARE(BitCoverage(all, imageSize).conflictBits(), BitCoverage(settings, imageSize).conflictBits());
}

}   // namespace

class TestProposals : public QObject
{
    Q_OBJECT
private slots:
    void coverageOfSharedConflictingAndUndescribedBytes()
    {
        const SettingList settings{
            owning(SettingType::Checkbox, 0, 0x0F),
            owning(SettingType::ValueList, 0, 0xF0),   // byte 0 shared, whole
            owning(SettingType::Checkbox, 1, 0x03),
            owning(SettingType::Checkbox, 1, 0x06),   // bit 1 twice
            owning(SettingType::Int8, 2),
            owning(SettingType::UnicodeString, 4, 0, 5),   // bytes 4..7: odd size leaves byte 8
            owning(SettingType::AnsiString, 14, 0, 10),    // cut at the image's end
        };
        const BitCoverage c(settings, 16);
        QCOMPARE(c.stateAt(0), BitCoverage::ByteState::Whole);
        QCOMPARE(c.stateAt(1), BitCoverage::ByteState::Conflict);
        QCOMPARE(c.sharedBits(1), quint8(0x02));
        QCOMPARE(c.stateAt(2), BitCoverage::ByteState::Whole);
        QCOMPARE(c.stateAt(3), BitCoverage::ByteState::Undescribed);
        QCOMPARE(c.stateAt(7), BitCoverage::ByteState::Whole);
        QCOMPARE(c.stateAt(8), BitCoverage::ByteState::Undescribed);
        QCOMPARE(c.describedBytes(), qint64(3 + 4 + 2));
        QCOMPARE(c.conflictBits(), qint64(1));
        QCOMPARE(CoverageLine(c, CoverageLinePattern),
                 QStringLiteral("16 bytes, 9 described (56%), 1 bits in conflict"));

        const QVector<ByteRange> gaps = UndescribedRanges(c);
        QCOMPARE(gaps.size(), 2);
        QCOMPARE(gaps[0].offset, qint64(3));
        QCOMPARE(gaps[1].offset, qint64(8));
        QCOMPARE(gaps[1].size, qint64(6));

        const QVector<ByteOwner> owners = OwnersOfByte(settings, 1);
        QCOMPARE(owners.size(), 2);
        QCOMPARE(owners[1].index, 4);
        QCOMPARE(owners[1].bits, quint8(0x06));
        QCOMPARE(BitCoverage(settings, 1024 * 1024).size(), qint64(1024 * 1024));
        QCOMPARE(BitCoverage({owning(SettingType::Int8, -3)}, 4).describedBytes(), qint64(0));
    }

    void bitAndByteRules()
    {
        QByteArray a = zeros(8), b = zeros(8);
        a[1] = char(0x04);   // one bit: a check box, checked as b holds it
        a[2] = char(0x10);
        b[2] = char(0x28);   // bits 3..5 differ, byte free: a number
        b[3] = char(0x05);   // bits 0 and 2: a list over bits 0..2
        b[4] = char(0x81);   // bits 0 and 7 with bit 3 owned: two drafts
        const SettingList settings{owning(SettingType::Checkbox, 4, 0x08)};
        ProposalTexts texts;
        texts.firstImage = QStringLiteral("before.seem");
        texts.secondImage = QStringLiteral("after.seem");
        const QVector<Proposal> p = ProposeSettings(settings, a, b, texts);
        QCOMPARE(p.size(), 5);

        QCOMPARE(p[0].setting.Type, quint8(SettingType::Checkbox));
        QCOMPARE(p[0].setting.Name, QStringLiteral("Byte 0x0001, bit 2"));
        QCOMPARE(p[0].setting.Group, QStringLiteral("Proposed"));
        QCOMPARE(p[0].setting.BitMask, quint8(0x04));
        QCOMPARE(p[0].setting.Values, QStringLiteral("0§4"));
        QCOMPARE(p[0].setting.Description, QStringLiteral("before.seem: 00000100; after.seem: 00000000"));

        QCOMPARE(p[1].setting.Type, quint8(SettingType::Int8));
        QCOMPARE(p[1].setting.Offset, 2);
        QCOMPARE(p[1].setting.Name, QStringLiteral("Byte 0x0002"));

        QCOMPARE(p[2].setting.Type, quint8(SettingType::ValueList));
        QCOMPARE(p[2].setting.BitMask, quint8(0x07));
        QCOMPARE(p[2].setting.ValueNames, QStringLiteral("before.seem§after.seem"));
        QCOMPARE(p[2].setting.Values, QStringLiteral("0§5"));
        QCOMPARE(p[2].setting.Name, QStringLiteral("Byte 0x0003, bits 0-2"));

        QCOMPARE(p[3].setting.BitMask, quint8(0x01));
        QCOMPARE(p[4].setting.BitMask, quint8(0x80));
        verifyNoOverlap(settings, p, a.size());

        // Equal file names give the states the words first and second.
        texts.secondImage = texts.firstImage;
        QCOMPARE(ProposeSettings(settings, a, b, texts)[2].setting.ValueNames, QStringLiteral("first§second"));
    }

    void differencesInsideDescribedBitsProposeNothing()
    {
        QByteArray a = zeros(6), b = zeros(6);
        b[0] = char(0x0C);   // owned by a list
        b[1] = char(0xFF);   // owned by a number
        b[3] = 'x';          // inside a string field
        const SettingList settings{owning(SettingType::ValueList, 0, 0x0C), owning(SettingType::Int8, 1),
                                   owning(SettingType::AnsiString, 2, 0, 4)};
        QVERIFY(ProposeSettings(settings, a, b).isEmpty());
        QVERIFY(ProposeSettings(settings, a, a).isEmpty());
        QVERIFY(UndescribedDifferences(BitCoverage(settings, 6), a, b).isEmpty());
        QVERIFY_THROWS_EXCEPTION(BvlError, ProposeSettings(settings, a, zeros(5)));
    }

    void ansiTextRuns()
    {
        QByteArray a = zeros(32), b = zeros(32);
        a[0] = char(0x41);   // unrelated bytes before the text stay out of it
        putAnsi(a, 4, "Hello world");
        putAnsi(b, 4, "Hello there, Bob");
        const QVector<Proposal> p = ProposeSettings({}, a, b);
        QCOMPARE(p.size(), 2);
        const SettingStruct &text = p[1].setting;
        QCOMPARE(text.Type, quint8(SettingType::AnsiString));
        QCOMPARE(text.Offset, 4);             // the text's first character
        QCOMPARE(text.MaxStringLength, 17);   // the longer text and its terminator
        QCOMPARE(text.Name, QStringLiteral("Text at 0x0004"));
        QCOMPARE(p[1].firstValue, QStringLiteral("\"Hello world\""));
        QCOMPARE(p[1].secondValue, QStringLiteral("\"Hello there, Bob\""));

        // A described byte ends the field before the longer text's terminator.
        const SettingList settings{owning(SettingType::Int8, 12)};
        const QVector<Proposal> cut = ProposeSettings(settings, a, b);
        QCOMPARE(cut[1].setting.MaxStringLength, 8);
        verifyNoOverlap(settings, cut, a.size());
    }

    // A zero becoming '?' two bytes before a text that changes: a number, not the text's start.
    void byteChangedBeforeATextStaysANumber()
    {
        QByteArray a = zeros(32), b = zeros(32);
        const int k = 10;
        putAnsi(a, k, "abc");
        a[k + 4] = a[k + 5] = '.';
        putAnsi(b, k, "xyzw");
        b[k + 5] = '.';
        b[k - 2] = char(0x3F);
        a[k - 1] = b[k - 1] = 'Q';   // unchanged: whose it is nobody can tell
        const QVector<Proposal> p = ProposeSettings({}, a, b);
        QCOMPARE(p.size(), 2);
        QCOMPARE(p[0].setting.Type, quint8(SettingType::Int8));
        QCOMPARE(p[0].setting.Offset, k - 2);
        QCOMPARE(p[0].secondValue, QStringLiteral("63"));
        QCOMPARE(p[1].setting.Type, quint8(SettingType::AnsiString));
        QCOMPARE(p[1].setting.Offset, k);
        QCOMPARE(p[1].firstValue, QStringLiteral("\"abc\""));
        QCOMPARE(p[1].secondValue, QStringLiteral("\"xyzw\""));
    }

    void unicodeTextRuns_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("length");
        // The first difference in a low byte: the field still starts at the high byte.
        QTest::newRow("Latin, low byte") << "Hallo"
                                         << "Hello" << 12;
        QTest::newRow("Greek, high byte") << QString::fromUtf8("Καλή") << "Kali!" << 12;
        QTest::newRow("shortened") << "Welcome"
                                   << "Hi" << 16;
    }
    // Bytes before a text that read as characters of another script stay out of it; digits,
    // spaces and punctuation before it, and unchanged characters of its own script, are in it.
    void textStartsWhereItsScriptStarts_data()
    {
        QTest::addColumn<QByteArray>("before");   // equal in both images, ends where the text starts
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("start");   // of the draft, counted from the bytes before
        QTest::addColumn<QString>("firstValue");
        QTest::newRow("Han before Hangul") << QByteArray::fromHex("4E2D") << QString::fromUtf8("안에요")
                                           << QString::fromUtf8("오우와") << 2 << QString::fromUtf8("안에요");
        QTest::newRow("Hangul before Han") << QByteArray::fromHex("C548") << QString::fromUtf8("中丈丁")
                                           << QString::fromUtf8("中上下") << 2 << QString::fromUtf8("中丈丁");
        QTest::newRow("Han and Hangul before Latin") << QByteArray::fromHex("C5484E2D") << "Hallo"
                                                     << "Hello" << 4 << "Hallo";
        QTest::newRow("Latin before Greek") << QByteArray::fromHex("0041") << QString::fromUtf8("Καλή")
                                            << QString::fromUtf8("Καλό") << 2 << QString::fromUtf8("Καλή");
        QTest::newRow("digits and punctuation are in") << QByteArray::fromHex("4E2D0028003100290020") << "Hallo"
                                                       << "Hello" << 2 << "(1) Hallo";
        QTest::newRow("only digits differ: Latin") << QByteArray::fromHex("4E2D") << "Ver 1.2"
                                                   << "Ver 1.3" << 2 << "Ver 1.2";
    }
    void textStartsWhereItsScriptStarts()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, start);
        QFETCH(QString, firstValue);
        QByteArray a = zeros(40), b = zeros(40);
        a.replace(4, before.size(), before);
        b.replace(4, before.size(), before);
        putWide(a, 4 + before.size(), first);
        putWide(b, 4 + before.size(), second);
        const QVector<Proposal> p = ProposeSettings({}, a, b);
        QCOMPARE(p.size(), 1);
        QCOMPARE(p[0].setting.Type, quint8(SettingType::UnicodeString));
        QCOMPARE(p[0].setting.Offset, 4 + start);
        QCOMPARE(p[0].firstValue, QLatin1Char('"') + firstValue + QLatin1Char('"'));
    }

    void bytesThatAreNoTextStayBytes()
    {
        // Units from all over the code space, zero-terminated: no text, one number a byte.
        const QByteArray a = QByteArray::fromHex("9FC47A2351E8B20D0000");
        QByteArray b = a;
        b[1] = char(0xC3);
        b[2] = char(0x5A);
        const QVector<Proposal> p = ProposeSettings({}, a, b);
        QCOMPARE(p.size(), 2);
        QCOMPARE(p[0].setting.Type, quint8(SettingType::Int8));
        // What a setting file holds: file names outside Windows-1252 are replaced.
        ProposalTexts texts;
        texts.firstImage = QString::fromUtf8("前.seem");
        texts.secondImage = QStringLiteral("after.seem");
        QCOMPARE(ProposeSettings({}, a, b, texts)[0].setting.Description,
                 QStringLiteral("?.seem: 196; after.seem: 195"));
    }

    void unicodeTextRuns()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, length);
        QByteArray a = zeros(40), b = zeros(40);
        a[2] = b[2] = char(0x7F);   // no text before the field
        putWide(a, 6, first);
        putWide(b, 6, second);
        const QVector<Proposal> p = ProposeSettings({}, a, b);
        QCOMPARE(p.size(), 1);
        QCOMPARE(p[0].setting.Type, quint8(SettingType::UnicodeString));
        QCOMPARE(p[0].setting.Offset, 6);
        QCOMPARE(p[0].setting.MaxStringLength, length);
        QCOMPARE(p[0].firstValue, QLatin1Char('"') + first + QLatin1Char('"'));
        QCOMPARE(p[0].secondValue, QLatin1Char('"') + second + QLatin1Char('"'));
    }
    // Ten images whose bytes the test chose: a list over two free bits, a counter, a bit
    // beside owned ones, a name of varying length, a bit after it, a text that never changes.
    void draftsFromManyImages()
    {
        const int value0[] = {0, 3, 3, 1, 3, 0, 0, 0, 0, 0};
        SurveyProposer proposer;
        for (int i = 0; i < 10; ++i) {
            QByteArray image = zeros(32);
            image[0] = char(value0[i]);
            image[1] = char(10 + 7 * i);
            image[2] = char(i | (i == 2 || i == 5 ? 0x10 : 0));
            putAnsi(image, 8, i == 9 ? "Christopher" : i % 2 ? "Bob" : "Anna");
            image[21] = char(i == 4 ? 0x02 : 0);
            putAnsi(image, 24, "Fixed");
            proposer.add(image);
        }
        proposer.add(zeros(31));   // another size: passed over
        QCOMPARE(proposer.imageCount(), 10);
        const SettingList settings{owning(SettingType::Checkbox, 2, 0x0F)};
        const QVector<Proposal> p = proposer.proposals(settings);
        QCOMPARE(p.size(), 5);

        QCOMPARE(p[0].setting.Type, quint8(SettingType::ValueList));
        QCOMPARE(p[0].setting.Name, QStringLiteral("Byte 0x0000, bits 0-1"));
        QCOMPARE(p[0].setting.BitMask, quint8(0x03));
        QCOMPARE(p[0].setting.ValueNames, QStringLiteral("0x00 (6 images)§0x01 (1 image)§0x03 (3 images)"));
        QCOMPARE(p[0].setting.Values, QStringLiteral("0§1§3"));
        QCOMPARE(p[0].support, 4);
        QCOMPARE(p[0].setting.Description,
                 QStringLiteral("4 of 10 images: 0x00 (6 images), 0x01 (1 image), 0x03 (3 images)"));

        QCOMPARE(p[1].setting.Type, quint8(SettingType::Int8));
        QCOMPARE(p[1].setting.Offset, 1);
        QCOMPARE(p[1].seen, QStringLiteral("10..73"));
        QCOMPARE(p[1].support, 9);
        QCOMPARE(p[1].setting.Description, QStringLiteral("9 of 10 images: 10..73"));

        // Bit 4 beside the owned low bits: checked where an image differs from the first.
        QCOMPARE(p[2].setting.Type, quint8(SettingType::Checkbox));
        QCOMPARE(p[2].setting.BitMask, quint8(0x10));
        QCOMPARE(p[2].setting.Values, QStringLiteral("16§0"));
        QCOMPARE(p[2].support, 2);

        // Every byte where a text was seen, the longest one's terminator included.
        QCOMPARE(p[3].setting.Type, quint8(SettingType::AnsiString));
        QCOMPARE(p[3].setting.Offset, 8);
        QCOMPARE(p[3].setting.MaxStringLength, 12);
        QCOMPARE(p[3].support, 10);
        QCOMPARE(p[3].setting.Description, QStringLiteral("10 of 10 images: text"));

        QCOMPARE(p[4].setting.Offset, 21);
        QCOMPARE(p[4].setting.Values, QStringLiteral("2§0"));
        QCOMPARE(p[4].seen, QStringLiteral("0x00 (9 images), 0x02 (1 image)"));
        QCOMPARE(p[4].support, 1);
        verifyNoOverlap(settings, p, 32);

        // Described now: nothing left to propose; the words are the window's to give.
        SettingList described = settings;
        for (const Proposal &draft : p)
            described << draft.setting;
        QVERIFY(proposer.proposals(described).isEmpty());
        ProposalTexts texts;
        texts.countedState = QStringLiteral("%1 × %2");
        texts.supported = QStringLiteral("%3 [%1/%2]");
        QCOMPARE(proposer.proposals(settings, texts)[4].setting.Description,
                 QStringLiteral("0x00 × 9, 0x02 (1 image) [1/10]"));
    }

    // Texts side by side are fields of their own unless some image's text runs on over the join.
    void textFieldsJoinWhereAnImageRunsOn()
    {
        SurveyProposer proposer;
        for (const char *second : {"xyz", "uvw", "xyz"}) {
            QByteArray image = zeros(24);
            putAnsi(image, 4, "abc");
            putAnsi(image, 8, second);
            proposer.add(image);
        }
        QVector<Proposal> p = proposer.proposals({});
        QCOMPARE(p.size(), 1);
        QCOMPARE(p[0].setting.Offset, 8);
        QCOMPARE(p[0].setting.MaxStringLength, 4);
        QCOMPARE(p[0].support, 3);

        QByteArray longer = zeros(24);
        putAnsi(longer, 4, "abcdefgh");
        proposer.add(longer);
        p = proposer.proposals({});
        QCOMPARE(p.size(), 1);
        QCOMPARE(p[0].setting.Offset, 4);
        QCOMPARE(p[0].setting.MaxStringLength, 9);
        QCOMPARE(p[0].support, 4);
        // A described byte inside ends the field before it.
        p = proposer.proposals({owning(SettingType::Int8, 10)});
        QCOMPARE(p[0].setting.MaxStringLength, 6);
    }

    // A byte taking every value: only a few are kept, the range and the support stay whole.
    void valuesPastThoseKeptStillCount()
    {
        SurveyProposer proposer;
        for (int i = 0; i < 300; ++i)
            proposer.add(QByteArray(1, char(i % 256)) + zeros(3));
        const QVector<Proposal> p = proposer.proposals({});
        QCOMPARE(p.size(), 1);
        QCOMPARE(p[0].setting.Type, quint8(SettingType::Int8));
        QCOMPARE(p[0].seen, QStringLiteral("0..255"));
        QCOMPARE(p[0].support, 298);   // images 0 and 256 hold the first image's value
    }

    // Two images fed one at a time draft exactly what the two-image rules draft.
    void twoImagesDraftAsTwo()
    {
        QByteArray a = zeros(40), b = zeros(40);
        a[1] = char(0x04);
        b[2] = char(0x28);
        b[3] = char(0x05);
        b[4] = char(0x81);
        putAnsi(a, 10, "Hello world");
        putAnsi(b, 10, "Hello there, Bob");
        putWide(b, 30, QStringLiteral("Anna"));
        const SettingList settings{owning(SettingType::Checkbox, 4, 0x08)};
        ProposalTexts texts;
        texts.firstImage = QStringLiteral("before.seem");
        texts.secondImage = QStringLiteral("after.seem");
        SurveyProposer proposer;
        proposer.add(a);
        QVERIFY(proposer.proposals(settings, texts).isEmpty());
        proposer.add(b);
        const QVector<Proposal> two = ProposeSettings(settings, a, b, texts);
        const QVector<Proposal> fed = proposer.proposals(settings, texts);
        QCOMPARE(fed.size(), two.size());
        for (int k = 0; k < two.size(); ++k) {
            QCOMPARE(fed[k].setting, two[k].setting);
            QCOMPARE(fed[k].firstValue, two[k].firstValue);
            QCOMPARE(fed[k].secondValue, two[k].secondValue);
            QCOMPARE(fed[k].support, k == 5 ? 2 : 1);   // both images hold the text at 10
        }
    }
};

QTEST_GUILESS_MAIN(TestProposals)
#include "tst_proposals.moc"
