#include "TestSettings.h"
#include "TextFit.h"
#include "about/AboutView.h"
#include "app/ContentView.h"
#include "app/MainWindow.h"
#include "app/QuillmereApp.h"
#include "app/SegmentedControl.h"
#include "demos/sentencemap/SentenceMapWindow.h"
#include "guide/GuideWindow.h"
#include "widgets/SymbolView.h"
#include "widgets/TextStyles.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QDir>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryFile>
#include <QFile>
#include <QTextDocument>
#include <QTest>
#include <QWindow>

#include <algorithm>

namespace {

// The About windows now open (closed ones are hidden until deleted).
QList<QWidget *> openAboutWindows()
{
    QList<QWidget *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QStringLiteral("aboutWindow") && widget->isVisible())
            windows.append(widget);
    }
    return windows;
}

// The names and checked states of a menu's items, as assistive technology
// reads them: "Zoom In (200 %)", "[x] Full Screen".
QStringList accessibleItems(QMenu *menu)
{
    QStringList items;
    QAccessibleInterface *interface = QAccessible::queryAccessibleInterface(menu);
    for (int i = 0; interface && i < interface->childCount(); ++i) {
        QAccessibleInterface *item = interface->child(i);
        if (!item->text(QAccessible::Name).isEmpty())
            items << (item->state().checked ? "[x] " : "") + item->text(QAccessible::Name).remove(QLatin1Char('&'));
    }
    return items;
}

const char redSquare[] = R"(<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">)"
                         R"(<rect width="64" height="64" fill="#ff0000"/></svg>)";

} // namespace

