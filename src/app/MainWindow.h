#pragma once

#include <QMainWindow>

class AppSettings;
class ContentView;

// A main window: its content is a ContentView, with its own demo selection
// and its own OllamaService. The menus are added by QuillmereApp.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(AppSettings &settings, QWidget *parent = nullptr);

    ContentView *contentView() const { return m_contentView; }

private:
    ContentView *const m_contentView;
};
