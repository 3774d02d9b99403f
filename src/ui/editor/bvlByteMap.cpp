#include "ui/editor/bvlByteMap.h"

#include "core/Conversions.h"
#include "core/OffsetText.h"
#include "seem/authoring/BitCoverage.h"
#include "seem/authoring/DifferenceProposals.h"
#include "seem/authoring/ReferenceImages.h"
#include "seem/authoring/SettingFileDocument.h"
#include "seem/authoring/SurveyProposals.h"
#include "seem/survey/ImageSurvey.h"
#include "seem/values/SettingValueText.h"
#include "ui/AppContext.h"
#include "ui/CommandButtons.h"
#include "ui/ControlNames.h"
#include "ui/SurveyProgress.h"
#include "ui/ThemeColours.h"
#include "ui/ThemeFollower.h"
#include "ui/WindowPlacement.h"
#include "ui/editor/ByteMapModel.h"
#include "ui/editor/bvlProposals.h"
#include "ui/language/ApplyLanguage.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The drafts' words in the user's language, the states named after the images.
ProposalTexts LocalTexts(AppContext &ctx, const ReferenceImages &images)
{
    ProposalTexts texts;
    texts.group = ctx.T(QStringLiteral("bvlProposals.sGroup_V"));
    texts.firstImage = images.referenceName();
    texts.secondImage = images.secondName();
    texts.first = ctx.T(QStringLiteral("bvlProposals.sFirstState_V"));
    texts.second = ctx.T(QStringLiteral("bvlProposals.sSecondState_V"));
    texts.bitName = ctx.T(QStringLiteral("bvlProposals.sBitName_V"));
    texts.bitsName = ctx.T(QStringLiteral("bvlProposals.sBitsName_V"));
    texts.byteName = ctx.T(QStringLiteral("bvlProposals.sByteName_V"));
    texts.textName = ctx.T(QStringLiteral("bvlProposals.sTextName_V"));
    texts.countedState = ctx.T(QStringLiteral("bvlProposals.sCountedState_V"));
    texts.countedStateOne = ctx.T(QStringLiteral("bvlProposals.sCountedStateOne_V"));
    texts.supported = ctx.T(QStringLiteral("bvlProposals.sSupported_V"));
    texts.textSeen = ctx.T(QStringLiteral("bvlProposals.sTextSeen_V"));
    return texts;
}

// A check box that only shows a bit.
QCheckBox *bitBox(QWidget *parent, const QString &name, int bit)
{
    auto *box = new QCheckBox(QString::number(bit), parent);
    box->setObjectName(name);
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

// A legend entry's sample: a cell as the map draws it, two hex digits on the cell's
// colour, bold where the byte differs, underlined where it varies in undescribed bits over
// a survey. Its colours are set by applyLegendColours.
QLabel *swatch(QWidget *parent, bool differs, bool underlined)
{
    auto *label = new QLabel(QStringLiteral("AB"), parent);
    label->setTextFormat(Qt::PlainText);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setBold(differs);
    font.setUnderline(underlined);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    label->setFrameShape(QFrame::Box);
    label->setFixedSize(label->fontMetrics().horizontalAdvance(QStringLiteral("AB")) + 10,
                        label->fontMetrics().height() + 4);
    return label;
}

}   // namespace

