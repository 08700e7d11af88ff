#include "QuillmereApp.h"

#include "Languages.h"

#include "ContentView.h"
#include "Examples.h"
#include "MainWindow.h"
#include "about/AboutView.h"
#include "catalogue/AppSettings.h"
#include "demos/DemoHistory.h"
#include "demos/sentencemap/SentenceMapWindow.h"
#include "guide/GuideWindow.h"
#include "history/HistoryWindow.h"
#include "history/SessionHistory.h"
#include "settings/SettingsView.h"
#include "widgets/TextStyles.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const QString aboutWindowName = QStringLiteral("aboutWindow");

// The screen of the active window, or the primary screen when none is active.
QScreen *screenForNewWindow()
{
    if (QWidget *active = QApplication::activeWindow())
        return active->screen();
    return QGuiApplication::primaryScreen();
}

// Centres the window on the screen's free area. A window larger than that
// area keeps its top left corner (and so its title bar) on the screen.
void centreOnScreen(QWidget *window, QScreen *screen)
{
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QPoint centred = available.center() - QPoint(window->width() / 2, window->height() / 2);
    window->move(qMax(centred.x(), available.left()), qMax(centred.y(), available.top()));
}

// Shrinks a new main window that would not fit the screen, down to its minimum.
void fitToScreen(QWidget *window, QScreen *screen)
{
    if (!screen)
        return;
    const QSize room = screen->availableGeometry().size() * 0.92;
    window->resize(window->size().boundedTo(room).expandedTo(window->minimumSizeHint()));
}

// Brings a window forward, restoring it if it was minimised.
void bringForward(QWidget *window)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

QuillmereApp::QuillmereApp(QObject *parent)
    : QuillmereApp(AppSettings::shared(), parent)
{
}

