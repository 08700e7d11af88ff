// Every scene reaches its state and photographs the same way twice; failing
// scenes are reported without a file; palettes and file names come out right.

#include "Scenes.h"
#include "ShotRunner.h"
#include "Studio.h"

#include "app/MainWindow.h"
#include "app/QuillmereApp.h"
#include "catalogue/AppSettings.h"
#include "history/SessionHistory.h"
#include "demos/similarity/SimilarityMath.h"
#include "widgets/CircularProgressGauge.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

namespace {

// Where this run keeps its preferences instead of the user's.
QString configDirectory;

Scene sceneNamed(const QString &name)
{
    for (const Scene &scene : Scenes::allScenes()) {
        if (scene.name == name)
            return scene;
    }
    return {};
}

int colourCount(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    }
    return int(colours.size());
}

double meanLightness(const QImage &image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            sum += qGray(image.pixel(x, y));
    }
    return sum / (image.width() * image.height());
}

QList<QWidget *> visibleWindows()
{
    QList<QWidget *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            windows.append(widget);
    }
    return windows;
}

} // namespace

class TestScreenshotScenes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sceneNamesMakeDistinctFileNames();
    void sceneNameRules_data();
    void sceneNameRules();
    void selection_data();
    void selection();
    void vectorsGiveTheShownPercentage_data();
    void vectorsGiveTheShownPercentage();
    void everySceneReachesItsStateAndHoldsStill_data();
    void everySceneReachesItsStateAndHoldsStill();
    void palettesReachThePicture();
    void openMenusArePaintedOverTheirWindow();
    void historyStartsEmptyWithTheSameTimes();
    void preferencesStayOutOfTheUsersOwn();
    void failingScenesLeaveNoFileAndTheRestGoOn();
};

void TestScreenshotScenes::sceneNamesMakeDistinctFileNames()
{
    QSet<QString> shots;
    int count = 0;
    for (const ShotPalette &palette : ShotRunner::palettes()) {
        for (const Scene &scene : Scenes::allScenes()) {
            QVERIFY2(ShotRunner::isValidSceneName(scene.name), qPrintable(scene.name));
            QVERIFY2(!scene.summary.isEmpty(), qPrintable(scene.name));
            QVERIFY(scene.stage);
            shots.insert(ShotRunner::shotName(scene.name, palette.name));
            ++count;
        }
    }
    // A repeated name would overwrite another scene's picture.
    QCOMPARE(shots.size(), count);
}

void TestScreenshotScenes::sceneNameRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::newRow("words") << QStringLiteral("sentiment-result") << true;
    QTest::newRow("one word") << QStringLiteral("about") << true;
    QTest::newRow("digits") << QStringLiteral("history-2") << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("capitals") << QStringLiteral("Sentiment-result") << false;
    QTest::newRow("space") << QStringLiteral("sentiment result") << false;
    QTest::newRow("slash") << QStringLiteral("../sentiment") << false;
    QTest::newRow("double dash") << QStringLiteral("sentiment--result") << false;
    QTest::newRow("trailing dash") << QStringLiteral("sentiment-") << false;
    QTest::newRow("extension") << QStringLiteral("about.png") << false;
}

void TestScreenshotScenes::sceneNameRules()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    QCOMPARE(ShotRunner::isValidSceneName(name), valid);
}

void TestScreenshotScenes::selection_data()
{
    QTest::addColumn<QString>("shot");
    QTest::addColumn<QStringList>("patterns");
    QTest::addColumn<bool>("selected");
    const QString shot = ShotRunner::shotName(QStringLiteral("sentiment-result"), QStringLiteral("dark"));
    QTest::newRow("no pattern takes all") << shot << QStringList() << true;
    QTest::newRow("scene") << shot << QStringList{QStringLiteral("sentiment")} << true;
    QTest::newRow("palette") << shot << QStringList{QStringLiteral("dark")} << true;
    QTest::newRow("other palette") << shot << QStringList{QStringLiteral("light")} << false;
    QTest::newRow("across the dash") << shot << QStringList{QStringLiteral("result-dark")} << true;
    QTest::newRow("any of several") << shot << QStringList{QStringLiteral("about"), QStringLiteral("result")} << true;
    QTest::newRow("none of several") << shot << QStringList{QStringLiteral("about"), QStringLiteral("settings")}
                                     << false;
    QTest::newRow("case matters") << shot << QStringList{QStringLiteral("Sentiment")} << false;
}

void TestScreenshotScenes::selection()
{
    QFETCH(QString, shot);
    QFETCH(QStringList, patterns);
    QFETCH(bool, selected);
    QCOMPARE(shot, QStringLiteral("sentiment-result-dark"));
    QCOMPARE(ShotRunner::isSelected(shot, patterns), selected);
}

