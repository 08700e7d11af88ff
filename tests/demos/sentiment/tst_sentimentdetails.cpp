#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "demos/sentiment/SentimentDetailsPanel.h"
#include "demos/sentiment/SentimentScore.h"
#include "history/SessionHistory.h"
#include "widgets/NamedColors.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
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

// The screen in an active window of its own, over a fake server, test
// settings and a history of its own.
struct Screen
{
    FakeOllamaServer server;
    TestSettings prefs;
    HttpClient http;
    OllamaService service{prefs.settings(), http};
    SessionHistory history;
    std::shared_ptr<std::atomic<bool>> released = std::make_shared<std::atomic<bool>>(false);
    QWidget window;
    QPointer<SentimentAnalysisView> view = new SentimentAnalysisView(service, prefs.settings(), http);

    Screen()
    {
        prefs.settings().setOllamaURL(server.baseURL());
        prefs.settings().setSelectedLLMModel(model);
        view->setHistory(&history);
        (new QVBoxLayout(&window))->addWidget(view);
        window.resize(700, 640);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    ~Screen() { *released = true; }

    // From now on, generate replies give this answer once release() is called.
    void holdReplies(const std::string &response)
    {
        *released = false;
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
    QToolButton *toggle() const { return view->findChild<QToolButton *>(QStringLiteral("detailsToggle")); }
    SentimentDetailsPanel *panel() const { return view->findChild<SentimentDetailsPanel *>(); }
    QTextEdit *box(const char *name) const { return view->findChild<QTextEdit *>(QString::fromLatin1(name)); }
    QLabel *label(const char *name) const { return panel()->findChild<QLabel *>(QString::fromLatin1(name)); }
    bool shows(QWidget *widget) const { return widget->isVisibleTo(view); }

    bool analyze(const QString &text)
    {
        view->setInputText(text);
        QTest::mouseClick(button(), Qt::LeftButton);
        return QTest::qWaitFor([this] { return !view->isAnalyzing(); });
    }
};

} // namespace

class TestSentimentDetails : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void offeredOnlyWithAResult_data();
    void offeredOnlyWithAResult();
    void panelExplainsTheScore_data();
    void panelExplainsTheScore();
    void openStateLastsAcrossAnalyses();
    void keyboardReachesToggleAndPanel();
    void historyGetsEveryEndedAnalysis();
};

void TestSentimentDetails::offeredOnlyWithAResult_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("offered");
    QTest::newRow("fresh") << "fresh" << false;
    QTest::newRow("busy") << "busy" << false;
    QTest::newRow("failed") << "failed" << false;
    QTest::newRow("refused after a result") << "refused" << true;
    QTest::newRow("result") << "result" << true;
}

void TestSentimentDetails::offeredOnlyWithAResult()
{
    QFETCH(QString, state);
    QFETCH(bool, offered);
    Screen s;
    // Opened beforehand, so that only the screen's state decides.
    s.view->setShowingDetails(true);
    if (state == QLatin1String("busy")) {
        s.holdReplies("4");
        s.view->setInputText(QStringLiteral("Sunny"));
        s.view->analyzeSentiment();
        QVERIFY(s.view->isAnalyzing());
    } else if (state == QLatin1String("failed")) {
        s.prefs.settings().setOllamaURL(closedPortURL());
        QVERIFY(s.analyze(QStringLiteral("Sunny")));
        QVERIFY(s.view->errorMessage());
    } else if (state == QLatin1String("refused")) {
        QVERIFY(s.analyze(QStringLiteral("Sunny")));
        s.prefs.settings().setSelectedLLMModel(std::nullopt);
        s.view->analyzeSentiment();
        QVERIFY(s.view->errorMessage());
    } else if (state == QLatin1String("result")) {
        QVERIFY(s.analyze(QStringLiteral("Sunny")));
    }

    QCOMPARE(s.view->reading().has_value(), offered);
    QCOMPARE(s.shows(s.toggle()), offered);
    QCOMPARE(s.shows(s.panel()), offered);
    QVERIFY(s.view->isShowingDetails());
    s.release();
}

