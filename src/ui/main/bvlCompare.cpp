#include "ui/main/bvlCompare.h"

#include "seem/document/SeemDocument.h"
#include "seem/document/SettingLookup.h"
#include "seem/files/SeemFile.h"
#include "seem/values/ControlStateText.h"
#include "ui/AppContext.h"
#include "ui/CommandButtons.h"
#include "ui/ControlNames.h"
#include "ui/language/ApplyLanguage.h"
#include "ui/main/bvlReviewChanges.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

bvlCompare::bvlCompare(AppContext &context, SeemDocument &document, ByteStore &other, const QString &otherName,
                       Take take, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_document(document), m_other(other), m_take(std::move(take))
{
    setObjectName(QStringLiteral("bvlCompare"));
    setWindowTitle(m_ctx.Title(QStringLiteral("bvlMain.mnfCompare")));

    QStringList headers =
        ChangeListHeaders(m_ctx, {QStringLiteral("bvlCompare.sThisFile_V"), QStringLiteral("bvlCompare.sOtherFile_V")});
    headers[ThisColumn] += QStringLiteral(" (") + QFileInfo(document.seemPath()).fileName() + QLatin1Char(')');
    headers[OtherColumn] += QStringLiteral(" (") + QFileInfo(otherName).fileName() + QLatin1Char(')');
    lsDifferences = NewSettingList(this, QStringLiteral("lsDifferences"), headers);
    lbNoDifferences = new QLabel(m_ctx.T(QStringLiteral("bvlCompare.sNoDifferences_V")), this);
    lbNoDifferences->setObjectName(QStringLiteral("lbNoDifferences"));

    auto *buttons = new QDialogButtonBox(this);
    cmTake = buttons->addButton(QStringLiteral("Prendi i valori selezionati"), QDialogButtonBox::ActionRole);
    cmTake->setObjectName(QStringLiteral("cmTake"));
    cmClose = buttons->addButton(QStringLiteral("Chiudi"), QDialogButtonBox::RejectRole);
    cmClose->setObjectName(QStringLiteral("cmClose"));
    for (QPushButton *button : {cmTake, cmClose}) {
        MakeCommandButton(button);
        TagForCaption(button);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lsDifferences);
    layout->addWidget(lbNoDifferences);
    layout->addWidget(buttons);

    connect(cmTake, &QPushButton::clicked, this, [this] { cmTake_Click(); });
    connect(cmClose, &QPushButton::clicked, this, [this] { cmClose_Click(); });
    connect(lsDifferences, &QTreeWidget::itemSelectionChanged, this,
            [this] { cmTake->setEnabled(!SelectedSettings().isEmpty()); });
    ApplyLanguage(m_ctx.lang, this);
    FillUp();
}

void bvlCompare::FillUp()
{
    QVector<std::optional<ControlState>> current;
    for (int index = 1; index <= m_document.count(); ++index) {
        if (m_document.isRestored(index))
            current.append(m_document.state(index));
        else
            current.append(std::nullopt);
    }
    m_differences = CompareStatesWithImage(m_document.settings(), current, m_other);

    lsDifferences->clear();
    const CheckWords words = LanguageCheckWords(m_ctx);
    for (const StateDifference &d : m_differences) {
        const SettingStruct &s = m_document.setting(d.index);
        const QString other = d.other.decoded ? InCheckWords(s, d.other.text, words) : d.other.reason;
        // A setting this file could not show gets the reason from the file itself.
        const QString mine =
            current.at(d.index - 1) ? InCheckWords(s, d.thisText, words) : DecodeValueText(m_document.file(), s).reason;
        AddSettingRow(lsDifferences, d.index, {NormalisedGroup(s.Group), s.Name, mine, other});
    }
    for (int column = 0; column < lsDifferences->columnCount(); ++column)
        lsDifferences->resizeColumnToContents(column);
    lbNoDifferences->setVisible(m_differences.isEmpty());
    cmTake->setEnabled(false);
}

QVector<int> bvlCompare::SelectedSettings() const
{
    return SelectedSettingsOf(lsDifferences);
}

void bvlCompare::cmTake_Click()
{
    const QVector<int> selected = SelectedSettings();
    QVector<QPair<int, ControlState>> states;
    for (const StateDifference &d : m_differences)
        // A control that shows nothing of its file is never written: nothing to take into it.
        if (selected.contains(d.index) && d.otherState && m_document.isRestored(d.index))
            states.append({d.index, *d.otherState});
    if (states.isEmpty())
        return;
    m_take(states);
    FillUp();
}

void bvlCompare::cmClose_Click()
{
    reject();
}