bvlByteMap::bvlByteMap(AppContext &ctx, const SettingFileDocument &document, ReferenceImageSet &images, QWidget *owner)
    : QWidget(owner, Qt::Window), m_ctx(ctx), m_document(document), m_images(images), m_model(new ByteMapModel(this))
{
    setObjectName(QStringLiteral("bvlByteMap"));
    // A window of its own, not a dialog: Escape closes it as it closes a dialog.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    lbCoverage = new QLabel(this);
    lbCoverage->setObjectName(QStringLiteral("lbCoverage"));
    lbCoverage->setTextFormat(Qt::PlainText);

    tvBytes = new QTableView(this);
    tvBytes->setObjectName(QStringLiteral("tvBytes"));
    tvBytes->setModel(m_model);
    tvBytes->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    tvBytes->setSelectionMode(QAbstractItemView::ContiguousSelection);
    tvBytes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvBytes->setShowGrid(false);
    // Fixed sizes: the view then never measures a row, whatever the image's size.
    tvBytes->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tvBytes->verticalHeader()->setDefaultSectionSize(tvBytes->fontMetrics().height() + 4);
    tvBytes->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int byteWidth = tvBytes->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 6;
    tvBytes->horizontalHeader()->setDefaultSectionSize(byteWidth);
    tvBytes->horizontalHeader()->resizeSection(ByteMapModel::TextColumn,
                                               tvBytes->fontMetrics().horizontalAdvance(QString(18, QLatin1Char('M'))));

    cmNewSetting = NewCommandButton(this, QStringLiteral("cmNewSetting"), QStringLiteral("New setting from selection"));
    cmPropose =
        NewCommandButton(this, QStringLiteral("cmPropose"), QStringLiteral("Propose settings for all differences"));
    cmPrevious =
        NewCommandButton(this, QStringLiteral("cmPrevious"), QStringLiteral("Previous undescribed difference"));
    cmNext = NewCommandButton(this, QStringLiteral("cmNext"), QStringLiteral("Next undescribed difference"));
    cmSurveyImages =
        NewCommandButton(this, QStringLiteral("cmSurveyImages"), QStringLiteral("Images from a folder..."));
    // What makes settings on the left, what moves on the right, on rows of their own.
    auto *commands = new QGridLayout;
    commands->addWidget(cmNewSetting, 0, 0);
    commands->addWidget(cmPropose, 1, 0);
    commands->addWidget(cmSurveyImages, 2, 0);
    commands->setColumnStretch(1, 1);
    commands->addWidget(cmPrevious, 0, 2);
    commands->addWidget(cmNext, 1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lbCoverage);
    layout->addWidget(buildLegend());
    layout->addWidget(tvBytes, 1);
    layout->addWidget(buildDetails());
    layout->addLayout(commands);

    connect(cmNewSetting, &QPushButton::clicked, this, &bvlByteMap::cmNewSetting_Click);
    connect(cmPropose, &QPushButton::clicked, this, &bvlByteMap::cmPropose_Click);
    connect(cmSurveyImages, &QPushButton::clicked, this, &bvlByteMap::cmSurveyImages_Click);
    connect(cmNext, &QPushButton::clicked, this, &bvlByteMap::cmNext_Click);
    connect(cmPrevious, &QPushButton::clicked, this, &bvlByteMap::cmPrevious_Click);
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this, &bvlByteMap::cmNext_Click);
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this), &QShortcut::activated, this,
            &bvlByteMap::cmPrevious_Click);
    connect(&document, &SettingFileDocument::reset, this, &bvlByteMap::refreshSettings);
    connect(&document, &SettingFileDocument::recordsChanged, this, &bvlByteMap::refreshSettings);
    connect(&images, &ReferenceImageSet::changed, this, &bvlByteMap::Refresh);
    connect(tvBytes->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &bvlByteMap::tvBytes_SelectionChanged);
    connect(tvBytes->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &bvlByteMap::tvBytes_SelectionChanged);

    applyLegendColours();
    connect(&ThemeFollower::Instance(), &ThemeFollower::themeChanged, this, [this](QWidget *window) {
        if (window == this)
            applyLegendColours();
    });

    ApplyLanguage(ctx.lang, this);
    m_model->setCellReading(ctx.T(QStringLiteral("bvlByteMap.sCellReading_V")),
                            ctx.T(QStringLiteral("bvlByteMap.sCellNoOwner_V")));
    m_model->setSurveyTip(ctx.T(QStringLiteral("bvlByteMap.sCellTip_V")));
    const int width = tvBytes->verticalHeader()->sizeHint().width() + 16 * byteWidth
                      + tvBytes->horizontalHeader()->sectionSize(ByteMapModel::TextColumn) + 60;
    resize(qMax(width, 720), 640);
    Refresh();
}

