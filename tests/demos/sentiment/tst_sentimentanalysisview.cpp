#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "demos/sentiment/SentimentClient.h"
#include "demos/sentiment/SentimentScore.h"
#include "widgets/BusyIndicator.h"
#include "widgets/RoundedPanel.h"
#include "widgets/SymbolView.h"

#include <QApplication>
#include <QLabel>
#include <QNetworkReply>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QVBoxLayout>

#include <nlohmann/json.hpp>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

const QString model = QStringLiteral("llama3.2");

// Holds the fake server's replies until released, so that a test can look at
// the screen while a request is in flight.
class Gate
{
public:
    void wait()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_open; });
    }
    void open()
    {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
};

// A port on the loopback address where nothing listens.
quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

// Types as a user would; a line break is the Return key.
void typeText(QWidget *widget, const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(widget, Qt::Key_Return);
        QTest::keyClicks(widget, lines.at(i));
    }
}

// The screen in a window of its own, over a fake server and test settings.
struct Screen
{
    FakeOllamaServer server;
    TestSettings prefs;
    HttpClient http;
    OllamaService service{prefs.settings(), http};
    std::shared_ptr<Gate> gate = std::make_shared<Gate>();
    QWidget window;
    QPointer<SentimentAnalysisView> view;

    explicit Screen(bool withModel = true)
    {
        settings().setOllamaURL(server.baseURL());
        if (withModel)
            settings().setSelectedLLMModel(model);
        view = new SentimentAnalysisView(service, settings(), http);
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view);
        window.resize(700, 640);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    ~Screen() { gate->open(); }

    AppSettings &settings() { return prefs.settings(); }

    // Generate replies wait for the gate from now on.
    void holdReplies(const std::string &response)
    {
        server.setHandler([gate = gate, response](const FakeOllamaServer::Request &request)
                              -> std::optional<FakeOllamaServer::Reply> {
            if (request.path != "/api/generate")
                return std::nullopt;
            gate->wait();
            return FakeOllamaServer::Reply::json(nlohmann::json{{"response", response}}.dump());
        });
    }

    QPlainTextEdit *editor() const { return view->findChild<QPlainTextEdit *>(QStringLiteral("inputEditor")); }
    QPushButton *button() const { return view->findChild<QPushButton *>(QStringLiteral("analyzeButton")); }
    QLabel *label(const char *name) const { return view->findChild<QLabel *>(QString::fromLatin1(name)); }
    QWidget *child(const char *name) const { return view->findChild<QWidget *>(QString::fromLatin1(name)); }
    bool shows(const char *name) const { return child(name)->isVisibleTo(view); }

    void analyze(const QString &text)
    {
        typeText(editor(), text);
        QTest::mouseClick(button(), Qt::LeftButton);
    }
    bool showResult(const QString &text, const std::string &response)
    {
        server.setGenerateResponse(response);
        analyze(text);
        return QTest::qWaitFor([this] { return !view->isAnalyzing(); });
    }
};

} // namespace

class TestSentimentAnalysisView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freshScreen_data();
    void freshScreen();
    void buttonFollowsTextAndModel_data();
    void buttonFollowsTextAndModel();
    void sendsTrimmedTextAndKeepsEditor();
    void busyWhileWaitingThenResult();
    void resultCardForEachScore_data();
    void resultCardForEachScore();
    void failureShowsErrorLineInsteadOfResult();
    void refusedWithoutModelKeepsWhatIsShown();
    void blankTextStartsNothing();
    void warningFollowsSettingsLive();
    void pressingAgainHidesOldResultAtOnce();
    void ctrlReturnFiresOnlyWhenEnabled_data();
    void ctrlReturnFiresOnlyWhenEnabled();
    void tabMovesFromEditorToButton();
    void coloursFollowPaletteChange();
    void lateReplyAfterScreenIsGoneIsDropped();
    void sentimentColorMapping_data();
    void sentimentColorMapping();
};

void TestSentimentAnalysisView::freshScreen_data()
{
    QTest::addColumn<bool>("withModel");
    QTest::newRow("model selected") << true;
    QTest::newRow("no model") << false;
}

