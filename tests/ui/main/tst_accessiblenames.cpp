// Every window in every shipped language as assistive technology and the eye see it: each
// control that takes the focus has a name, a setting's control is named after its setting,
// no label is narrower than the text it shows and no list needs a sideways scroll bar.
#include "support/MainFixtures.h"
#include "ui/AccessibleNames.h"
#include "ui/about/bvlAbout.h"
#include "ui/editor/ByteMapModel.h"
#include "ui/editor/bvlByteMap.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlEditSettingDo.h"
#include "ui/editor/bvlGroupBrowse.h"
#include "ui/editor/bvlProposals.h"
#include "ui/language/bvlLanguage.h"
#include "ui/main/bvlCompare.h"
#include "ui/main/bvlReviewChanges.h"
#include "ui/settingfiles/bvlSettingFiles.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

using namespace MainFixtures;

namespace {

QString Described(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Description);
}

bool Hidden(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget)->state().invisible;
}

QString AccessibleName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name).trimmed() : QString();
}

// The faults of window (shown, so that its layouts placed everything), one line each.
QStringList Faults(QWidget *window, const SettingList &settings = {})
{
    window->show();
    QCoreApplication::processEvents();
    QStringList faults;
    const QString where = window->objectName() + QLatin1Char('.');
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->window() != window)
            continue;
        const QString name = where + widget->objectName() + QLatin1Char(' ') + widget->metaObject()->className();
        if (!widget->isVisibleTo(window))
            continue;   // out of the user's reach
        if (widget->focusPolicy() != Qt::NoFocus && !qobject_cast<QLabel *>(widget) && AccessibleName(widget).isEmpty())
            faults << name + QStringLiteral(" has no name");
        const QVariant index = widget->property(bvlMain::SettingIndexProperty);
        if (index.isValid() && !qobject_cast<QLabel *>(widget)) {
            const QString setting = settings.value(index.toInt() - 1).Name;
            // On Linux Qt reads a list's entry as its name; the name given reaches the
            // screen reader through the label that stands for the list.
            const QString read = qobject_cast<QComboBox *>(widget) ? widget->accessibleName() : AccessibleName(widget);
            if (read != setting)
                faults << name + QStringLiteral(" reads \"%1\", not \"%2\"").arg(read, setting);
        }
        auto *list = qobject_cast<QAbstractItemView *>(widget);
        if (list && list->horizontalScrollBar()->isVisible())
            faults << name + QStringLiteral(" shows a horizontal scroll bar");
        // The status line cuts its end on purpose and keeps the whole text as its tool tip.
        auto *label = qobject_cast<QLabel *>(widget);
        if (label && !dynamic_cast<StatusLine *>(label) && !label->wordWrap() && label->pixmap().isNull()
            && label->textFormat() != Qt::RichText) {
            const QString shown = label->buddy() ? WithoutMnemonic(label->text()) : label->text();
            const int needed = label->fontMetrics().horizontalAdvance(shown) + 2 * label->margin();
            if (needed > label->contentsRect().width())
                faults << name
                              + QStringLiteral(" clips \"%1\" (%2 > %3)")
                                    .arg(shown)
                                    .arg(needed)
                                    .arg(label->contentsRect().width());
        }
    }
    window->hide();
    return faults;
}

}   // namespace

class TestAccessibleNames : public QObject
{
    Q_OBJECT
private slots:
    void everyWindowInEveryLanguage_data()
    {
        QTest::addColumn<QString>("file");
        const QStringList files = QDir(QStringLiteral(BVL_DATA_DIR)).entryList({QStringLiteral("*.sel")}, QDir::Files);
        QVERIFY(files.size() >= 8);
        for (const QString &file : files)
            QTest::newRow(qPrintable(file)) << file;
    }

