#include "about/AboutView.h"
#include "about/AppInfo.h"
#include "widgets/NamedColors.h"
#include "widgets/SymbolView.h"
#include "widgets/Symbols.h"

#include <QDir>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>

#include <algorithm>

namespace {

const QString appIcon = QStringLiteral(":/icons/AppIcon.svg");

std::optional<QString> present(const QString &text)
{
    if (text.isNull())
        return std::nullopt;
    return text;
}

AppInfo makeInfo(const QString &version, const QString &build, const QString &copyright, const QString &icon)
{
    return AppInfo{present(version), present(build), present(copyright), present(icon)};
}

// Object names of the view's visible widgets from top to bottom (the credit
// symbol, which sits beside "Created by", left out).
QStringList visibleOrder(const AboutView &view)
{
    QList<QWidget *> shown;
    for (QWidget *child : view.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->isVisibleTo(&view) && child->objectName() != QStringLiteral("creditSymbol"))
            shown.append(child);
    }
    std::sort(shown.begin(), shown.end(), [](QWidget *a, QWidget *b) { return a->y() < b->y(); });
    QStringList names;
    for (QWidget *w : shown)
        names << w->objectName();
    return names;
}

} // namespace

class TestAboutView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buildFillsInEverything();
    void versionLine_data();
    void versionLine();
    void showsWhatIsPresent_data();
    void showsWhatIsPresent();
    void fallsBackToSymbolWithoutArtwork_data();
    void fallsBackToSymbolWithoutArtwork();
    void iconHasRoundedCornersAndShadow();
    void returnPressesOK_data();
    void returnPressesOK();
    void coloursFollowThePalette();
};

void TestAboutView::buildFillsInEverything()
{
    const AppInfo info = AppInfo::fromBuild();
    QVERIFY(info.version.has_value());
    QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$")).match(*info.version).hasMatch());
    QVERIFY(info.buildNumber.has_value() && !info.buildNumber->isEmpty());
    QVERIFY(info.copyright.has_value() && info.copyright->contains(QStringLiteral("©")));
    QCOMPARE(info.iconResource, std::optional<QString>(appIcon));
    QVERIFY(info.hasIcon());
    // The window icon renders (the SVG icon engine is available).
    const QImage image = info.icon().pixmap(64, 64).toImage();
    QVERIFY(!image.isNull());
    QCOMPARE(image.pixelColor(32, 32).alpha(), 255);

    AboutView view;
    QCOMPARE(view.findChild<QLabel *>(QStringLiteral("versionLabel"))->text(), *info.versionLine());
}

void TestAboutView::versionLine_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("build");
    QTest::addColumn<QString>("expected"); // null: no line

    QTest::newRow("both") << QStringLiteral("1.2") << QStringLiteral("34") << QStringLiteral("Version 1.2 (34)");
    QTest::newRow("one dot oh") << QStringLiteral("1.0") << QStringLiteral("7") << QStringLiteral("Version 1.0 (7)");
    QTest::newRow("no build number") << QStringLiteral("1.2") << QString() << QString();
    QTest::newRow("no version") << QString() << QStringLiteral("34") << QString();
    QTest::newRow("neither") << QString() << QString() << QString();
    QTest::newRow("placeholders kept") << QStringLiteral("%2") << QStringLiteral("%1")
                                       << QStringLiteral("Version %2 (%1)");
}

void TestAboutView::versionLine()
{
    QFETCH(QString, version);
    QFETCH(QString, build);
    QFETCH(QString, expected);

    const AppInfo info = makeInfo(version, build, QStringLiteral("©"), appIcon);
    QCOMPARE(info.versionLine(), present(expected));

    AboutView view(info);
    auto *label = view.findChild<QLabel *>(QStringLiteral("versionLabel"));
    QVERIFY(label);
    QCOMPARE(label->isVisibleTo(&view), !expected.isNull());
    if (!expected.isNull())
        QCOMPARE(label->text(), expected);
}

