#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "demos/sentiment/SentimentClient.h"
#include "demos/sentiment/SentimentScore.h"
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

#include <atomic>
#include <memory>
#include <thread>

namespace {

const QString model = QStringLiteral("llama3.2");

QString closedPortURL()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
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

// The screen in an active window of its own, over a fake server and test
// settings.
struct Screen
{
    FakeOllamaServer server;
    TestSettings prefs;
    HttpClient http;
    OllamaService service{prefs.settings(), http};
    std::shared_ptr<std::atomic<bool>> released = std::make_shared<std::atomic<bool>>(false);
    QWidget window;
    QPointer<SentimentAnalysisView> view = new SentimentAnalysisView(service, prefs.settings(), http);

    explicit Screen(bool withModel = true)
    {
        settings().setOllamaURL(server.baseURL());
        if (withModel)
            settings().setSelectedLLMModel(model);
        (new QVBoxLayout(&window))->addWidget(view);
        window.resize(700, 640);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    ~Screen() { *released = true; }

    AppSettings &settings() { return prefs.settings(); }

    // From now on, generate replies give this answer once release() is called.
    void holdReplies(const std::string &response)
    {
        server.setHandler([released = released, response](const FakeOllamaServer::Request &request)
                              -> std::optional<FakeOllamaServer::Reply> {
            if (request.path != "/api/generate")
                return std::nullopt;
            while (!*released)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return FakeOllamaServer::Reply::json(nlohmann::json{{"response", response}}.dump());
        });
    }
    void release() { *released = true; }

    QPlainTextEdit *editor() const { return view->findChild<QPlainTextEdit *>(QStringLiteral("inputEditor")); }
    QPushButton *button() const { return view->findChild<QPushButton *>(QStringLiteral("analyzeButton")); }
    QLabel *label(const char *name) const { return view->findChild<QLabel *>(QString::fromLatin1(name)); }
    QWidget *child(const char *name) const { return view->findChild<QWidget *>(QString::fromLatin1(name)); }
    bool shows(const char *name) const { return child(name)->isVisibleTo(view); }
    size_t generateRequests() const { return server.requests("/api/generate").size(); }

    bool showResult(const QString &text, const std::string &response)
    {
        server.setGenerateResponse(response);
        typeText(editor(), text);
        QTest::mouseClick(button(), Qt::LeftButton);
        return QTest::qWaitFor([this] { return !view->isAnalyzing(); });
    }
};

} // namespace

class TestSentimentAnalysisView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void idleScreenFollowsTextAndModel_data();
    void idleScreenFollowsTextAndModel();
    void sendsTrimmedTextAndKeepsEditor();
    void resultCardForEachScore_data();
    void resultCardForEachScore();
    void pressingAgainShowsBusyThenNewResult();
    void failureReplacesResultWithErrorLine();
    void actionStartsNothingWithoutModelOrText_data();
    void actionStartsNothingWithoutModelOrText();
    void warningFollowsSettingsLive();
    void ctrlReturnFiresOnlyWhenEnabled_data();
    void ctrlReturnFiresOnlyWhenEnabled();
    void tabMovesFromEditorToButton();
    void coloursFollowPaletteChange();
    void lateReplyAfterScreenIsGoneIsDropped();
};

void TestSentimentAnalysisView::idleScreenFollowsTextAndModel_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("withModel");
    QTest::addColumn<bool>("hintShown");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("fresh") << QString() << true << true << false;
    QTest::newRow("fresh, no model") << QString() << false << true << false;
    QTest::newRow("one space") << QStringLiteral(" ") << true << false << false;
    QTest::newRow("spaces and line breaks") << QStringLiteral("  \n \n ") << true << false << false;
    QTest::newRow("text") << QStringLiteral("Lovely") << true << false << true;
    QTest::newRow("padded text") << QStringLiteral("  Lovely \n") << true << false << true;
    QTest::newRow("text, no model") << QStringLiteral("Lovely") << false << false << false;
}