    void everyWindowInEveryLanguage()
    {
        QFETCH(QString, file);
        ProgramFolder folder;
        HookedPlatform platform;
        AppContext ctx{platform};
        platform.folder = folder.dir.path();
        platform.preferences.insert(QStringLiteral("Lang/Language"), folder.copyLanguage(file));
        folder.writeSec(QStringLiteral("sample.sec"), Header(0x32, 1), SampleSettings());
        const QString seemPath = folder.writeBytes(QStringLiteral("0032_0001.seem"), SampleImage());
        bvlMain main(ctx);
        QVERIFY(main.Form_Load());
        platform.answerFile(seemPath);
        main.mnfOpenSEEM_Click();
        QVERIFY(!main.Settings.isEmpty());

        main.mnfFind_Click();   // the find box too
        QStringList faults = Faults(&main, main.Settings);
        {
            bvlReviewChanges review(ctx, *main.Document, main.Reviewing(), &main);
            faults << Faults(&review);
        }
        main.ShowModal = [&](QDialog &dialog) { faults << Faults(&dialog); };
        platform.answerFile(seemPath);
        main.mnfCompare_Click();
        {
            bvlSettingFiles files(ctx, &main);
            faults << Faults(&files);
        }
        {
            bvlLanguage language(ctx);
            faults << Faults(&language);
            bvlAbout about(ctx);
            faults << Faults(&about);
        }
        bvlEditSetting editor(ctx);
        faults << Faults(&editor) << Faults(editor.GroupBrowser()) << Faults(editor.ByteMap());
        bvlEditSettingDo *dialog = editor.SettingDialog();
        for (QRadioButton *type : dialog->opType) {   // each type shows its own fields
            type->setChecked(true);
            faults << Faults(dialog);
        }
        Proposal proposal;
        proposal.setting = SampleSettings().first();
        bvlProposals proposals(ctx, {proposal}, &editor);
        faults << Faults(&proposals);
        faults.removeDuplicates();
        if (!faults.isEmpty())
            QFAIL(qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // What the marks and colours show, a screen reader hears: a change, why a value cannot
    // be saved (each new description announced), the status line as plain text; the
    // controls of a page not shown are hidden.
    void changesRefusalsAndHiddenPagesAreHeard()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.openWith(SampleSettings(), SampleImage(), Header(0x32, 1, QStringLiteral("Ann & <b>Bo</b>")));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.lbFileDesc->text().endsWith(QStringLiteral("By Ann & <b>Bo</b>")));
        QCOMPARE(Described(w.lbFileDesc), w.lbFileDesc->text());
        QLineEdit *timeout = f.text(3);   // on the Display page, not shown
        QVERIFY(Hidden(timeout) && !Hidden(f.check(1)));
        w.tvUI_NodeClick(w.NodeByKey(QStringLiteral("Display")));
        QVERIFY(!Hidden(timeout) && Hidden(f.check(1)));

        static QObjectList announced;
        const auto previous = SendAccessibleEvent;
        SendAccessibleEvent = [](QAccessibleEvent *event) {
            if (event->type() == QAccessible::DescriptionChanged)
                announced << event->object();
        };
        const QString changed = f.T("bvlMain.sChangedMark_V");
        timeout->setText(QStringLiteral("300"));
        QCOMPARE(Described(timeout), "Seconds\n" + f.T("bvlMain.sNotAByte_V") + "\n" + changed);
        timeout->setText(QStringLiteral("30"));
        QCOMPARE(Described(timeout), "Seconds\n" + changed);
        f.check(1)->click();
        QCOMPARE(Described(f.check(1)), "Beeps on keys\n" + changed);
        w.mnfUndo_Click();
        QCOMPARE(Described(f.check(1)), QStringLiteral("Beeps on keys"));
        SendAccessibleEvent = previous;
        QCOMPARE(announced, QObjectList({timeout, timeout, f.check(1), f.check(1)}));
    }

    // A screen reader reads a byte map cell as its offset, value and owners, in the language.
    void byteCellsReadAsOffsetValueAndOwners()
    {
        ByteMapModel model;
        model.setImages(SampleImage() + QByteArray(1, '\x7f'), {});
        model.setSettings(SampleSettings());
        model.setCellReading(QStringLiteral("Byte %1 = %2 (%3)"), QStringLiteral("free"));
        QTableView view;
        view.setModel(&model);
        QAccessibleTableInterface *table = QAccessible::queryAccessibleInterface(&view)->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("Byte 0 = 11 (Beep, Volume)"));
        QCOMPARE(table->cellAt(1, 4)->text(QAccessible::Name), QStringLiteral("Byte 14 = 7F (free)"));
    }
};

QTEST_MAIN(TestAccessibleNames)
#include "tst_accessiblenames.moc"