void TestSentimentAnalysisView::freshScreen()
{
    QFETCH(bool, withModel);
    Screen s(withModel);
    QVERIFY(s.shows("inputHint"));
    QCOMPARE(s.label("inputHint")->text(), QStringLiteral("Example: \"I love this beautiful sunny day!\""));
    QCOMPARE(s.button()->text(), QStringLiteral("Analyze Sentiment"));
    QVERIFY(!s.button()->isEnabled());
    QVERIFY(!s.shows("busyIndicator"));
    QVERIFY(!s.shows("resultCard"));
    QVERIFY(!s.shows("errorLabel"));
    QCOMPARE(s.shows("warningCard"), !withModel);
    QCOMPARE(s.view->sentimentScore(), 0);
    QVERIFY(!s.view->errorMessage());
}

void TestSentimentAnalysisView::buttonFollowsTextAndModel_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("withModel");
    QTest::addColumn<bool>("hintShown");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("empty") << QString() << true << true << false;
    QTest::newRow("one space") << QStringLiteral(" ") << true << false << false;
    QTest::newRow("spaces and line breaks") << QStringLiteral("  \n \n ") << true << false << false;
    QTest::newRow("text") << QStringLiteral("Lovely") << true << false << true;
    QTest::newRow("padded text") << QStringLiteral("  Lovely \n") << true << false << true;
    QTest::newRow("text, no model") << QStringLiteral("Lovely") << false << false << false;
}

void TestSentimentAnalysisView::buttonFollowsTextAndModel()
{
    QFETCH(QString, typed);
    QFETCH(bool, withModel);
    QFETCH(bool, hintShown);
    QFETCH(bool, enabled);
    Screen s(withModel);
    typeText(s.editor(), typed);
    QCOMPARE(s.view->inputText(), typed);
    QCOMPARE(s.shows("inputHint"), hintShown);
    QCOMPARE(s.button()->isEnabled(), enabled);
}

void TestSentimentAnalysisView::sendsTrimmedTextAndKeepsEditor()
{
    Screen s;
    const QString typed = QStringLiteral("  The beach was \"perfect\"  \n");
    QVERIFY(s.showResult(typed, "5"));

    const auto requests = s.server.requests("/api/generate");
    QCOMPARE(requests.size(), size_t(1));
    const auto body = nlohmann::json::parse(requests[0].body);
    QCOMPARE(QString::fromStdString(body["model"].get<std::string>()), model);
    QCOMPARE(QString::fromStdString(body["prompt"].get<std::string>()),
             SentimentScore::sentimentPrompt(QStringLiteral("The beach was \"perfect\"")));
    QCOMPARE(s.editor()->toPlainText(), typed);
    QCOMPARE(s.view->inputText(), typed);
}

void TestSentimentAnalysisView::busyWhileWaitingThenResult()
{
    Screen s;
    s.holdReplies("2");
    s.analyze(QStringLiteral("Rainy all week"));

    QVERIFY(s.view->isAnalyzing());
    QCOMPARE(s.button()->text(), QStringLiteral("Analyzing..."));
    QVERIFY(!s.button()->isEnabled());
    QVERIFY(s.shows("busyIndicator"));
    QVERIFY(!s.shows("resultCard"));
    QVERIFY(!s.shows("errorLabel"));
    QTRY_COMPARE(s.server.requests("/api/generate").size(), size_t(1));
    // Still waiting: the editor stays editable and nothing else changes.
    QVERIFY(s.editor()->isEnabled() && !s.editor()->isReadOnly());
    QVERIFY(s.view->isAnalyzing());

    s.gate->open();
    QTRY_VERIFY(!s.view->isAnalyzing());
    QCOMPARE(s.view->sentimentScore(), 2);
    QVERIFY(s.shows("resultCard"));
    QVERIFY(!s.shows("busyIndicator"));
    QCOMPARE(s.button()->text(), QStringLiteral("Analyze Sentiment"));
    QVERIFY(s.button()->isEnabled());
}

