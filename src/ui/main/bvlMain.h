#pragma once
#include <QMainWindow>

struct AppContext;

// The main window (placeholder until the window is built).
class bvlMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit bvlMain(AppContext &context, QWidget *parent = nullptr);
    // Start-up; false when the program was ended during it.
    bool Form_Load();

private:
    AppContext &m_ctx;
};
