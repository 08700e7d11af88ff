#pragma once

#include "FakeOllamaServer.h"
#include "Scene.h"

#include "app/DemoType.h"

#include <QDateTime>
#include <QList>
#include <QPalette>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

class AppSettings;
class HistoryWindow;
class MainWindow;
class QuillmereApp;
class SessionHistory;
class SettingsView;
class TestSettings;

// Everything one picture needs, built fresh for it and torn down after it:
// settings over a preferences file of its own (never the user's), a fake
// Ollama server on 127.0.0.1 that the settings point at, an empty session
// history with a fixed clock, and the application object whose windows the
// scene opens. Scenes drive the windows through the helpers below and wait
// for states with waitUntil(), which throws SceneFailure when a state is
// never reached.
class Studio
{
public:
    // The main window's size in its pictures, unless a scene needs it taller.
    static constexpr QSize mainWindowSize{760, 760};
    // How long waitUntil() waits for a state before it gives up.
    static constexpr std::chrono::milliseconds defaultWaitTimeout{15'000};

    // When the first entry of the session history is made (the history's
    // clock then advances a little with every entry).
    static inline const QDateTime historyStart{QDate(2025, 5, 4), QTime(9, 30), Qt::UTC};

    // Names of the models that the fake server offers.
    static inline const QString languageModel = QStringLiteral("llama3.2:latest");
    static inline const QString thinkingModel = QStringLiteral("qwen3:8b");
    static inline const QString embeddingModel = QStringLiteral("nomic-embed-text:latest");

    // Applies the palette to the application for this picture.
    explicit Studio(const QPalette &palette, std::chrono::milliseconds waitTimeout = defaultWaitTimeout);
    // Closes every window, lets held replies go and stops the server.
    ~Studio();
    Studio(const Studio &) = delete;
    Studio &operator=(const Studio &) = delete;

    FakeOllamaServer &server() { return m_server; }
    // Its server URL is the fake server's; no model is selected.
    AppSettings &settings();
    QuillmereApp &app();

    // A main window showing the demo, exposed and active, of the usual size
    // or of a size that fits a taller state.
    MainWindow *openMainWindow(DemoType demo, QSize size = mainWindowSize);
    // The Settings window on the given tab (0 General, 1 Model), exposed.
    SettingsView *openSettings(int tab);
    // A new About window, exposed.
    QWidget *openAbout();
    // The History window, exposed, at its own size rather than one shrunk
    // to the small offscreen screen.
    HistoryWindow *openHistory(QSize size = QSize(900, 460));
    // Shows a widget of the scene's own as a window, deleted at teardown.
    QWidget *showWindow(QWidget *window, QSize size = QSize());

    // Lets pending layout and paint work finish, e.g. before scrolling to a
    // widget that has just appeared.
    static void settle();

    // Processes events until the condition holds; throws SceneFailure naming
    // `state` when it does not hold within the studio's wait timeout.
    void waitUntil(const QString &state, const std::function<bool()> &condition);

    // The child of `root` with this object name; throws SceneFailure if none.
    template <typename T>
    T *child(const QWidget *root, const QString &objectName) const
    {
        T *found = root->findChild<T *>(objectName);
        if (!found)
            throw missingChild(root, objectName);
        return found;
    }

    // Types text as a user would; a line break is the Return key.
    static void type(QWidget *target, const QString &text);

    // Runs at teardown, after the windows are gone and before the server
    // stops (e.g. to let a held reply go).
    void atTeardown(std::function<void()> action);

    // A reply that the fake server holds until teardown, for busy states.
    FakeOllamaServer::Reply heldReply();
    // A loopback URL on which nothing listens, for refused connections.
    static QString closedPortURL();
    // The models that the fake server offers: two language models, two
    // embedding models and a vision model that neither picker offers.
    static std::vector<FakeOllamaServer::Model> standardModels();

private:
    static void resetHistory(SessionHistory &history);
    SceneFailure missingChild(const QWidget *root, const QString &objectName) const;
    void expose(QWidget *window);

    std::chrono::milliseconds m_waitTimeout;
    std::unique_ptr<TestSettings> m_prefs;
    FakeOllamaServer m_server;
    std::unique_ptr<QuillmereApp> m_app;
    QList<QPointer<QWidget>> m_ownWindows;
    std::vector<std::function<void()>> m_teardown;
    bool m_holdsReplies = false;
};
