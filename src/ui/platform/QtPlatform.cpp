#include "ui/platform/QtPlatform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QSettings>
#include <QUrl>
#include <cstdlib>
#include <memory>

namespace {
QWidget *dialogParent()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

// The per-user store; organisation and application are both "Brimvale Edit".
std::unique_ptr<QSettings> OpenPreferences()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, ApplicationTitle,
                                       ApplicationTitle);
}
}   // namespace

MsgResult QtPlatform::messageBox(const QString &text, MsgIcon icon, MsgButtons buttons, MsgDefault defaultAnswer)
{
    QMessageBox box(dialogParent());
    box.setWindowTitle(ApplicationTitle);
    // Messages carry paths and texts from files, never markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    if (buttons != MsgButtons::Ok)
        box.setDefaultButton(defaultAnswer == MsgDefault::No ? QMessageBox::No : QMessageBox::Yes);
    const int pressed = box.exec();
    switch (pressed) {
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    default:
        break;
    }
    if (buttons == MsgButtons::YesNoCancel)
        return MsgResult::Cancel;
    if (buttons == MsgButtons::YesNo)
        return MsgResult::No;
    return MsgResult::Ok;
}

QString QtPlatform::dialogStart(const QString &proposedName)
{
    return FileDialogStart(proposedName, m_lastFolder, QDir::toNativeSeparators(QDir::homePath()));
}

std::optional<QString> QtPlatform::chosenFile(const QString &chosen)
{
    if (chosen.isEmpty())
        return std::nullopt;
    m_lastFolder = QFileInfo(chosen).absolutePath();
    return QDir::toNativeSeparators(chosen);
}

std::optional<QString> QtPlatform::openFileName(const QString &title, const QString &filter,
                                                const QString &proposedName)
{
    return chosenFile(
        QFileDialog::getOpenFileName(dialogParent(), title, dialogStart(proposedName), QtFileFilter(filter)));
}

std::optional<QStringList> QtPlatform::openFileNames(const QString &title, const QString &filter,
                                                     const QString &proposedName)
{
    const QStringList chosen =
        QFileDialog::getOpenFileNames(dialogParent(), title, dialogStart(proposedName), QtFileFilter(filter));
    if (chosen.isEmpty() || !chosenFile(chosen.first()))
        return std::nullopt;
    QStringList native;
    for (const QString &path : chosen)
        native << QDir::toNativeSeparators(path);
    return native;
}

std::optional<QString> QtPlatform::saveFileName(const QString &title, const QString &filter,
                                                const QString &proposedName, bool confirmOverwrite)
{
    const QFileDialog::Options options = confirmOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    return chosenFile(QFileDialog::getSaveFileName(dialogParent(), title, dialogStart(proposedName),
                                                   QtFileFilter(filter), nullptr, options));
}

QString QtPlatform::inputBox(const QString &prompt, const QString &defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(dialogParent(), ApplicationTitle, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

QString QtPlatform::readPreference(const QString &section, const QString &key, const QString &defaultValue)
{
    return OpenPreferences()->value(section + QLatin1Char('/') + key, defaultValue).toString();
}

void QtPlatform::writePreference(const QString &section, const QString &key, const QString &value)
{
    const std::unique_ptr<QSettings> settings = OpenPreferences();
    settings->setValue(section + QLatin1Char('/') + key, value);
    settings->sync();
}

QString QtPlatform::programFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString QtPlatform::userFolder()
{
    return UserDataFolder();
}

void QtPlatform::shellOpen(const QString &target)
{
    QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode));
}

void QtPlatform::exitNow(int exitCode)
{
    std::exit(exitCode);
}
