#pragma once
#include <QLineEdit>

// The search field of Find: a line over the right end of the status line, hidden until
// the user asks for it, so that the window's layout stays as it is. Escape hides it.
class FindBar : public QLineEdit
{
    Q_OBJECT
public:
    explicit FindBar(QWidget *parent = nullptr);

    // Shows whether the query has a match: plain, or in red text.
    void showFound(bool found);

signals:
    void closed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
