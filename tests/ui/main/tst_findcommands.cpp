// Find on its own, with a document and a settings view but no window: the box beside the
// status line, the found setting shown and highlighted, and the highlight handed back so
// that the control's own marks can be drawn again.
#include "support/MainFixtures.h"
#include "ui/Twips.h"
#include "ui/main/FindBar.h"
#include "ui/main/FindCommands.h"
#include "ui/main/SettingsView.h"
#include "ui/main/StatusLine.h"

#include <QtTest>

using namespace MainFixtures;

class TestFindCommands : public QObject
{
    Q_OBJECT
private slots:
    void findsShowsAndHandsTheHighlightBack()
    {
        ProgramFolder folder;
        ScriptedPlatform platform;
        AppContext ctx(platform);
        QVERIFY(ctx.lang.LoadLanguageFile(folder.copyLanguage(QStringLiteral("english.sel"))));
        SeemDocument document;
        auto file = std::make_unique<SeemFile>();
        file->open(folder.writeBytes(QStringLiteral("0032_0001.seem"), SampleImage()));
        document.load(std::move(file), folder.file(QStringLiteral("demo.sec")), Header(32, 1), SampleSettings());

        QWidget client;
        client.resize(TwipsToPixelsX(13455), TwipsToPixelsY(9015));
        SettingsView view;
        view.BuildTemplates(&client);
        view.Settings = document.settings();
        for (int i = 1; i <= view.Settings.size(); ++i) {
            view.AddSettingGroup(view.Settings[i - 1], i);
            view.AddSettingControl(view.Settings[i - 1], i);
        }
        const QRect wholeLine = TwipsRect(120, 8760, 13215, 255);
        StatusLine line(&client);
        line.setGeometry(wholeLine);
        QVector<int> shown, ended;
        FindCommands find(ctx, document, view, [&](int index, bool) {
            view.SelectPageOf(index);
            shown << index;
        });
        find.Place(&client, &line);
        connect(&find, &FindCommands::highlightEnded, this, [&](int index) { ended << index; });
        client.show();
        QVERIFY(QTest::qWaitForWindowExposed(&client));

        QVERIFY(!find.Next());   // nothing asked yet: the box is to be opened first
        find.Open();
        QVERIFY(find.BoxOpen());
        QVERIFY(line.geometry().right() < find.txFind->geometry().left());

        // "R" is first in Greeting's name; "Ro" and on in Roaming's, shown on its page.
        QTest::keyClicks(find.txFind, "Roam");
        QCOMPARE(shown.value(0), 4);
        QCOMPARE(shown.last(), 6);
        QCOMPARE(ended.value(0), 4);
        QWidget *roaming = view.ControlOf(6);
        QVERIFY(roaming->isVisibleTo(&client));
        const QImage highlighted = roaming->grab().toImage();

        // Escape closes the box: the highlight is handed back, the line is whole again.
        const int endedBefore = ended.size();
        QTest::keyClick(find.txFind, Qt::Key_Escape);
        QCOMPARE(ended.size(), endedBefore + 1);
        QCOMPARE(ended.value(ended.size() - 1), 6);
        QVERIFY(roaming->grab().toImage() != highlighted);
        QCOMPARE(line.geometry(), wholeLine);

        // F3 with the box closed: the next match, highlighted for a moment only.
        QVERIFY(find.Next());
        QCOMPARE(shown.last(), 6);   // the only match, around the end
        QVERIFY(find.tmFindHighlight->isActive());
    }
};

QTEST_MAIN(TestFindCommands)
#include "tst_findcommands.moc"
