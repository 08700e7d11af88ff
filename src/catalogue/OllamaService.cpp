#include "OllamaService.h"

#include "AppSettings.h"
#include "Diagnostics.h"
#include "HttpClient.h"
#include "ServerEndpoint.h"

#include <QCoreApplication>
#include <memory>

OllamaService::OllamaService(AppSettings &settings, HttpClient &http, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_http(http)
{
}

OllamaService::OllamaService(AppSettings &settings, QObject *parent)
    : OllamaService(settings, HttpClient::shared(), parent)
{
}

OllamaService::~OllamaService() = default;

void OllamaService::setAvailableModels(const QList<OllamaModel> &models)
{
    Q_EMIT willChange();
    m_availableModels = models;
    Q_EMIT availableModelsChanged();
}

void OllamaService::setLoadingModels(bool loading)
{
    Q_EMIT willChange();
    m_isLoadingModels = loading;
    Q_EMIT isLoadingModelsChanged();
}

void OllamaService::setModelError(const std::optional<QString> &error)
{
    Q_EMIT willChange();
    m_modelError = error;
    Q_EMIT modelErrorChanged();
}

void OllamaService::fetchModels()
{
    // Counted from the first notification to the last, so that a release
    // during any of them waits for the fetch.
    ++m_runningFetches;
    setLoadingModels(true);

    const auto url = ServerEndpoint::endpointURL(m_settings.ollamaURL(), ServerEndpoint::tagsPath);
    if (!url) {
        setModelError(tr("Invalid URL"));
        setLoadingModels(false);
        fetchEnded();
        return;
    }

    m_http.get(*url, this, [this](const Result<QByteArray> &reply) {
        if (!reply) {
            setModelError(tr("Failed to fetch models: %1").arg(reply.error().description));
            setLoadingModels(false);
            fetchEnded();
            return;
        }
        const auto list = ModelRecords::readModelsResponse(reply.value());
        if (!list) {
            setModelError(tr("Failed to fetch models: %1").arg(list.error().description));
            setLoadingModels(false);
            fetchEnded();
            return;
        }
        fetchAllCapabilities(list.value().models);
    });
}

void OllamaService::fetchEnded()
{
    --m_runningFetches;
    // Called from inside a reply's delivery, so the deletion waits for the
    // event loop.
    if (m_isReleased && m_runningFetches == 0)
        deleteLater();
}

void OllamaService::releaseWhenIdle()
{
    // Held by the application object meanwhile, so that a fetch that never
    // ends (the application quits first) does not leave the service behind.
    setParent(QCoreApplication::instance());
    m_isReleased = true;
    if (m_runningFetches == 0)
        delete this;
}

void OllamaService::fetchAllCapabilities(const QList<OllamaModel> &models)
{
    // One fetch's progress; shared by its capability requests so that
    // overlapping fetches never mix their results.
    struct Collection
    {
        QList<OllamaModel> finished;
        qsizetype expected = 0;
    };
    auto collection = std::make_shared<Collection>();
    collection->expected = models.size();
    collection->finished.reserve(models.size());

    auto publish = [this, collection] {
        setAvailableModels(collection->finished);
        setModelError(std::nullopt);
        setLoadingModels(false);
        fetchEnded();
    };

    if (models.isEmpty()) {
        publish();
        return;
    }

    // All requests are started before any result arrives; results are kept
    // in the order in which they complete.
    for (const OllamaModel &model : models) {
        fetchCapabilities(model.name, [collection, model, publish](const std::optional<ModelCapabilities> &caps) {
            collection->finished.append(caps ? model.withCapabilities(*caps) : model);
            if (collection->finished.size() == collection->expected)
                publish();
        });
    }
}

void OllamaService::fetchCapabilities(const QString &name, CapabilitiesCallback callback)
{
    const auto url = ServerEndpoint::endpointURL(m_settings.ollamaURL(), ServerEndpoint::showPath);
    if (!url) {
        // Delivered from the event loop like every other outcome, so callers
        // never see their callback run inside the call.
        QMetaObject::invokeMethod(this, [callback] { callback(std::nullopt); }, Qt::QueuedConnection);
        return;
    }

    const QByteArray body = ModelRecords::writeShowRequest(OllamaShowRequest{name});
    m_http.postJSON(*url, body, this, [name, callback](const Result<QByteArray> &reply) {
        auto failed = [&](const QString &description) {
            Diagnostics::writeLine(QStringLiteral("Failed to fetch capabilities for %1: %2")
                                       .arg(Diagnostics::escapeControlCharacters(name), description));
            callback(std::nullopt);
        };
        if (!reply) {
            failed(reply.error().description);
            return;
        }
        const auto show = ModelRecords::readShowResponse(reply.value());
        if (!show) {
            failed(show.error().description);
            return;
        }
        callback(parseCapabilities(show.value()));
    });
}

namespace {

// A capability name in double quotes with the usual backslash escapes.
QString quoted(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"': out.append(QLatin1String("\\\"")); break;
        case u'\\': out.append(QLatin1String("\\\\")); break;
        default: out.append(c);
        }
    }
    out.append(QLatin1Char('"'));
    // Control characters become escapes too, so a server cannot write its own
    // lines or terminal sequences to standard output.
    return Diagnostics::escapeControlCharacters(out);
}

} // namespace

ModelCapabilities OllamaService::parseCapabilities(const OllamaShowResponse &response)
{
    if (!response.capabilities) {
        Diagnostics::writeLine(QStringLiteral("\u26A0\uFE0F No capabilities array found in response"));
        return {};
    }
    const QStringList &list = *response.capabilities;

    QStringList rendered;
    rendered.reserve(list.size());
    for (const QString &name : list)
        rendered.append(quoted(name));
    Diagnostics::writeLine(QStringLiteral("Capabilities from API: [") + rendered.join(QStringLiteral(", "))
                           + QLatin1Char(']'));

    const bool vision = list.contains(QStringLiteral("vision"));
    const bool tools = list.contains(QStringLiteral("tools"));
    const bool thinking = list.contains(QStringLiteral("thinking"));
    const bool embedding = list.contains(QStringLiteral("embedding"));

    ModelCapabilities capabilities;
    capabilities.supportsVision = vision;
    // Models that report both have known problems with tool calling.
    capabilities.supportsTools = tools && !vision;
    capabilities.supportsThinking = thinking;
    capabilities.supportsEmbedding = embedding;

    if (vision && tools) {
        Diagnostics::writeLine(QStringLiteral("\u26A0\uFE0F Model supports both vision and tools - disabling tools support"));
        Diagnostics::writeLine(QStringLiteral("   (Models with both capabilities have known issues with tool calling)"));
    }
    if (!vision && !tools && !thinking && !embedding)
        Diagnostics::writeLine(QStringLiteral("\u2139\uFE0F No special capabilities detected"));
    return capabilities;
}