void TestSentimentAnalysisView::resultCardForEachScore_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<NamedColor>("color");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("description");
    QTest::newRow("1") << 1 << NamedColor::Red << QStringLiteral("Very Negative")
                       << QStringLiteral("This text expresses strong negative emotions or opinions.");
    QTest::newRow("2") << 2 << NamedColor::Orange << QStringLiteral("Negative")
                       << QStringLiteral("This text leans toward negative sentiment.");
    QTest::newRow("3") << 3 << NamedColor::Blue << QStringLiteral("Neutral")
                       << QStringLiteral("This text is neutral, with balanced or factual tone.");
    QTest::newRow("4") << 4 << NamedColor::Green << QStringLiteral("Positive")
                       << QStringLiteral("This text leans toward positive sentiment.");
    QTest::newRow("5") << 5 << NamedColor::Green << QStringLiteral("Very Positive")
                       << QStringLiteral("This text expresses strong positive emotions or opinions.");
}

void TestSentimentAnalysisView::resultCardForEachScore()
{
    QFETCH(int, score);
    QFETCH(NamedColor, color);
    QFETCH(QString, label);
    QFETCH(QString, description);
    Screen s;
    QVERIFY(s.showResult(QStringLiteral("My holiday"), std::to_string(score)));
    QCOMPARE(s.view->sentimentScore(), score);
    QVERIFY(s.shows("resultCard"));

    const QPalette palette = s.view->palette();
    const QColor tone = NamedColors::color(color, palette);
    for (int i = 1; i <= 5; ++i) {
        auto *star = s.view->findChild<SymbolView *>(QStringLiteral("star%1").arg(i));
        QVERIFY(star->isVisibleTo(s.view));
        const bool filled = i <= score;
        QCOMPARE(star->symbolName(), filled ? QStringLiteral("star.fill") : QStringLiteral("star"));
        QCOMPARE(star->color(), filled ? tone : NamedColors::color(NamedColor::Gray, 0.3, palette));
    }
    QCOMPARE(s.child("starRow")->accessibleName(), QStringLiteral("%1 of 5 stars, %2").arg(score).arg(label));
    QCOMPARE(s.label("resultTitleLabel")->text(), QStringLiteral("Sentiment Analysis:"));
    QCOMPARE(s.label("sentimentLabel")->text(), label);
    QCOMPARE(s.label("sentimentLabel")->palette().color(QPalette::WindowText), tone);
    QCOMPARE(s.label("sentimentDescriptionLabel")->text(), description);
    QCOMPARE(s.view->findChild<RoundedPanel *>(QStringLiteral("resultCard"))->fillColor(),
             NamedColors::withOpacity(tone, 0.1));
}

void TestSentimentAnalysisView::failureShowsErrorLineInsteadOfResult()
{
    Screen s;
    QVERIFY(s.showResult(QStringLiteral("Sunny"), "4"));
    QVERIFY(s.shows("resultCard"));

    const QString deadURL = QStringLiteral("http://127.0.0.1:%1").arg(closedPort());
    s.settings().setOllamaURL(deadURL);
    // The description the client gives for this failure.
    std::optional<Result<int>> direct;
    QObject context;
    fetchSentimentScore(QStringLiteral("Sunny"), model, &context, [&](const Result<int> &r) { direct = r; },
                        s.settings(), s.http);
    QTRY_VERIFY(direct.has_value());
    QVERIFY(!direct->ok());

    QTest::mouseClick(s.button(), Qt::LeftButton);
    QTRY_VERIFY(!s.view->isAnalyzing());
    const QString expected = QStringLiteral("Error: ") + direct->error().description;
    QCOMPARE(s.view->errorMessage(), std::optional<QString>(expected));
    QVERIFY(s.shows("errorLabel"));
    QCOMPARE(s.label("errorLabel")->text(), expected);
    QCOMPARE(s.label("errorLabel")->palette().color(QPalette::WindowText),
             NamedColors::color(NamedColor::Red, s.view->palette()));
    QCOMPARE(s.view->sentimentScore(), 0);
    QVERIFY(!s.shows("resultCard"));
    QVERIFY(s.button()->isEnabled());
}

