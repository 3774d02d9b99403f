// Every window in every shipped language, at the default font and at half as large again:
// no button or label cuts its text, and no control reaches past the widget that holds it.
#include "support/EditorFixtures.h"
#include "support/MainFixtures.h"
#include "ui/about/bvlAbout.h"
#include "ui/editor/bvlByteMap.h"
#include "ui/editor/bvlCompareSec.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlEditSettingDo.h"
#include "ui/editor/bvlGroupBrowse.h"
#include "ui/editor/bvlMergeSec.h"
#include "ui/editor/bvlProposals.h"
#include "ui/language/bvlLanguage.h"
#include "ui/main/bvlMain.h"
#include "ui/settingfiles/bvlSettingFiles.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QtTest>

using namespace MainFixtures;

namespace {

// Whether a button's caption and picture are wider than the room its style gives them.
bool Cut(const QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.iconSize = button->iconSize();
    const QString text = QString(button->text()).remove(QRegularExpression(QStringLiteral("&(?!&)")));
    const int needed =
        button->fontMetrics().horizontalAdvance(text) + (button->icon().isNull() ? 0 : button->iconSize().width() + 4);
    QStyle::SubElement room = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox *>(button))
        room = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton *>(button))
        room = QStyle::SE_RadioButtonContents;
    return needed > button->style()->subElementRect(room, &option, button).width();
}

bool Cut(const QLabel *label)
{
    if (label->wordWrap())
        return label->heightForWidth(label->width()) > label->height();
    return label->sizeHint().boundedTo(label->size()) != label->sizeHint();
}

// What of window's texts is cut and which of its controls reach outside their parents.
QStringList Clipped(QWidget *window)
{
    QStringList found;
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        // What scrolls may lie beyond what shows of it.
        bool scrolled = false;
        for (QWidget *up = widget->parentWidget(); up && up != window && !scrolled; up = up->parentWidget())
            if (auto *area = qobject_cast<QAbstractScrollArea *>(up->parentWidget()))
                scrolled = up == area->viewport();
        if (scrolled || widget->window() != window || !widget->isVisibleTo(window))
            continue;
        const QString name = window->objectName() + QLatin1Char('.') + widget->objectName();
        if (!widget->parentWidget()->rect().contains(widget->geometry()))
            found << name + QStringLiteral(" reaches outside its parent");
        const QString text = widget->property("text").toString();
        auto *button = qobject_cast<QAbstractButton *>(widget);
        auto *label = qobject_cast<QLabel *>(widget);
        if (!text.isEmpty() && ((button && Cut(button)) || (label && Cut(label))))
            found
                << QStringLiteral("%1 cuts \"%2\" at %3x%4").arg(name, text).arg(widget->width()).arg(widget->height());
    }
    return found;
}

// Shows window as the user would see it and notes what it cuts.
void Look(QWidget &window, QStringList &found)
{
    window.show();
    QCoreApplication::processEvents();
    found << Clipped(&window);
    window.hide();
}

// The application's font at a share of its size while it lives.
struct FontScaled
{
    QFont before = QApplication::font();
    explicit FontScaled(double scale)
    {
        QFont font = before;
        font.setPointSizeF(before.pointSizeF() * scale);
        QApplication::setFont(font);
    }
    ~FontScaled() { QApplication::setFont(before); }
};

}   // namespace

