#pragma once
#include <QDialog>

struct AppContext;
class ClickableLabel;
class PictureBox;
class QLabel;
class QTimer;

// The About window: version, contact links and a scrolling banner. Shown modally from
// the main window's Info menu item; each opening constructs a new window. Not localised.
class bvlAbout : public QDialog
{
    Q_OBJECT
public:
    explicit bvlAbout(AppContext &ctx, QWidget *owner = nullptr);

    // Width of the banner boxes pSrc and pDest in twips: one full turn of the banner.
    static constexpr int BannerWidth = 6060;

    // Scroll position of the banner in twips; 0 when the window is created.
    qint32 BannerOffset = 0;

    void Form_Load();
    // Escape (with any modifier) closes the window; true when the key was used.
    bool Form_KeyDown(int keyCode, Qt::KeyboardModifiers shift);

public slots:
    void Label2_Click();
    void Label3_Click();
    // One banner step: advance by one twip, wrap, redraw pDest from pSrc.
    void tmAnimation_Timer();

public:
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void drawBanner();

    AppContext &m_ctx;
    QLabel *lbVersion = nullptr;
    ClickableLabel *Label2 = nullptr;
    ClickableLabel *Label3 = nullptr;
    PictureBox *pDest = nullptr;
    PictureBox *pSrc = nullptr;
    QTimer *tmAnimation = nullptr;
};