QuillmereApp::QuillmereApp(AppSettings &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_translator(new Languages::Translator(this))
    , m_history(new SessionHistory(this))
    , m_newWindowAction(new QAction(this))
    , m_closeWindowAction(new QAction(this))
    , m_quitAction(new QAction(this))
    , m_settingsAction(new QAction(this))
    , m_aboutAction(new QAction(this))
    , m_historyAction(new QAction(this))
    , m_sentenceMapAction(new QAction(this))
    , m_zoomInAction(new QAction(this))
    , m_zoomOutAction(new QAction(this))
    , m_actualSizeAction(new QAction(this))
    , m_fullScreenAction(new QAction(this))
    , m_guideAction(new QAction(this))
{
    m_translator->apply(m_settings.language());
    connect(&m_settings, &AppSettings::languageChanged, m_translator, &Languages::Translator::apply);
    connect(m_translator, &Languages::Translator::changed, this, &QuillmereApp::renderTexts);

    setObjectName(QStringLiteral("quillmereApp"));
    m_history->setObjectName(QStringLiteral("sessionHistory"));

    m_newWindowAction->setObjectName(QStringLiteral("newWindowAction"));
    m_newWindowAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(m_newWindowAction, &QAction::triggered, this, [this] { openMainWindow(); });

    m_closeWindowAction->setObjectName(QStringLiteral("closeWindowAction"));
    m_closeWindowAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(m_closeWindowAction, &QAction::triggered, this, &QuillmereApp::closeActiveWindow);

    m_quitAction->setObjectName(QStringLiteral("quitAction"));
    m_quitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_quitAction->setMenuRole(QAction::QuitRole);
    connect(m_quitAction, &QAction::triggered, qApp, &QCoreApplication::quit);

    m_settingsAction->setObjectName(QStringLiteral("settingsAction"));
    m_settingsAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Comma),
                                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Comma)});
    m_settingsAction->setMenuRole(QAction::PreferencesRole);
    connect(m_settingsAction, &QAction::triggered, this, [this] { openSettingsWindow(); });

    m_aboutAction->setObjectName(QStringLiteral("aboutAction"));
    m_aboutAction->setMenuRole(QAction::AboutRole);
    connect(m_aboutAction, &QAction::triggered, this, [this] { openAboutWindow(); });

    m_historyAction->setObjectName(QStringLiteral("historyAction"));
    m_historyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    connect(m_historyAction, &QAction::triggered, this, [this] { openHistoryWindow(); });

    for (const Example &example : Examples::all()) {
        auto *action = new QAction(this);
        action->setObjectName(QStringLiteral("exampleAction-") + example.id);
        connect(action, &QAction::triggered, this, [this, example] { useTexts(example.demo, example.texts); });
        m_exampleActions.append(action);
    }

    m_sentenceMapAction->setObjectName(QStringLiteral("sentenceMapAction"));
    m_sentenceMapAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    connect(m_sentenceMapAction, &QAction::triggered, this, [this] { openSentenceMapWindow(); });
    for (const SentenceSet &set : Examples::sentenceSets()) {
        auto *action = new QAction(this);
        action->setObjectName(QStringLiteral("sentenceSetAction-") + set.id);
        connect(action, &QAction::triggered, this, [this, set] { openSentenceMapWindow()->setSentences(set.sentences); });
        m_sentenceSetActions.append(action);
    }

    // Ctrl++ is the platform's zoom-in key; Ctrl+= is the same key without
    // Shift on most layouts.
    m_zoomInAction->setObjectName(QStringLiteral("zoomInAction"));
    m_zoomInAction->setShortcuts(QKeySequence::keyBindings(QKeySequence::ZoomIn)
                                 << QKeySequence(Qt::CTRL | Qt::Key_Equal));
    connect(m_zoomInAction, &QAction::triggered, this, [this] { zoomBy(1); });
    m_zoomOutAction->setObjectName(QStringLiteral("zoomOutAction"));
    m_zoomOutAction->setShortcuts(QKeySequence::ZoomOut);
    connect(m_zoomOutAction, &QAction::triggered, this, [this] { zoomBy(-1); });
    m_actualSizeAction->setObjectName(QStringLiteral("actualSizeAction"));
    m_actualSizeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    m_actualSizeAction->setCheckable(true);
    connect(m_actualSizeAction, &QAction::triggered, this, [this] { m_settings.setZoomPercent(100); });
    m_fullScreenAction->setObjectName(QStringLiteral("fullScreenAction"));
    m_fullScreenAction->setCheckable(true);
    QList<QKeySequence> fullScreenKeys = QKeySequence::keyBindings(QKeySequence::FullScreen);
    if (fullScreenKeys.isEmpty())
        fullScreenKeys << QKeySequence(Qt::Key_F11);
    m_fullScreenAction->setShortcuts(fullScreenKeys);
    connect(m_fullScreenAction, &QAction::triggered, this, &QuillmereApp::toggleFullScreen);
    m_guideAction->setObjectName(QStringLiteral("guideAction"));
    m_guideAction->setShortcuts(QKeySequence::HelpContents);
    if (m_guideAction->shortcuts().isEmpty())
        m_guideAction->setShortcut(QKeySequence(Qt::Key_F1));
    connect(m_guideAction, &QAction::triggered, this, [this] { openGuide(); });

    TextStyles::setZoomPercent(m_settings.zoomPercent());
    connect(&m_settings, &AppSettings::zoomPercentChanged, this, [this](int percent) {
        TextStyles::setZoomPercent(percent);
        renderViewActions();
    });
    connect(qApp, &QApplication::focusChanged, this, &QuillmereApp::renderViewActions);
    QDesktopServices::setUrlHandler(GuideWindow::linkScheme, this, "openGuideLink");
    renderTexts();
}

QuillmereApp::~QuillmereApp()
{
    QList<QPointer<QWidget>> windows;
    for (const QPointer<QWidget> &window : std::as_const(m_mainWindows))
        windows.append(window);
    windows.append(m_settingsWindow);
    windows.append(m_historyWindow);
    windows.append(m_sentenceMapWindow);
    windows.append(m_guideWindow);
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == aboutWindowName)
            windows.append(widget);
    }
    for (const QPointer<QWidget> &window : std::as_const(windows))
        delete window.data();
    QDesktopServices::unsetUrlHandler(GuideWindow::linkScheme);
    // The zoom belongs to this application object's windows.
    TextStyles::setZoomPercent(100);
}

MainWindow *QuillmereApp::openMainWindow()
{
    // A further window opens a little below and to the right of the active one.
    auto *previous = qobject_cast<MainWindow *>(QApplication::activeWindow());

    auto *window = new MainWindow(m_settings, m_history);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &MainWindow::activated, this, [this, window] { m_lastActiveMainWindow = window; });
    // The similarity demo's link: its sentences start the map's list when
    // the map has none of its own yet.
    connect(window->contentView(), &ContentView::sentenceMapRequested, this, [this](const QStringList &texts) {
        SentenceMapWindow *map = openSentenceMapWindow();
        if (map->sentences().isEmpty())
            map->setSentences(SentenceMap::sentencesFromText(texts.join(QLatin1Char('\n'))));
    });
    installMenus(window);
    addViewActions(window);
    m_mainWindows.removeAll(nullptr);
    m_mainWindows.append(window);

    QScreen *screen = previous ? previous->screen() : screenForNewWindow();
    fitToScreen(window, screen);
    if (previous)
        window->move(previous->pos() + QPoint(28, 28));
    else
        centreOnScreen(window, screen);
    bringForward(window);
    return window;
}

