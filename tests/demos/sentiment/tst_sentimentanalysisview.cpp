#include "DemoScreenRig.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "widgets/RoundedPanel.h"
#include "widgets/SymbolView.h"

#include <QTextEdit>

namespace {

using Rig = DemoScreenRig<SentimentAnalysisView>;
const QString model = QStringLiteral("llama3.2");

// The colour family of a named colour, from its hue.
QString hueName(const QColor &color)
{
    const int hue = color.hslHue();
    return hue < 15 || hue >= 345 ? "red" : hue < 50 ? "orange" : hue >= 80 && hue < 160 ? "green"
         : hue >= 190 && hue < 250 ? "blue" : "other";
}

// Brings a screen into a state: "fresh" (no model), "busy" (the reply held),
// "result" (the server's answer), "refused" (pressed without a model).
void reach(Rig &s, const QString &state, const std::string &answer = "4")
{
    if (state == QLatin1String("fresh"))
        return;
    if (state != QLatin1String("refused"))
        s.settings().setSelectedLLMModel(model);
    s.server.setGenerateResponse(answer);
    s.view->setInputText(QStringLiteral("  The pool was \"fine\", I guess \n"));
    if (state == QLatin1String("busy"))
        s.hold("/api/generate");
    s.view->analyzeSentiment();
    if (state == QLatin1String("result"))
        QVERIFY(QTest::qWaitFor([&] { return !s.view->isAnalyzing(); }));
}

struct Typing { QString typed; bool withModel, alreadyBusy; };
struct Outcome { bool hint, enabled; size_t requests; };

} // namespace

Q_DECLARE_METATYPE(Typing)
Q_DECLARE_METATYPE(Outcome)

