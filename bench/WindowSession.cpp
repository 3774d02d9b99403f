#include "WindowSession.h"

#include "ui/main/bvlMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <stdexcept>
#include <utility>

namespace {
void HandlePostedEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}
}

WindowSession::WindowSession(const QString &programFolder, const QString &languageFile)
{
    m_platform.folder = programFolder;
    m_platform.preferences.insert(QStringLiteral("Lang/Language"), languageFile);
    m_platform.preferences.insert(QStringLiteral("UI/AutoSettingSelection"), QStringLiteral("True"));
    m_window = std::make_unique<bvlMain>(m_context);
    if (!m_window->Form_Load())
        throw std::runtime_error("the main window did not start");
    m_window->show();
    HandlePostedEvents();
}

WindowSession::~WindowSession() = default;

void WindowSession::open(const QString &seemPath)
{
    m_platform.fileAnswers.enqueue(seemPath);
    m_window->mnfOpenSEEM_Click();
    HandlePostedEvents();
}

void WindowSession::changeEvery(int stride)
{
    for (int index = 1; index <= m_window->Settings.size(); index += stride) {
        const SettingStruct &s = m_window->Settings.at(index - 1);
        switch (SettingType(s.Type)) {
        case SettingType::Checkbox: {
            QCheckBox *box = m_window->chUI.at(s.UIIndex);
            box->setChecked(!box->isChecked());
            break;
        }
        case SettingType::ValueList: {
            QComboBox *list = m_window->cbUI.at(s.UIIndex);
            list->setCurrentIndex((list->currentIndex() + 1) % list->count());
            break;
        }
        case SettingType::Int8: {
            QLineEdit *text = m_window->txUI.at(s.UIIndex);
            text->setText(QString::number((text->text().toInt() + 1) % 256));
            break;
        }
        default: {
            // The last character alternates between "x" and "y": one or two bytes change.
            QLineEdit *text = m_window->txUI.at(s.UIIndex);
            QString value = text->text();
            if (value.endsWith(QLatin1Char('x')))
                value.back() = QLatin1Char('y');
            else if (value.endsWith(QLatin1Char('y')))
                value.back() = QLatin1Char('x');
            else
                value.append(QLatin1Char('x'));
            text->setText(value);
            break;
        }
        }
    }
    HandlePostedEvents();
}

void WindowSession::save()
{
    m_platform.fileAnswers.enqueue(m_window->SEEMPath);
    m_window->mnfSaveSEEM_Click();
    HandlePostedEvents();
}

void WindowSession::restoreAll()
{
    m_window->mnfRestore_Click();
    HandlePostedEvents();
}

int WindowSession::settingCount() const
{
    return m_window->Settings.size();
}

QStringList WindowSession::takeMessages()
{
    return std::exchange(m_platform.messages, {});
}

int ChangedRuns(const QByteArray &before, const QByteArray &after)
{
    int runs = 0;
    bool inRun = false;
    for (qsizetype i = 0; i < std::min(before.size(), after.size()); ++i) {
        const bool changed = before.at(i) != after.at(i);
        if (changed && !inRun)
            ++runs;
        inRun = changed;
    }
    return runs;
}
