#include "ui/main/bvlCompare.h"

#include "seem/document/SettingLookup.h"
#include "seem/files/SeemFile.h"
#include "seem/values/ControlStateText.h"
#include "ui/AppContext.h"
#include "ui/CommandButtons.h"
#include "ui/ControlNames.h"
#include "ui/language/ApplyLanguage.h"
#include "ui/main/SaveReports.h"
#include "ui/main/bvlMain.h"
#include "ui/main/bvlReviewChanges.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

bvlCompare::bvlCompare(AppContext &context, bvlMain &window, ByteStore &other, const QString &otherName)
    : QDialog(&window), m_ctx(context), m_window(window), m_other(other)
{
    setObjectName(QStringLiteral("bvlCompare"));
    setWindowTitle(m_ctx.Title(QStringLiteral("bvlMain.mnfCompare")));

    QStringList headers =
        ChangeListHeaders(m_ctx, {QStringLiteral("bvlCompare.sThisFile_V"), QStringLiteral("bvlCompare.sOtherFile_V")});
    headers[ThisColumn] += QStringLiteral(" (") + QFileInfo(window.SEEMPath).fileName() + QLatin1Char(')');
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
    for (int index = 1; index <= m_window.Document->settings().size(); ++index) {
        if (m_window.RestoredStates().isRestored(index))
            current.append(m_window.CurrentState(index));
        else
            current.append(std::nullopt);
    }
    m_differences = CompareStatesWithImage(m_window.Document->settings(), current, m_other);

    lsDifferences->clear();
    const CheckWords words = LanguageCheckWords(m_ctx);
    for (const StateDifference &d : m_differences) {
        const SettingStruct &s = m_window.Document->settings().at(d.index - 1);
        const QString other = d.other.decoded ? InCheckWords(s, d.other.text, words) : d.other.reason;
        // A setting this file could not show gets the reason from the file itself.
        const QString mine = current.at(d.index - 1) ? InCheckWords(s, d.thisText, words)
                                                     : DecodeValueText(*m_window.SEEMFile, s).reason;
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
        if (selected.contains(d.index) && d.otherState && m_window.RestoredStates().isRestored(d.index))
            states.append({d.index, *d.otherState});
    if (states.isEmpty())
        return;
    m_window.ShowStatesAsOneStep(states);
    FillUp();
}

void bvlCompare::cmClose_Click()
{
    reject();
}

void bvlMain::mnfCompare_Click()
{
    if (!mnfCompare->isEnabled())
        return;
    CommitTypedEdit();
    const std::optional<QString> chosen =
        m_ctx.platform.openFileName(m_ctx.Title(QStringLiteral("bvlMain.mnfCompare")), SeemFilter(m_ctx),
                                    DocumentFiles::FolderProposal(SEEMFile->path()));
    if (!chosen)
        return;
    SeemFile other;
    try {
        ReportJournalNotice(m_ctx, other.openReadOnly(*chosen));
    } catch (const BvlError &e) {
        m_ctx.platform.messageBox(QStringLiteral("mnfCompare ERR ") + QString::number(e.number()), MsgIcon::None,
                                  MsgButtons::Ok);
        return;
    }
    if (!ImageHoldsSettings(Document->settings(), other.size())) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sCompareTooShort_M")) + QStringLiteral(" \"")
                                      + *chosen + QLatin1Char('"'),
                                  MsgIcon::Critical, MsgButtons::Ok);
        return;
    }
    bvlCompare compare(m_ctx, *this, other, *chosen);
    ShowModal(compare);
}