void TestSentimentAnalysisView::idleScreenFollowsTextAndModel()
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
    QCOMPARE(s.button()->text(), QStringLiteral("Analyze Sentiment"));
    QVERIFY(!s.shows("busyIndicator"));
    QVERIFY(!s.shows("resultCard"));
    QVERIFY(!s.shows("errorLabel"));
    QCOMPARE(s.shows("warningCard"), !withModel);
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
    QCOMPARE(SentimentAnalysisView::sentimentColor(score), color);
    QVERIFY(s.shows("resultCard"));

    const QPalette palette = s.view->palette();
    const QColor tone = NamedColors::color(color, palette);
    for (int i = 1; i <= 5; ++i) {
        auto *star = s.view->findChild<SymbolView *>(QStringLiteral("star%1").arg(i));
        const bool filled = i <= score;
        QCOMPARE(star->symbolName(), filled ? QStringLiteral("star.fill") : QStringLiteral("star"));
        QCOMPARE(star->color(), filled ? tone : NamedColors::color(NamedColor::Gray, 0.3, palette));
    }
    QCOMPARE(s.child("starRow")->accessibleName(), QStringLiteral("%1 of 5 stars, %2").arg(score).arg(label));
    QCOMPARE(s.label("sentimentLabel")->text(), label);
    QCOMPARE(s.label("sentimentLabel")->palette().color(QPalette::WindowText), tone);
    QCOMPARE(s.label("sentimentDescriptionLabel")->text(), description);
    QCOMPARE(s.view->findChild<RoundedPanel *>(QStringLiteral("resultCard"))->fillColor(),
             NamedColors::withOpacity(tone, 0.1));
}

void TestSentimentAnalysisView::pressingAgainShowsBusyThenNewResult()
{
    Screen s;
    QVERIFY(s.showResult(QStringLiteral("Sunny"), "5"));
    s.holdReplies("1");
    QTest::mouseClick(s.button(), Qt::LeftButton);

    // The old card goes at once; the button turns busy.
    QVERIFY(s.view->isAnalyzing());
    QCOMPARE(s.view->sentimentScore(), 0);
    QVERIFY(!s.shows("resultCard"));
    QVERIFY(s.shows("busyIndicator"));
    QCOMPARE(s.button()->text(), QStringLiteral("Analyzing..."));
    QVERIFY(!s.button()->isEnabled());
    QTRY_COMPARE(s.generateRequests(), size_t(2));
    QVERIFY(s.view->isAnalyzing());

    s.release();
    QTRY_VERIFY(!s.view->isAnalyzing());
    QCOMPARE(s.view->sentimentScore(), 1);
    QVERIFY(s.shows("resultCard"));
    QVERIFY(!s.shows("busyIndicator"));
    QCOMPARE(s.button()->text(), QStringLiteral("Analyze Sentiment"));
    QVERIFY(s.button()->isEnabled());
}

