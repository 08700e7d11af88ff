#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class AppSettings;
class MainWindow;
class QAction;
class QWidget;

// The application: its main windows, the Settings window and the About
// windows, and the menu actions that every main window shares.
//
// - File: "New Window" (a main window with its own content and service),
//   "Close Window", "Quit".
// - Edit: "Settings…" opens the one Settings window, or brings it forward.
// - Help: "About Quillmere" opens a new About window each time.
class QuillmereApp : public QObject
{
    Q_OBJECT

public:
    // Uses AppSettings::shared().
    explicit QuillmereApp(QObject *parent = nullptr);
    explicit QuillmereApp(AppSettings &settings, QObject *parent = nullptr);
    // Deletes the windows that are still open.
    ~QuillmereApp() override;

    // Opens and shows a new main window, with Sentiment Analysis chosen.
    MainWindow *openMainWindow();
    // Opens the Settings window, or raises and activates the open one.
    QWidget *openSettingsWindow();
    // Opens a new About window, centred on the screen of the active window.
    QWidget *openAboutWindow();

    // The open main windows, oldest first.
    QList<MainWindow *> mainWindows() const;
    // The Settings window while it is open, else null.
    QWidget *settingsWindow() const { return m_settingsWindow; }

    QAction *newWindowAction() const { return m_newWindowAction; }
    QAction *closeWindowAction() const { return m_closeWindowAction; }
    QAction *quitAction() const { return m_quitAction; }
    QAction *settingsAction() const { return m_settingsAction; }
    QAction *aboutAction() const { return m_aboutAction; }

private:
    void installMenus(MainWindow *window);
    void closeActiveWindow();

    AppSettings &m_settings;
    QAction *const m_newWindowAction;
    QAction *const m_closeWindowAction;
    QAction *const m_quitAction;
    QAction *const m_settingsAction;
    QAction *const m_aboutAction;
    QList<QPointer<MainWindow>> m_mainWindows;
    QPointer<QWidget> m_settingsWindow;
};
