#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "about/AboutView.h"
#include "app/ContentView.h"
#include "app/MainWindow.h"
#include "app/QuillmereApp.h"
#include "catalogue/OllamaService.h"
#include "settings/SettingsView.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>

// The About windows now open (closed ones are hidden until deleted).
static QList<QWidget *> openAboutWindows()
{
    QList<QWidget *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QStringLiteral("aboutWindow") && widget->isVisible())
            windows.append(widget);
    }
    return windows;
}

static QList<QAction *> menuActions(QMainWindow *window)
{
    QList<QAction *> actions;
    for (QAction *menu : window->menuBar()->actions()) {
        if (menu->menu())
            actions += menu->menu()->actions();
    }
    return actions;
}

class TestQuillmereApp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void mainWindowsAreIndependent();
    void closingAMainWindowDeletesIt();
    void aboutOpensANewWindowEachTime();
    void aboutWindowCloses_data();
    void aboutWindowCloses();
    void settingsOpensOneWindow();
    void shortcutsReachTheActions_data();
    void shortcutsReachTheActions();

private:
    std::unique_ptr<TestSettings> m_prefs;
};

void TestQuillmereApp::initTestCase()
{
    // Closing the last main window must not end the test run.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestQuillmereApp::init()
{
    // Nothing listens on this loopback port, so the fetch at each window's
    // first appearance fails at once. Tests about the fetch start a server.
    m_prefs = std::make_unique<TestSettings>();
    m_prefs->settings().setOllamaURL(QStringLiteral("http://127.0.0.1:1"));
}

void TestQuillmereApp::cleanup()
{
    // Windows closed in a test are deleted on the next turn of the loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(openAboutWindows().isEmpty());
}

void TestQuillmereApp::mainWindowsAreIndependent()
{
    FakeOllamaServer server;
    m_prefs->settings().setOllamaURL(server.baseURL());
    QuillmereApp app(m_prefs->settings());
    MainWindow *first = app.openMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(first));
    QCOMPARE(first->windowTitle(), QStringLiteral("Quillmere"));
    app.newWindowAction()->trigger();
    QCOMPARE(app.mainWindows().size(), 2);
    MainWindow *second = app.mainWindows().at(1);
    QVERIFY(second != first);
    QVERIFY(QTest::qWaitForWindowExposed(second));

    ContentView *a = first->contentView();
    ContentView *b = second->contentView();
    QVERIFY(a != b);
    QVERIFY(&a->service() != &b->service());
    QCOMPARE(b->selectedDemo(), DemoType::sentimentAnalysis);

    // Each window fetched once, on its own service.
    QTRY_VERIFY(!a->service().isLoadingModels() && !b->service().isLoadingModels());
    QCOMPARE(server.requests("/api/tags").size(), size_t(2));

    a->setSelectedDemo(DemoType::sentenceSimilarity);
    QCOMPARE(b->selectedDemo(), DemoType::sentimentAnalysis);
    QCOMPARE(b->currentScreen()->metaObject()->className(), "SentimentAnalysisView");

    // Both menu bars offer the same commands.
    const QList<QAction *> expected = {app.newWindowAction(), app.closeWindowAction(), app.quitAction(),
                                       app.settingsAction(), app.aboutAction()};
    for (MainWindow *window : {first, second}) {
        const QList<QAction *> actions = menuActions(window);
        for (QAction *action : expected)
            QVERIFY2(actions.contains(action), qPrintable(action->objectName()));
    }
}

void TestQuillmereApp::closingAMainWindowDeletesIt()
{
    QuillmereApp app(m_prefs->settings());
    QPointer<MainWindow> first = app.openMainWindow();
    QPointer<MainWindow> second = app.openMainWindow();
    QPointer<OllamaService> firstService = &first->contentView()->service();

    QVERIFY(first->close());
    QTRY_VERIFY(first.isNull());
    QVERIFY(firstService.isNull());
    QCOMPARE(app.mainWindows(), QList<MainWindow *>{second.data()});
    QVERIFY(second->isVisible());
}

