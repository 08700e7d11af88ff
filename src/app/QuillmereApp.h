#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include "DemoType.h"

class AppSettings;
namespace Languages {
class Translator;
}
class GuideWindow;
class HistoryWindow;
struct HistoryEntry;
class SentenceMapWindow;
class MainWindow;
class QAction;
class SessionHistory;
class QWidget;

// The application: its main windows, the Settings window and the About
// windows, and the menu actions that every main window shares.
//
// - File: "New Window" (a main window with its own content and service),
//   "Close Window", "Quit".
// - Edit: "Settings…" opens the one Settings window, or brings it forward.
// - View: "History" opens the one History window, or brings it forward;
//   "Sentence Map" likewise its window. "Zoom In", "Zoom Out" and "Actual
//   Size" zoom every window together (their names carry the zoom, e.g.
//   "Zoom In (150 %)"); the zoom is kept in the settings. "Full Screen"
//   toggles the active main window or the Sentence Map; Esc leaves it.
// - Examples: ready-made texts for each demo; choosing one fills the active
//   main window's editors (switching demo if needed) without starting
//   anything.
// - Help: "Quillmere Guide" (F1) opens the one guide window, or brings it
//   forward; "About Quillmere" opens a new About window each time. Links
//   "quillmere-guide:<section>" from any screen open the guide there.
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
    // Opens the History window, or raises and activates the open one.
    HistoryWindow *openHistoryWindow();
    // Opens the Sentence Map window, or raises and activates the open one.
    SentenceMapWindow *openSentenceMapWindow();
    // Opens the guide at a section (the top when empty), or brings the open
    // one forward and shows the section there.
    GuideWindow *openGuide(const QString &section = QString());
    GuideWindow *guideWindow() const;

    // The main window that commands such as the examples and "Use Again"
    // act on: the active one, else the one last active, else the newest.
    // Null when no main window is open.
    MainWindow *activeMainWindow() const;
    // Puts the texts into that window's demo (see ContentView::useTexts),
    // opening a main window if none is open, and brings it forward.
    MainWindow *useTexts(DemoType demo, const QStringList &texts);

    // Every analysis and calculation of this run, from every main window.
    SessionHistory &history() const { return *m_history; }

    // The open main windows, oldest first.
    QList<MainWindow *> mainWindows() const;
    // The Settings window while it is open, else null.
    QWidget *settingsWindow() const { return m_settingsWindow; }
    // The History window while it is open, else null.
    HistoryWindow *historyWindow() const;
    SentenceMapWindow *sentenceMapWindow() const;

    QAction *newWindowAction() const { return m_newWindowAction; }
    QAction *closeWindowAction() const { return m_closeWindowAction; }
    QAction *quitAction() const { return m_quitAction; }
    QAction *settingsAction() const { return m_settingsAction; }
    QAction *aboutAction() const { return m_aboutAction; }
    QAction *historyAction() const { return m_historyAction; }
    // One per example, in the order of Examples::all().
    const QList<QAction *> &exampleActions() const { return m_exampleActions; }
    QAction *sentenceMapAction() const { return m_sentenceMapAction; }
    // One per set, in the order of Examples::sentenceSets().
    const QList<QAction *> &sentenceSetActions() const { return m_sentenceSetActions; }
    QAction *zoomInAction() const { return m_zoomInAction; }
    QAction *zoomOutAction() const { return m_zoomOutAction; }
    QAction *actualSizeAction() const { return m_actualSizeAction; }
    QAction *fullScreenAction() const { return m_fullScreenAction; }
    QAction *guideAction() const { return m_guideAction; }

    // Installs the interface language that the settings choose, and the
    // next one whenever the choice changes.
    Languages::Translator &translator() const { return *m_translator; }

protected:
    // Esc leaves full screen, and a window's state or activation redraws the
    // View menu.
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    // The handler of "quillmere-guide:" links.
    void openGuideLink(const QUrl &url);

private:
    void installMenus(MainWindow *window);
    // "Use Again" from the History window: a demo's texts go back into a
    // main window, a map's sentences into the Sentence Map.
    void useEntryAgain(const HistoryEntry &entry);
    void closeActiveWindow();
    // Zoom and full-screen actions and shortcuts for a window of the app.
    void addViewActions(QWidget *window);
    void zoomBy(int direction);
    // The window that Full Screen acts on: the active main window or Sentence
    // Map, else the last active main window.
    QWidget *fullScreenTarget() const;
    void toggleFullScreen();
    // Draws the View menu's names, enabled and checked states from the zoom
    // and the target window.
    void renderViewActions();
    // The texts of the menus, actions and windows that this object made, in
    // the current language.
    void renderTexts();
    void renderMenus(MainWindow *window);

    AppSettings &m_settings;
    Languages::Translator *const m_translator;
    // A child object, so it outlives the windows that the destructor deletes.
    SessionHistory *const m_history;
    QAction *const m_newWindowAction;
    QAction *const m_closeWindowAction;
    QAction *const m_quitAction;
    QAction *const m_settingsAction;
    QAction *const m_aboutAction;
    QAction *const m_historyAction;
    QList<QAction *> m_exampleActions;
    QAction *const m_sentenceMapAction;
    QList<QAction *> m_sentenceSetActions;
    QAction *const m_zoomInAction;
    QAction *const m_zoomOutAction;
    QAction *const m_actualSizeAction;
    QAction *const m_fullScreenAction;
    QAction *const m_guideAction;
    QPointer<QWidget> m_sentenceMapWindow;
    QPointer<QWidget> m_guideWindow;
    // Held as QWidget: a window's pointer is read while its QWidget base is
    // being destroyed (focus moves on as it hides), when it is no longer a
    // MainWindow; qobject_cast then says so.
    QList<QPointer<QWidget>> m_mainWindows;
    QPointer<QWidget> m_lastActiveMainWindow;
    QPointer<QWidget> m_settingsWindow;
    QPointer<QWidget> m_historyWindow;
};
