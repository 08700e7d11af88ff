#include "SystemSettings.h"

#include "AppSettings.h"
#include "Diagnostics.h"
#include "TextTrimming.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString relativePath = QStringLiteral("Quillmere/Quillmere.conf");

// A model name that is blank is no setting at all.
std::optional<QString> modelName(const QSettings &file, const QString &key)
{
    const std::optional<QString> text = AppSettings::readText(file, key);
    if (!text || TextTrimming::trimmedWhitespace(*text).isEmpty())
        return std::nullopt;
    return TextTrimming::trimmedWhitespace(*text);
}

// "true", "1", "yes" and "on" in any case lock; anything else does not, so a
// misspelt value leaves users free rather than locking them out.
bool isSet(const QSettings &file, const QString &key)
{
    const QString value = file.value(key).toString().trimmed().toLower();
    return value == QLatin1String("true") || value == QLatin1String("1") || value == QLatin1String("yes")
           || value == QLatin1String("on");
}

} // namespace

QStringList SystemSettings::searchDirectories()
{
    // The generic configuration locations are the user's own directory
    // followed by XDG_CONFIG_DIRS; only the latter belong to the system.
    QStringList directories = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    directories.removeAll(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    return directories;
}

SystemSettings SystemSettings::load()
{
    for (const QString &directory : searchDirectories()) {
        const QString candidate = QDir(directory).filePath(relativePath);
        if (QFileInfo(candidate).isFile())
            return read(candidate);
    }
    return {};
}

SystemSettings SystemSettings::read(const QString &path)
{
    const QSettings file(path, QSettings::IniFormat);
    SystemSettings settings;
    settings.path = path;
    if (const std::optional<QString> url = AppSettings::readText(file, AppSettings::ollamaURLKey))
        settings.ollamaURL = TextTrimming::trimmedWhitespace(*url);
    settings.selectedEmbeddingModel = modelName(file, AppSettings::selectedEmbeddingModelKey);
    settings.selectedLLMModel = modelName(file, AppSettings::selectedLLMModelKey);
    settings.lockServer = isSet(file, lockServerKey);
    settings.lockModels = isSet(file, lockModelsKey);
    return settings;
}

QString SystemSettings::describe() const
{
    QString text;
    auto line = [&text](const QString &key, const QString &value) {
        text += key + QLatin1Char('=') + Diagnostics::escapeControlCharacters(value) + QLatin1Char('\n');
    };
    if (path.isEmpty()) {
        QStringList looked;
        for (const QString &directory : searchDirectories())
            looked << QDir(directory).filePath(relativePath);
        line(QStringLiteral("file"), QString());
        line(QStringLiteral("searched"), looked.join(QLatin1Char(':')));
    } else {
        line(QStringLiteral("file"), path);
    }
    if (ollamaURL)
        line(AppSettings::ollamaURLKey, *ollamaURL);
    if (selectedEmbeddingModel)
        line(AppSettings::selectedEmbeddingModelKey, *selectedEmbeddingModel);
    if (selectedLLMModel)
        line(AppSettings::selectedLLMModelKey, *selectedLLMModel);
    line(lockServerKey, lockServer ? QStringLiteral("true") : QStringLiteral("false"));
    line(lockModelsKey, lockModels ? QStringLiteral("true") : QStringLiteral("false"));
    return text;
}