void TestScreenshotScenes::vectorsGiveTheShownPercentage_data()
{
    QTest::addColumn<double>("cosine");
    QTest::addColumn<QString>("gaugeText");
    QTest::addColumn<int>("truncated");
    QTest::newRow("0.87") << 0.87 << QStringLiteral("87%") << 87;
    QTest::newRow("0.12") << 0.12 << QStringLiteral("12%") << 12;
    QTest::newRow("0.5") << 0.5 << QStringLiteral("50%") << 50;
    QTest::newRow("0.999") << 0.999 << QStringLiteral("100%") << 99;
    QTest::newRow("1") << 1.0 << QStringLiteral("100%") << 100;
    QTest::newRow("0") << 0.0 << QStringLiteral("0%") << 0;
}

void TestScreenshotScenes::vectorsGiveTheShownPercentage()
{
    QFETCH(double, cosine);
    QFETCH(QString, gaugeText);
    QFETCH(int, truncated);
    // The client reads the server's numbers as 32-bit floats.
    const auto [first, second] = Scenes::vectorsWithCosine(cosine);
    EmbeddingVector a;
    EmbeddingVector b;
    for (double value : first)
        a.append(float(value));
    for (double value : second)
        b.append(float(value));
    const float similarity = cosineSimilarity(a, b);
    QCOMPARE(CircularProgressGauge::percentageText(similarity), gaugeText);
    QCOMPARE(truncatedPercentage(similarity), truncated);
}

void TestScreenshotScenes::everySceneReachesItsStateAndHoldsStill_data()
{
    QTest::addColumn<QString>("name");
    for (const Scene &scene : Scenes::allScenes())
        QTest::newRow(qPrintable(scene.name)) << scene.name;
}

void TestScreenshotScenes::everySceneReachesItsStateAndHoldsStill()
{
    QFETCH(QString, name);
    const Scene scene = sceneNamed(name);
    {
        Studio studio(ShotRunner::lightPalette());
        QWidget *subject = nullptr;
        try {
            subject = scene.stage(studio);
        } catch (const SceneFailure &failure) {
            QFAIL(failure.what());
        }
        QVERIFY(subject);
        QVERIFY(subject->isVisible());
        // Not shrunk to fit the (small) offscreen screen.
        if (qobject_cast<MainWindow *>(subject)) {
            QCOMPARE(subject->width(), Studio::mainWindowSize.width());
            QVERIFY(subject->height() >= Studio::mainWindowSize.height());
        }

        const QImage first = ShotRunner::photograph(subject);
        QCOMPARE(first.size(), subject->size() * subject->devicePixelRatio());
        QVERIFY2(colourCount(first) > 20, "the picture is nearly blank");

        // Spinners and arcs must not move between two pictures of one state.
        QTest::qWait(120);
        const QImage second = ShotRunner::photograph(subject);
        QVERIFY2(first == second, "two pictures of one state differ");
    }
    // Nothing of one scene shows in the next one's picture.
    QTRY_VERIFY(visibleWindows().isEmpty());
}

void TestScreenshotScenes::palettesReachThePicture()
{
    QTemporaryDir out;
    const QList<ShotOutcome> outcomes =
        ShotRunner::run({sceneNamed(QStringLiteral("about"))}, ShotRunner::palettes(), {}, QDir(out.path()));
    QCOMPARE(outcomes.size(), 2);
    QImage light(out.filePath(QStringLiteral("about-light.png")));
    QImage dark(out.filePath(QStringLiteral("about-dark.png")));
    QVERIFY(!light.isNull());
    QVERIFY(!dark.isNull());
    QCOMPARE(light.size(), dark.size());
    // The window's background is the palette's.
    QCOMPARE(QColor(light.pixel(2, 2)), ShotRunner::lightPalette().color(QPalette::Window));
    QCOMPARE(QColor(dark.pixel(2, 2)), ShotRunner::darkPalette().color(QPalette::Window));
    QVERIFY(meanLightness(dark) + 100 < meanLightness(light));
}

