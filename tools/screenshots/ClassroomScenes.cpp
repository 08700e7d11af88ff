// The classroom views: a main window zoomed for a projector, and the guide.

#include "Scenes.h"
#include "Studio.h"

#include "app/MainWindow.h"
#include "app/QuillmereApp.h"
#include "catalogue/AppSettings.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "guide/GuideWindow.h"
#include "widgets/TextStyles.h"

#include <QAbstractButton>
#include <QAction>

namespace Scenes {

QList<Scene> classroomScenes()
{
    return {
        {QStringLiteral("zoom-200"),
         QStringLiteral("Sentiment Analysis at 200 % zoom with a result, filling a 1920 x 1080 screen"),
         [](Studio &studio) {
             studio.settings().setSelectedLLMModel(Studio::languageModel);
             studio.server().setGenerateResponse("4");
             MainWindow *window = studio.openMainWindow(DemoType::sentimentAnalysis, QSize(1920, 1080));
             while (TextStyles::zoomPercent() < 200)
                 studio.app().zoomInAction()->trigger();
             auto *screen = studio.child<SentimentAnalysisView>(window, QStringLiteral("sentimentAnalysisView"));
             Studio::type(studio.child<QWidget>(screen, QStringLiteral("inputEditor")),
                          QStringLiteral("The food was not bad at all."));
             studio.child<QAbstractButton>(screen, QStringLiteral("analyzeButton"))->click();
             studio.waitUntil(QStringLiteral("the rating"), [screen] { return screen->sentimentScore() == 4; });
             Studio::settle();
             return static_cast<QWidget *>(window);
         }},
        {QStringLiteral("german-sentiment"),
         QStringLiteral("Sentiment Analysis in German, with a result and its details open"),
         [](Studio &studio) {
             studio.settings().setLanguage(QStringLiteral("de"));
             studio.settings().setSelectedLLMModel(Studio::languageModel);
             studio.server().setGenerateResponse("4");
             MainWindow *window = studio.openMainWindow(DemoType::sentimentAnalysis, QSize(900, 1000));
             auto *screen = studio.child<SentimentAnalysisView>(window, QStringLiteral("sentimentAnalysisView"));
             Studio::type(studio.child<QWidget>(screen, QStringLiteral("inputEditor")),
                          QStringLiteral("The food was not bad at all."));
             studio.child<QAbstractButton>(screen, QStringLiteral("analyzeButton"))->click();
             studio.waitUntil(QStringLiteral("the rating"), [screen] { return screen->sentimentScore() == 4; });
             screen->setShowingDetails(true);
             Studio::settle();
             return static_cast<QWidget *>(window);
         }},
        {QStringLiteral("german-settings"), QStringLiteral("The Settings window's General tab in German"),
         [](Studio &studio) {
             studio.settings().setLanguage(QStringLiteral("de"));
             QWidget *settings = studio.openSettings(0);
             Studio::settle();
             return settings->window();
         }},
        {QStringLiteral("guide"), QStringLiteral("The Quillmere Guide at its contents"),
         [](Studio &studio) {
             GuideWindow *guide = studio.app().openGuide();
             guide->resize(720, 860);
             Studio::settle();
             return static_cast<QWidget *>(guide);
         }},
    };
}

} // namespace Scenes