QWidget *bvlByteMap::buildLegend()
{
    auto *legend = new QWidget(this);
    legend->setObjectName(QStringLiteral("frLegend"));
    // Three entries a row: in one row the legend alone is wider than a small screen.
    auto *grid = new QGridLayout(legend);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    int entries = 0;
    const auto entry = [&](LegendSample kind, const QString &name, const QString &caption) {
        const bool underlined = kind == LegendSample::UndescribedVaries;
        const bool differs = underlined || kind == LegendSample::Differs || kind == LegendSample::UndescribedDifference;
        QLabel *sample = swatch(legend, differs, underlined);
        sample->setObjectName(name + QStringLiteral("Sample"));
        m_legendSamples[int(kind)] = sample;
        auto *text = new QLabel(caption, legend);
        text->setObjectName(name);
        TagForCaption(text);
        m_legendTexts[int(kind)] = text;
        const int row = entries / 3, column = 2 * (entries % 3);
        grid->addWidget(sample, row, column);
        grid->addWidget(text, row, column + 1);
        ++entries;
    };
    entry(LegendSample::Whole, QStringLiteral("lbLegendWhole"), QStringLiteral("every bit described"));
    entry(LegendSample::Partly, QStringLiteral("lbLegendPartly"), QStringLiteral("some bits described"));
    entry(LegendSample::Undescribed, QStringLiteral("lbLegendUndescribed"), QStringLiteral("undescribed"));
    entry(LegendSample::Conflict, QStringLiteral("lbLegendConflict"), QStringLiteral("bits in conflict"));
    entry(LegendSample::Differs, QStringLiteral("lbLegendDiffers"), QStringLiteral("differs"));
    entry(LegendSample::UndescribedDifference, QStringLiteral("lbLegendUndescribedDiff"),
          QStringLiteral("differs in undescribed bits"));
    // Over a survey: how many values a byte took, on rows of their own.
    entries = 6;
    entry(LegendSample::VariesTwo, QStringLiteral("lbLegendVariesTwo"), QStringLiteral("2 values"));
    entry(LegendSample::VariesFew, QStringLiteral("lbLegendVariesFew"), QStringLiteral("3 to 16 values"));
    entry(LegendSample::VariesMany, QStringLiteral("lbLegendVariesMany"), QStringLiteral("more than 16 values"));
    entry(LegendSample::UndescribedVaries, QStringLiteral("lbLegendUndescribedVaries"),
          QStringLiteral("varies in undescribed bits"));
    grid->setColumnStretch(6, 1);
    return legend;
}

void bvlByteMap::applyLegendColours()
{
    // The cells' colours for the palette the map is drawn in now, text as the cells draw it;
    // a described difference is shown on a wholly described byte, an undescribed variation
    // on a byte that took two values.
    using State = BitCoverage::ByteState;
    using Variation = ByteMapModel::Variation;
    const State states[] = {State::Whole, State::Partly, State::Undescribed, State::Conflict, State::Whole};
    const Variation variations[] = {Variation::Two, Variation::Few, Variation::Many, Variation::Two};
    const QPalette &palette = this->palette();
    for (int kind = 0; kind < LegendSampleCount; ++kind) {
        const LegendSample sample = LegendSample(kind);
        const bool undescribedDifference = sample == LegendSample::UndescribedDifference;
        const bool overSurvey = kind >= int(LegendSample::VariesTwo);
        const bool differs =
            undescribedDifference || sample == LegendSample::Differs || sample == LegendSample::UndescribedVaries;
        const QColor background =
            undescribedDifference ? ByteMapModel::UndescribedDifferenceColour(palette)
            : overSurvey ? ByteMapModel::VariationColour(variations[kind - int(LegendSample::VariesTwo)], palette)
                         : ByteMapModel::StateColour(states[kind], palette);
        const QColor text =
            differs ? ByteMapModel::DifferenceTextColour(background) : ByteMapModel::PlainTextColour(background);
        ThemeColours::SetRoles(m_legendSamples[kind], {{QPalette::Window, background}, {QPalette::WindowText, text}});
    }
}