void TestAboutView::showsWhatIsPresent_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("copyright");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QStringList>("order");

    const QString copyright = QStringLiteral("Copyright © 2026 The Quillmere Team");
    QTest::newRow("everything")
        << QStringLiteral("1.0") << copyright << appIcon
        << QStringList{"appIcon", "nameLabel", "versionLabel", "descriptionLabel", "divider", "createdByLabel",
                       "authorLabel", "copyrightLabel", "okButton"};
    QTest::newRow("no version")
        << QString() << copyright << appIcon
        << QStringList{"appIcon", "nameLabel", "descriptionLabel", "divider", "createdByLabel", "authorLabel",
                       "copyrightLabel", "okButton"};
    QTest::newRow("no copyright")
        << QStringLiteral("1.0") << QString() << appIcon
        << QStringList{"appIcon", "nameLabel", "versionLabel", "descriptionLabel", "divider", "createdByLabel",
                       "authorLabel", "okButton"};
    QTest::newRow("no icon")
        << QStringLiteral("1.0") << copyright << QString()
        << QStringList{"appIconSymbol", "nameLabel", "versionLabel", "descriptionLabel", "divider",
                       "createdByLabel", "authorLabel", "copyrightLabel", "okButton"};
    QTest::newRow("nothing")
        << QString() << QString() << QString()
        << QStringList{"appIconSymbol", "nameLabel", "descriptionLabel", "divider", "createdByLabel", "authorLabel",
                       "okButton"};
    QTest::newRow("long copyright wraps")
        << QStringLiteral("1.0") << copyright.repeated(6) << appIcon
        << QStringList{"appIcon", "nameLabel", "versionLabel", "descriptionLabel", "divider", "createdByLabel",
                       "authorLabel", "copyrightLabel", "okButton"};
}

void TestAboutView::showsWhatIsPresent()
{
    QFETCH(QString, version);
    QFETCH(QString, copyright);
    QFETCH(QString, icon);
    QFETCH(QStringList, order);

    AboutView view(makeInfo(version, QStringLiteral("7"), copyright, icon));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QCOMPARE(visibleOrder(view), order);
    QCOMPARE(view.findChild<QLabel *>(QStringLiteral("descriptionLabel"))->text(),
             QStringLiteral("Two Quillmere to introduce important concepts about transformers"));
    QCOMPARE(view.findChild<QLabel *>(QStringLiteral("authorLabel"))->text(), QStringLiteral("The Quillmere Team"));
    if (!copyright.isNull())
        QCOMPARE(view.findChild<QLabel *>(QStringLiteral("copyrightLabel"))->text(), copyright);

    // Fixed at 500 wide and as high as the content: nothing is cut off or
    // squeezed, whatever is shown.
    QCOMPARE(view.minimumSize(), view.maximumSize());
    QCOMPARE(view.width(), 500);
    for (QWidget *child : view.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!child->isVisibleTo(&view))
            continue;
        QVERIFY2(view.rect().contains(child->geometry()), qPrintable(child->objectName()));
        if (auto *label = qobject_cast<QLabel *>(child); label && label->wordWrap())
            QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(child->objectName()));
        else
            QVERIFY2(child->height() >= child->sizeHint().height(), qPrintable(child->objectName()));
    }
    auto *ok = view.findChild<QPushButton *>(QStringLiteral("okButton"));
    QCOMPARE(view.height() - ok->geometry().bottom() - 1, 40);

    // Without a copyright line the credit is followed directly by the button.
    if (copyright.isNull()) {
        auto *author = view.findChild<QLabel *>(QStringLiteral("authorLabel"));
        QCOMPARE(ok->y() - (author->geometry().bottom() + 1), 20);
    }
}

void TestAboutView::fallsBackToSymbolWithoutArtwork_data()
{
    QTest::addColumn<QString>("icon");
    QTest::newRow("no resource named") << QString();
    QTest::newRow("resource missing") << QStringLiteral(":/icons/Missing.svg");
}

void TestAboutView::fallsBackToSymbolWithoutArtwork()
{
    QFETCH(QString, icon);

    QPalette palette;
    palette.setColor(QPalette::Highlight, QColor(200, 30, 120));
    AboutView view(makeInfo(QStringLiteral("1"), QStringLiteral("2"), QString(), icon));
    view.setPalette(palette);

    QVERIFY(!view.findChild<QWidget *>(QStringLiteral("appIcon")));
    auto *symbol = view.findChild<SymbolView *>(QStringLiteral("appIconSymbol"));
    QVERIFY(symbol);
    QCOMPARE(symbol->symbolName(), QStringLiteral("brain.head.profile"));
    QVERIFY(Symbols::hasArtwork(symbol->symbolName()));
    QCOMPARE(symbol->side(), 100);
    QCOMPARE(symbol->color(), QColor(200, 30, 120));
    QCOMPARE(symbol->graphicsEffect(), nullptr);
}