class TestFontFit : public QObject
{
    Q_OBJECT
private slots:
    void everyWindowFitsItsTexts_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<double>("scale");
        const QStringList files =
            QDir(QStringLiteral(BVL_DATA_DIR)).entryList({QStringLiteral("*.sel")}, QDir::Files, QDir::Name);
        QCOMPARE(files.size(), 8);
        for (const QString &file : files)
            for (double scale : {1.0, 1.5})
                QTest::addRow("%s %d %%", qPrintable(file), int(scale * 100)) << file << scale;
    }

    void everyWindowFitsItsTexts()
    {
        QFETCH(QString, language);
        QFETCH(double, scale);
        const FontScaled font(scale);
        MainFixture f;
        f.platform.preferences.insert(QStringLiteral("Lang/Language"), f.folder.copyLanguage(language));
        bvlMain &main = *f.window;
        QVERIFY(main.Form_Load());
        f.open(f.seemPath);
        main.ShowSetting(2);
        QStringList found;
        main.show();
        QCoreApplication::processEvents();
        found << Clipped(&main);

        int dialogs = 0;
        main.ShowModal = [&](QDialog &dialog) {
            Look(dialog, found);
            ++dialogs;
        };
        f.check(1)->setChecked(false);   // something to review
        main.mnfReviewChanges_Click();
        f.platform.answerFile(f.seemPath);
        main.mnfCompare_Click();
        f.platform.answerFiles({f.seemPath});
        main.mnfSurvey_Click();
        main.mnfSettingFiles_Click();
        QCOMPARE(dialogs, 4);
        {
            bvlAbout about(f.ctx, &main);
            Look(about, found);
            bvlLanguage choice(f.ctx, &main);
            Look(choice, found);
        }

        bvlEditSetting editor(f.ctx, &main);
        PutRecords(editor, SampleSettings());
        editor.lsSettings->setCurrentRow(0);
        Look(editor, found);
        bvlEditSettingDo &dialog = *editor.SettingDialog();
        // Each kind of setting shows the dialog's controls for it.
        for (const SettingStruct &setting : SampleSettings()) {
            f.ctx.CurrentSetting = setting;
            dialog.DoReadSettingStruct();
            Look(dialog, found);
        }
        editor.FreshGroups();
        Look(*editor.GroupBrowser(), found);
        Look(*editor.ByteMap(), found);
        Proposal drafted;
        drafted.setting = SampleSettings().at(0);
        drafted.firstValue = QStringLiteral("1");
        drafted.secondValue = QStringLiteral("0");
        bvlProposals proposals(f.ctx, {drafted}, &editor);
        Look(proposals, found);
        // Another version of the file: one setting renamed, one changed by both sides.
        SettingList theirs = SampleSettings(), mine = SampleSettings();
        theirs[0].Name = QStringLiteral("Key beep");
        theirs[1].Description = QStringLiteral("Their description");
        mine[1].Description = QStringLiteral("My description");
        bvlCompareSec comparison(f.ctx, editor.Document(), QStringLiteral("theirs.sec"), Header(0x32, 1), theirs);
        Look(comparison, found);
        const SettingFileContents base{Header(0x32, 1), SampleSettings(), {}};
        bvlMergeSec merge(f.ctx, editor.Document(), QStringLiteral("theirs.sec"), base, {Header(0x32, 1), mine, {}},
                          {Header(0x32, 1), theirs, {}});
        Look(merge, found);
        found.removeDuplicates();
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }

    void theLayoutsGrowWithTheFont()
    {
        const FontScaled font(1.5);
        MainFixture f;
        f.open(f.seemPath);
        f.window->ShowSetting(2);
        // Ten pixels to 150 twips now: slot 2 at (120, 915) twips, its list 270 twips below,
        // in a client area half as large again.
        QCOMPARE(f.list(2)->pos(), QPoint(12, 92 + 27));
        QCOMPARE(f.window->tvUI->parentWidget()->minimumSize(), QSize(1346, 902));
    }

    void aWindowLargerThanTheScreenOpensWithItsTitleBarOnIt()
    {
        // Twice the font on a small screen: the byte map's smallest width does not fit, and it
        // opens at the screen's left edge rather than centred on its owner.
        const FontScaled font(2.0);
        EditorFixture f;
        bvlEditSetting editor(f.ctx);
        editor.show();
        bvlByteMap &map = *editor.ByteMap();
        map.show();
        QCoreApplication::processEvents();
        const QRect available = map.screen()->availableGeometry();
        QVERIFY(map.width() > available.width());
        QCOMPARE(map.frameGeometry().left(), available.left());
        QVERIFY(map.frameGeometry().top() >= available.top());
        QVERIFY(editor.frameGeometry().top() >= available.top());
    }
};

QTEST_MAIN(TestFontFit)
#include "tst_fontfit.moc"
