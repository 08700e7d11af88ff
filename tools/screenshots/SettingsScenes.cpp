// The Settings window: the server URL on the General tab, and the model
// pickers on the Model tab while the list loads, once it has loaded, and
// when the server cannot be reached.

#include "Scenes.h"
#include "Studio.h"

#include "catalogue/AppSettings.h"
#include "catalogue/OllamaService.h"
#include "catalogue/ServerEndpoint.h"
#include "settings/ModelDetailView.h"
#include "settings/ModelSettingsView.h"
#include "settings/OllamaSettingsView.h"
#include "settings/SettingsView.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

namespace {

bool shows(QWidget *tab, const char *name)
{
    QWidget *child = tab->findChild<QWidget *>(QString::fromLatin1(name));
    return child && child->isVisibleTo(tab);
}

// The General tab with the stored URL in its field. The default URL is
// stored, so that no random port of the fake server shows.
OllamaSettingsView *openGeneral(Studio &studio)
{
    studio.settings().setOllamaURL(AppSettings::defaultOllamaURL);
    OllamaSettingsView *tab = studio.openSettings(0)->generalTab();
    auto *field = studio.child<QLineEdit>(tab, QStringLiteral("urlField"));
    studio.waitUntil(QStringLiteral("the stored URL in the field"),
                     [field] { return field->text() == AppSettings::defaultOllamaURL; });
    return tab;
}

// Replaces the field's text as a user would, then presses "Save".
void saveURL(Studio &studio, OllamaSettingsView *tab, const QString &url)
{
    auto *field = studio.child<QLineEdit>(tab, QStringLiteral("urlField"));
    field->setFocus();
    field->selectAll();
    Studio::type(field, url);
    studio.child<QPushButton>(tab, QStringLiteral("saveButton"))->click();
}

ModelSettingsView *openModels(Studio &studio)
{
    return studio.openSettings(1)->modelTab();
}

bool hasLoaded(ModelSettingsView *tab)
{
    const OllamaService &service = tab->ollamaService();
    return !service.isLoadingModels();
}

int shownDetailPanels(ModelSettingsView *tab)
{
    int shown = 0;
    for (ModelDetailView *detail : tab->findChildren<ModelDetailView *>())
        shown += detail->isVisibleTo(tab) ? 1 : 0;
    return shown;
}

// The Model tab with the list loaded, both models chosen and stored, and a
// detail panel under each picker.
ModelSettingsView *openChosenModels(Studio &studio)
{
    studio.settings().setSelectedEmbeddingModel(Studio::embeddingModel);
    studio.settings().setSelectedLLMModel(Studio::thinkingModel);
    ModelSettingsView *tab = openModels(studio);
    studio.waitUntil(QStringLiteral("the model list with two detail panels"), [tab] {
        return hasLoaded(tab) && !tab->ollamaService().availableModels().isEmpty() && shownDetailPanels(tab) == 2;
    });
    return tab;
}

} // namespace

namespace Scenes {

QList<Scene> settingsScenes()
{
    return {
        {QStringLiteral("settings-general"), QStringLiteral("Settings, General: the default server URL"),
         [](Studio &studio) { return openGeneral(studio)->window(); }},

        {QStringLiteral("settings-general-14pt"),
         QStringLiteral("Settings, General: the default server URL with a 14 pt system font"),
         [](Studio &studio) {
             const QFont systemFont = QApplication::font();
             QFont large = systemFont;
             large.setPointSize(14);
             QApplication::setFont(large);
             studio.atTeardown([systemFont] { QApplication::setFont(systemFont); });
             return openGeneral(studio)->window();
         }},

        {QStringLiteral("settings-general-error"),
         QStringLiteral("Settings, General: a URL without a scheme refused on Save"),
         [](Studio &studio) {
             OllamaSettingsView *tab = openGeneral(studio);
             saveURL(studio, tab, QStringLiteral("localhost:11434"));
             studio.waitUntil(QStringLiteral("the error row"), [tab] {
                 return tab->errorMessage() == ServerEndpoint::missingSchemeError && shows(tab, "errorRow");
             });
             return tab->window();
         }},

        {QStringLiteral("settings-general-saved"),
         QStringLiteral("Settings, General: another server saved, the confirmation and \"Reset\""),
         [](Studio &studio) {
             OllamaSettingsView *tab = openGeneral(studio);
             // The confirmation stays up for the picture instead of hiding
             // itself a few seconds later.
             tab->setScheduler([](std::chrono::milliseconds, QObject *, std::function<void()>) {});
             saveURL(studio, tab, QStringLiteral("http://192.168.1.20:11434"));
             studio.waitUntil(QStringLiteral("the confirmation and the Reset button"), [tab] {
                 return tab->isShowingSaveConfirmation() && shows(tab, "confirmationRow") && shows(tab, "resetButton");
             });
             return tab->window();
         }},

        {QStringLiteral("settings-model"),
         QStringLiteral("Settings, Model: models loaded, both chosen, their detail panels"),
         [](Studio &studio) {
             return openChosenModels(studio)->window();
         }},

        {QStringLiteral("settings-model-form"),
         QStringLiteral("Settings, Model: the whole form of \"settings-model\", below the fold included"),
         [](Studio &studio) {
             // The form inside the tab's scroll area, at its full height.
             return studio.child<QWidget>(openChosenModels(studio), QStringLiteral("form"));
         }},

        {QStringLiteral("settings-model-loading"),
         QStringLiteral("Settings, Model: the model list on its way, empty pickers"),
         [](Studio &studio) {
             studio.server().setRoute("GET", "/api/tags", studio.heldReply());
             ModelSettingsView *tab = openModels(studio);
             studio.waitUntil(QStringLiteral("\"Loading models...\" with the request on the server"), [&] {
                 return tab->ollamaService().isLoadingModels() && !studio.server().requests("/api/tags").empty();
             });
             return tab->window();
         }},

        {QStringLiteral("settings-model-error"),
         QStringLiteral("Settings, Model: the server is not running, the error and empty pickers"),
         [](Studio &studio) {
             studio.settings().setOllamaURL(Studio::closedPortURL());
             ModelSettingsView *tab = openModels(studio);
             studio.waitUntil(QStringLiteral("the fetch error"), [tab] {
                 return hasLoaded(tab) && tab->ollamaService().modelError().has_value() && shows(tab, "errorRow");
             });
             return tab->window();
         }},
    };
}

} // namespace Scenes