void TestQuillmereApp::aboutOpensANewWindowEachTime()
{
    QuillmereApp app(m_prefs->settings());
    MainWindow *main = app.openMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    QCOMPARE(app.aboutAction()->text().remove(QLatin1Char('&')), QStringLiteral("About Quillmere"));

    app.aboutAction()->trigger();
    app.aboutAction()->trigger();
    const QList<QWidget *> windows = openAboutWindows();
    QCOMPARE(windows.size(), 2);
    QVERIFY(windows[0] != windows[1]);

    const QRect available = main->screen()->availableGeometry();
    for (QWidget *window : windows) {
        QVERIFY(window->findChild<AboutView *>());
        QVERIFY(window->windowTitle().isEmpty());
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->width(), 500);
        const Qt::WindowFlags flags = window->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
        // Centred (give or take the frame), unless the screen is too low for
        // it: then its top shows.
        const QRect frame = window->frameGeometry();
        QVERIFY(qAbs(frame.center().x() - available.center().x()) <= 3);
        if (frame.height() <= available.height())
            QVERIFY(qAbs(frame.center().y() - available.center().y()) <= 3);
        else
            QCOMPARE(frame.top(), available.top());
    }

    // Closing one leaves the other open.
    QPointer<QWidget> first = windows[0];
    QPointer<QWidget> second = windows[1];
    first->close();
    QTRY_VERIFY(first.isNull());
    QVERIFY(second && second->isVisible());
    second->close();
    QTRY_VERIFY(second.isNull());
}

void TestQuillmereApp::aboutWindowCloses_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Return") << QStringLiteral("return");
    QTest::newRow("keypad Enter") << QStringLiteral("enter");
    QTest::newRow("OK clicked") << QStringLiteral("click");
    QTest::newRow("Ctrl+W") << QStringLiteral("ctrl+w");
}

void TestQuillmereApp::aboutWindowCloses()
{
    QFETCH(QString, how);

    QuillmereApp app(m_prefs->settings());
    QPointer<QWidget> window = app.openAboutWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    if (how == QLatin1String("return"))
        QTest::keyClick(window, Qt::Key_Return);
    else if (how == QLatin1String("enter"))
        QTest::keyClick(window, Qt::Key_Enter, Qt::KeypadModifier);
    else if (how == QLatin1String("click"))
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("okButton")), Qt::LeftButton);
    else
        QTest::keyClick(window, Qt::Key_W, Qt::ControlModifier);
    QTRY_VERIFY(window.isNull());
}

void TestQuillmereApp::settingsOpensOneWindow()
{
    QuillmereApp app(m_prefs->settings());
    app.openMainWindow();
    QCOMPARE(app.settingsWindow(), nullptr);

    app.settingsAction()->trigger();
    QPointer<QWidget> window = app.settingsWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Settings"));
    QVERIFY(window->findChild<SettingsView *>());
    const QRect available = window->screen()->availableGeometry();
    QVERIFY(window->height() <= available.height());
    QVERIFY((window->frameGeometry().center() - available.center()).manhattanLength() <= 6);

    window->showMinimized();
    app.settingsAction()->trigger();
    QCOMPARE(app.settingsWindow(), window.data());
    QVERIFY(!(window->windowState() & Qt::WindowMinimized));
    QVERIFY(window->isVisible());
    int settingsWindows = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        settingsWindows += widget->objectName() == QStringLiteral("settingsWindow") ? 1 : 0;
    QCOMPARE(settingsWindows, 1);

    // Once closed it is gone, and the command opens a new one.
    window->close();
    QTRY_VERIFY(window.isNull());
    QCOMPARE(app.settingsWindow(), nullptr);
    app.settingsAction()->trigger();
    QVERIFY(app.settingsWindow());
    QVERIFY(app.settingsWindow()->isVisible());
}

void TestQuillmereApp::shortcutsReachTheActions_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("mainWindows");
    QTest::addColumn<bool>("settingsOpen");

    QTest::newRow("Ctrl+N") << int(Qt::Key_N) << int(Qt::ControlModifier) << 2 << false;
    QTest::newRow("Ctrl+W") << int(Qt::Key_W) << int(Qt::ControlModifier) << 0 << false;
    QTest::newRow("Ctrl+,") << int(Qt::Key_Comma) << int(Qt::ControlModifier) << 1 << true;
    QTest::newRow("Ctrl+Shift+,") << int(Qt::Key_Comma) << int(Qt::ControlModifier | Qt::ShiftModifier)
                                  << 1 << true;
}

void TestQuillmereApp::shortcutsReachTheActions()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, mainWindows);
    QFETCH(bool, settingsOpen);

    QuillmereApp app(m_prefs->settings());
    MainWindow *window = app.openMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));

    QTest::keyClick(window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_COMPARE(app.mainWindows().size(), mainWindows);
    QCOMPARE(app.settingsWindow() != nullptr, settingsOpen);
}

QTEST_MAIN(TestQuillmereApp)
#include "tst_quillmereapp.moc"