class TestQuillmereApp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init()
    {
        // Nothing listens on this port, so each window's first fetch fails at once.
        m_prefs = std::make_unique<TestSettings>();
        m_prefs->settings().setOllamaURL(QStringLiteral("http://127.0.0.1:1"));
    }
    void cleanup()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(openAboutWindows().isEmpty());
    }

    void mainWindowTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("window title") << "Quillmere";
        QTest::newRow("title") << "Quillmere";
        QTest::newRow("demo picker") << "Demo Type";
        QTest::newRow("first segment") << "Sentiment Analysis";
        QTest::newRow("second segment") << "Sentence Similarity";
        QTest::newRow("about item") << "About Quillmere";
        QTest::newRow("settings item") << "Settings…";
        QTest::newRow("settings window") << "Settings";
    }
    void mainWindowTexts()
    {
        QFETCH(QString, text);
        QuillmereApp app(m_prefs->settings());
        MainWindow *window = app.openMainWindow();
        auto *picker = window->findChild<SegmentedControl *>(QStringLiteral("demoTypePicker"));
        const QHash<QString, QString> shown{
            {"window title", window->windowTitle()},
            {"title", window->findChild<QLabel *>(QStringLiteral("titleLabel"))->text()},
            {"demo picker", picker->accessibleName()},
            {"first segment", picker->segment(0)->text()},
            {"second segment", picker->segment(1)->text()},
            {"about item", app.aboutAction()->text().remove(QLatin1Char('&'))},
            {"settings item", app.settingsAction()->text().remove(QLatin1Char('&'))},
            {"settings window", app.openSettingsWindow()->windowTitle()},
        };
        QCOMPARE(shown.value(QString::fromLatin1(QTest::currentDataTag())), text);
        // It opens on the sentiment demo and cannot be made smaller than 600 by 500.
        QCOMPARE(picker->currentIndex(), 0);
        QCOMPARE(window->contentView()->currentScreen()->metaObject()->className(), "SentimentAnalysisView");
        QCOMPARE(window->contentView()->minimumSize(), QSize(600, 500));
    }

    void aboutTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("nameLabel") << "Quillmere";
        QTest::newRow("versionLabel") << "Version 1.2 (34)";
        QTest::newRow("descriptionLabel") << "Two demos to introduce important concepts about transformers";
        QTest::newRow("createdByLabel") << "Created by";
        QTest::newRow("authorLabel") << "The Quillmere Team";
        QTest::newRow("copyrightLabel") << "Copyright © 2026 The Quillmere Team";
        QTest::newRow("okButton") << "OK";
    }
    void aboutTexts()
    {
        QFETCH(QString, text);
        const auto view = std::make_unique<AboutView>(
            AppInfo{QStringLiteral("1.2"), QStringLiteral("34"), AppInfo::fromBuild().copyright, std::nullopt});
        const QWidget *shown = view->findChild<QWidget *>(QString::fromLatin1(QTest::currentDataTag()));
        auto *label = qobject_cast<const QLabel *>(shown);
        QCOMPARE(label ? label->text() : qobject_cast<const QPushButton *>(shown)->text(), text);
        QCOMPARE(view->findChild<SymbolView *>(QStringLiteral("creditSymbol"))->symbolName(),
                 QStringLiteral("person.circle.fill"));
    }

    void aboutShowsWhatIsPresent_data()
    {
        QTest::addColumn<AppInfo>("info"); // version, build number, copyright, icon
        QTest::addColumn<QStringList>("order");
        const QString version = QStringLiteral("1.0"), build = QStringLiteral("7");
        QTest::newRow("everything, long copyright wraps")
            << AppInfo{version, build, QStringLiteral("Copyright © 2026 The Quillmere Team ").repeated(6),
                       QStringLiteral(":/icons/AppIcon.svg")}
            << QStringList{"appIcon", "nameLabel", "versionLabel", "descriptionLabel", "divider", "createdByLabel",
                           "authorLabel", "copyrightLabel", "okButton"};
        QTest::newRow("no build number, no copyright, icon resource missing")
            << AppInfo{version, std::nullopt, std::nullopt, QStringLiteral(":/icons/Missing.svg")}
            << QStringList{"appIconSymbol", "nameLabel", "descriptionLabel", "divider", "createdByLabel",
                           "authorLabel", "okButton"};
    }
    void aboutShowsWhatIsPresent()
    {
        QFETCH(AppInfo, info);
        QFETCH(QStringList, order);
        const auto view = std::make_unique<AboutView>(info);
        QPalette palette;
        palette.setColor(QPalette::Highlight, QColor(200, 30, 120));
        view->setPalette(palette);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        // From top to bottom, and nothing cut off or squeezed.
        QList<QWidget *> shown;
        for (QWidget *child : view->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!child->isVisibleTo(view.get()) || child->objectName() == QStringLiteral("creditSymbol"))
                continue;
            shown << child;
            QVERIFY2(view->rect().contains(child->geometry()), qPrintable(child->objectName()));
            auto *label = qobject_cast<QLabel *>(child);
            const int needed =
                label && label->wordWrap() ? label->heightForWidth(label->width()) : child->sizeHint().height();
            QVERIFY2(child->height() >= needed, qPrintable(child->objectName()));
        }
        std::sort(shown.begin(), shown.end(), [](QWidget *a, QWidget *b) { return a->y() < b->y(); });
        QStringList names;
        for (QWidget *w : shown)
            names << w->objectName();
        QCOMPARE(names, order);
        // Without artwork: the symbol, 100 points, in the accent colour, no shadow.
        if (auto *symbol = view->findChild<SymbolView *>(QStringLiteral("appIconSymbol"))) {
            QCOMPARE(symbol->symbolName(), QStringLiteral("brain.head.profile"));
            QCOMPARE(symbol->side(), 100);
            QCOMPARE(symbol->color(), QColor(200, 30, 120));
            QCOMPARE(symbol->graphicsEffect(), nullptr);
        }
    }

    void aboutIconHasContinuousCornersAndShadow()
    {
        // Artwork that fills its square, so that only the clipping shapes the corners.
        QTemporaryFile square(QDir::tempPath() + QStringLiteral("/XXXXXX.svg"));
        QVERIFY(square.open());
        square.write(redSquare);
        square.close();
        const auto view = std::make_unique<AboutView>(AppInfo{{}, {}, {}, square.fileName()});
        QWidget *icon = view->findChild<QWidget *>(QStringLiteral("appIcon"));
        QCOMPARE(icon->size(), QSize(128, 128));
        auto *shadow = qobject_cast<QGraphicsDropShadowEffect *>(icon->graphicsEffect());
        QVERIFY(shadow);
        QCOMPARE(shadow->blurRadius(), 10.0);
        QCOMPARE(shadow->offset(), QPointF(0, 5));
        QCOMPARE(shadow->color(), QColor(0, 0, 0, 51));

        // Drawn four times larger over white, without the shadow. The corner
        // curve leaves the edges more gently than a quarter circle of radius
        // 20, which would cover (0.4, 17.6) and (17.6, 0.4).
        shadow->setEnabled(false);
        QImage image(512, 512, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(4, 4);
        icon->render(&painter);
        painter.end();
        for (const QPoint p : {QPoint(0, 0), QPoint(1, 70), QPoint(70, 1), QPoint(510, 441), QPoint(441, 510)})
            QVERIFY2(image.pixelColor(p).green() > 191, qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        for (const QPoint p : {QPoint(1, 256), QPoint(256, 1), QPoint(32, 32), QPoint(1, 120), QPoint(510, 256)})
            QVERIFY2(image.pixelColor(p).green() < 64, qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    }

    void aboutOpensANewBlankTitledWindowEachTime()
    {
        QuillmereApp app(m_prefs->settings());
        QVERIFY(QTest::qWaitForWindowExposed(app.openMainWindow()));
        app.aboutAction()->trigger();
        app.aboutAction()->trigger();
        const QList<QWidget *> windows = openAboutWindows();
        QCOMPARE(windows.size(), 2);
        for (QWidget *window : windows) {
            QCOMPARE(window->accessibleName(), QStringLiteral("About Quillmere"));
            // Platforms show the application's name in place of an empty
            // title, so the title handed to the platform is blank, not empty.
            QVERIFY(window->windowHandle());
            QVERIFY(!window->windowHandle()->title().isEmpty());
            QCOMPARE(window->windowHandle()->title().trimmed(), QString());
            QCOMPARE(window->minimumSize(), window->maximumSize());
            QCOMPARE(window->width(), 500);
            QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
            QVERIFY(!(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
            // Centred, unless the screen is too low for it: then its top shows.
            const QRect available = window->screen()->availableGeometry();
            const QRect frame = window->frameGeometry();
            QVERIFY(qAbs(frame.center().x() - available.center().x()) <= 3);
            QVERIFY(qAbs(frame.center().y() - available.center().y()) <= 3 || frame.top() == available.top());
        }
        // Closing one leaves the other open.
        QPointer<QWidget> first = windows[0];
        first->close();
        QTRY_VERIFY(first.isNull());
        QVERIFY(windows[1]->isVisible());
        windows[1]->close();
    }

    void aboutWindowCloses_data()
    {
        QTest::addColumn<int>("key"); // 0: "OK" clicked
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Return") << int(Qt::Key_Return) << 0 << true;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true;
        QTest::newRow("OK clicked") << 0 << 0 << true;
        QTest::newRow("Ctrl+W") << int(Qt::Key_W) << int(Qt::ControlModifier) << true;
        QTest::newRow("a letter") << int(Qt::Key_A) << 0 << false;
    }
    void aboutWindowCloses()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, closes);
        QuillmereApp app(m_prefs->settings());
        QWidget *window = app.openAboutWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        if (key == 0)
            QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("okButton")), Qt::LeftButton);
        else
            QTest::keyClick(window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTRY_COMPARE(openAboutWindows().size(), closes ? 0 : 1);
    }

    void zoomStepsReflowAndLast_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("key"); // with Ctrl, pressed until the zoom is reached
        for (int zoom : {50, 100, 150, 200, 300})
            QTest::newRow(qPrintable(QStringLiteral("%1 %").arg(zoom))) << zoom << int(zoom < 100 ? Qt::Key_Minus : Qt::Key_Equal);
    }
    void zoomStepsReflowAndLast()
    {
        QFETCH(int, zoom);
        QFETCH(int, key);
        const qreal bodyAt100 = QFontInfo(QApplication::font()).pointSizeF();
        {
            QuillmereApp app(m_prefs->settings());
            MainWindow *window = app.openMainWindow();
            QWidget *map = app.openSentenceMapWindow();
            QWidget *settings = app.openSettingsWindow();
            QWidget *guide = app.openGuide();
            window->resize(1280, 800);
            map->resize(1280, 800);
            QVERIFY(QTest::qWaitForWindowActive(app.openMainWindow()));
            for (int i = 0; i < 20 && TextStyles::zoomPercent() != zoom; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::ControlModifier);
            QCOMPARE(TextStyles::zoomPercent(), zoom);
            // Every window's texts and painted sizes follow together.
            auto *title = window->findChild<QLabel *>(QStringLiteral("titleLabel"));
            QCOMPARE(qRound(QFontInfo(QApplication::font()).pointSizeF() * 100 / bodyAt100), zoom);
            QVERIFY(QFontInfo(title->font()).pointSizeF() > QApplication::font().pointSizeF());
            QCOMPARE(window->findChild<SymbolView *>(QStringLiteral("star1"))->sizeHint().width(), 32 * zoom / 100);
            QCOMPARE(guide->findChild<QTextBrowser *>()->document()->defaultFont().pointSizeF(),
                     QApplication::font().pointSizeF());
            // Once the layouts have settled.
            for (QWidget *root : {static_cast<QWidget *>(window), map, settings})
                QTRY_VERIFY2(TextFit::cutTexts(root).isEmpty(), qPrintable(TextFit::cutTexts(root).join('\n')));
            // The Settings window stays within its screen; its tabs scroll.
            QVERIFY(settings->height() <= settings->screen()->availableGeometry().height());
            // The level and the limits, as assistive technology reads the menu.
            QMenu *view = window->findChild<QMenu *>(QStringLiteral("viewMenu"));
            const QString level = QStringLiteral(" (%1 %)").arg(zoom);
            QVERIFY2(accessibleItems(view).contains("Zoom In" + level), qPrintable(accessibleItems(view).join(',')));
            QVERIFY(accessibleItems(view).contains((zoom == 100 ? "[x] Actual Size" : "Actual Size") + level));
            QCOMPARE(app.zoomInAction()->isEnabled(), zoom < 300);
            QCOMPARE(app.zoomOutAction()->isEnabled(), zoom > 50);
        }
        // Back at 100 % once the windows are gone; the next start takes the stored zoom.
        QCOMPARE(TextStyles::zoomPercent(), 100);
        const auto restarted = m_prefs->reopen();
        QuillmereApp app(*restarted);
        QCOMPARE(TextStyles::zoomPercent(), zoom);
        app.actualSizeAction()->trigger();
        QCOMPARE(m_prefs->reopen()->zoomPercent(), 100);
    }

    void fullScreenAndEscape_data()
    {
        QTest::addColumn<bool>("map");
        QTest::newRow("main window") << false;
        QTest::newRow("Sentence Map") << true;
    }
    void fullScreenAndEscape()
    {
        QFETCH(bool, map);
        QuillmereApp app(m_prefs->settings());
        MainWindow *main = app.openMainWindow();
        QWidget *window = map ? static_cast<QWidget *>(app.openSentenceMapWindow()) : main;
        QVERIFY(QTest::qWaitForWindowActive(window));
        QMenu *view = main->findChild<QMenu *>(QStringLiteral("viewMenu"));
        app.fullScreenAction()->trigger();
        QVERIFY(window->isFullScreen());
        QVERIFY(!map || !main->isFullScreen());
        QVERIFY(QTest::qWaitForWindowActive(window));
        QVERIFY(accessibleItems(view).contains("[x] Full Screen"));
        // Esc from the control with the focus, which does not use it.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!window->isFullScreen());
        QVERIFY(accessibleItems(view).contains("Full Screen"));
    }

    void guideOpensAtItsSections()
    {
        QuillmereApp app(m_prefs->settings());
        MainWindow *window = app.openMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        GuideWindow *guide = app.guideWindow();
        QVERIFY(guide);
        QVERIFY(QTest::qWaitForWindowActive(guide));
        QCOMPARE(GuideWindow::resourceFor(QLocale(QLocale::German, QLocale::Switzerland)),
                 QStringLiteral(":/guide/guide_de.html"));
        QCOMPARE(GuideWindow::resourceFor(QLocale(QLocale::Japanese)), QStringLiteral(":/guide/guide.html"));
        // In every language, every link within the guide, and every section
        // that screens link to, leads to an anchor of the page.
        for (const char *page : {"guide.html", "guide_de.html", "guide_fr.html", "guide_es.html"}) {
            QFile file(QStringLiteral(":/guide/") + QLatin1String(page));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTextDocument document;
            document.setHtml(QString::fromUtf8(file.readAll()));
            QStringList anchors, links;
            for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
                for (auto it = block.begin(); !it.atEnd(); ++it) {
                    const QTextCharFormat format = it.fragment().charFormat();
                    anchors << format.anchorNames();
                    if (format.anchorHref().startsWith(QLatin1Char('#')))
                        links << format.anchorHref().mid(1);
                }
            }
            links << GuideWindow::sentimentSection << GuideWindow::similaritySection;
            QVERIFY(links.size() > 15);
            for (const QString &link : std::as_const(links))
                QVERIFY2(anchors.contains(link), qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(page), link)));
        }
        // A screen's link opens the guide there, scrolled down to it.
        const QScrollBar *scroll = guide->browser()->verticalScrollBar();
        QCOMPARE(scroll->value(), 0);
        QVERIFY(QDesktopServices::openUrl(QUrl(QStringLiteral("quillmere-guide:how-similarity"))));
        QCOMPARE(app.guideWindow(), guide);
        QCOMPARE(guide->browser()->source().fragment(), GuideWindow::similaritySection);
        QVERIFY(scroll->value() > 0);
    }

private:
    std::unique_ptr<TestSettings> m_prefs;
};

QTEST_MAIN(TestQuillmereApp)
#include "tst_quillmereapp.moc"