QList<MainWindow *> QuillmereApp::mainWindows() const
{
    QList<MainWindow *> open;
    for (const QPointer<QWidget> &window : m_mainWindows) {
        if (auto *main = qobject_cast<MainWindow *>(window.data()))
            open.append(main);
    }
    return open;
}

QWidget *QuillmereApp::openSettingsWindow()
{
    if (!m_settingsWindow) {
        auto *window = new QWidget(nullptr, Qt::Window);
        window->setObjectName(QStringLiteral("settingsWindow"));
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowTitle(tr("Settings"));
        auto *layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        layout->addWidget(new SettingsView(m_settings, window));
        // Ctrl+W closes this window too.
        window->addAction(m_closeWindowAction);
        addViewActions(window);
        window->adjustSize();
        centreOnScreen(window, screenForNewWindow());
        m_settingsWindow = window;
    }
    bringForward(m_settingsWindow);
    return m_settingsWindow;
}

QWidget *QuillmereApp::openAboutWindow()
{
    // Closable, but neither minimisable nor resizable; gone once closed.
    auto *window = new QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                            | Qt::WindowCloseButtonHint);
    window->setObjectName(aboutWindowName);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // No title text. The platform shows the application's name in place of
    // an empty title, so the title is a single space, which shows as blank.
    // Assistive tools still get a name for the window.
    window->setWindowTitle(QStringLiteral(" "));
    window->setAccessibleName(tr("About Quillmere"));
    auto *view = new AboutView(window);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(view);
    connect(view, &AboutView::dismissRequested, window, &QWidget::close);
    window->addAction(m_closeWindowAction);
    window->adjustSize();
    centreOnScreen(window, screenForNewWindow());
    bringForward(window);
    view->setFocus();
    return window;
}

HistoryWindow *QuillmereApp::openHistoryWindow()
{
    if (!m_historyWindow) {
        auto *window = new HistoryWindow(*m_history);
        window->setWindowFlag(Qt::Window);
        window->setAttribute(Qt::WA_DeleteOnClose);
        connect(window, &HistoryWindow::useAgainRequested, this,
                [this](const HistoryEntry &entry) { useEntryAgain(entry); });
        // Ctrl+W closes this window too, and Ctrl+H brings it forward.
        window->addAction(m_closeWindowAction);
        window->addAction(m_historyAction);
        addViewActions(window);
        QScreen *screen = screenForNewWindow();
        fitToScreen(window, screen);
        centreOnScreen(window, screen);
        m_historyWindow = window;
    }
    bringForward(m_historyWindow);
    return historyWindow();
}

SentenceMapWindow *QuillmereApp::openSentenceMapWindow()
{
    if (!m_sentenceMapWindow) {
        auto *window = new SentenceMapWindow(m_settings);
        window->setWindowFlag(Qt::Window);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->addAction(m_closeWindowAction);
        window->addAction(m_sentenceMapAction);
        connect(window, &SentenceMapWindow::runFinished, m_history, &SessionHistory::add);
        window->addAction(m_fullScreenAction);
        addViewActions(window);
        QScreen *screen = screenForNewWindow();
        fitToScreen(window, screen);
        centreOnScreen(window, screen);
        m_sentenceMapWindow = window;
    }
    bringForward(m_sentenceMapWindow);
    return sentenceMapWindow();
}

SentenceMapWindow *QuillmereApp::sentenceMapWindow() const
{
    return qobject_cast<SentenceMapWindow *>(m_sentenceMapWindow.data());
}

HistoryWindow *QuillmereApp::historyWindow() const
{
    return qobject_cast<HistoryWindow *>(m_historyWindow.data());
}

MainWindow *QuillmereApp::activeMainWindow() const
{
    if (auto *active = qobject_cast<MainWindow *>(QApplication::activeWindow()))
        return active;
    if (auto *last = qobject_cast<MainWindow *>(m_lastActiveMainWindow.data()))
        return last;
    const QList<MainWindow *> open = mainWindows();
    return open.isEmpty() ? nullptr : open.last();
}