void TestSentimentAnalysisView::refusedWithoutModelKeepsWhatIsShown()
{
    Screen s;
    QVERIFY(s.showResult(QStringLiteral("Sunny"), "4"));
    s.settings().setSelectedLLMModel(std::nullopt);
    s.server.clearRequests();

    s.view->analyzeSentiment();
    QCOMPARE(s.view->errorMessage(), std::optional<QString>(QStringLiteral("Please select an LLM model in Settings")));
    QCOMPARE(s.label("errorLabel")->text(), QStringLiteral("Please select an LLM model in Settings"));
    QVERIFY(s.shows("errorLabel"));
    QVERIFY(!s.view->isAnalyzing());
    QCOMPARE(s.view->sentimentScore(), 4);
    QVERIFY(s.shows("resultCard"));
    QVERIFY(s.shows("warningCard"));
    QCOMPARE(s.server.requestCount(), size_t(0));
}

void TestSentimentAnalysisView::blankTextStartsNothing()
{
    Screen s;
    typeText(s.editor(), QStringLiteral(" \n  "));
    s.view->analyzeSentiment();
    QVERIFY(!s.view->isAnalyzing());
    QVERIFY(!s.view->errorMessage());
    QVERIFY(!s.shows("errorLabel"));
    QCOMPARE(s.server.requestCount(), size_t(0));
}

void TestSentimentAnalysisView::warningFollowsSettingsLive()
{
    Screen s;
    QVERIFY(s.showResult(QStringLiteral("Sunny"), "5"));
    QVERIFY(!s.shows("warningCard"));
    QVERIFY(s.button()->isEnabled());

    s.settings().setSelectedLLMModel(std::nullopt);
    QVERIFY(s.shows("warningCard"));
    QCOMPARE(s.label("warningTitleLabel")->text(), QStringLiteral("No LLM model selected"));
    QCOMPARE(s.label("warningTextLabel")->text(),
             QStringLiteral("Please select a language model in Settings to use this demo."));
    QVERIFY(s.shows("resultCard"));
    QVERIFY(!s.button()->isEnabled());

    s.settings().setSelectedLLMModel(QStringLiteral("other:latest"));
    QVERIFY(!s.shows("warningCard"));
    QVERIFY(s.shows("resultCard"));
    QVERIFY(s.button()->isEnabled());
}

void TestSentimentAnalysisView::pressingAgainHidesOldResultAtOnce()
{
    Screen s;
    QVERIFY(s.showResult(QStringLiteral("Sunny"), "5"));
    s.holdReplies("1");
    QTest::mouseClick(s.button(), Qt::LeftButton);
    QVERIFY(!s.shows("resultCard"));
    QCOMPARE(s.view->sentimentScore(), 0);
    QVERIFY(s.shows("busyIndicator"));

    s.gate->open();
    QTRY_VERIFY(s.shows("resultCard"));
    QCOMPARE(s.view->sentimentScore(), 1);
    QCOMPARE(s.label("sentimentLabel")->text(), QStringLiteral("Very Negative"));
}

void TestSentimentAnalysisView::ctrlReturnFiresOnlyWhenEnabled_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("withModel");
    QTest::addColumn<bool>("alreadyBusy");
    QTest::addColumn<bool>("fires");
    QTest::newRow("text and model") << QStringLiteral("Great trip") << true << false << true;
    QTest::newRow("blank text") << QStringLiteral("   ") << true << false << false;
    QTest::newRow("no model") << QStringLiteral("Great trip") << false << false << false;
    QTest::newRow("busy") << QStringLiteral("Great trip") << true << true << false;
}

