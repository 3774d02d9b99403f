#include "ui/editor/bvlGroupBrowse.h"

#include "ui/AccessibleNames.h"
#include "ui/AppContext.h"
#include "ui/CommandButtons.h"
#include "ui/Twips.h"
#include "ui/editor/KeyPreview.h"

#include <QListWidget>
#include <QPushButton>

bvlGroupBrowse::bvlGroupBrowse(AppContext &ctx, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx)
{
    setObjectName(QStringLiteral("bvlGroupBrowse"));
    setFixedSize(TwipsToPixelsX(4455), TwipsToPixelsY(3375));

    lsGroups = new QListWidget(this);
    lsGroups->setObjectName(QStringLiteral("lsGroups"));
    lsGroups->setGeometry(TwipsRect(120, 120, 4215, 2625));
    lsGroups->setSelectionMode(QAbstractItemView::SingleSelection);
    lsGroups->setSortingEnabled(true);

    cmOK = new QPushButton(QStringLiteral("OK"), this);
    cmOK->setObjectName(QStringLiteral("cmOK"));
    cmOK->setGeometry(TwipsRect(3120, 2880, 1215, 375));
    MakeCommandButton(cmOK);

    setTabOrder(lsGroups, cmOK);

    connect(cmOK, &QPushButton::clicked, this, &bvlGroupBrowse::cmOK_Click);
    connect(lsGroups, &QListWidget::itemDoubleClicked, this, &bvlGroupBrowse::lsGroups_DblClick);
    new KeyPreview(this, [this](int key) { return Form_KeyDown(key); });

    Form_Load();
}

void bvlGroupBrowse::Form_Load()
{
    setWindowTitle(m_ctx.Title(QStringLiteral("bvlEditSettingDo.lbSettingGroup")));
    NameControls(m_ctx.lang, this);
}

QString bvlGroupBrowse::GetSelectedItem() const
{
    const QList<QListWidgetItem *> selected = lsGroups->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void bvlGroupBrowse::cmOK_Click()
{
    accept();
}

void bvlGroupBrowse::lsGroups_DblClick()
{
    accept();
}

bool bvlGroupBrowse::Form_KeyDown(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    reject();
    return true;
}

void bvlGroupBrowse::reject()
{
    lsGroups->clearSelection();
    QDialog::reject();
}
