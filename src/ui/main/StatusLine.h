#pragma once
#include <QLabel>

// The main window's status line: one line of fixed width. Its text stays whole (text()),
// a text too long for the line is drawn with "…" in its middle, and the whole text is
// the tool tip. Texts from files are shown as they are, never as rich text.
class StatusLine : public QLabel
{
public:
    explicit StatusLine(QWidget *parent = nullptr);

    // Shows text and makes it the tool tip.
    void setLine(const QString &text);
    // What the line draws: the text, elided to the line's width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A tool tip that shows text literally, line breaks and blanks included: a tool tip
// guesses rich text, so a name like "<b>x</b>" would otherwise lose its tags.
QString PlainToolTip(const QString &text);