QWidget *bvlByteMap::buildDetails()
{
    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("frDetails"));
    auto *layout = new QVBoxLayout(frame);
    lbSelected = new QLabel(frame);
    lbSelected->setObjectName(QStringLiteral("lbSelected"));
    lbSelected->setTextFormat(Qt::PlainText);
    layout->addWidget(lbSelected);

    auto *bits = new QGridLayout;
    auto *lbReference = new QLabel(QStringLiteral("Reference image"), frame);
    lbReference->setObjectName(QStringLiteral("lbReference"));
    TagForCaption(lbReference);
    m_lbSecond = new QLabel(QStringLiteral("Second image"), frame);
    m_lbSecond->setObjectName(QStringLiteral("lbSecond"));
    TagForCaption(m_lbSecond);
    m_lbVarying = new QLabel(QStringLiteral("Bits that vary"), frame);
    m_lbVarying->setObjectName(QStringLiteral("lbVarying"));
    TagForCaption(m_lbVarying);
    m_lbVarying->hide();
    bits->addWidget(lbReference, 0, 0);
    bits->addWidget(m_lbSecond, 1, 0);
    bits->addWidget(m_lbVarying, 1, 0);
    for (int bit = 7; bit >= 0; --bit) {
        const int column = 8 - bit;
        chReferenceBit[bit] = bitBox(frame, ArrayElementName(QStringLiteral("chReferenceBit"), bit), bit);
        chSecondBit[bit] = bitBox(frame, ArrayElementName(QStringLiteral("chSecondBit"), bit), bit);
        bits->addWidget(chReferenceBit[bit], 0, column);
        bits->addWidget(chSecondBit[bit], 1, column);
    }
    bits->setColumnStretch(9, 1);
    layout->addLayout(bits);

    lbOwners = new QLabel(QStringLiteral("Settings owning bits of this byte:"), frame);
    lbOwners->setObjectName(QStringLiteral("lbOwners"));
    TagForCaption(lbOwners);
    layout->addWidget(lbOwners);
    m_ownerArea = new QWidget(frame);
    m_ownerRows = new QVBoxLayout(m_ownerArea);
    m_ownerRows->setContentsMargins(12, 0, 0, 0);
    layout->addWidget(m_ownerArea);
    return frame;
}

// ---- following the editor ----

void bvlByteMap::Refresh()
{
    const ReferenceImages &images = m_images.images();
    QString comparedWith;
    if (images.hasSurvey())
        comparedWith =
            QStringLiteral(" + ") + m_ctx.T(QStringLiteral("bvlByteMap.sSurveyed_V")).arg(images.survey->usedCount());
    else if (images.hasSecond())
        comparedWith = QStringLiteral(" / ") + images.secondName();
    setWindowTitle(m_ctx.T(QStringLiteral("bvlByteMap.Caption_V")) + QStringLiteral(" - ") + images.referenceName()
                   + comparedWith);
    m_model->setImages(images.reference, images.second);
    m_model->setSurvey(images.survey);
    showLegendFor(m_model->hasSurvey());
    m_lbSecond->setHidden(m_model->hasSurvey());
    m_lbVarying->setVisible(m_model->hasSurvey());
    const bool compared = m_model->hasSecond() || m_model->hasSurvey();
    cmPropose->setEnabled(compared);
    cmNext->setEnabled(compared);
    cmPrevious->setEnabled(compared);
    for (QCheckBox *box : chSecondBit)
        box->setVisible(compared);
    refreshSettings();
}

