#pragma once
#include <QDialog>

struct AppContext;
class QListWidget;
class QPushButton;

// Lets the author pick a setting's group from the groups the file already uses. The
// editor window fills lsGroups; the setting dialog shows the browser modally and reads
// GetSelectedItem afterwards. Closing only hides the window, so the choice survives.
class bvlGroupBrowse : public QDialog
{
    Q_OBJECT
public:
    explicit bvlGroupBrowse(AppContext &ctx, QWidget *owner = nullptr);

    // The selected group, or the empty text when there is no choice.
    QString GetSelectedItem() const;

    // Runs from the constructor: the window loads when it is first used.
    void Form_Load();
    void cmOK_Click();
    void lsGroups_DblClick();
    // Escape means no choice; true when the key was taken.
    bool Form_KeyDown(int key);

    QListWidget *lsGroups;
    QPushButton *cmOK;

protected:
    // The close box and Escape arrive here: no choice, and the window hides.
    void reject() override;

private:
    AppContext &m_ctx;
};
