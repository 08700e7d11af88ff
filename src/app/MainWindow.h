#pragma once

#include <QMainWindow>

class AppSettings;
class ContentView;
class SessionHistory;

// A main window: its content is a ContentView, with its own demo selection
// and its own OllamaService. The menus are added by QuillmereApp.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Results of the window's demos go to `history` when there is one.
    explicit MainWindow(AppSettings &settings, SessionHistory *history = nullptr, QWidget *parent = nullptr);

    ContentView *contentView() const { return m_contentView; }

Q_SIGNALS:
    // The window has become the active window.
    void activated();

protected:
    bool event(QEvent *event) override;

private:
    ContentView *const m_contentView;
};