void bvlByteMap::showLegendFor(bool survey)
{
    for (int kind = 0; kind < LegendSampleCount; ++kind) {
        const bool surveyEntry = kind >= int(LegendSample::VariesTwo);
        const bool secondEntry =
            LegendSample(kind) == LegendSample::Differs || LegendSample(kind) == LegendSample::UndescribedDifference;
        const bool shown = survey ? !secondEntry : !surveyEntry;
        m_legendSamples[kind]->setVisible(shown);
        m_legendTexts[kind]->setVisible(shown);
    }
}

void bvlByteMap::refreshSettings()
{
    m_model->setSettings(m_document.records());
    lbCoverage->setText(
        CoverageLine(m_model->coverage(), m_ctx.T(QStringLiteral("bvlByteMap.sCoverage_V")), QLocale()));
    showDetails(SelectedByte());
}

// ---- selection and details ----

qint64 bvlByteMap::SelectedByte() const
{
    qint64 first = 0, last = 0;
    return selectedRange(first, last) ? first : -1;
}

bool bvlByteMap::selectedRange(qint64 &first, qint64 &last) const
{
    first = -1;
    last = -1;
    const QModelIndexList cells = tvBytes->selectionModel()->selectedIndexes();
    for (const QModelIndex &cell : cells) {
        const qint64 offset = m_model->offsetOf(cell);
        if (offset < 0)
            continue;
        first = first < 0 ? offset : qMin(first, offset);
        last = qMax(last, offset);
    }
    if (first < 0) {
        first = last = m_model->offsetOf(tvBytes->currentIndex());
    }
    return first >= 0;
}

void bvlByteMap::SelectByte(qint64 offset)
{
    const QModelIndex cell = m_model->indexOf(offset);
    tvBytes->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    // The details below the table grow with the selection (its line, its owners, shown at
    // once): the table takes its new height first, so that the row is scrolled into what
    // is left of it.
    layout()->activate();
    tvBytes->scrollTo(cell);
}

void bvlByteMap::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        OpenInsideScreen(this, parentWidget());
    }
}

void bvlByteMap::tvBytes_SelectionChanged()
{
    showDetails(SelectedByte());
}

void bvlByteMap::showDetails(qint64 offset)
{
    // Later, not now: an owner's button may be what is being clicked.
    while (QLayoutItem *item = m_ownerRows->takeAt(0)) {
        if (QWidget *row = item->widget()) {
            row->hide();
            row->deleteLater();
        }
        delete item;
    }
    const bool shown = offset >= 0 && offset < m_model->reference().size();
    const bool surveyed = m_model->hasSurvey();
    const quint8 reference = shown ? quint8(m_model->reference().at(offset)) : 0;
    const quint8 varying = shown ? m_model->varyingBits(offset) : 0;
    // Over a survey the second row holds the bits that vary, and those no setting
    // describes are marked; with a second image its bits, and the differing ones marked.
    const quint8 second = surveyed ? varying : quint8(reference ^ varying);
    const quint8 marked = surveyed && shown ? m_model->undescribedBits(offset) : varying;
    for (int bit = 0; bit < 8; ++bit) {
        chReferenceBit[bit]->setChecked(reference & (1u << bit));
        chSecondBit[bit]->setChecked(second & (1u << bit));
        // A marked bit is marked in both rows.
        const bool differs = marked & (1u << bit);
        for (QCheckBox *box : {chReferenceBit[bit], chSecondBit[bit]}) {
            QFont font = box->font();
            font.setBold(differs);
            box->setFont(font);
            if (differs)
                ThemeColours::MarkText(box, ThemeColours::Changed);
            else
                ThemeColours::MarkPlain(box);
        }
    }
    if (!shown) {
        lbSelected->clear();
        return;
    }
    if (surveyed)
        lbSelected->setText(m_ctx.T(QStringLiteral("bvlByteMap.sSelectedSurvey_V"))
                                .arg(OffsetText(offset), ValueToBitText(reference),
                                     QString::number(m_model->survey()->distinctByteValues(offset)),
                                     QString::number(m_model->survey()->usedCount())));
    else
        lbSelected->setText(m_ctx.T(QStringLiteral("bvlByteMap.sSelected_V"))
                                .arg(OffsetText(offset), ValueToBitText(reference),
                                     m_model->hasSecond() ? ValueToBitText(second) : QStringLiteral("-")));

    const SettingList &settings = m_document.records();
    const QVector<ByteOwner> owners = OwnersOfByte(settings, offset);
    if (owners.isEmpty()) {
        auto *none = new QLabel(m_ctx.T(QStringLiteral("bvlByteMap.sNoOwner_V")), m_ownerArea);
        none->setTextFormat(Qt::PlainText);
        m_ownerRows->addWidget(none);
        none->show();   // now, not once events run: the table's height counts it at once
    }
    for (const ByteOwner &owner : owners) {
        const SettingStruct &s = settings[owner.index - 1];
        auto *row = new QWidget(m_ownerArea);
        row->setObjectName(ArrayElementName(QStringLiteral("frOwner"), owner.index));
        auto *line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        auto *text = new QLabel(
            QStringLiteral("%1  (%2, %3)").arg(s.Name, SettingTypeName(s.Type), ValueToBitText(owner.bits)), row);
        text->setTextFormat(Qt::PlainText);
        auto *open = NewCommandButton(row, ArrayElementName(QStringLiteral("cmOpenSetting"), owner.index),
                                      m_ctx.Title(QStringLiteral("bvlByteMap.cmOpenSetting")), false);
        const int k = owner.index;
        connect(open, &QPushButton::clicked, this, [this, k] { emit editRecordRequested(k); });
        line->addWidget(text, 1);
        line->addWidget(open);
        m_ownerRows->addWidget(row);
        row->show();
    }
}