void QuillmereApp::useEntryAgain(const HistoryEntry &entry)
{
    if (const std::optional<DemoType> demo = DemoTypes::fromText(entry.demo))
        useTexts(*demo, entry.texts);
    else if (entry.demo == DemoHistory::sentenceMapTitle())
        openSentenceMapWindow()->setSentences(SentenceMap::sentencesFromText(entry.texts.value(0)));
}

MainWindow *QuillmereApp::useTexts(DemoType demo, const QStringList &texts)
{
    MainWindow *window = activeMainWindow();
    if (!window)
        window = openMainWindow();
    window->contentView()->useTexts(demo, texts);
    bringForward(window);
    return window;
}

void QuillmereApp::installMenus(MainWindow *window)
{
    QMenuBar *bar = window->menuBar();
    QMenu *file = bar->addMenu(QString());
    file->setObjectName(QStringLiteral("fileMenu"));
    file->addAction(m_newWindowAction);
    file->addAction(m_closeWindowAction);
    file->addSeparator();
    file->addAction(m_quitAction);

    QMenu *edit = bar->addMenu(QString());
    edit->setObjectName(QStringLiteral("editMenu"));
    edit->addAction(m_settingsAction);

    QMenu *view = bar->addMenu(QString());
    view->setObjectName(QStringLiteral("viewMenu"));
    view->addAction(m_historyAction);
    view->addAction(m_sentenceMapAction);
    view->addSeparator();
    view->addAction(m_zoomInAction);
    view->addAction(m_zoomOutAction);
    view->addAction(m_actualSizeAction);
    view->addSeparator();
    view->addAction(m_fullScreenAction);

    QMenu *examples = bar->addMenu(QString());
    examples->setObjectName(QStringLiteral("examplesMenu"));
    examples->setToolTipsVisible(true);
    for (const DemoType demo : DemoTypes::allCases()) {
        QMenu *demoMenu = examples->addMenu(QString());
        demoMenu->setObjectName(demo == DemoType::sentimentAnalysis ? QStringLiteral("sentimentExamplesMenu")
                                                                    : QStringLiteral("similarityExamplesMenu"));
        demoMenu->setToolTipsVisible(true);
        for (qsizetype i = 0; i < Examples::all().size(); ++i) {
            if (Examples::all().at(i).demo == demo)
                demoMenu->addAction(m_exampleActions.at(i));
        }
    }
    QMenu *sets = examples->addMenu(QString());
    sets->setObjectName(QStringLiteral("sentenceMapExamplesMenu"));
    sets->setToolTipsVisible(true);
    sets->addActions(m_sentenceSetActions);

    QMenu *help = bar->addMenu(QString());
    help->setObjectName(QStringLiteral("helpMenu"));
    help->addAction(m_guideAction);
    help->addAction(m_aboutAction);
    renderMenus(window);
}

void QuillmereApp::renderMenus(MainWindow *window)
{
    const auto title = [window](const char *name, const QString &text) {
        if (auto *menu = window->menuBar()->findChild<QMenu *>(QLatin1String(name)))
            menu->setTitle(text);
    };
    title("fileMenu", tr("&File"));
    title("editMenu", tr("&Edit"));
    title("viewMenu", tr("&View"));
    title("examplesMenu", tr("E&xamples"));
    title("sentimentExamplesMenu", DemoTypes::displayTitle(DemoType::sentimentAnalysis));
    title("similarityExamplesMenu", DemoTypes::displayTitle(DemoType::sentenceSimilarity));
    title("sentenceMapExamplesMenu", tr("Sentence Map"));
    title("helpMenu", tr("&Help"));
}