void TestSentimentDetails::panelExplainsTheScore_data()
{
    QTest::addColumn<std::string>("response");
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<QString>("stripped");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<bool>("fallback");
    // Whether the reply carries the server's timing figures.
    QTest::addColumn<bool>("figures");
    QTest::newRow("read") << std::string(" 4.\nThe writer enjoyed it.") << 4 << "“4.”" << "“4”" << "Read as 4."
                          << false << true;
    QTest::newRow("fallback") << std::string("Rating: 5") << 3 << "“Rating: 5”" << "“Rating: 5”"
                              << "Not a whole number from 1 to 5, so the neutral fallback 3 was used." << true
                              << true;
    QTest::newRow("empty answer, no figures") << std::string("\n") << 3 << "(empty)" << "(empty)"
                                              << "Nothing is left to read, so the neutral fallback 3 was used."
                                              << true << false;
}

void TestSentimentDetails::panelExplainsTheScore()
{
    QFETCH(std::string, response);
    QFETCH(int, score);
    QFETCH(QString, firstLine);
    QFETCH(QString, stripped);
    QFETCH(QString, outcome);
    QFETCH(bool, fallback);
    QFETCH(bool, figures);
    Screen s;
    if (figures) {
        s.server.setGenerateResponse(response);
    } else {
        s.server.setRoute("POST", "/api/generate",
                          FakeOllamaServer::Reply::json(nlohmann::json{{"response", response}}.dump()));
    }
    const QString typed = QStringLiteral("  The pool was \"fine\", I guess \n");
    const QString sent = QStringLiteral("The pool was \"fine\", I guess");
    QVERIFY(s.analyze(typed));
    QCOMPARE(s.view->sentimentScore(), score);

    // Collapsed until asked.
    QVERIFY(s.shows(s.toggle()));
    QVERIFY(!s.toggle()->isChecked());
    QVERIFY(!s.shows(s.panel()));
    QTest::mouseClick(s.toggle(), Qt::LeftButton);
    QVERIFY(s.view->isShowingDetails());
    QVERIFY(s.shows(s.panel()));

    QCOMPARE(s.label("detailsModel")->text(), model);
    QTextEdit *prompt = s.box("detailsPrompt");
    QCOMPARE(prompt->toPlainText(), SentimentScore::sentimentPrompt(sent));
    QVERIFY(prompt->isReadOnly());
    // The highlight covers exactly the text that was sent.
    const QList<QTextEdit::ExtraSelection> marks = prompt->extraSelections();
    QCOMPARE(marks.size(), 1);
    QCOMPARE(marks.first().cursor.selectedText(), sent);
    QCOMPARE(marks.first().cursor.selectionStart(), int(SentimentScore::promptOpening.size()));

    QCOMPARE(s.box("detailsRawResponse")->toPlainText(), QString::fromStdString(response));
    QCOMPARE(s.label("detailsFirstLine")->text(), firstLine);
    QCOMPARE(s.label("detailsStripped")->text(), stripped);
    QCOMPARE(s.label("detailsOutcome")->text(), outcome);
    const QPalette palette = s.view->palette();
    QCOMPARE(s.label("detailsOutcome")->palette().color(QPalette::WindowText),
             fallback ? NamedColors::color(NamedColor::Orange, palette) : palette.color(QPalette::WindowText));
    QCOMPARE(s.shows(s.panel()->findChild<QWidget *>(QStringLiteral("detailsTimingSection"))), figures);
    if (figures) {
        QCOMPARE(s.label("detailsTiming")->text(),
                 QStringLiteral("Total 5.04 s, model load 5.0 ms, 290 tokens generated"));
    }

    // Closing it again hides the panel and keeps the result.
    QTest::mouseClick(s.toggle(), Qt::LeftButton);
    QVERIFY(!s.shows(s.panel()));
    QVERIFY(s.shows(s.view->findChild<QWidget *>(QStringLiteral("resultCard"))));
}

