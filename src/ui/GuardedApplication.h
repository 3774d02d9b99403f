#pragma once
#include <QApplication>

#include <functional>

// The windows' application object. An event whose handling runs out of memory (a hostile
// input that slipped past every size check) is dropped with a message instead of ending
// the program, so that the user keeps the window and whatever it holds.
class GuardedApplication : public QApplication
{
public:
    GuardedApplication(int &argc, char **argv);

    // Called after such an event was dropped; shows the message.
    void setOutOfMemoryReport(std::function<void()> report) { m_report = std::move(report); }

    bool notify(QObject *receiver, QEvent *event) override;

private:
    std::function<void()> m_report;
    bool m_reporting = false;
};
