#pragma once
#include <QLineEdit>

// The search field of Find: a line at the right end of the status line (which then steps
// aside), hidden until the user asks for it. Escape hides it.
class FindBar : public QLineEdit
{
    Q_OBJECT
public:
    explicit FindBar(QWidget *parent = nullptr);

    // Shows whether the query has a match: plain, or in the theme's error colour.
    void showFound(bool found);
    bool showsNotFound() const { return m_notFound; }
    // Draws the not-found mark again in the current theme's colours.
    void showColours();

signals:
    void closed();
    // The box was shown or hidden.
    void shownChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    bool m_notFound = false;
};
