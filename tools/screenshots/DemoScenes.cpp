// The main window on each demo, in the states a learner meets: before a model
// is chosen, ready, waiting for the server, with a result and its details,
// after a failure.

#include "Scenes.h"
#include "Studio.h"

#include "app/ContentView.h"
#include "app/MainWindow.h"
#include "catalogue/AppSettings.h"
#include "catalogue/HttpClient.h"
#include "demos/sentiment/SamplingLab.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "demos/sentiment/SentimentDetailsPanel.h"
#include "demos/sentiment/TokenProbabilitiesSection.h"
#include "demos/similarity/SentenceSimilarityView.h"
#include "widgets/CircularProgressGauge.h"

#include <QAbstractButton>
#include <QDoubleSpinBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace {

using Reply = FakeOllamaServer::Reply;

// What the scenes need to know about one demo screen, so that both demos go
// through the same states.
struct DemoDriver
{
    QString prefix;
    QString title;
    DemoType demo;
    QString model;
    void (AppSettings::*selectModel)(const std::optional<QString> &);
    std::string endpoint;
    QString button;
    // Editor object names and what to type into each.
    QList<std::pair<QString, QString>> inputs;
    // Readings of the screen's state.
    std::function<bool(QWidget *)> isBusy;
    std::function<bool(QWidget *)> hasResult;
    std::function<bool(QWidget *)> hasError;
    std::function<bool(QWidget *)> isShowingDetails;
    // Scripts the server so that the next press gives the result shown.
    std::function<void(Studio &)> scriptResult;
    // Scripts the server (or the settings) so that the next press fails.
    std::function<void(Studio &)> scriptFailure;
    QString failureSummary;
};

// Whether a child of the screen is shown (as far as the screen decides).
bool shows(QWidget *screen, const char *name)
{
    QWidget *child = screen->findChild<QWidget *>(QString::fromLatin1(name));
    return child && child->isVisibleTo(screen);
}

// A main window tall enough for a result card and the warning card together,
// or for most of a result's details.
constexpr QSize tallWindowSize{Studio::mainWindowSize.width(), 940};

QWidget *openScreen(Studio &studio, const DemoDriver &demo, bool withModel, QSize size = Studio::mainWindowSize)
{
    if (withModel)
        (studio.settings().*demo.selectModel)(demo.model);
    MainWindow *window = studio.openMainWindow(demo.demo, size);
    QWidget *screen = window->contentView()->currentScreen();
    studio.waitUntil(demo.title + QStringLiteral(" screen laid out"), [&] {
        return screen->isVisible() && shows(screen, "warningCard") == !withModel;
    });
    return screen;
}

void fillInputs(Studio &studio, const DemoDriver &demo, QWidget *screen)
{
    for (const auto &[name, text] : demo.inputs) {
        auto *editor = studio.child<QPlainTextEdit>(screen, name);
        editor->setFocus();
        Studio::type(editor, text);
    }
}

void press(Studio &studio, const DemoDriver &demo, QWidget *screen)
{
    auto *button = studio.child<QPushButton>(screen, demo.button);
    studio.waitUntil(QStringLiteral("\"%1\" enabled").arg(button->text()), [button] { return button->isEnabled(); });
    // click() presses the button without moving the pointer onto it, so it
    // is not drawn hovered.
    button->click();
}

QWidget *showResult(Studio &studio, const DemoDriver &demo, QWidget *screen)
{
    demo.scriptResult(studio);
    fillInputs(studio, demo, screen);
    press(studio, demo, screen);
    studio.waitUntil(demo.title + QStringLiteral(" result"),
                     [&] { return demo.hasResult(screen) && !demo.isBusy(screen) && shows(screen, "resultCard"); });
    return screen;
}

