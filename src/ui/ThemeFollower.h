#pragma once
#include <QObject>
#include <QPointer>
#include <QVector>

class QWidget;

// Keeps the colours the program chose in step with the theme. When the palette of a window
// changes while the program runs (the desktop switches to a dark or high-contrast theme),
// the marked texts, the input marks and whatever a window registered are drawn again in
// colours taken from the new palette, once the window's own palette has been updated.
class ThemeFollower : public QObject
{
    Q_OBJECT
public:
    // The one follower of the application, watching every window from its first call on.
    static ThemeFollower &Instance();

    // Draws window's colours again at once.
    void reapply(QWidget *window);

signals:
    // After the marks of window were drawn again: for colours a window keeps itself.
    void themeChanged(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ThemeFollower(QObject *parent);
    void reapplyPending();

    QVector<QPointer<QWidget>> m_pending;
};
