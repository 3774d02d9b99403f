#include "WindowSession.h"

#include "seem/document/SettingLookup.h"
#include "ui/main/bvlMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTreeWidget>
#include <stdexcept>
#include <utility>

namespace {
void HandlePostedEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}
}   // namespace

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
    QVector<QPair<int, ControlState>> states;
    for (int index = 1; index <= m_window->Settings.size(); index += stride) {
        const SettingStruct &s = m_window->Settings.at(index - 1);
        const ControlState now = m_window->CurrentState(index);
        switch (SettingType(s.Type)) {
        case SettingType::Checkbox:
            states.append({index, ControlState::Checked(!now.checked)});
            break;
        case SettingType::ValueList:
            states.append({index, ControlState::ListPosition((now.listPosition + 1) % 4)});
            break;
        case SettingType::Int8:
            states.append({index, ControlState::Text(QString::number((now.text.toInt() + 1) % 256))});
            break;
        default: {
            // The last character alternates between "x" and "y": one or two bytes change.
            QString value = now.text;
            if (value.endsWith(QLatin1Char('x')))
                value.back() = QLatin1Char('y');
            else if (value.endsWith(QLatin1Char('y')))
                value.back() = QLatin1Char('x');
            else
                value.append(QLatin1Char('x'));
            states.append({index, ControlState::Text(value)});
            break;
        }
        }
    }
    m_window->ShowStatesAsOneStep(states);
    HandlePostedEvents();
}

int WindowSession::showGroup(const QString &path, bool continuations)
{
    int shown = 0;
    QString key = NormalisedGroup(path);
    while (QTreeWidgetItem *node = m_window->NodeByKey(key)) {
        m_window->tvUI->setCurrentItem(node);
        m_window->tvUI_NodeClick(node);
        HandlePostedEvents();
        ++shown;
        if (!continuations)
            break;
        key = NormalisedGroup(key + QStringLiteral(" (2)"));
    }
    return shown;
}

void WindowSession::save()
{
    m_platform.fileAnswers.enqueue(m_window->Document->seemPath());
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

qint64 PeakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
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
