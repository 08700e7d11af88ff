#include "FakeOllamaServer.h"
#include "ModelServer.h"
#include "TestSettings.h"
#include "TextFit.h"
#include "app/MainWindow.h"
#include "app/QuillmereApp.h"
#include "demos/DemoHistory.h"
#include "demos/DemoScreen.h"
#include "history/HistoryWindow.h"
#include "history/SessionHistory.h"
#include "app/ContentView.h"
#include "app/SegmentedControl.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "demos/similarity/SentenceSimilarityView.h"

#include <QAccessible>
#include <QApplication>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

namespace {

QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

// Chooses a segment the way a user or a program would.
enum class Way { Mouse, ArrowKey, Space, AccessibleAction, Check };

void choose(SegmentedControl *picker, int index, Way way)
{
    Segment *segment = picker->segment(index);
    switch (way) {
    case Way::Mouse: QTest::mouseClick(segment, Qt::LeftButton); break;
    case Way::ArrowKey:
        picker->segment(1 - index)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(picker->segment(1 - index), index == 1 ? Qt::Key_Right : Qt::Key_Left);
        break;
    case Way::Space:
        segment->setFocus(Qt::TabFocusReason);
        QTest::keyClick(segment, Qt::Key_Space);
        break;
    case Way::AccessibleAction: {
        // What a screen reader offers first for the segment.
        QAccessibleActionInterface *actions = accessible(segment)->actionInterface();
        QVERIFY(actions && !actions->actionNames().isEmpty());
        actions->doAction(actions->actionNames().constFirst());
        break;
    }
    case Way::Check: segment->setChecked(true); break;
    }
}

// Screen readers see a named group of radio buttons, one of them checked.
void verifyAccessibleChoice(SegmentedControl *picker, int checked)
{
    QAccessibleInterface *group = accessible(picker);
    QCOMPARE(group->role(), QAccessible::Grouping);
    QCOMPARE(group->text(QAccessible::Name), QStringLiteral("Demo Type"));
    QCOMPARE(group->childCount(), 2);
    const QStringList titles{QStringLiteral("Sentiment Analysis"), QStringLiteral("Sentence Similarity")};
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(group->child(i)->role(), QAccessible::RadioButton);
        QCOMPARE(group->child(i)->text(QAccessible::Name), titles[i]);
        QCOMPARE(bool(group->child(i)->state().checked), i == checked);
    }
}

} // namespace

Q_DECLARE_METATYPE(Way)
Q_DECLARE_METATYPE(DemoType)

class TestContentView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyWayOfChoosingSwitchesTheDemo_data();
    void everyWayOfChoosingSwitchesTheDemo();
    void firstAppearanceFetchesOnce();
    void focusStaysWhileTheDemoWorks_data();
    void focusStaysWhileTheDemoWorks();
    void textsFitAtEveryFontSize_data();
    void textsFitAtEveryFontSize();
};

void TestContentView::everyWayOfChoosingSwitchesTheDemo_data()
{
    QTest::addColumn<Way>("way");
    QTest::newRow("mouse") << Way::Mouse;
    QTest::newRow("arrow keys") << Way::ArrowKey;
    QTest::newRow("space") << Way::Space;
    QTest::newRow("accessibility action") << Way::AccessibleAction;
    QTest::newRow("check from code") << Way::Check;
}

