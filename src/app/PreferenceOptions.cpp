#include "PreferenceOptions.h"

#include "catalogue/AppSettings.h"
#include "catalogue/Diagnostics.h"
#include "catalogue/ServerEndpoint.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

const QString serverOption = QStringLiteral("set-server");
const QString embeddingOption = QStringLiteral("set-embedding-model");
const QString languageOption = QStringLiteral("set-language-model");
const QString showOption = QStringLiteral("show-settings");
const QString systemOption = QStringLiteral("print-system-settings");

} // namespace

namespace PreferenceOptions {

void addTo(QCommandLineParser &parser)
{
    parser.addOption({serverOption,
                      QCoreApplication::translate("PreferenceOptions",
                                                  "Store <url> as the Ollama server's address (http:// or https://), and exit."),
                      QCoreApplication::translate("PreferenceOptions", "url")});
    parser.addOption({embeddingOption,
                      QCoreApplication::translate("PreferenceOptions",
                                                  "Store <name> as the embedding model of the similarity demo, and exit."),
                      QCoreApplication::translate("PreferenceOptions", "name")});
    parser.addOption({languageOption,
                      QCoreApplication::translate("PreferenceOptions",
                                                  "Store <name> as the language model of the sentiment demo, and exit."),
                      QCoreApplication::translate("PreferenceOptions", "name")});
    parser.addOption({showOption,
                      QCoreApplication::translate("PreferenceOptions",
                                                  "Print the stored server address and model names (key=value lines), and "
                                                  "exit. With --set-* options, after storing them.")});
    parser.addOption({systemOption,
                      QCoreApplication::translate("PreferenceOptions",
                                                  "Print what the system-wide settings file sets and locks (key=value lines), "
                                                  "and exit.")});
}

bool isOptionArgument(const QString &argument)
{
    for (const QString &name : {serverOption, embeddingOption, languageOption, showOption, systemOption}) {
        const QString option = QStringLiteral("--") + name;
        if (argument == option || argument.startsWith(option + QLatin1Char('=')))
            return true;
    }
    return false;
}

std::optional<Outcome> run(const QCommandLineParser &parser, const std::function<AppSettings &()> &settings,
                           const SystemSettings &system)
{
    const bool setsServer = parser.isSet(serverOption);
    const bool setsEmbedding = parser.isSet(embeddingOption);
    const bool setsLanguage = parser.isSet(languageOption);
    const bool shows = parser.isSet(showOption);
    const bool printsSystem = parser.isSet(systemOption);
    if (!setsServer && !setsEmbedding && !setsLanguage && !shows && !printsSystem)
        return std::nullopt;

    // Everything is checked before anything is stored.
    Outcome outcome;
    if (printsSystem)
        outcome.output += system.describe();
    const QString lockedBy = QCoreApplication::translate("PreferenceOptions",
                                                         "quillmere: --%1: set by your school's administrator in %2\n");
    std::optional<QString> url;
    if (setsServer && system.lockServer) {
        outcome.errors += lockedBy.arg(serverOption, system.path);
    } else if (setsServer) {
        const ServerEndpoint::URLCheck validation = ServerEndpoint::checkServerURL(parser.value(serverOption));
        if (validation.error)
            outcome.errors += QCoreApplication::translate("PreferenceOptions",
                                                          "quillmere: --%1: %2\n").arg(serverOption, *validation.error);
        url = validation.url;
    }
    auto modelName = [&](const QString &option) -> std::optional<QString> {
        const QString name = parser.value(option).trimmed();
        const bool locked = system.lockModels
                            && (option == embeddingOption ? system.selectedEmbeddingModel : system.selectedLLMModel);
        if (locked)
            outcome.errors += lockedBy.arg(option, system.path);
        else if (name.isEmpty())
            outcome.errors += QCoreApplication::translate("PreferenceOptions",
                                                          "quillmere: --%1: the model name is empty\n").arg(option);
        return name;
    };
    const std::optional<QString> embedding = setsEmbedding ? modelName(embeddingOption) : std::nullopt;
    const std::optional<QString> language = setsLanguage ? modelName(languageOption) : std::nullopt;
    if (!outcome.errors.isEmpty()) {
        outcome.errors += QCoreApplication::translate("PreferenceOptions", "quillmere: nothing was stored\n");
        outcome.exitCode = 1;
        return outcome;
    }

    if (!setsServer && !setsEmbedding && !setsLanguage && !shows)
        return outcome;
    AppSettings &store = settings();
    if (url)
        store.setOllamaURL(*url);
    if (embedding)
        store.setSelectedEmbeddingModel(embedding);
    if (language)
        store.setSelectedLLMModel(language);
    // A preferences file that cannot be written (a read-only folder, a file
    // where the folder should be) must not pass for a stored value.
    const bool stores = url || embedding || language;
    if (const std::optional<QString> failure = stores ? store.writeToDisk() : std::nullopt) {
        outcome.errors += QCoreApplication::translate("PreferenceOptions",
                                                      "quillmere: the preferences could not be saved: %1\n").arg(*failure);
        outcome.exitCode = 1;
        return outcome;
    }

    if (shows) {
        auto line = [&](const QString &key, const std::optional<QString> &value) {
            if (value)
                outcome.output += key + QLatin1Char('=') + Diagnostics::escapeControlCharacters(*value)
                                  + QLatin1Char('\n');
        };
        line(AppSettings::ollamaURLKey, store.ollamaURL());
        line(AppSettings::selectedEmbeddingModelKey, store.selectedEmbeddingModel());
        line(AppSettings::selectedLLMModelKey, store.selectedLLMModel());
    }
    return outcome;
}

} // namespace PreferenceOptions