void TestSentimentAnalysisView::ctrlReturnFiresOnlyWhenEnabled()
{
    QFETCH(QString, typed);
    QFETCH(bool, withModel);
    QFETCH(bool, alreadyBusy);
    QFETCH(bool, fires);
    Screen s(withModel);
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    s.holdReplies("4");
    s.editor()->setFocus();
    typeText(s.editor(), typed);
    if (alreadyBusy) {
        QTest::keyClick(s.editor(), Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(s.view->isAnalyzing());
        QTRY_COMPARE(s.server.requests("/api/generate").size(), size_t(1));
    }

    QTest::keyClick(s.editor(), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(s.view->isAnalyzing(), fires || alreadyBusy);
    // A refused press would have set the "Please select" line.
    QVERIFY(!s.view->errorMessage());
    // The shortcut does not type a line break into the editor.
    QCOMPARE(s.editor()->toPlainText(), typed);

    s.gate->open();
    QTRY_VERIFY(!s.view->isAnalyzing());
    QCOMPARE(s.server.requests("/api/generate").size(), size_t(fires || alreadyBusy ? 1 : 0));
}

void TestSentimentAnalysisView::tabMovesFromEditorToButton()
{
    Screen s;
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    s.editor()->setFocus();
    QTest::keyClicks(s.editor(), QStringLiteral("Nice"));
    QTest::keyClick(s.editor(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), s.button());
    QCOMPARE(s.editor()->toPlainText(), QStringLiteral("Nice"));
    QVERIFY(!s.editor()->accessibleName().isEmpty());
    QCOMPARE(s.editor()->accessibleName(), s.label("promptLabel")->text());
}

void TestSentimentAnalysisView::coloursFollowPaletteChange()
{
    Screen s;
    QVERIFY(s.showResult(QStringLiteral("Sunny"), "4"));
    QPalette dark = s.window.palette();
    dark.setColor(QPalette::Window, QColor(40, 40, 42));
    dark.setColor(QPalette::WindowText, QColor(235, 235, 240));
    QVERIFY(NamedColors::isDark(dark));
    QVERIFY(NamedColors::color(NamedColor::Green, dark) != NamedColors::color(NamedColor::Green, s.view->palette()));

    s.window.setPalette(dark);
    const QColor green = NamedColors::color(NamedColor::Green, s.view->palette());
    QCOMPARE(green, NamedColors::color(NamedColor::Green, dark));
    QCOMPARE(s.view->findChild<SymbolView *>(QStringLiteral("star1"))->color(), green);
    QCOMPARE(s.label("sentimentLabel")->palette().color(QPalette::WindowText), green);
    QCOMPARE(s.view->findChild<RoundedPanel *>(QStringLiteral("resultCard"))->fillColor(),
             NamedColors::withOpacity(green, 0.1));
}

void TestSentimentAnalysisView::lateReplyAfterScreenIsGoneIsDropped()
{
    Screen s;
    s.holdReplies("5");
    s.analyze(QStringLiteral("Sunny"));
    QTRY_COMPARE(s.server.requests("/api/generate").size(), size_t(1));

    delete s.view.data();
    QVERIFY(s.view.isNull());
    s.gate->open();
    // The reply arrives and is freed; nothing is left to receive it.
    QTRY_VERIFY(s.http.findChildren<QNetworkReply *>().isEmpty());
    QCoreApplication::processEvents();
    QCOMPARE(s.server.requestCount(), size_t(1));
}

void TestSentimentAnalysisView::sentimentColorMapping_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<NamedColor>("color");
    QTest::newRow("0") << 0 << NamedColor::Gray;
    QTest::newRow("1") << 1 << NamedColor::Red;
    QTest::newRow("2") << 2 << NamedColor::Orange;
    QTest::newRow("3") << 3 << NamedColor::Blue;
    QTest::newRow("4") << 4 << NamedColor::Green;
    QTest::newRow("5") << 5 << NamedColor::Green;
    QTest::newRow("6") << 6 << NamedColor::Gray;
    QTest::newRow("-1") << -1 << NamedColor::Gray;
}

void TestSentimentAnalysisView::sentimentColorMapping()
{
    QFETCH(int, score);
    QFETCH(NamedColor, color);
    QCOMPARE(SentimentAnalysisView::sentimentColor(score), color);
}

QTEST_MAIN(TestSentimentAnalysisView)
#include "tst_sentimentanalysisview.moc"