void TestContentView::everyWayOfChoosingSwitchesTheDemo()
{
    QFETCH(Way, way);

    TestSettings prefs;
    prefs.settings().setOllamaURL(QStringLiteral("http://127.0.0.1:1")); // nothing listens: the fetch fails at once
    ContentView view(prefs.settings());
    view.show();
    QVERIFY(QTest::qWaitForWindowActive(&view));
    auto *picker = view.findChild<SegmentedControl *>();
    QSignalSpy changes(&view, &ContentView::selectedDemoChanged);
    QPointer<QWidget> sentiment = view.currentScreen();
    QVERIFY(qobject_cast<SentimentAnalysisView *>(sentiment.data()));
    verifyAccessibleChoice(picker, 0);

    choose(picker, 1, way);
    QCOMPARE(view.selectedDemo(), DemoType::sentenceSimilarity);
    QVERIFY2(sentiment.isNull(), "the replaced screen is deleted");
    QPointer<QWidget> similarity = view.currentScreen();
    QVERIFY(qobject_cast<SentenceSimilarityView *>(similarity.data()));
    QVERIFY(similarity->isVisible());
    verifyAccessibleChoice(picker, 1);

    // Choosing the chosen demo again changes nothing, not even the check.
    QTest::keyClicks(similarity->findChild<QPlainTextEdit *>(), QStringLiteral("keep me"));
    choose(picker, 1, way);
    QCOMPARE(view.currentScreen(), similarity.data());
    QCOMPARE(similarity->findChild<QPlainTextEdit *>()->toPlainText(), QStringLiteral("keep me"));
    QCOMPARE(changes.size(), 1);
    verifyAccessibleChoice(picker, 1);

    // Back again: a fresh screen.
    choose(picker, 0, way);
    QCOMPARE(view.selectedDemo(), DemoType::sentimentAnalysis);
    QVERIFY(similarity.isNull());
    QVERIFY(qobject_cast<SentimentAnalysisView *>(view.currentScreen()));
    QCOMPARE(picker->currentIndex(), 0);
    QCOMPARE(changes.size(), 2);
}

void TestContentView::firstAppearanceFetchesOnce()
{
    FakeOllamaServer server;
    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    auto view = std::make_unique<ContentView>(prefs.settings());
    QPointer<OllamaService> service = &view->service();
    QVERIFY(!service->isLoadingModels());

    view->show();
    QVERIFY(service->isLoadingModels());
    QTRY_VERIFY(!service->isLoadingModels());
    view->hide();
    view->show();
    // A second fetch would have marked the service busy at once.
    QVERIFY(!service->isLoadingModels());
    QCOMPARE(server.requests("/api/tags").size(), size_t(1));

    // With no fetch running, the service goes with the view.
    view.reset();
    QVERIFY(service.isNull());
}

void TestContentView::focusStaysWhileTheDemoWorks_data()
{
    QTest::addColumn<DemoType>("demo");
    QTest::addColumn<bool>("fromButton"); // Space on the button, else Ctrl+Return in the editor
    QTest::newRow("sentiment, Space on the button") << DemoType::sentimentAnalysis << true;
    QTest::newRow("sentiment, Ctrl+Return") << DemoType::sentimentAnalysis << false;
    QTest::newRow("similarity, Space on the button") << DemoType::sentenceSimilarity << true;
    QTest::newRow("similarity, Ctrl+Return") << DemoType::sentenceSimilarity << false;
}

// By keyboard alone: the work runs and ends, and the next Space acts where
// the user was, never on the demo switch (which would discard the texts).
void TestContentView::focusStaysWhileTheDemoWorks()
{
    QFETCH(DemoType, demo);
    QFETCH(bool, fromButton);

    ModelServer served;
    ContentView view(served.prefs.settings());
    view.setSelectedDemo(demo);
    view.show();
    QVERIFY(QTest::qWaitForWindowActive(&view));
    QTRY_VERIFY(!view.service().isLoadingModels());

    QWidget *screen = view.currentScreen();
    const auto editors = screen->findChildren<QPlainTextEdit *>();
    for (QPlainTextEdit *editor : editors) {
        editor->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(editor, QStringLiteral("A fine day"));
    }
    QWidget *button = screen->findChild<QPushButton *>();
    QWidget *focused = fromButton ? button : editors.last();
    focused->setFocus(Qt::TabFocusReason);
    if (fromButton)
        QTest::keyClick(button, Qt::Key_Space);
    else
        QTest::keyClick(focused, Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(!button->isEnabled());
    QTRY_VERIFY(button->isEnabled());
    QVERIFY(screen->findChild<QWidget *>(QStringLiteral("resultCard"))->isVisible());

    QCOMPARE(QApplication::focusWidget(), focused);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(view.selectedDemo(), demo);
    QCOMPARE(view.currentScreen(), screen);
    QVERIFY(screen->isAncestorOf(QApplication::focusWidget()));
    QCOMPARE(editors.first()->toPlainText().left(10), QStringLiteral("A fine day"));
}

void TestContentView::textsFitAtEveryFontSize_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("language");
    const char *windows[] = {"sentiment", "similarity", "settings general", "settings model", "about", "history"};
    for (int points : {9, 14}) {
        for (const char *window : windows)
            QTest::addRow("%s, %d pt", window, points) << points << QString::fromLatin1(window) << QString();
    }
    // The translations run longer than English, German most of all.
    for (const char *language : {"de", "fr", "es"}) {
        for (const char *window : windows)
            QTest::addRow("%s, %s", window, language) << 9 << QString::fromLatin1(window) << QString::fromLatin1(language);
    }
}

