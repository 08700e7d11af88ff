#include "AppSettings.h"

#include <QCoreApplication>
#include <QLocale>
#include <QMetaType>
#include <QMutexLocker>
#include <QSettings>
#include <QVariant>

AppSettings &AppSettings::shared()
{
    // Function-local statics are initialised exactly once, even when the first
    // calls race on several threads.
    static AppSettings &instance = [] () -> AppSettings & {
        static QSettings store(QStringLiteral("Quillmere"), QStringLiteral("Quillmere"));
        static AppSettings settings(&store, SystemSettings::load());
        // The first use may come from a worker thread that ends soon after.
        // Both objects belong to the main thread instead: QSettings saves its
        // changes through events to itself, which a finished thread would
        // never deliver, and receivers that use the settings as their context
        // expect main-thread delivery.
        if (const QCoreApplication *app = QCoreApplication::instance()) {
            store.moveToThread(app->thread());
            settings.moveToThread(app->thread());
        }
        return settings;
    }();
    return instance;
}

AppSettings::AppSettings(QSettings *store, QObject *parent)
    : AppSettings(store, SystemSettings(), parent)
{
}

AppSettings::AppSettings(QSettings *store, const SystemSettings &system, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_system(system)
{
    // The URL is taken as stored (even empty or malformed) and the default is
    // not written back: it reaches the store only when someone assigns it.
    // A locked server ignores what the user stored, but leaves it stored.
    m_ollamaURL = m_system.lockServer ? defaultURL() : readText(*m_store, ollamaURLKey).value_or(defaultURL());

    // A stored selection goes through the ordinary assignment path, so it is
    // written back; a missing one takes the system's default without storing
    // it, or else removes its key.
    auto select = [this](const QString &key, const std::optional<QString> &systemValue, bool locked,
                         std::optional<QString> &field, void (AppSettings::*assign)(const std::optional<QString> &)) {
        const std::optional<QString> stored = readText(*m_store, key);
        if (locked || (!stored && systemValue))
            field = systemValue;
        else
            (this->*assign)(stored);
    };
    select(selectedEmbeddingModelKey, m_system.selectedEmbeddingModel, isEmbeddingModelLocked(),
           m_selectedEmbeddingModel, &AppSettings::setSelectedEmbeddingModel);
    select(selectedLLMModelKey, m_system.selectedLLMModel, isLLMModelLocked(), m_selectedLLMModel,
           &AppSettings::setSelectedLLMModel);

    bool ok = false;
    const int zoom = m_store->value(zoomPercentKey).toInt(&ok);
    if (ok && zoom > 0)
        m_zoomPercent = zoom;
    m_language = readText(*m_store, languageKey).value_or(QString());
}

AppSettings::~AppSettings() = default;

std::optional<QString> AppSettings::writeToDisk()
{
    m_store->sync();
    switch (m_store->status()) {
    case QSettings::NoError: return std::nullopt;
    case QSettings::AccessError:
        return QStringLiteral("%1 cannot be written").arg(m_store->fileName());
    case QSettings::FormatError:
        return QStringLiteral("%1 is not a preferences file").arg(m_store->fileName());
    }
    return QStringLiteral("%1 cannot be written").arg(m_store->fileName());
}

std::optional<QString> AppSettings::readText(const QSettings &store, const QString &key)
{
    const QVariant value = store.value(key);
    if (!value.isValid())
        return std::nullopt;
    switch (value.metaType().id()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toString();
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    default:
        return std::nullopt;
    }
}

QString AppSettings::ollamaURL() const
{
    QMutexLocker lock(&m_mutex);
    return m_ollamaURL;
}

void AppSettings::setOllamaURL(const QString &url)
{
    if (isServerLocked())
        return;
    Q_EMIT willChange();
    {
        QMutexLocker lock(&m_mutex);
        m_ollamaURL = url;
    }
    m_store->setValue(ollamaURLKey, url);
    Q_EMIT ollamaURLChanged(url);
}

std::optional<QString> AppSettings::selectedEmbeddingModel() const
{
    QMutexLocker lock(&m_mutex);
    return m_selectedEmbeddingModel;
}

void AppSettings::setSelectedEmbeddingModel(const std::optional<QString> &name)
{
    if (isEmbeddingModelLocked())
        return;
    Q_EMIT willChange();
    {
        QMutexLocker lock(&m_mutex);
        m_selectedEmbeddingModel = name;
    }
    storeOptional(selectedEmbeddingModelKey, name);
    Q_EMIT selectedEmbeddingModelChanged();
}

std::optional<QString> AppSettings::selectedLLMModel() const
{
    QMutexLocker lock(&m_mutex);
    return m_selectedLLMModel;
}

void AppSettings::setSelectedLLMModel(const std::optional<QString> &name)
{
    if (isLLMModelLocked())
        return;
    Q_EMIT willChange();
    {
        QMutexLocker lock(&m_mutex);
        m_selectedLLMModel = name;
    }
    storeOptional(selectedLLMModelKey, name);
    Q_EMIT selectedLLMModelChanged();
}

bool AppSettings::isConfigured() const
{
    QMutexLocker lock(&m_mutex);
    return m_selectedLLMModel.has_value() && m_selectedEmbeddingModel.has_value();
}

QString AppSettings::defaultURL() const
{
    return m_system.ollamaURL.value_or(defaultOllamaURL);
}

bool AppSettings::isEmbeddingModelLocked() const
{
    return m_system.lockModels && m_system.selectedEmbeddingModel.has_value();
}

bool AppSettings::isLLMModelLocked() const
{
    return m_system.lockModels && m_system.selectedLLMModel.has_value();
}

int AppSettings::zoomPercent() const
{
    QMutexLocker lock(&m_mutex);
    return m_zoomPercent;
}

void AppSettings::setZoomPercent(int percent)
{
    Q_EMIT willChange();
    {
        QMutexLocker lock(&m_mutex);
        m_zoomPercent = percent;
    }
    m_store->setValue(zoomPercentKey, percent);
    Q_EMIT zoomPercentChanged(percent);
}

QString AppSettings::language() const
{
    QMutexLocker lock(&m_mutex);
    return m_language;
}

void AppSettings::setLanguage(const QString &code)
{
    Q_EMIT willChange();
    {
        QMutexLocker lock(&m_mutex);
        m_language = code;
    }
    // "System default" removes the key, so that the desktop's language rules.
    if (code.isEmpty())
        m_store->remove(languageKey);
    else
        m_store->setValue(languageKey, code);
    Q_EMIT languageChanged(code);
}

void AppSettings::storeOptional(const QString &key, const std::optional<QString> &value)
{
    if (value)
        m_store->setValue(key, *value);
    else
        m_store->remove(key);
}