// ---- commands ----

void bvlByteMap::cmNext_Click()
{
    const QVector<UndescribedDifference> &all = m_model->undescribedDifferences();
    if (all.isEmpty()) {
        lbSelected->setText(m_ctx.T(QStringLiteral("bvlByteMap.sNoDifference_V")));
        return;
    }
    const qint64 current = SelectedByte();
    const auto next = std::upper_bound(all.begin(), all.end(), current,
                                       [](qint64 offset, const UndescribedDifference &d) { return offset < d.offset; });
    SelectByte(next == all.end() ? all.first().offset : next->offset);   // around the end
}

void bvlByteMap::cmPrevious_Click()
{
    const QVector<UndescribedDifference> &all = m_model->undescribedDifferences();
    if (all.isEmpty()) {
        lbSelected->setText(m_ctx.T(QStringLiteral("bvlByteMap.sNoDifference_V")));
        return;
    }
    qint64 current = SelectedByte();
    if (current < 0)
        current = m_model->reference().size();
    const auto at = std::lower_bound(all.begin(), all.end(), current,
                                     [](const UndescribedDifference &d, qint64 offset) { return d.offset < offset; });
    SelectByte(at == all.begin() ? all.last().offset : (at - 1)->offset);
}

void bvlByteMap::cmNewSetting_Click()
{
    qint64 first = 0, last = 0;
    if (!selectedRange(first, last))
        return;
    const ProposalTexts texts = LocalTexts(m_ctx, m_images.images());
    const QByteArray &reference = m_model->reference();
    SettingStruct draft;
    bool drafted = false;
    if (m_model->hasSurvey()) {
        // The first draft over the survey that starts in the selection.
        for (const Proposal &p : m_images.images().proposer->proposals(m_document.records(), texts)) {
            if (p.setting.Offset >= first && p.setting.Offset <= last) {
                draft = p.setting;
                drafted = true;
                break;
            }
        }
    } else if (m_model->hasSecond()) {
        // Only the selection's differences count: outside it the second image is the first.
        QByteArray second = reference;
        second.replace(first, last - first + 1, m_model->second().mid(first, last - first + 1));
        const QVector<Proposal> proposals = ProposeSettings(m_document.records(), reference, second, texts);
        if (!proposals.isEmpty()) {
            draft = proposals.first().setting;
            drafted = true;
        }
    }
    if (!drafted) {
        // Nothing differs: one free byte is a number, a partly owned one a check box on
        // its lowest free bit, several bytes a text field.
        draft.Group = texts.group;
        draft.Offset = qint32(first);
        const quint8 owned = m_model->coverage().ownedBits(first);
        if (last > first) {
            draft.Type = quint8(SettingType::AnsiString);
            draft.MaxStringLength = qint32(last - first + 1);
            draft.Name = texts.textName.arg(OffsetName(first));
        } else if (owned == 0 || owned == 0xFF) {
            draft.Type = quint8(SettingType::Int8);
            draft.Name = texts.byteName.arg(OffsetName(first));
        } else {
            const quint8 free = quint8(~owned);
            const quint8 lowest = quint8(free & -free);
            int bit = 0;
            while (!(lowest & (1u << bit)))
                ++bit;
            draft.Type = quint8(SettingType::Checkbox);
            draft.BitMask = lowest;
            draft.Values = JoinValues({QString::number(lowest), QStringLiteral("0")});
            draft.Name = texts.bitName.arg(OffsetName(first)).arg(bit);
        }
    }
    emit draftChosen(draft);
}