// Every window at its default size, at the smallest and the largest system
// font: no text is cut, and what scrolls can be reached by keyboard.
void TestContentView::textsFitAtEveryFontSize()
{
    QFETCH(int, points);
    QFETCH(QString, window);
    QFETCH(QString, language);

    const QFont systemFont = QApplication::font();
    QFont font = systemFont;
    font.setPointSize(points);
    QApplication::setFont(font);
    const auto restore = qScopeGuard([&] { QApplication::setFont(systemFont); });

    ModelServer served;
    served.prefs.settings().setLanguage(language);
    QuillmereApp app(served.prefs.settings());
    app.history().add(DemoHistory::sentiment(QStringLiteral("llama3.2:latest"), QStringLiteral("What a lovely day"), 5));

    QWidget *shown = nullptr;
    if (window == QLatin1String("sentiment") || window == QLatin1String("similarity")) {
        MainWindow *main = app.openMainWindow();
        ContentView *content = main->contentView();
        content->useTexts(window == QLatin1String("sentiment") ? DemoType::sentimentAnalysis
                                                               : DemoType::sentenceSimilarity,
                          {QStringLiteral("What a lovely day"), QStringLiteral("The weather is fine")});
        QTRY_VERIFY(!content->service().isLoadingModels());
        auto *screen = qobject_cast<DemoScreen *>(content->currentScreen());
        QPushButton *button = screen->findChild<QPushButton *>();
        QVERIFY(button->isEnabled());
        button->click();
        QTRY_VERIFY(button->isEnabled());
        screen->setShowingDetails(true);
        shown = main;
    } else if (window.startsWith(QLatin1String("settings"))) {
        shown = app.openSettingsWindow();
        shown->findChild<QTabWidget *>()->setCurrentIndex(window.endsWith(QLatin1String("model")) ? 1 : 0);
    } else if (window == QLatin1String("about")) {
        shown = app.openAboutWindow();
    } else {
        shown = app.openHistoryWindow();
    }
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    if (window.endsWith(QLatin1String("model"))) {
        const auto pickers = shown->findChildren<QWidget *>(QRegularExpression(QStringLiteral("PickerRow$")));
        QTRY_VERIFY(pickers.size() == 2 && pickers[0]->isVisible() && pickers[1]->isVisible());
    }
    // Once the layouts have settled, nothing is cut.
    QStringList cut;
    static_cast<void>(QTest::qWaitFor([&] { return (cut = TextFit::cutTexts(shown)).isEmpty(); }, 2000));
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));

    if (window.endsWith(QLatin1String("model"))) {
        // The two pickers line up.
        const auto left = [shown](const char *name) {
            QWidget *picker = shown->findChild<QWidget *>(QLatin1String(name));
            return picker->mapTo(shown, QPoint()).x();
        };
        QCOMPARE(left("embeddingPicker"), left("llmPicker"));
        // Tab reaches "Save Selection", and there it shows in the window.
        QWidget *save = shown->findChild<QWidget *>(QStringLiteral("saveSelectionButton"));
        for (int i = 0; i < 40 && QApplication::focusWidget() != save; ++i)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : shown, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), save);
        QVERIFY(shown->rect().contains(QRect(save->mapTo(shown, QPoint()), save->size())));
    }
}

QTEST_MAIN(TestContentView)
#include "tst_contentview.moc"