QList<Scene> scenesFor(const DemoDriver &demo)
{
    const QString &p = demo.prefix;
    return {
        {p + QStringLiteral("-fresh"), demo.title + QStringLiteral(": no model chosen yet, the warning card"),
         [demo](Studio &studio) { return openScreen(studio, demo, false)->window(); }},

        {p + QStringLiteral("-fresh-model"), demo.title + QStringLiteral(": a model chosen, nothing typed"),
         [demo](Studio &studio) { return openScreen(studio, demo, true)->window(); }},

        {p + QStringLiteral("-ready"), demo.title + QStringLiteral(": text typed, the button enabled"),
         [demo](Studio &studio) {
             QWidget *screen = openScreen(studio, demo, true);
             fillInputs(studio, demo, screen);
             auto *button = studio.child<QPushButton>(screen, demo.button);
             studio.waitUntil(QStringLiteral("button enabled"), [button] { return button->isEnabled(); });
             return screen->window();
         }},

        {p + QStringLiteral("-busy"), demo.title + QStringLiteral(": waiting for the server, the spinner"),
         [demo](Studio &studio) {
             studio.server().setRoute("POST", demo.endpoint, studio.heldReply());
             QWidget *screen = openScreen(studio, demo, true);
             fillInputs(studio, demo, screen);
             press(studio, demo, screen);
             studio.waitUntil(demo.title + QStringLiteral(" busy with a request on the server"), [&] {
                 return demo.isBusy(screen) && !studio.server().requests(demo.endpoint).empty();
             });
             return screen->window();
         }},

        {p + QStringLiteral("-result"), demo.title + QStringLiteral(": a result"),
         [demo](Studio &studio) { return showResult(studio, demo, openScreen(studio, demo, true))->window(); }},

        {p + QStringLiteral("-details"),
         demo.title + QStringLiteral(": a result with \"How was this computed?\" open, scrolled down to it"),
         [demo](Studio &studio) {
             QWidget *screen = showResult(studio, demo, openScreen(studio, demo, true, tallWindowSize));
             studio.child<QAbstractButton>(screen, QStringLiteral("detailsToggle"))->click();
             studio.waitUntil(QStringLiteral("the details panel"),
                              [&] { return demo.isShowingDetails(screen) && shows(screen, "detailsPanel"); });
             Studio::settle();
             auto *area = studio.child<QScrollArea>(screen, QStringLiteral("scrollArea"));
             area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
             return screen->window();
         }},

        {p + QStringLiteral("-error"), demo.title + QStringLiteral(": ") + demo.failureSummary,
         [demo](Studio &studio) {
             demo.scriptFailure(studio);
             QWidget *screen = openScreen(studio, demo, true);
             fillInputs(studio, demo, screen);
             press(studio, demo, screen);
             studio.waitUntil(demo.title + QStringLiteral(" error line"), [&] {
                 return demo.hasError(screen) && !demo.isBusy(screen) && shows(screen, "errorLabel");
             });
             return screen->window();
         }},

        {p + QStringLiteral("-no-model"), demo.title + QStringLiteral(": text typed but no model, the button disabled"),
         [demo](Studio &studio) {
             QWidget *screen = openScreen(studio, demo, false);
             fillInputs(studio, demo, screen);
             return screen->window();
         }},

        {p + QStringLiteral("-model-cleared"),
         demo.title + QStringLiteral(": the model cleared in Settings while a result is shown"),
         [demo](Studio &studio) {
             QWidget *screen = showResult(studio, demo, openScreen(studio, demo, true, tallWindowSize));
             (studio.settings().*demo.selectModel)(std::nullopt);
             studio.waitUntil(QStringLiteral("result and warning cards together"),
                              [&] { return shows(screen, "resultCard") && shows(screen, "warningCard"); });
             return screen->window();
         }},
    };
}

SentimentAnalysisView *sentiment(QWidget *screen)
{
    return qobject_cast<SentimentAnalysisView *>(screen);
}

SentenceSimilarityView *similarity(QWidget *screen)
{
    return qobject_cast<SentenceSimilarityView *>(screen);
}

// The similarity the result pictures show.
constexpr double shownSimilarity = 0.87;