void bvlByteMap::cmPropose_Click()
{
    const ReferenceImages &images = m_images.images();
    QVector<Proposal> proposals;
    if (m_model->hasSurvey())
        proposals = images.proposer->proposals(m_document.records(), LocalTexts(m_ctx, images));
    else if (m_model->hasSecond())
        proposals =
            ProposeSettings(m_document.records(), m_model->reference(), m_model->second(), LocalTexts(m_ctx, images));
    else
        return;
    bvlProposals dialog(m_ctx, proposals, this, m_model->hasSurvey());
    if (dialog.exec() == QDialog::Accepted)
        emit draftsChosen(dialog.CheckedSettings());
}

void bvlByteMap::cmSurveyImages_Click()
{
    const ReferenceImages &images = m_images.images();
    if (!images.hasReference())
        return;
    const QString title = QStringLiteral("bvlByteMap.cmSurveyImages");
    const QString folder = QDir::toNativeSeparators(QFileInfo(images.referencePath).absolutePath());
    const std::optional<QStringList> chosen = m_ctx.platform.openFileNames(
        m_ctx.Title(title),
        m_ctx.T(QStringLiteral("bvlMain.cdFilter1A_V")) + QStringLiteral("|*.seem;*.bin;*.sch|")
            + m_ctx.T(QStringLiteral("bvlMain.cdFilter1_V")) + QStringLiteral("|*.*"),
        folder.endsWith(QDir::separator()) ? folder : folder + QDir::separator());
    if (!chosen)
        return;
    // The reference first, as the first image the others are measured against; a folder
    // that holds it counts it once.
    const QString reference = QFileInfo(images.referencePath).canonicalFilePath();
    QStringList paths{images.referencePath};
    for (const QString &path : SurveyImagePaths(*chosen))
        if (reference.isEmpty() || QFileInfo(path).canonicalFilePath() != reference)
            paths << path;
    auto survey = std::make_shared<ImageSurvey>(SurveyHeaderFor(m_document.readHeader(), images.referencePath),
                                                m_document.records());
    auto proposer = std::make_shared<SurveyProposer>();
    survey->setImageSink([drafts = proposer.get()](const QByteArray &bytes) { drafts->add(bytes); });
    if (!RunSurvey(m_ctx, this, *survey, paths, title, QStringLiteral("cmSurveyImages")))
        return;
    survey->setImageSink(nullptr);
    // The reference read again from its file is what the others are measured against.
    if (survey->usedCount() < 2 || !survey->image(0).used() || !m_images.setSurvey(survey, proposer))
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlByteMap.sSurveyTooFew_M")), MsgIcon::Information,
                                  MsgButtons::Ok);
}