void TestAboutView::iconHasRoundedCornersAndShadow()
{
    // A file that exists but holds no artwork falls back as well.
    QTemporaryFile broken;
    QVERIFY(broken.open());
    broken.write("not an image");
    broken.close();
    AboutView brokenView(makeInfo(QString(), QString(), QString(), broken.fileName()));
    QVERIFY(brokenView.findChild<SymbolView *>(QStringLiteral("appIconSymbol")));

    // Artwork that fills its whole square, so that only the clipping can
    // round the corners.
    QTemporaryFile square(QDir::tempPath() + QStringLiteral("/XXXXXX.svg"));
    QVERIFY(square.open());
    square.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">)"
                 R"(<rect width="64" height="64" fill="#ff0000"/></svg>)");
    square.close();

    AboutView view(makeInfo(QString(), QString(), QString(), square.fileName()));
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::white);
    view.setPalette(palette);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QWidget *icon = view.findChild<QWidget *>(QStringLiteral("appIcon"));
    QVERIFY(icon);
    QCOMPARE(icon->size(), QSize(128, 128));
    auto *shadow = qobject_cast<QGraphicsDropShadowEffect *>(icon->graphicsEffect());
    QVERIFY(shadow);
    QCOMPARE(shadow->blurRadius(), 10.0);
    QCOMPARE(shadow->offset(), QPointF(0, 5));
    QCOMPARE(shadow->color(), QColor(0, 0, 0, 51));

    // The artwork is stretched to the square and its corners are cut round:
    // the very corner shows the window behind, the edges' middles the artwork.
    const QImage image = view.grab().toImage();
    const QPoint origin = icon->geometry().topLeft();
    QCOMPARE(image.pixelColor(origin + QPoint(1, 1)), QColor(Qt::white));
    QCOMPARE(image.pixelColor(origin + QPoint(64, 1)), QColor(Qt::red));
    QCOMPARE(image.pixelColor(origin + QPoint(1, 64)), QColor(Qt::red));
    QCOMPARE(image.pixelColor(origin + QPoint(126, 1)), QColor(Qt::white));
    QCOMPARE(image.pixelColor(origin + QPoint(64, 64)), QColor(Qt::red));
}

void TestAboutView::returnPressesOK_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("dismissals");

    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier) << 1;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 1;
    QTest::newRow("Space on OK") << int(Qt::Key_Space) << int(Qt::NoModifier) << 1;
    QTest::newRow("a letter") << int(Qt::Key_A) << int(Qt::NoModifier) << 0;
}

void TestAboutView::returnPressesOK()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, dismissals);

    AboutView view(makeInfo(QStringLiteral("1.2"), QStringLiteral("34"), QString(), appIcon));
    QSignalSpy dismissed(&view, &AboutView::dismissRequested);
    view.show();
    QVERIFY(QTest::qWaitForWindowActive(&view));
    auto *ok = view.findChild<QPushButton *>(QStringLiteral("okButton"));
    QVERIFY(ok->isDefault());
    QVERIFY(ok->hasFocus());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    if (dismissals > 0)
        QTRY_COMPARE(dismissed.size(), dismissals);
    QCoreApplication::processEvents();
    QCOMPARE(dismissed.size(), dismissals);
}

void TestAboutView::coloursFollowThePalette()
{
    AboutView view(makeInfo(QStringLiteral("1.2"), QStringLiteral("34"), QStringLiteral("©"), QString()));
    auto *version = view.findChild<QLabel *>(QStringLiteral("versionLabel"));
    auto *symbol = view.findChild<SymbolView *>(QStringLiteral("appIconSymbol"));
    auto *credit = view.findChild<SymbolView *>(QStringLiteral("creditSymbol"));

    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 32));
    dark.setColor(QPalette::WindowText, QColor(235, 235, 240));
    dark.setColor(QPalette::Highlight, QColor(10, 132, 255));
    view.setPalette(dark);

    QCOMPARE(version->palette().color(QPalette::WindowText), NamedColors::secondaryText(dark));
    QCOMPARE(symbol->color(), QColor(10, 132, 255));
    QCOMPARE(credit->color(), QColor(10, 132, 255));
    QVERIFY(NamedColors::isDark(version->palette()));
}

QTEST_MAIN(TestAboutView)
#include "tst_aboutview.moc"
