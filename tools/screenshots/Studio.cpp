#include "Studio.h"

#include "TestSettings.h"

#include "app/ContentView.h"
#include "app/MainWindow.h"
#include "app/QuillmereApp.h"
#include "history/HistoryWindow.h"
#include "history/SessionHistory.h"
#include "settings/SettingsView.h"

#include <QApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTest>

Studio::Studio(const QPalette &palette, std::chrono::milliseconds waitTimeout)
    : m_waitTimeout(waitTimeout)
    , m_prefs(std::make_unique<TestSettings>())
{
    QApplication::setPalette(palette);
    m_server.setModels(standardModels());
    settings().setOllamaURL(m_server.baseURL());
}

Studio::~Studio()
{
    // The windows go first, so that no late reply reaches a screen.
    m_app.reset();
    for (const QPointer<QWidget> &window : std::as_const(m_ownWindows))
        delete window.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    for (const auto &action : m_teardown)
        action();
    // The server stops when this object's members are destroyed, then the
    // settings go.
}

AppSettings &Studio::settings()
{
    return m_prefs->settings();
}

QuillmereApp &Studio::app()
{
    if (!m_app) {
        m_app = std::make_unique<QuillmereApp>(settings());
        resetHistory(m_app->history());
    }
    return *m_app;
}

MainWindow *Studio::openMainWindow(DemoType demo, QSize size)
{
    MainWindow *window = app().openMainWindow();
    window->contentView()->setSelectedDemo(demo);
    window->resize(size);
    expose(window);
    return window;
}

SettingsView *Studio::openSettings(int tab)
{
    QWidget *window = app().openSettingsWindow();
    auto *view = child<SettingsView>(window, QStringLiteral("settings"));
    // Chosen before the window is exposed, so that only this tab appears
    // (the model tab fetches the model list when it appears).
    view->setCurrentIndex(tab);
    expose(window);
    return view;
}

QWidget *Studio::openAbout()
{
    QWidget *window = app().openAboutWindow();
    expose(window);
    return window;
}

HistoryWindow *Studio::openHistory(QSize size)
{
    HistoryWindow *window = app().openHistoryWindow();
    window->resize(size);
    expose(window);
    return window;
}

QWidget *Studio::showWindow(QWidget *window, QSize size)
{
    m_ownWindows.append(window);
    if (size.isValid())
        window->resize(size);
    expose(window);
    return window;
}

void Studio::expose(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
    if (!QTest::qWaitForWindowExposed(window, int(m_waitTimeout.count())))
        throw SceneFailure(QStringLiteral("the window \"%1\" was never shown").arg(window->objectName()));
    // An active window draws its focus and selection colours as a user sees
    // them in front.
    if (!QTest::qWaitFor([window] { return window->isActiveWindow(); }, int(m_waitTimeout.count())))
        throw SceneFailure(QStringLiteral("the window \"%1\" never became active").arg(window->objectName()));
}

void Studio::settle()
{
    // One round per level of nested layouts that a change travels through.
    for (int round = 0; round < 10; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

void Studio::waitUntil(const QString &state, const std::function<bool()> &condition)
{
    if (!QTest::qWaitFor(condition, int(m_waitTimeout.count())))
        throw SceneFailure(QStringLiteral("never reached: %1").arg(state));
}

void Studio::type(QWidget *target, const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClicks(target, lines.at(i));
    }
}

void Studio::atTeardown(std::function<void()> action)
{
    m_teardown.push_back(std::move(action));
}

FakeOllamaServer::Reply Studio::heldReply()
{
    if (!m_holdsReplies) {
        m_holdsReplies = true;
        atTeardown([this] { m_server.releaseStalled(); });
    }
    FakeOllamaServer::Reply reply;
    reply.stall = true;
    return reply;
}

QString Studio::closedPortURL()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

std::vector<FakeOllamaServer::Model> Studio::standardModels()
{
    using Caps = std::vector<std::string>;
    auto model = [](const QString &name, long long size, Caps caps, std::string family, std::string parameters) {
        FakeOllamaServer::Model m;
        m.name = name.toStdString();
        m.size = size;
        m.capabilities = std::move(caps);
        m.family = std::move(family);
        m.parameterSize = std::move(parameters);
        return m;
    };
    return {
        model(languageModel, 2019393189LL, {"completion", "tools"}, "llama", "3.2B"),
        model(embeddingModel, 274302450LL, {"embedding"}, "nomic-bert", "137M"),
        model(thinkingModel, 5225388164LL, {"completion", "tools", "thinking"}, "qwen3", "8.2B"),
        model(QStringLiteral("llava:7b"), 4733363377LL, {"completion", "vision"}, "llama", "7B"),
        model(QStringLiteral("mxbai-embed-large:latest"), 669615493LL, {"embedding"}, "bert", "334M"),
    };
}

void Studio::resetHistory(SessionHistory &history)
{
    // Every picture starts with an empty history whose clock gives the same
    // times on every run, a little over a minute apart.
    history.clear();
    auto next = std::make_shared<QDateTime>(historyStart);
    history.setClock([next] {
        const QDateTime now = *next;
        *next = next->addSecs(73);
        return now;
    });
}

SceneFailure Studio::missingChild(const QWidget *root, const QString &objectName) const
{
    return SceneFailure(QStringLiteral("\"%1\" has no child named \"%2\"").arg(root->objectName(), objectName));
}
