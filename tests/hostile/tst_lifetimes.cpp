// Windows, screens and the application are closed while their requests are
// still on the wire. The late replies must be dropped without touching freed
// memory (the sanitizer build of the suite turns any slip into a failure).
#include "FakeOllamaServer.h"
#include "StdoutCapture.h"
#include "TestSettings.h"
#include "app/ContentView.h"
#include "app/DemoType.h"
#include "app/MainWindow.h"
#include "app/QuillmereApp.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "demos/similarity/SentenceSimilarityView.h"
#include "settings/SettingsView.h"

#include <QApplication>
#include <QNetworkAccessManager>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <condition_variable>
#include <mutex>

namespace {

// Holds every reply at the server until the test opens the gate.
class Gate
{
public:
    void open()
    {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_opened.notify_all();
    }
    void wait()
    {
        std::unique_lock lock(m_mutex);
        m_opened.wait_for(lock, std::chrono::seconds(20), [this] { return m_open; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_open = false;
};

// Counts the replies that every network manager of the shared client has
// finished, so a test can wait until the late replies have been handled.
int finishedReplies()
{
    int count = 0;
    for (QNetworkAccessManager *manager : HttpClient::shared().findChildren<QNetworkAccessManager *>())
        count += manager->property("quillmereFinished").toInt();
    return count;
}

void countFinishedReplies()
{
    for (QNetworkAccessManager *manager : HttpClient::shared().findChildren<QNetworkAccessManager *>()) {
        if (manager->property("quillmereCounting").toBool())
            continue;
        manager->setProperty("quillmereCounting", true);
        QObject::connect(manager, &QNetworkAccessManager::finished, manager, [manager] {
            manager->setProperty("quillmereFinished", manager->property("quillmereFinished").toInt() + 1);
        });
    }
}

void typeInto(QWidget *screen, int editor, const QString &text)
{
    const auto editors = screen->findChildren<QPlainTextEdit *>();
    QVERIFY(editors.size() > editor);
    editors.at(editor)->setFocus();
    QTest::keyClicks(editors.at(editor), text);
}

} // namespace

class TestLifetimes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void closedWhileRequestsAreInFlight_data();
    void closedWhileRequestsAreInFlight();
    void manyAboutWindows();

private:
    std::unique_ptr<FakeOllamaServer> m_server;
    std::unique_ptr<Gate> m_gate;
    std::unique_ptr<TestSettings> m_prefs;
    std::unique_ptr<StdoutCapture> m_quiet;
};

void TestLifetimes::init()
{
    m_server = std::make_unique<FakeOllamaServer>();
    m_gate = std::make_unique<Gate>();
    FakeOllamaServer::Model llm;
    llm.name = "llama3.2:latest";
    FakeOllamaServer::Model embedder;
    embedder.name = "nomic-embed-text:latest";
    embedder.capabilities = std::vector<std::string>{"embedding"};
    m_server->setModels({llm, embedder});
    m_server->setHandler([gate = m_gate.get()](const FakeOllamaServer::Request &) {
        gate->wait();
        return std::optional<FakeOllamaServer::Reply>();
    });
    m_prefs = std::make_unique<TestSettings>();
    m_prefs->settings().setOllamaURL(m_server->baseURL());
    m_prefs->settings().setSelectedLLMModel(QStringLiteral("llama3.2:latest"));
    m_prefs->settings().setSelectedEmbeddingModel(QStringLiteral("nomic-embed-text:latest"));
    m_quiet = std::make_unique<StdoutCapture>();
}

void TestLifetimes::cleanup()
{
    m_gate->open();
    m_server.reset();
    m_quiet.reset();
    m_prefs.reset();
}

void TestLifetimes::closedWhileRequestsAreInFlight_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("main window closed during the first fetch") << QStringLiteral("close window");
    QTest::newRow("demo switched during an analysis") << QStringLiteral("switch during analysis");
    QTest::newRow("demo switched during a calculation") << QStringLiteral("switch during calculation");
    QTest::newRow("window closed during a calculation") << QStringLiteral("close during calculation");
    QTest::newRow("settings closed during the model fetch") << QStringLiteral("close settings");
    QTest::newRow("application quit with everything in flight") << QStringLiteral("quit");
}

void TestLifetimes::closedWhileRequestsAreInFlight()
{
    QFETCH(QString, what);

    auto app = std::make_unique<QuillmereApp>(m_prefs->settings());
    QPointer<MainWindow> window = app->openMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    ContentView *content = window->contentView();
    countFinishedReplies();

    // The first fetch of the model list is on the wire from the start.
    QTRY_COMPARE(m_server->requests("/api/tags").size(), size_t(1));
    size_t expectedRequests = 1;

    if (what == QLatin1String("close window")) {
        window->close();
        QTRY_VERIFY(window.isNull());
    } else if (what == QLatin1String("switch during analysis")) {
        QPointer<QWidget> screen = content->currentScreen();
        typeInto(screen, 0, QStringLiteral("What a lovely day"));
        QTest::keyClick(screen->findChild<QPlainTextEdit *>(), Qt::Key_Return, Qt::ControlModifier);
        QTRY_COMPARE(m_server->requests("/api/generate").size(), size_t(1));
        ++expectedRequests;
        content->setSelectedDemo(DemoType::sentenceSimilarity);
        QTRY_VERIFY(screen.isNull());
    } else if (what == QLatin1String("switch during calculation") || what == QLatin1String("close during calculation")) {
        content->setSelectedDemo(DemoType::sentenceSimilarity);
        QPointer<QWidget> screen = content->currentScreen();
        typeInto(screen, 0, QStringLiteral("The cat sat on the mat"));
        typeInto(screen, 1, QStringLiteral("A feline rested on the rug"));
        auto *similarity = qobject_cast<SentenceSimilarityView *>(screen.data());
        QVERIFY(similarity);
        similarity->calculateSimilarity();
        QTRY_COMPARE(m_server->requests("/api/embed").size(), size_t(1));
        ++expectedRequests;
        if (what == QLatin1String("close during calculation")) {
            window->close();
            QTRY_VERIFY(window.isNull());
        } else {
            content->setSelectedDemo(DemoType::sentimentAnalysis);
        }
        QTRY_VERIFY(screen.isNull());
    } else if (what == QLatin1String("close settings")) {
        QPointer<QWidget> settings = app->openSettingsWindow();
        auto *tabs = settings->findChild<QTabWidget *>();
        if (!tabs)
            tabs = qobject_cast<QTabWidget *>(settings.data());
        QVERIFY(tabs);
        tabs->setCurrentIndex(1);
        QTRY_COMPARE(m_server->requests("/api/tags").size(), size_t(2));
        ++expectedRequests;
        settings->close();
        QTRY_VERIFY(settings.isNull());
    } else if (what == QLatin1String("quit")) {
        QPointer<QWidget> settings = app->openSettingsWindow();
        auto *tabs = settings->findChild<QTabWidget *>();
        if (!tabs)
            tabs = qobject_cast<QTabWidget *>(settings.data());
        tabs->setCurrentIndex(1);
        QPointer<QWidget> screen = content->currentScreen();
        typeInto(screen, 0, QStringLiteral("Quitting now"));
        qobject_cast<SentimentAnalysisView *>(screen.data())->analyzeSentiment();
        QTRY_COMPARE(m_server->requestCount(), size_t(3));
        expectedRequests = 3;
        app.reset();
        QVERIFY(window.isNull());
        QVERIFY(settings.isNull());
    }

    // Let the late replies come and be dropped.
    const int before = finishedReplies();
    m_gate->open();
    QTRY_VERIFY_WITH_TIMEOUT(finishedReplies() >= before + 1, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(m_server->requestCount() >= expectedRequests, 20000);
    QTest::qWait(100);
    countFinishedReplies();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestLifetimes::manyAboutWindows()
{
    m_gate->open();
    QuillmereApp app(m_prefs->settings());
    QList<QPointer<QWidget>> windows;
    for (int i = 0; i < 40; ++i)
        windows.append(app.openAboutWindow());
    for (const QPointer<QWidget> &window : windows)
        QVERIFY(window);
    for (const QPointer<QWidget> &window : windows)
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const QPointer<QWidget> &window : windows)
        QVERIFY(window.isNull());
}

QTEST_MAIN(TestLifetimes)
#include "tst_lifetimes.moc"