void TestSentimentDetails::openStateLastsAcrossAnalyses()
{
    Screen s;
    s.server.setGenerateResponse("5");
    QVERIFY(s.analyze(QStringLiteral("Sunny")));
    QTest::mouseClick(s.toggle(), Qt::LeftButton);
    QCOMPARE(s.box("detailsRawResponse")->toPlainText(), QStringLiteral("5"));

    // While the next analysis runs nothing is explained; then the panel is
    // back, open, with the new answer.
    s.holdReplies("1");
    QTest::mouseClick(s.button(), Qt::LeftButton);
    QVERIFY(s.view->isAnalyzing());
    QVERIFY(!s.view->reading());
    QVERIFY(!s.shows(s.toggle()));
    s.release();
    QTRY_VERIFY(!s.view->isAnalyzing());
    QVERIFY(s.toggle()->isChecked());
    QVERIFY(s.shows(s.panel()));
    QCOMPARE(s.box("detailsRawResponse")->toPlainText(), QStringLiteral("1"));
    QCOMPARE(s.view->reading()->score, 1);
}

void TestSentimentDetails::keyboardReachesToggleAndPanel()
{
    Screen s;
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    QVERIFY(s.analyze(QStringLiteral("Sunny")));
    s.editor()->setFocus();
    QTest::keyClick(s.editor(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), s.button());
    QTest::keyClick(s.button(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), s.toggle());
    QCOMPARE(s.toggle()->accessibleName(), QStringLiteral("How was this computed?"));

    QTest::keyClick(s.toggle(), Qt::Key_Space);
    QVERIFY(s.view->isShowingDetails());
    QTest::keyClick(s.toggle(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), s.box("detailsPrompt"));
    QCOMPARE(s.box("detailsPrompt")->accessibleName(), QStringLiteral("Prompt sent to the model"));
    // Tab leaves the read-only boxes instead of being typed into them.
    QTest::keyClick(s.box("detailsPrompt"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), s.box("detailsRawResponse"));
    QCOMPARE(s.box("detailsPrompt")->toPlainText(), s.view->reading()->prompt);
}

void TestSentimentDetails::historyGetsEveryEndedAnalysis()
{
    Screen s;
    QVERIFY(s.analyze(QStringLiteral("  Sunny days \n")));
    QCOMPARE(s.history.size(), 1);
    HistoryEntry entry = s.history.entries().first();
    QCOMPARE(entry.demo, DemoType::sentimentAnalysis);
    QCOMPARE(entry.model, model);
    QCOMPARE(entry.texts, QStringList{QStringLiteral("Sunny days")});
    QCOMPARE(entry.value, std::optional<double>(4));
    QCOMPARE(entry.result, QStringLiteral("4 (Positive)"));
    QVERIFY(!entry.isFailure());

    // A refused press starts nothing and records nothing.
    s.prefs.settings().setSelectedLLMModel(std::nullopt);
    s.view->analyzeSentiment();
    QCOMPARE(s.history.size(), 1);

    s.prefs.settings().setSelectedLLMModel(QStringLiteral("other"));
    s.prefs.settings().setOllamaURL(closedPortURL());
    QVERIFY(s.analyze(QStringLiteral("Cloudy")));
    QCOMPARE(s.history.size(), 2);
    entry = s.history.entries().first();
    QCOMPARE(entry.model, QStringLiteral("other"));
    QCOMPARE(entry.texts, QStringList{QStringLiteral("Cloudy")});
    QCOMPARE(entry.error, s.view->errorMessage());
    QVERIFY(entry.error->startsWith(QLatin1String("Error: ")));
    QVERIFY(!entry.value);
}

QTEST_MAIN(TestSentimentDetails)
#include "tst_sentimentdetails.moc"
