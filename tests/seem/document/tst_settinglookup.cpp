#include "core/OffsetText.h"
#include "seem/document/SettingLookup.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/profiles/ValueProfile.h"
#include "support/SeemFixtures.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// Settings "G0\Name", "G1\Name", ...: one-byte numbers, one per byte.
SettingList Numbered(int count, const QString &name)
{
    SettingList settings;
    settings.reserve(count);
    for (int i = 0; i < count; ++i)
        settings << Named(SeemFixtures::Int8(i), name, QStringLiteral("G%1").arg(i));
    return settings;
}

// The full edit distance table, as a reference for the banded one.
int EditDistance(const QString &a, const QString &b)
{
    QVector<int> row(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a.at(i - 1) == b.at(j - 1) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}   // namespace

// Names as people write them, looked up among thousands: the quick paths must give what
// the careful ones give.
class TestSettingLookup : public QObject
{
    Q_OBJECT
private slots:
    void groupsAreWrittenAsTheTreeShowsThem_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("shown");
        QTest::newRow("as written") << "Net\\GPRS"
                                    << "Net\\GPRS";
        QTest::newRow("blanks inside a name stay") << "Key  tones\\A b"
                                                   << "Key  tones\\A b";
        QTest::newRow("blanks at the ends go") << "  Net \\ GPRS  "
                                               << "Net\\GPRS";
        QTest::newRow("before a separator") << "Net  \\GPRS"
                                            << "Net\\GPRS";
        QTest::newRow("after a separator") << "Net\\  GPRS"
                                           << "Net\\GPRS";
        QTest::newRow("empty elements stay") << "Net\\\\GPRS"
                                             << "Net\\\\GPRS";
        QTest::newRow("a tab is part of the name") << "Net\t"
                                                   << "Net\t";
        QTest::newRow("empty") << ""
                               << "Unknown";
        QTest::newRow("blanks only") << "   "
                                     << "Unknown";
    }
    void groupsAreWrittenAsTheTreeShowsThem()
    {
        QFETCH(QString, group);
        QFETCH(QString, shown);
        QCOMPARE(NormalisedGroup(group), shown);
        QCOMPARE(SettingPathOf(Named(SettingStruct(), QStringLiteral("Owner"), group)),
                 shown + QStringLiteral("\\Owner"));
    }

    void aPathWinsAndABareNameMustBeUnique()
    {
        const SettingList settings{Named(SettingStruct(), QStringLiteral("Owner"), QStringLiteral("Net\\GPRS")),
                                   Named(SettingStruct(), QStringLiteral("Owner"), QStringLiteral("Phonebook")),
                                   Named(SettingStruct(), QStringLiteral("Volume"), QStringLiteral(" Sound ")),
                                   Named(SettingStruct(), QStringLiteral("GPRS\\Owner"), QStringLiteral("Net"))};
        const SettingIndex index(settings);
        // Two settings answer to 'Net\GPRS\Owner': the one whose group and name say so,
        // and the one whose name holds the separator; both are told, in file order.
        QCOMPARE(index.find(QStringLiteral("Net\\GPRS\\Owner")).indices, QVector<int>({1, 4}));
        QCOMPARE(index.find(QStringLiteral("Owner")).result, SettingMatch::Ambiguous);
        QCOMPARE(index.find(QStringLiteral("Owner")).indices, QVector<int>({1, 2}));
        QCOMPARE(index.find(QStringLiteral("Sound\\Volume")).index(), 3);   // as the tree shows it
        QCOMPARE(index.find(QStringLiteral("Volume")).index(), 3);
        QCOMPARE(index.find(QStringLiteral("volume")).result, SettingMatch::Unknown);
    }

    // A name that thousands share is refused with its first few settings and their count,
    // each refusal a walk of those few: 3,000 refusals of a name 3,000 settings share.
    void aNameThousandsShareNamesTheFirstFew()
    {
        for (const int count : {3000, 12000}) {
            const SettingList settings = Numbered(count, QStringLiteral("Owner"));
            const SettingMatch match = SettingIndex(settings).find(QStringLiteral("Owner"));
            QCOMPARE(match.result, SettingMatch::Ambiguous);
            QCOMPARE(match.count, count);
            QCOMPARE(match.indices, QVector<int>({1, 2, 3, 4, 5, 6, 7, 8}));
            const QVector<ValueAssignment> assignments(
                3000, ValueAssignment{QStringLiteral("x"), QStringLiteral("Owner"), QStringLiteral("1"), -1});
            MemoryByteStore image(QByteArray(count, '\0'));
            QVector<AssignmentProblem> problems;
            QVERIFY(ResolveAssignments(assignments, settings, image, problems).isEmpty());
            QCOMPARE(problems.size(), 3000);
            for (const AssignmentProblem &p : problems)
                QVERIFY(p.kind == AssignmentProblem::Ambiguous && p.settings == match.indices && p.candidates == count);
        }
    }

    // "did you mean" takes what a full edit distance within the allowed changes takes.
    void nearestNamesAreThoseWithinTheDistance()
    {
        QRandomGenerator random(7);
        const auto word = [&random] {
            QString text;
            for (int k = 0, n = random.bounded(1, 14); k < n; ++k)
                text += QLatin1Char("abAB"[random.bounded(4)]);
            return text;
        };
        for (int round = 0; round < 3000; ++round) {
            const QString name = word();
            const QString query = word();
            const NearestNames names({Named(SettingStruct(), name, QStringLiteral("G"))});
            const QString folded = query.toCaseFolded();
            const int allowed = qBound(1, int(folded.size()) / 4, 3);
            const bool near = EditDistance(folded, name.toCaseFolded()) <= allowed
                              || EditDistance(folded, QStringLiteral("g\\") + name.toCaseFolded()) <= allowed;
            QVERIFY2(names.nearest(query) == (near ? QVector<int>{1} : QVector<int>{}),
                     qPrintable(query + QLatin1Char(' ') + name));
        }
        // Letter case alone first, then by distance, then in file order.
        const NearestNames names({Named(SettingStruct(), QStringLiteral("Volumes"), QStringLiteral("Sound")),
                                  Named(SettingStruct(), QStringLiteral("Volme"), QStringLiteral("Keys")),
                                  Named(SettingStruct(), QStringLiteral("VOLUME"), QStringLiteral("Ring")),
                                  Named(SettingStruct(), QStringLiteral("Volumen"), QStringLiteral("Alarm"))});
        QCOMPARE(names.nearest(QStringLiteral("volume")), QVector<int>({3, 1, 2}));
        QCOMPARE(names.nearest(QStringLiteral("volume"), 10), QVector<int>({3, 1, 2, 4}));
    }

    // Each query fills a bounded number of table cells, however many settings have names
    // of its length, and a name longer than anyone types costs none.
    void aQueryCostsBoundedWork()
    {
        qint64 cells[2] = {};
        for (const int count : {25000, 100000}) {
            const NearestNames names(Numbered(count, QStringLiteral("Ring volume")));
            for (int k = 0; k < 2; ++k)
                QCOMPARE(names.nearest(QStringLiteral("Ring volmue")), QVector<int>({1, 2, 3}));
            cells[count == 100000] = names.cellsComputed();
        }
        QVERIFY2(cells[1] <= 2 * (NearestNames::MaxCellsPerQuery + 2000), qPrintable(QString::number(cells[1])));
        QVERIFY2(cells[1] <= 4 * cells[0], qPrintable(QStringLiteral("%1 %2").arg(cells[0]).arg(cells[1])));

        const QString giant = QString(65535, QLatin1Char('x'));
        const NearestNames longNames(Numbered(200, giant));
        QVERIFY(longNames.nearest(giant.left(65534) + QLatin1Char('y')).isEmpty());
        QCOMPARE(longNames.cellsComputed(), qint64(0));
    }

    void offsetsReadTheSameEverywhere()
    {
        QCOMPARE(OffsetText(0), QStringLiteral("0 (0x0)"));
        QCOMPARE(OffsetText(300), QStringLiteral("300 (0x12C)"));
        QCOMPARE(OffsetText(-16), QStringLiteral("-16 (0x-10)"));   // from a damaged setting file
        QString report = QStringLiteral("byte ");
        AppendOffsetText(report, 4096);
        QCOMPARE(report, QStringLiteral("byte 4096 (0x1000)"));
    }
};

QTEST_APPLESS_MAIN(TestSettingLookup)
#include "tst_settinglookup.moc"