class TestSentimentAnalysisView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void visibleTexts_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("text");
        QTest::newRow("title") << "fresh" << "titleLabel" << "Sentiment Analysis Demo";
        QTest::newRow("intro") << "fresh" << "introLabel"
                               << "This demo uses a language model to analyze the sentiment of text. Enter any text "
                                  "below and click 'Analyze' to determine if it's positive, negative, or neutral.";
        QTest::newRow("prompt") << "fresh" << "promptLabel" << "Tell me about your recent vacations:";
        QTest::newRow("editor name") << "fresh" << "inputEditor" << "Tell me about your recent vacations:";
        QTest::newRow("hint") << "fresh" << "inputHint" << "Example: \"I love this beautiful sunny day!\"";
        QTest::newRow("button") << "fresh" << "analyzeButton" << "Analyze Sentiment";
        QTest::newRow("warning title") << "fresh" << "warningTitleLabel" << "No LLM model selected";
        QTest::newRow("warning text") << "fresh" << "warningTextLabel"
                                      << "Please select a language model in Settings to use this demo.";
        QTest::newRow("busy button") << "busy" << "analyzeButton" << "Analyzing...";
        QTest::newRow("card title") << "result" << "resultTitleLabel" << "Sentiment Analysis:";
        QTest::newRow("details toggle") << "result" << "detailsToggle" << "How was this computed?";
        QTest::newRow("refused") << "refused" << "errorLabel" << "Please select an LLM model in Settings";
    }

    void visibleTexts()
    {
        QFETCH(QString, state);
        QFETCH(QString, widget);
        QFETCH(QString, text);
        Rig s;
        reach(s, state);
        QVERIFY(s.shows(widget));
        QCOMPARE(s.text(widget), text);
    }

    void resultCardForEachScore_data()
    {
        QTest::addColumn<int>("score");
        QTest::addColumn<QStringList>("shown"); // colour, label, description, stars' name
        QTest::newRow("1") << 1 << QStringList{"red", "Very Negative", "This text expresses strong negative emotions or opinions.", "1 of 5 stars, Very Negative"};
        QTest::newRow("2") << 2 << QStringList{"orange", "Negative", "This text leans toward negative sentiment.", "2 of 5 stars, Negative"};
        QTest::newRow("3") << 3 << QStringList{"blue", "Neutral", "This text is neutral, with balanced or factual tone.", "3 of 5 stars, Neutral"};
        QTest::newRow("4") << 4 << QStringList{"green", "Positive", "This text leans toward positive sentiment.", "4 of 5 stars, Positive"};
        QTest::newRow("5") << 5 << QStringList{"green", "Very Positive", "This text expresses strong positive emotions or opinions.", "5 of 5 stars, Very Positive"};
    }

    void resultCardForEachScore()
    {
        QFETCH(int, score);
        QFETCH(QStringList, shown);
        Rig s;
        reach(s, "result", std::to_string(score));
        QVERIFY(s.shows("resultCard"));
        const QColor tone = s.child("sentimentLabel")->palette().color(QPalette::WindowText);
        QCOMPARE(hueName(tone) + hueName(s.child<RoundedPanel>("resultCard")->fillColor()), shown.at(0) + shown.at(0));
        for (int i = 1; i <= 5; ++i) {
            auto *star = s.child<SymbolView>(QStringLiteral("star%1").arg(i));
            QCOMPARE(star->symbolName(), i <= score ? "star.fill" : "star");
            QCOMPARE(star->color() == tone, i <= score);
        }
        QCOMPARE((QStringList{s.text("sentimentLabel"), s.text("sentimentDescriptionLabel"), s.text("starRow")}),
                 shown.mid(1));
        // A change of palette redraws the card in that palette's tones.
        s.window.setPalette(QPalette(QColor(40, 40, 42)));
        QVERIFY(s.child("sentimentLabel")->palette().color(QPalette::WindowText) != tone);
    }

    void buttonAndCtrlReturnFollowTextAndModel_data()
    {
        QTest::addColumn<Typing>("in");
        QTest::addColumn<Outcome>("out");
        QTest::newRow("fresh") << Typing{"", true, false} << Outcome{true, false, 0};
        QTest::newRow("one space") << Typing{" ", true, false} << Outcome{false, false, 0};
        QTest::newRow("spaces and line breaks") << Typing{"  \n \n ", true, false} << Outcome{false, false, 0};
        QTest::newRow("padded text") << Typing{"  Great trip \n", true, false} << Outcome{false, true, 1};
        QTest::newRow("no model") << Typing{"Great trip", false, false} << Outcome{false, false, 0};
        QTest::newRow("busy") << Typing{"Great trip", true, true} << Outcome{false, false, 1};
    }

    void buttonAndCtrlReturnFollowTextAndModel()
    {
        QFETCH(Typing, in);
        QFETCH(Outcome, out);
        Rig s;
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        if (in.withModel)
            s.settings().setSelectedLLMModel(model);
        auto gate = s.hold("/api/generate");
        QWidget *editor = s.child("inputEditor");
        editor->setFocus();
        typeText(editor, in.typed);
        if (in.alreadyBusy)
            QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(s.shows("inputHint"), out.hint);
        QCOMPARE(s.button()->isEnabled(), out.enabled);
        QCOMPARE(s.shows("warningCard"), !in.withModel);

        QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(s.view->isAnalyzing(), out.requests > 0);
        // A refused press would have set the "Please select" line.
        QVERIFY(!s.view->errorMessage());
        QCOMPARE(s.view->inputText(), in.typed);
        gate->open();
        QTRY_VERIFY(!s.view->isAnalyzing());
        QCOMPARE(s.server.requests("/api/generate").size(), out.requests);
    }

    void sendsTheTextAsTyped()
    {
        Rig s;
        s.settings().setSelectedLLMModel(model);
        // No-break spaces before "!" and ":", a line separator, and a
        // paragraph break typed as U+2029, between spaces and line breaks.
        typeText(s.child("inputEditor"), QStringLiteral("  Génial\u00a0! Vue\u00a0: mer\u2028sable\u2029fin \n"));
        const QString sent = QStringLiteral("Génial\u00a0! Vue\u00a0: mer\u2028sable\nfin");
        QCOMPARE(s.view->inputText(), QStringLiteral("  ") + sent + QStringLiteral(" \n"));
        QTest::mouseClick(s.button(), Qt::LeftButton);
        QTRY_COMPARE(s.history.size(), 1);

        const auto bodies = s.bodies("/api/generate");
        QCOMPARE(bodies.size(), size_t(1));
        QVERIFY(QString::fromStdString(bodies[0]["prompt"]).contains(QStringLiteral("Text: \"") + sent + "\"\n"));
        const HistoryEntry entry = s.history.entries().first();
        QCOMPARE((QStringList{entry.model, entry.texts.join('|'), entry.result}),
                 (QStringList{model, sent, "4 (Positive)"}));

        // Texts put back into the editor (Use Again, the examples) replace one
        // that differs only in a no-break space.
        s.view->setInputText(QStringLiteral("Vue mer"));
        s.view->setInputText(QStringLiteral("Vue\u00a0mer"));
        QCOMPARE(s.view->inputText(), QStringLiteral("Vue\u00a0mer"));
    }

    void pressingAgainShowsBusyThenNewResultOrError()
    {
        Rig s;
        reach(s, "result");
        s.view->setShowingDetails(true);
        auto gate = s.hold("/api/generate");
        s.server.setGenerateResponse("1");
        s.button()->click();

        // The old card and its details go at once; the button turns busy.
        QVERIFY(s.view->isAnalyzing() && !s.view->reading() && s.view->sentimentScore() == 0);
        for (const char *hidden : {"resultCard", "detailsToggle", "detailsPanel", "errorLabel"})
            QVERIFY2(!s.shows(hidden), hidden);
        QVERIFY(s.shows("busyIndicator") && !s.button()->isEnabled());

        gate->open();
        QTRY_VERIFY(!s.view->isAnalyzing());
        QCOMPARE(s.view->sentimentScore(), 1);
        QVERIFY(!s.shows("busyIndicator") && s.button()->isEnabled());
        // The details stay open, now about the new answer.
        QVERIFY(s.shows("detailsPanel"));
        QCOMPARE(s.child<QTextEdit>("detailsRawResponse")->toPlainText(), QStringLiteral("1"));

        // A failure replaces the result with the red error line.
        s.settings().setOllamaURL(closedPortURL());
        s.button()->click();
        QTRY_VERIFY(!s.view->isAnalyzing());
        QCOMPARE(s.view->errorMessage(), std::optional<QString>(QStringLiteral("Error: Connection refused")));
        QVERIFY(s.shows("errorLabel") && !s.shows("resultCard") && s.button()->isEnabled());
        QCOMPARE(hueName(s.child("errorLabel")->palette().color(QPalette::WindowText)), QStringLiteral("red"));
        QCOMPARE(s.history.entries().first().error, s.view->errorMessage());
    }

    void warningFollowsSettingsLive()
    {
        Rig s;
        reach(s, "result");
        s.settings().setSelectedLLMModel(std::nullopt);
        QVERIFY(s.shows("warningCard") && !s.button()->isEnabled());
        QCOMPARE(s.child<SymbolView>("warningSymbol")->symbolName(), QStringLiteral("exclamationmark.triangle.fill"));
        // Pressed anyway: the error line joins what was shown and nothing is sent.
        s.view->analyzeSentiment();
        QVERIFY(s.shows("errorLabel") && s.shows("resultCard") && s.shows("detailsToggle"));
        QCOMPARE(s.server.requests("/api/generate").size(), size_t(1));
        s.settings().setSelectedLLMModel(QStringLiteral("other:latest"));
        QVERIFY(!s.shows("warningCard") && s.button()->isEnabled());
    }

    void editorGrowsWithTheWindow()
    {
        Rig s;
        s.window.resize(640, 300);
        QTRY_COMPARE(s.child("inputEditor")->height(), 120);
        // Its field shows it whole: a short window scrolls, it does not clip.
        QVERIFY(s.child("inputEditor")->parentWidget()->height() >= 120);
        s.window.resize(640, 900);
        QTRY_VERIFY(s.child("inputEditor")->height() > 300);
    }

    void detailsExplainTheScore_data()
    {
        QTest::addColumn<std::string>("answer");
        QTest::addColumn<QStringList>("steps"); // first line, stripped, outcome
        QTest::addColumn<QString>("timing");
        QTest::newRow("read") << std::string(" 4.\nThe writer enjoyed it.") << QStringList{"“4.”", "“4”", "Read as 4."}
                              << "Total 5.04 s, model load 5.0 ms, 290 tokens generated";
        QTest::newRow("empty answer, no figures")
            << std::string("\n")
            << QStringList{"(empty)", "(empty)", "Nothing is left to read, so the neutral fallback 3 was used."} << "";
    }

    void detailsExplainTheScore()
    {
        QFETCH(std::string, answer);
        QFETCH(QStringList, steps);
        QFETCH(QString, timing);
        Rig s;
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        if (timing.isEmpty())
            s.server.setRoute("POST", "/api/generate",
                              FakeOllamaServer::Reply::json(nlohmann::json{{"response", answer}}.dump()));
        reach(s, "result", answer);
        // Closed until asked. Tab goes from the editor to the button and the
        // toggle, whose Space opens the panel that Tab then goes through.
        QVERIFY(!s.shows("detailsPanel"));
        s.child("inputEditor")->setFocus();
        for (const char *next : {"analyzeButton", "detailsToggle", "detailsPrompt", "detailsRawResponse"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
            if (next == QLatin1String("detailsToggle"))
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        }
        QVERIFY(s.shows("detailsPanel"));

        const QList<std::pair<const char *, QString>> texts = {
            {"detailsPanel", "How the score was computed"},
            {"detailsModelCaption", "Model"},
            {"detailsPromptCaption", "Prompt sent to the model"},
            {"detailsPromptNote", "Your text is highlighted; everything around it is the same for every analysis."},
            {"detailsAnswerCaption", "The model's answer, exactly as received"},
            {"detailsStepsCaption", "Reading the answer"},
            {"detailsFirstLineCaption", "1. First line, trimmed"},
            {"detailsStrippedCaption", "2. Stripped of . ! ? , \" ' and spaces at both ends"},
            {"detailsOutcomeCaption", "3. Score"},
            {"detailsModel", model},
            {"detailsFirstLine", steps.at(0)},
            {"detailsStripped", steps.at(1)},
            {"detailsOutcome", steps.at(2)},
        };
        for (const auto &[name, text] : texts)
            QCOMPARE(s.text(name), text);
        auto *raw = s.child<QTextEdit>("detailsRawResponse");
        QCOMPARE(raw->placeholderText(), QStringLiteral("(empty answer)"));
        QCOMPARE(raw->toPlainText(), QString::fromStdString(answer));
        QCOMPARE(s.shows("detailsTimingSection"), !timing.isEmpty());
        if (!timing.isEmpty())
            QCOMPARE((QStringList{s.text("detailsTimingCaption"), s.text("detailsTiming")}),
                     (QStringList{"Server timing", timing}));

        // The highlight covers exactly the text sent, where the prompt quotes it.
        auto *prompt = s.child<QTextEdit>("detailsPrompt");
        const QList<QTextEdit::ExtraSelection> marks = prompt->extraSelections();
        QCOMPARE(marks.size(), 1);
        QCOMPARE(marks.first().cursor.selectedText(), QStringLiteral("The pool was \"fine\", I guess"));
        QCOMPARE(prompt->toPlainText().mid(marks.first().cursor.selectionStart() - 7, 7), QStringLiteral("Text: \""));

        QTest::mouseClick(s.child("detailsToggle"), Qt::LeftButton);
        QVERIFY(!s.shows("detailsPanel") && s.shows("resultCard"));
    }
};

QTEST_MAIN(TestSentimentAnalysisView)
#include "tst_sentimentanalysisview.moc"