DemoDriver sentimentDriver()
{
    DemoDriver demo;
    demo.prefix = QStringLiteral("sentiment");
    demo.title = QStringLiteral("Sentiment Analysis");
    demo.demo = DemoType::sentimentAnalysis;
    demo.model = Studio::languageModel;
    demo.selectModel = &AppSettings::setSelectedLLMModel;
    demo.endpoint = "/api/generate";
    demo.button = QStringLiteral("analyzeButton");
    demo.inputs = {{QStringLiteral("inputEditor"),
                    QStringLiteral("We spent a week by the sea. The little hotel was lovely and the food was "
                                   "wonderful, even though it rained on the last two days.")}};
    demo.isBusy = [](QWidget *screen) { return sentiment(screen) && sentiment(screen)->isAnalyzing(); };
    demo.hasResult = [](QWidget *screen) { return sentiment(screen) && sentiment(screen)->sentimentScore() == 4; };
    demo.hasError = [](QWidget *screen) { return sentiment(screen) && sentiment(screen)->errorMessage().has_value(); };
    demo.isShowingDetails = [](QWidget *screen) { return sentiment(screen) && sentiment(screen)->isShowingDetails(); };
    demo.scriptResult = [](Studio &studio) { studio.server().setGenerateResponse("4"); };
    // The server is not running: nothing listens at the URL.
    demo.scriptFailure = [](Studio &studio) { studio.settings().setOllamaURL(Studio::closedPortURL()); };
    demo.failureSummary = QStringLiteral("the server is not running");
    return demo;
}

DemoDriver similarityDriver()
{
    DemoDriver demo;
    demo.prefix = QStringLiteral("similarity");
    demo.title = QStringLiteral("Sentence Similarity");
    demo.demo = DemoType::sentenceSimilarity;
    demo.model = Studio::embeddingModel;
    demo.selectModel = &AppSettings::setSelectedEmbeddingModel;
    demo.endpoint = "/api/embed";
    demo.button = QStringLiteral("calculateButton");
    demo.inputs = {{QStringLiteral("sentence1Editor"), QStringLiteral("The cat sat on the mat.")},
                   {QStringLiteral("sentence2Editor"), QStringLiteral("A cat was sitting on the rug.")}};
    demo.isBusy = [](QWidget *screen) { return similarity(screen) && similarity(screen)->isCalculating(); };
    demo.hasResult = [](QWidget *screen) {
        return similarity(screen) && similarity(screen)->hasCalculated()
            && CircularProgressGauge::percentageText(similarity(screen)->similarity())
                   == CircularProgressGauge::percentageText(float(shownSimilarity));
    };
    demo.hasError = [](QWidget *screen) { return similarity(screen) && similarity(screen)->errorMessage().has_value(); };
    demo.isShowingDetails = [](QWidget *screen) {
        return similarity(screen) && similarity(screen)->isShowingDetails();
    };
    demo.scriptResult = [demo](Studio &studio) {
        const auto [first, second] = Scenes::vectorsWithCosine(shownSimilarity);
        studio.server().setEmbedding(demo.inputs.at(0).second.toStdString(), first);
        studio.server().setEmbedding(demo.inputs.at(1).second.toStdString(), second);
    };
    // Something between the app and the server answers with a web page.
    demo.scriptFailure = [demo](Studio &studio) {
        studio.server().setRoute("POST", demo.endpoint,
                                 Reply::text(502, "<html><body><h1>502 Bad Gateway</h1></body></html>"));
    };
    demo.failureSummary = QStringLiteral("an unreadable reply");
    return demo;
}

// A reply with the first token's candidates, as a server sends it for the
// probabilities request: 4 most likely, 5 next, and a few that are no rating.
const char *const probabilitiesReply =
    R"({"model":"llama3.2","response":"4","done":true,"logprobs":[{"token":"4","logprob":-0.25,)"
    R"("top_logprobs":[{"token":"4","logprob":-0.25},{"token":"5","logprob":-1.95},)"
    R"({"token":"3","logprob":-3.4},{"token":" 4","logprob":-4.1},{"token":"\n","logprob":-5.5},)"
    R"({"token":"Rating","logprob":-6.4},{"token":"4.","logprob":-6.9},{"token":"2","logprob":-8.1},)"
    R"({"token":"**","logprob":-9.0},{"token":"1","logprob":-11.3}]}]})";

