#pragma once
#include <QDialog>
#include <QLocale>
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
    // showing anything. False when there is nothing to choose from: at start-up (no usable
    // language file) it has ended the program; from the menu it has said so, and the
    // window goes on in its language.
    // At start-up (AutoLoadOneLang) the entry whose "Main.Locale" is the system's language
    // is selected, else the first, so that Enter or Escape takes it; from the menu the
    // language in use is selected and marked.
    bool FillUp(bool AutoLoadOneLang);

    // The locale whose language is preselected at start-up; tests set another.
    QLocale SystemLocale = QLocale::system();

    // Full paths of the listed files; an entry's item value (Qt::UserRole) indexes it.
    QStringList LangFiles;

    QLabel *Label1;
    QListWidget *lsLanguages;
    QPushButton *cmOK;

public slots:
    void cmOK_Click();
    void lsLanguages_DblClick();
    // Escape or closing the window: at start-up takes the selected entry as OK does; when
    // that fails or nothing is selected, says so once and goes on in the built-in English
    // texts. From the menu it leaves the language as it is.
    void reject() override;

protected:
    // At start-up the owner is not on screen yet; the dialog then centres on the screen.
    void showEvent(QShowEvent *event) override;

private:
    // Ends the program with the error message text; FillUp returns its result.
    bool exitWith(const QString &text);
    // The row to select after filling: the language in use, or at start-up the system's
    // (never the file that has just failed to load).
    int preselectedRow(bool startUp) const;
    // Stores and loads the selected entry's file; false when nothing is selected (message
    // empty) or the file does not load (message says why).
    bool takeSelected(QString &message);
    // Loads path in place of the working language and stores its name as the preference; false,
    // with message saying which file failed and why, leaves language and preference alone.
    bool loadFile(const QString &path, QString &message);

    bool m_startUp = false;

    AppContext &m_ctx;
};
