#pragma once
#include <QLabel>

// The main window's status line: one line of fixed width. Its text stays whole (text())
// and is the tool tip; the line draws the text or a shorter form of it that puts what
// matters first, cut with "…" at its end when too long. Texts from files are shown as
// they are, never as rich text.
class StatusLine : public QLabel
{
public:
    explicit StatusLine(QWidget *parent = nullptr);

    // Keeps text and makes it the tool tip; the line draws shown, or text when shown is empty.
    void setLine(const QString &text, const QString &shown = QString());
    // What the line draws, elided to the line's width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_shown;
};

// A tool tip that shows text literally, line breaks and blanks included: a tool tip
// guesses rich text, so a name like "<b>x</b>" would otherwise lose its tags.
QString PlainToolTip(const QString &text);