// Opens the details of a rated screen and asks for the probabilities.
TokenProbabilitiesSection *showProbabilities(Studio &studio, QWidget *screen)
{
    studio.child<QAbstractButton>(screen, QStringLiteral("detailsToggle"))->click();
    auto *panel = studio.child<SentimentDetailsPanel>(screen, QStringLiteral("detailsPanel"));
    TokenProbabilitiesSection *section = panel->probabilitiesSection();
    section->setServices(studio.settings(), HttpClient::shared());
    studio.child<QAbstractButton>(section, QStringLiteral("probabilitiesButton"))->click();
    studio.waitUntil(QStringLiteral("the probabilities"), [section] { return section->probabilities().has_value(); });
    return section;
}

// The rating's token probabilities under the details, as a server that sends
// them answers: most of the mass on 4, some on 5, a little elsewhere.
Scene probabilitiesScene(const DemoDriver &demo)
{
    return {QStringLiteral("sentiment-probabilities"),
            QStringLiteral("Sentiment Analysis: \"How sure was the model?\" open, the probabilities charted"),
            [demo](Studio &studio) {
                studio.server().setHandler([](const FakeOllamaServer::Request &request) -> std::optional<Reply> {
                    if (request.path != "/api/generate" || request.body.find("\"logprobs\"") == std::string::npos)
                        return std::nullopt;
                    return Reply::json(probabilitiesReply);
                });
                QWidget *screen = showResult(studio, demo, openScreen(studio, demo, true, tallWindowSize));
                TokenProbabilitiesSection *section = showProbabilities(studio, screen);
                Studio::settle();
                auto *area = studio.child<QScrollArea>(screen, QStringLiteral("scrollArea"));
                // The foot of the candidates table at the bottom of the view
                // (the sampling lab below it has a picture of its own).
                auto *table = studio.child<QWidget>(section, QStringLiteral("probabilitiesTable"));
                const int foot = table->mapTo(area->widget(), QPoint(0, table->height())).y();
                area->verticalScrollBar()->setValue(foot + 8 - area->viewport()->height());
                return screen->window();
            }};
}

// The sampling lab under the probabilities: the temperature raised to 1.3
// and the model asked ten times, its answers beside the odds.
Scene samplingScene(const DemoDriver &demo)
{
    return {QStringLiteral("sentiment-sampling"),
            QStringLiteral("Sentiment Analysis: the sampling settings applied to the odds, ten answers beside them"),
            [demo](Studio &studio) {
                auto drawn = std::make_shared<std::atomic<int>>(0);
                studio.server().setHandler([drawn](const FakeOllamaServer::Request &request) -> std::optional<Reply> {
                    if (request.path != "/api/generate")
                        return std::nullopt;
                    if (request.body.find("\"seed\"") != std::string::npos) {
                        static const char *const answers[] = {"4", "4", "5", "4", "3", "4", "4", "5", "4", "\n"};
                        const std::string answer = answers[size_t((*drawn)++) % std::size(answers)];
                        return Reply::json(R"({"model":"llama3.2","done":true,"response":")"
                                           + (answer == "\n" ? std::string("\\n") : answer) + "\"}");
                    }
                    return Reply::json(probabilitiesReply);
                });
                QWidget *screen = showResult(studio, demo, openScreen(studio, demo, true, tallWindowSize));
                TokenProbabilitiesSection *section = showProbabilities(studio, screen);
                SamplingLab *lab = section->samplingLab();
                studio.waitUntil(QStringLiteral("the model's settings"), [lab] { return lab->isStartKnown(); });
                Studio::settle();
                studio.child<QDoubleSpinBox>(lab, QStringLiteral("samplingTemperature"))->setValue(1.3);
                studio.child<QAbstractButton>(lab, QStringLiteral("samplingAskButton"))->click();
                studio.waitUntil(QStringLiteral("ten answers"),
                                 [lab] { return lab->run() && !lab->run()->isRunning(); });
                Studio::settle();
                auto *area = studio.child<QScrollArea>(screen, QStringLiteral("scrollArea"));
                // The lab's foot at the bottom of the view.
                const int foot = lab->mapTo(area->widget(), QPoint(0, lab->height())).y();
                area->verticalScrollBar()->setValue(foot + 8 - area->viewport()->height());
                return screen->window();
            }};
}

