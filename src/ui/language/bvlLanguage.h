#pragma once
#include <QDialog>
#include <QStringList>

struct AppContext;
class QLabel;
class QListWidget;
class QPushButton;

// The language selection dialog: lists the language files of the program folder by their
// language names and loads the one the user confirms. Its own texts are fixed English.
class bvlLanguage : public QDialog
{
    Q_OBJECT
public:
    explicit bvlLanguage(AppContext &ctx, QWidget *owner = nullptr);

    // Lists the language files. With AutoLoadOneLang and exactly one file, loads it without
    // showing anything. False when it has ended the program (no usable language file).
    bool FillUp(bool AutoLoadOneLang);

    // Full paths of the listed files; an entry's item value (Qt::UserRole) indexes it.
    QStringList LangFiles;

    QLabel *Label1;
    QListWidget *lsLanguages;
    QPushButton *cmOK;

public slots:
    void cmOK_Click();
    void lsLanguages_DblClick();

protected:
    // At start-up the owner is not on screen yet; the dialog then centres on the screen.
    void showEvent(QShowEvent *event) override;

private:
    // Ends the program with the error message text; FillUp returns its result.
    bool exitWith(const QString &text);

    AppContext &m_ctx;
};