void QuillmereApp::renderTexts()
{
    m_newWindowAction->setText(tr("&New Window"));
    m_closeWindowAction->setText(tr("&Close Window"));
    m_quitAction->setText(tr("&Quit"));
    m_settingsAction->setText(tr("&Settings…"));
    m_aboutAction->setText(tr("&About Quillmere"));
    m_historyAction->setText(tr("&History"));
    m_historyAction->setStatusTip(tr("Every analysis and calculation of this run"));
    m_sentenceMapAction->setText(tr("Sentence &Map"));
    m_sentenceMapAction->setStatusTip(tr("Many sentences at once, as a grid and a map of meaning"));
    m_guideAction->setText(tr("Quillmere &Guide"));
    for (qsizetype i = 0; i < m_exampleActions.size(); ++i) {
        const Example &example = Examples::all().at(i);
        m_exampleActions[i]->setText(Examples::displayed(example.title));
        m_exampleActions[i]->setStatusTip(Examples::displayed(example.lesson));
        m_exampleActions[i]->setToolTip(Examples::displayed(example.lesson));
    }
    for (qsizetype i = 0; i < m_sentenceSetActions.size(); ++i) {
        const SentenceSet &set = Examples::sentenceSets().at(i);
        m_sentenceSetActions[i]->setText(Examples::displayed(set.title));
        m_sentenceSetActions[i]->setStatusTip(Examples::displayed(set.lesson));
        m_sentenceSetActions[i]->setToolTip(Examples::displayed(set.lesson));
    }
    for (MainWindow *window : mainWindows())
        renderMenus(window);
    if (m_settingsWindow)
        m_settingsWindow->setWindowTitle(tr("Settings"));
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == aboutWindowName)
            widget->setAccessibleName(tr("About Quillmere"));
    }
    renderViewActions();
}

void QuillmereApp::closeActiveWindow()
{
    if (QWidget *window = QApplication::activeWindow())
        window->close();
}

GuideWindow *QuillmereApp::openGuide(const QString &section)
{
    if (!m_guideWindow) {
        auto *window = new GuideWindow;
        window->setWindowFlag(Qt::Window);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->addAction(m_closeWindowAction);
        addViewActions(window);
        QScreen *screen = screenForNewWindow();
        fitToScreen(window, screen);
        centreOnScreen(window, screen);
        m_guideWindow = window;
    }
    GuideWindow *guide = guideWindow();
    guide->showSection(section);
    bringForward(guide);
    guide->setFocus();
    return guide;
}

GuideWindow *QuillmereApp::guideWindow() const
{
    return qobject_cast<GuideWindow *>(m_guideWindow.data());
}

void QuillmereApp::openGuideLink(const QUrl &url)
{
    openGuide(url.path());
}

void QuillmereApp::addViewActions(QWidget *window)
{
    // The menu bar's actions work only in main windows; the other windows
    // take the shortcuts this way.
    if (!qobject_cast<MainWindow *>(window))
        window->addActions({m_zoomInAction, m_zoomOutAction, m_actualSizeAction, m_guideAction});
    if (qobject_cast<MainWindow *>(window) || qobject_cast<SentenceMapWindow *>(window))
        window->installEventFilter(this);
}

void QuillmereApp::zoomBy(int direction)
{
    m_settings.setZoomPercent(TextStyles::zoomStep(TextStyles::zoomPercent(), direction));
}

QWidget *QuillmereApp::fullScreenTarget() const
{
    QWidget *active = QApplication::activeWindow();
    if (active && (qobject_cast<MainWindow *>(active) || active == m_sentenceMapWindow))
        return active;
    return activeMainWindow();
}

void QuillmereApp::toggleFullScreen()
{
    if (QWidget *window = fullScreenTarget())
        window->setWindowState(window->windowState() ^ Qt::WindowFullScreen);
    renderViewActions();
}

bool QuillmereApp::eventFilter(QObject *watched, QEvent *event)
{
    auto *window = qobject_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Reaches the window when no control used the key.
        const auto *key = static_cast<QKeyEvent *>(event);
        if (window && key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier
            && window->isFullScreen()) {
            window->setWindowState(window->windowState() & ~Qt::WindowFullScreen);
            renderViewActions();
            return true;
        }
        break;
    }
    case QEvent::WindowStateChange:
    case QEvent::WindowActivate:
        renderViewActions();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void QuillmereApp::renderViewActions()
{
    const int zoom = TextStyles::zoomPercent();
    const QList<int> &steps = TextStyles::zoomSteps();
    m_zoomInAction->setText(tr("Zoom &In (%1 %)").arg(QLocale().toString(zoom)));
    m_zoomInAction->setEnabled(zoom < steps.last());
    m_zoomOutAction->setText(tr("Zoom &Out (%1 %)").arg(QLocale().toString(zoom)));
    m_zoomOutAction->setEnabled(zoom > steps.first());
    m_actualSizeAction->setText(tr("&Actual Size (%1 %)").arg(QLocale().toString(zoom)));
    m_actualSizeAction->setChecked(zoom == 100);

    const QWidget *target = fullScreenTarget();
    const bool fullScreen = target && target->isFullScreen();
    m_fullScreenAction->setText(tr("&Full Screen"));
    m_fullScreenAction->setChecked(fullScreen);
    m_fullScreenAction->setEnabled(target != nullptr);
}