void TestScreenshotScenes::openMenusArePaintedOverTheirWindow()
{
    Studio studio(ShotRunner::lightPalette());
    auto *window = new QWidget;
    window->setAutoFillBackground(true);
    auto *other = new QWidget;
    studio.showWindow(window, QSize(300, 200));
    studio.showWindow(other, QSize(300, 200));
    QImage plain = ShotRunner::photograph(window);

    auto *menu = new QMenu(window);
    menu->addAction(QStringLiteral("An example with a long title"));
    menu->popup(window->mapToGlobal(QPoint(40, 30)));
    // A menu of another window stays out of this one's picture.
    auto *foreign = new QMenu(other);
    foreign->addAction(QStringLiteral("Elsewhere"));
    foreign->popup(window->mapToGlobal(QPoint(40, 120)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QVERIFY(QTest::qWaitForWindowExposed(foreign));

    const QImage picture = ShotRunner::photograph(window);
    QCOMPARE(picture.size(), plain.size());
    // The menu stands where it was opened, whole and on top.
    const QImage menuPicture = menu->grab().toImage();
    const QRect menuArea = QRect(QPoint(40, 30), menuPicture.size()).intersected(picture.rect());
    QVERIFY(menuArea.height() < 80);
    QCOMPARE(picture.copy(menuArea), menuPicture.copy(menuArea.translated(-40, -30)));
    QVERIFY(plain.copy(menuArea) != menuPicture.copy(menuArea.translated(-40, -30)));
    // Below the menu the window shows as it was.
    QCOMPARE(picture.copy(0, 110, 300, 90), plain.copy(0, 110, 300, 90));
}

void TestScreenshotScenes::historyStartsEmptyWithTheSameTimes()
{
    QList<QDateTime> times;
    for (int run = 0; run < 2; ++run) {
        Studio studio(ShotRunner::lightPalette());
        SessionHistory &history = studio.app().history();
        QVERIFY(history.isEmpty());
        history.add(HistoryEntry::sentiment(Studio::languageModel, QStringLiteral("Lovely"), 5));
        history.add(HistoryEntry::sentiment(Studio::languageModel, QStringLiteral("Awful"), 1));
        QCOMPARE(history.size(), 2);
        times = {history.entries().at(1).time, history.entries().at(0).time};
    }
    // The same times on every run, in the order the entries were made.
    QCOMPARE(times.at(0), Studio::historyStart);
    QVERIFY(times.at(0) < times.at(1));
}

void TestScreenshotScenes::preferencesStayOutOfTheUsersOwn()
{
    const Scene saved = sceneNamed(QStringLiteral("settings-general-saved"));
    QVERIFY(saved.stage);
    {
        Studio studio(ShotRunner::lightPalette());
        saved.stage(studio);
        QCOMPARE(studio.settings().ollamaURL(), QStringLiteral("http://192.168.1.20:11434"));
    }
    // Whatever reads the default preferences reads those of this run's own
    // directory, where the scene wrote nothing.
    QSettings defaults;
    QVERIFY2(defaults.fileName().startsWith(configDirectory), qPrintable(defaults.fileName()));
    QVERIFY(!defaults.contains(AppSettings::ollamaURLKey));
}

void TestScreenshotScenes::failingScenesLeaveNoFileAndTheRestGoOn()
{
    const QList<Scene> scenes = {
        {QStringLiteral("never-ready"), QStringLiteral("waits for a state that never comes"),
         [](Studio &studio) {
             studio.waitUntil(QStringLiteral("the impossible"), [] { return false; });
             return static_cast<QWidget *>(nullptr);
         }},
        {QStringLiteral("missing-child"), QStringLiteral("looks for a child that is not there"),
         [](Studio &studio) {
             QWidget *window = studio.openAbout();
             studio.child<QPushButton>(window, QStringLiteral("noSuchButton"));
             return window;
         }},
        {QStringLiteral("nothing"), QStringLiteral("gives nothing to photograph"),
         [](Studio &) { return static_cast<QWidget *>(nullptr); }},
        {QStringLiteral("label"), QStringLiteral("a window of its own"),
         [](Studio &studio) {
             auto *window = new QWidget;
             (new QVBoxLayout(window))->addWidget(new QLabel(QStringLiteral("Hello")));
             return studio.showWindow(window, QSize(200, 80));
         }},
    };
    QTemporaryDir out;
    QStringList reported;
    const QList<ShotOutcome> outcomes =
        ShotRunner::run(scenes, {{QStringLiteral("light"), ShotRunner::lightPalette()}}, {}, QDir(out.path()),
                        [&reported](const ShotOutcome &outcome) { reported.append(outcome.shot); },
                        std::chrono::milliseconds(200));

    QCOMPARE(reported, (QStringList{QStringLiteral("never-ready-light"), QStringLiteral("missing-child-light"),
                                    QStringLiteral("nothing-light"), QStringLiteral("label-light")}));
    QCOMPARE(outcomes.size(), 4);
    QVERIFY(outcomes[0].failure && outcomes[0].failure->contains(QStringLiteral("the impossible")));
    QVERIFY(outcomes[1].failure && outcomes[1].failure->contains(QStringLiteral("noSuchButton")));
    QVERIFY(outcomes[2].failure);
    QVERIFY(!outcomes[3].failure);
    for (int i = 0; i < 3; ++i)
        QVERIFY(outcomes[i].file.isEmpty());
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{QStringLiteral("label-light.png")});
    QCOMPARE(QImage(outcomes[3].file).size(), QSize(200, 80));
    QTRY_VERIFY(visibleWindows().isEmpty());
}

int main(int argc, char *argv[])
{
    QTemporaryDir configDir;
    configDirectory = configDir.path();
    ShotRunner::prepareProcess(configDir.path());
    QApplication app(argc, argv);
    ShotRunner::prepareApplication();
    TestScreenshotScenes test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screenshotscenes.moc"