void TestSentimentAnalysisView::failureReplacesResultWithErrorLine()
{
    Screen s;
    QVERIFY(s.showResult(QStringLiteral("Sunny"), "4"));
    s.settings().setOllamaURL(closedPortURL());
    // What the client itself reports for this failure.
    std::optional<Result<int>> direct;
    QObject context;
    fetchSentimentScore(QStringLiteral("Sunny"), model, &context, [&](const Result<int> &r) { direct = r; },
                        s.settings(), s.http);
    QTRY_VERIFY(direct.has_value() && !direct->ok());

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

void TestSentimentAnalysisView::actionStartsNothingWithoutModelOrText_data()
{
    QTest::addColumn<bool>("clearModel");
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<QString>>("error");
    QTest::newRow("no model") << true << QStringLiteral("Sunny")
                              << std::optional<QString>(QStringLiteral("Please select an LLM model in Settings"));
    QTest::newRow("blank text") << false << QStringLiteral(" \n  ") << std::optional<QString>();
}

void TestSentimentAnalysisView::actionStartsNothingWithoutModelOrText()
{
    QFETCH(bool, clearModel);
    QFETCH(QString, text);
    QFETCH(std::optional<QString>, error);
    Screen s;
    QVERIFY(s.showResult(QStringLiteral("Sunny"), "4"));
    if (clearModel)
        s.settings().setSelectedLLMModel(std::nullopt);
    s.editor()->clear();
    typeText(s.editor(), text);

    s.view->analyzeSentiment();
    QCOMPARE(s.view->errorMessage(), error);
    QCOMPARE(s.shows("errorLabel"), error.has_value());
    QCOMPARE(s.label("errorLabel")->text(), error.value_or(QString()));
    // Whatever was shown stays.
    QVERIFY(!s.view->isAnalyzing());
    QCOMPARE(s.view->sentimentScore(), 4);
    QVERIFY(s.shows("resultCard"));
    QCOMPARE(s.generateRequests(), size_t(1));
}

void TestSentimentAnalysisView::warningFollowsSettingsLive()
{
    Screen s;
    QVERIFY(s.showResult(QStringLiteral("Sunny"), "5"));
    QVERIFY(!s.shows("warningCard"));

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

void TestSentimentAnalysisView::ctrlReturnFiresOnlyWhenEnabled_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("withModel");
    QTest::addColumn<bool>("alreadyBusy");
    QTest::addColumn<size_t>("requests");
    QTest::newRow("text and model") << QStringLiteral("Great trip") << true << false << size_t(1);
    QTest::newRow("blank text") << QStringLiteral("   ") << true << false << size_t(0);
    QTest::newRow("no model") << QStringLiteral("Great trip") << false << false << size_t(0);
    QTest::newRow("busy") << QStringLiteral("Great trip") << true << true << size_t(1);
}

void TestSentimentAnalysisView::ctrlReturnFiresOnlyWhenEnabled()
{
    QFETCH(QString, typed);
    QFETCH(bool, withModel);
    QFETCH(bool, alreadyBusy);
    QFETCH(size_t, requests);
    Screen s(withModel);
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    s.holdReplies("4");
    s.editor()->setFocus();
    typeText(s.editor(), typed);
    if (alreadyBusy) {
        QTest::keyClick(s.editor(), Qt::Key_Return, Qt::ControlModifier);
        QTRY_COMPARE(s.generateRequests(), size_t(1));
    }

    QTest::keyClick(s.editor(), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(s.view->isAnalyzing(), requests > 0);
    // A refused press would have set the "Please select" line.
    QVERIFY(!s.view->errorMessage());
    QCOMPARE(s.editor()->toPlainText(), typed);

    s.release();
    QTRY_VERIFY(!s.view->isAnalyzing());
    QCOMPARE(s.generateRequests(), requests);
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
    QCOMPARE(s.editor()->accessibleName(), QStringLiteral("Tell me about your recent vacations:"));
}

void TestSentimentAnalysisView::coloursFollowPaletteChange()
{
    Screen s;
    QVERIFY(s.showResult(QStringLiteral("Sunny"), "4"));
    QPalette dark = s.window.palette();
    dark.setColor(QPalette::Window, QColor(40, 40, 42));
    dark.setColor(QPalette::WindowText, QColor(235, 235, 240));
    const QColor green = NamedColors::color(NamedColor::Green, dark);
    QVERIFY(green != NamedColors::color(NamedColor::Green, s.view->palette()));

    s.window.setPalette(dark);
    QCOMPARE(s.view->findChild<SymbolView *>(QStringLiteral("star1"))->color(), green);
    QCOMPARE(s.label("sentimentLabel")->palette().color(QPalette::WindowText), green);
    QCOMPARE(s.view->findChild<RoundedPanel *>(QStringLiteral("resultCard"))->fillColor(),
             NamedColors::withOpacity(green, 0.1));
}

void TestSentimentAnalysisView::lateReplyAfterScreenIsGoneIsDropped()
{
    Screen s;
    s.holdReplies("5");
    typeText(s.editor(), QStringLiteral("Sunny"));
    QTest::mouseClick(s.button(), Qt::LeftButton);
    QTRY_COMPARE(s.generateRequests(), size_t(1));

    delete s.view.data();
    s.release();
    // The reply arrives and is freed with nothing left to receive it.
    QTRY_VERIFY(s.http.findChildren<QNetworkReply *>().isEmpty());
    QCoreApplication::processEvents();
    QCOMPARE(s.generateRequests(), size_t(1));
}

QTEST_MAIN(TestSentimentAnalysisView)
#include "tst_sentimentanalysisview.moc"
