#include "TestSettings.h"
#include "app/ContentView.h"
#include "app/Examples.h"
#include "app/MainWindow.h"
#include "app/QuillmereApp.h"
#include "catalogue/TextTrimming.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "demos/similarity/SentenceSimilarityView.h"
#include "history/SessionHistory.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSet>
#include <QTest>

Q_DECLARE_METATYPE(DemoType)

namespace {

// What a main window's demo editors hold, in their order on screen.
QStringList editorTexts(MainWindow *window)
{
    QStringList texts;
    QWidget *screen = window->contentView()->currentScreen();
    for (const char *name : {"inputEditor", "sentence1Editor", "sentence2Editor"}) {
        if (auto *editor = screen->findChild<QPlainTextEdit *>(QString::fromLatin1(name)))
            texts.append(editor->toPlainText());
    }
    return texts;
}

// Every action reachable from a menu bar, submenus included.
QList<QAction *> menuActions(QMenu *menu)
{
    QList<QAction *> actions;
    for (QAction *action : menu->actions()) {
        actions.append(action);
        if (action->menu())
            actions += menuActions(action->menu());
    }
    return actions;
}

} // namespace

class TestExamples : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void eachDemoHasItsLessons();
    void choosingAnExampleFillsTheActiveWindow_data();
    void choosingAnExampleFillsTheActiveWindow();
    void exampleGoesToTheActiveOfTwoWindows();

private:
    std::unique_ptr<TestSettings> m_prefs;
};

void TestExamples::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestExamples::init()
{
    // Nothing listens on this loopback port: anything sent would fail at once
    // and land in the history, which the tests check stays empty.
    m_prefs = std::make_unique<TestSettings>();
    m_prefs->settings().setOllamaURL(QStringLiteral("http://127.0.0.1:1"));
    m_prefs->settings().setSelectedLLMModel(QStringLiteral("llama3.2"));
    m_prefs->settings().setSelectedEmbeddingModel(QStringLiteral("nomic-embed-text"));
    SessionHistory::shared().clear();
}

void TestExamples::eachDemoHasItsLessons()
{
    const QSet<QString> sentiment = {"praise", "complaint", "neutral", "negation", "sarcasm", "mixed", "split"};
    const QSet<QString> similarity = {"paraphrase", "negation-pair", "word-order", "unrelated", "translation"};
    QSet<QString> ids;
    for (const Example &example : Examples::all()) {
        QVERIFY2(!ids.contains(example.id), qPrintable(example.id));
        ids.insert(example.id);
        QVERIFY(!example.title.isEmpty());
        QVERIFY(!example.lesson.isEmpty());
        // Exactly the texts the demo takes, each one that a press would send.
        QCOMPARE(example.texts.size(), Examples::textCount(example.demo));
        for (const QString &text : example.texts)
            QCOMPARE(TextTrimming::trimmedWhitespaceAndLineBreaks(text), text);
        QVERIFY((example.demo == DemoType::sentimentAnalysis ? sentiment : similarity).contains(example.id));
    }
    QCOMPARE(ids, sentiment + similarity);
    QCOMPARE(Examples::forDemo(DemoType::sentimentAnalysis).size(), sentiment.size());
}

void TestExamples::choosingAnExampleFillsTheActiveWindow_data()
{
    QTest::addColumn<int>("example");
    QTest::addColumn<DemoType>("shownBefore");
    for (int i = 0; i < Examples::all().size(); ++i) {
        const Example &example = Examples::all().at(i);
        // From the other demo, so that half the rows switch demo.
        const DemoType before = i % 2 ? example.demo
                                      : (example.demo == DemoType::sentimentAnalysis ? DemoType::sentenceSimilarity
                                                                                     : DemoType::sentimentAnalysis);
        QTest::newRow(qPrintable(example.id)) << i << before;
    }
}

void TestExamples::choosingAnExampleFillsTheActiveWindow()
{
    QFETCH(int, example);
    QFETCH(DemoType, shownBefore);
    const Example &chosen = Examples::all().at(example);

    QuillmereApp app(m_prefs->settings());
    MainWindow *window = app.openMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->contentView()->setSelectedDemo(shownBefore);
    // Typed text that the example replaces.
    for (QPlainTextEdit *editor : window->contentView()->currentScreen()->findChildren<QPlainTextEdit *>())
        QTest::keyClicks(editor, QStringLiteral("draft"));

    app.exampleActions().at(example)->trigger();
    QCOMPARE(window->contentView()->selectedDemo(), chosen.demo);
    QCOMPARE(editorTexts(window), chosen.texts);

    // Ready to press, but nothing pressed.
    QWidget *screen = window->contentView()->currentScreen();
    if (auto *sentiment = qobject_cast<SentimentAnalysisView *>(screen)) {
        QVERIFY(sentiment->canAnalyze());
        QVERIFY(!sentiment->isAnalyzing());
        QCOMPARE(sentiment->inputText(), chosen.texts.at(0));
    } else {
        auto *similarity = qobject_cast<SentenceSimilarityView *>(screen);
        QVERIFY(similarity);
        QVERIFY(similarity->canCalculate());
        QVERIFY(!similarity->isCalculating());
    }
    QCoreApplication::processEvents();
    QVERIFY(SessionHistory::shared().isEmpty());
}

void TestExamples::exampleGoesToTheActiveOfTwoWindows()
{
    QuillmereApp app(m_prefs->settings());
    MainWindow *first = app.openMainWindow();
    MainWindow *second = app.openMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(second));
    QTest::keyClicks(first->contentView()->currentScreen()->findChild<QPlainTextEdit *>(QStringLiteral("inputEditor")),
                     QStringLiteral("mine"));

    const qsizetype last = Examples::all().size() - 1;
    const Example &translation = Examples::all().at(last);
    QCOMPARE(translation.id, QStringLiteral("translation"));
    app.exampleActions().at(last)->trigger();
    QCOMPARE(second->contentView()->selectedDemo(), DemoType::sentenceSimilarity);
    QCOMPARE(editorTexts(second), translation.texts);
    QCOMPARE(first->contentView()->selectedDemo(), DemoType::sentimentAnalysis);
    QCOMPARE(editorTexts(first), QStringList{QStringLiteral("mine")});

    // Every example is on the Examples menu of every window.
    for (MainWindow *window : {first, second}) {
        const QList<QAction *> offered = menuActions(window->menuBar()->findChild<QMenu *>("examplesMenu"));
        for (QAction *action : app.exampleActions())
            QVERIFY2(offered.contains(action), qPrintable(action->text()));
    }
}

QTEST_MAIN(TestExamples)
#include "tst_examples.moc"