// A similarity of 3%: the gauge shows a short piece of its ring.
Scene lowSimilarityScene()
{
    return {QStringLiteral("similarity-result-low"), QStringLiteral("Sentence Similarity: a result of 3%"),
            [](Studio &studio) {
                constexpr double low = 0.03;
                DemoDriver demo = similarityDriver();
                demo.scriptResult = [demo](Studio &s) {
                    const auto [first, second] = Scenes::vectorsWithCosine(low);
                    s.server().setEmbedding(demo.inputs.at(0).second.toStdString(), first);
                    s.server().setEmbedding(demo.inputs.at(1).second.toStdString(), second);
                };
                demo.hasResult = [](QWidget *screen) {
                    return similarity(screen) && similarity(screen)->hasCalculated()
                        && CircularProgressGauge::percentageText(similarity(screen)->similarity()) == QLatin1String("3%");
                };
                return showResult(studio, demo, openScreen(studio, demo, true))->window();
            }};
}

// A thinking model's rating: "How was this computed?" open with the model's
// reasoning shown, as a thinking model sends it before its answer.
Scene reasoningScene(const DemoDriver &demo)
{
    return {QStringLiteral("sentiment-reasoning"),
            QStringLiteral("Sentiment Analysis: a thinking model's reasoning open under \"How was this computed?\""),
            [demo](Studio &studio) {
                studio.server().setHandler([](const FakeOllamaServer::Request &request) -> std::optional<Reply> {
                    if (request.path != "/api/generate" || request.body.find("\"logprobs\"") != std::string::npos)
                        return std::nullopt;
                    return Reply::json(
                        R"({"model":"qwen3:latest","response":"4","thinking":"Okay, the user wants a rating from 1 )"
                        R"(to 5 for a text about a holiday. The little hotel was lovely and the food was wonderful: )"
                        R"(clearly positive. It rained on the last two days, a small complaint, so not quite a 5.\n\n)"
                        R"(I will answer 4.","done":true,"done_reason":"stop","total_duration":9043500667,)"
                        R"("load_duration":25959000,"eval_count":74})");
                });
                QWidget *screen = showResult(studio, demo, openScreen(studio, demo, true, tallWindowSize));
                studio.child<QAbstractButton>(screen, QStringLiteral("detailsToggle"))->click();
                studio.waitUntil(QStringLiteral("the details panel"), [&] { return shows(screen, "detailsPanel"); });
                studio.child<QAbstractButton>(screen, QStringLiteral("detailsThinkingToggle"))->click();
                studio.waitUntil(QStringLiteral("the reasoning"), [&] { return shows(screen, "detailsThinkingFrame"); });
                Studio::settle();
                auto *area = studio.child<QScrollArea>(screen, QStringLiteral("scrollArea"));
                area->ensureWidgetVisible(studio.child<QWidget>(screen, QStringLiteral("detailsRawResponseFrame")));
                return screen->window();
            }};
}

} // namespace

namespace Scenes {

QList<Scene> demoScenes()
{
    return scenesFor(sentimentDriver())
        + QList<Scene>{probabilitiesScene(sentimentDriver()), reasoningScene(sentimentDriver()),
                       samplingScene(sentimentDriver())}
        + scenesFor(similarityDriver()) + QList<Scene>{lowSimilarityScene()};
}

} // namespace Scenes
