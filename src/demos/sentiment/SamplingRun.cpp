#include "SamplingRun.h"

#include "SentimentClient.h"
#include "SentimentScore.h"
#include "catalogue/AppSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/ModelRecords.h"
#include "catalogue/ServerEndpoint.h"

#include <QMetaObject>

#include <nlohmann/json.hpp>

#include <algorithm>

SamplingRun::SamplingRun(AppSettings &settings, HttpClient &http, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_http(http)
{
}

QByteArray SamplingRun::requestBody(const QString &text, const QString &model, const SamplingSettings &requested,
                                    quint32 seed)
{
    const SamplingSettings sampling = SamplingMath::clamped(requested);
    nlohmann::json options = {
        {"temperature", sampling.temperature},
        {"top_p", sampling.topP},
        {"num_predict", 8},
        {"seed", seed},
    };
    if (sampling.topK)
        options["top_k"] = *sampling.topK;
    const nlohmann::json body = {
        {"model", model.toStdString()},
        {"prompt", SentimentScore::sentimentPrompt(text).toStdString()},
        {"stream", false},
        {"think", false},
        {"options", options},
    };
    return QByteArray::fromStdString(body.dump());
}

void SamplingRun::start(const QString &text, const QString &model, const SamplingSettings &sampling, int total,
                        quint32 firstSeed)
{
    ++m_generation;
    m_text = text;
    m_model = model;
    m_sampling = SamplingMath::clamped(sampling);
    m_total = std::max(total, 0);
    m_answered = 0;
    m_firstSeed = firstSeed;
    m_counts = {};
    m_error.clear();
    m_running = true;
    Q_EMIT progressed();
    sendNext();
}

void SamplingRun::stop()
{
    if (!m_running)
        return;
    ++m_generation;
    end();
}

void SamplingRun::end()
{
    m_running = false;
    Q_EMIT finished();
}

void SamplingRun::sendNext()
{
    if (m_answered >= m_total) {
        end();
        return;
    }
    const auto url = ServerEndpoint::endpointURL(m_settings.ollamaURL(), ServerEndpoint::generatePath);
    const quint64 generation = m_generation;
    const auto done = [this, generation](const Result<QByteArray> &reply) {
        if (generation != m_generation)
            return;
        if (!reply) {
            m_error = tr("Error: %1").arg(reply.error().description);
            end();
            return;
        }
        const Result<SentimentReading> reading = SentimentClient::readGenerateReplyDetails(reply.value());
        if (!reading) {
            m_error = tr("Error: %1").arg(reading.error().description);
            end();
            return;
        }
        ++m_counts[size_t(reading.value().usedFallback ? noNumber : reading.value().score - 1)];
        ++m_answered;
        Q_EMIT progressed();
        sendNext();
    };
    if (!url) {
        // Fails from the event loop, like every other outcome.
        QMetaObject::invokeMethod(this, [done] { done(ClientError::invalidURL()); }, Qt::QueuedConnection);
        return;
    }
    m_http.postJSON(*url, requestBody(m_text, m_model, m_sampling, m_firstSeed + quint32(m_answered)), this, done);
}

void fetchModelParameters(const QString &model, QObject *context,
                          std::function<void(const std::optional<QString> &)> callback, AppSettings &settings,
                          HttpClient &http)
{
    const auto url = ServerEndpoint::endpointURL(settings.ollamaURL(), ServerEndpoint::showPath);
    if (!url) {
        QMetaObject::invokeMethod(
            context ? context : &http, [callback] { callback(std::nullopt); }, Qt::QueuedConnection);
        return;
    }
    http.postJSON(*url, ModelRecords::writeShowRequest(OllamaShowRequest{model}), context,
                  [callback](const Result<QByteArray> &reply) {
        if (!reply) {
            callback(std::nullopt);
            return;
        }
        const auto show = ModelRecords::readShowResponse(reply.value());
        callback(show ? show.value().parameters : std::nullopt);
    });
}
