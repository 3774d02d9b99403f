#include "ui/about/bvlAbout.h"

#include "core/Conversions.h"
#include "ui/AppContext.h"
#include "ui/Twips.h"
#include "ui/about/BannerPicture.h"
#include "ui/about/ClickableLabel.h"
#include "ui/about/PictureBox.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <cmath>

namespace {
const QString Credit = QStringLiteral("Brimvale Edit \u2014 written by the Brimvale Edit developers");
const QString MailAddress = QStringLiteral("brimvale-edit@example.org");
const QString Homepage = QStringLiteral("https://brimvale.example.org/");

const QColor LinkColour(0, 0, 255);

// A label placed in twips that centres its text.
template<class Label> Label *addLabel(QWidget *window, const char *name, const QString &text, const QRect &twips)
{
    auto *label = new Label(text, window);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(TwipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

// Desktop fonts run wider than the layout expects: rather than cut text off, the labels
// share the largest font size (down to 6 pt) at which every one of them fits its box.
void fitFont(const QList<QLabel *> &labels, QFont font)
{
    auto fits = [&labels](const QFont &candidate) {
        const QFontMetrics metrics(candidate);
        for (const QLabel *label : labels)
            if (metrics.horizontalAdvance(label->text()) > label->width())
                return false;
        return true;
    };
    while (!fits(font) && font.pointSizeF() > 6.0)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    for (QLabel *label : labels)
        label->setFont(font);
}

void makeLink(ClickableLabel *label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, LinkColour);
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
}
}   // namespace

bvlAbout::bvlAbout(AppContext &ctx, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                         | Qt::MSWindowsFixedSizeDialogHint),
      m_ctx(ctx)
{
    setObjectName(QStringLiteral("bvlAbout"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(TwipsToPixelsX(6060), TwipsToPixelsY(3630));

    // White window with black text whatever the desktop theme says.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);

    buildControls();

    // Key preview: the window sees every key before its controls do.
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    tmAnimation = new QTimer(this);
    tmAnimation->setObjectName(QStringLiteral("tmAnimation"));
    tmAnimation->setInterval(25);
    connect(tmAnimation, &QTimer::timeout, this, &bvlAbout::tmAnimation_Timer);

    Form_Load();
    tmAnimation->start();
}

void bvlAbout::buildControls()
{
    lbVersion = addLabel<QLabel>(this, "lbVersion", QString(), QRect(120, 120, 5775, 735));
    QFont versionFont = font();
    versionFont.setBold(true);
    versionFont.setPointSizeF(11.25);
    lbVersion->setFont(versionFont);

    QLabel *Label1 = addLabel<QLabel>(this, "Label1", Credit, QRect(120, 720, 5775, 255));
    QLabel *Label4 = addLabel<QLabel>(
        this, "Label4",
        QStringLiteral("Help me make this program better! Please mail all question and bug reports to:"),
        QRect(120, 1200, 5775, 255));
    Label3 = addLabel<ClickableLabel>(this, "Label3", MailAddress, QRect(120, 1440, 5775, 255));
    QLabel *Label5 = addLabel<QLabel>(this, "Label5", QStringLiteral("Homepage:"), QRect(120, 1680, 5775, 255));
    Label2 = addLabel<ClickableLabel>(this, "Label2", Homepage, QRect(120, 1920, 5775, 255));
    fitFont({Label1, Label4, Label3, Label5, Label2}, font());
    makeLink(Label3);
    makeLink(Label2);
    connect(Label3, &ClickableLabel::clicked, this, &bvlAbout::Label3_Click);
    connect(Label2, &ClickableLabel::clicked, this, &bvlAbout::Label2_Click);

    // The banner: the picture is drawn once, scaled to pSrc's pixel size (404 x 90 at
    // 96 dpi); pDest shows a rotated copy of it.
    pSrc = new PictureBox(this);
    pSrc->setObjectName(QStringLiteral("pSrc"));
    pSrc->setGeometry(TwipsRect(960, 3240, BannerWidth, 1350));
    pSrc->setPicture(DrawBannerPicture(pSrc->size()));
    pSrc->hide();

    pDest = new PictureBox(this);
    pDest->setObjectName(QStringLiteral("pDest"));
    pDest->setGeometry(TwipsRect(0, 2280, BannerWidth, 1350));
    pDest->setPicture(QImage(pSrc->picture().size(), pSrc->picture().format()));
    drawBanner();
}

void bvlAbout::Form_Load()
{
    lbVersion->setText(QStringLiteral("V") + VersionString());
}

bool bvlAbout::Form_KeyDown(int keyCode, Qt::KeyboardModifiers shift)
{
    Q_UNUSED(shift)
    if (keyCode != Qt::Key_Escape)
        return false;
    close();
    return true;
}

void bvlAbout::Label2_Click()
{
    m_ctx.platform.shellOpen(Label2->text());
}

void bvlAbout::Label3_Click()
{
    m_ctx.platform.shellOpen(QStringLiteral("mailto:") + Label3->text());
}

void bvlAbout::tmAnimation_Timer()
{
    ++BannerOffset;
    if (BannerOffset >= BannerWidth)
        BannerOffset = 1;
    drawBanner();
}

// pDest shows the picture rotated left by BannerOffset: the part right of the offset
// first, then the part left of it. The offset is in twips; it maps onto the picture's
// pixels in proportion, so a full turn of BannerWidth twips is the picture's full width
// at any screen resolution.
void bvlAbout::drawBanner()
{
    const QImage &source = pSrc->picture();
    const int width = source.width();
    const int height = source.height();
    const int split = int(std::lround(double(BannerOffset) * width / BannerWidth));

    QPainter painter(&pDest->picture());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (split < width)
        painter.drawImage(QPoint(0, 0), source, QRect(split, 0, width - split, height));
    if (split > 0)
        painter.drawImage(QPoint(width - split, 0), source, QRect(0, 0, split, height));
    painter.end();
    pDest->update();
}

void bvlAbout::done(int result)
{
    // Closing unloads the window: the banner stops with it.
    tmAnimation->stop();
    QDialog::done(result);
}

bool bvlAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (Form_KeyDown(key->key(), key->modifiers()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void bvlAbout::keyPressEvent(QKeyEvent *event)
{
    if (!Form_KeyDown(event->key(), event->modifiers()))
        QDialog::keyPressEvent(event);
}
