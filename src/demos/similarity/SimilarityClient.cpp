#include "SimilarityClient.h"

#include "catalogue/AppSettings.h"
#include "catalogue/BackgroundWork.h"
#include "catalogue/HttpClient.h"
#include "catalogue/JsonReading.h"
#include "catalogue/ServerEndpoint.h"

#include <QMetaObject>
#include <QPointer>

#include <cmath>
#include <limits>

namespace SimilarityClient {

QByteArray embedRequestBody(const QString &text, const QString &model)
{
    const nlohmann::json body = {
        {"model", model.toStdString()},
        {"input", text.toStdString()},
    };
    return QByteArray::fromStdString(body.dump());
}

Result<EmbeddingVector> readEmbedReply(const QByteArray &body)
{
    const auto parsed = JsonReading::parseReplyObject(body);
    if (!parsed)
        return parsed.error();
    const nlohmann::json &root = parsed.value();
    const auto embeddings = root.find("embeddings");
    if (embeddings == root.end() || !embeddings->is_array() || embeddings->empty())
        return ClientError::invalidResponse();
    for (const nlohmann::json &inner : *embeddings) {
        if (!inner.is_array())
            return ClientError::invalidResponse();
        for (const nlohmann::json &number : inner) {
            if (!number.is_number())
                return ClientError::invalidResponse();
        }
    }
    const nlohmann::json &first = embeddings->front();
    EmbeddingVector vector;
    vector.reserve(static_cast<qsizetype>(first.size()));
    for (const nlohmann::json &number : first) {
        // A value beyond the range of a 32-bit float has no float to round
        // to (converting it would be undefined, and in practice gives an
        // infinity that turns the similarity into NaN): such a vector is not
        // a usable reply.
        const double value = number.get<double>();
        if (!(std::fabs(value) <= static_cast<double>(std::numeric_limits<float>::max())))
            return ClientError::invalidResponse();
        vector.append(static_cast<float>(value));
    }
    return vector;
}

} // namespace SimilarityClient

void fetchEmbedding(const QString &text, const QString &model, QObject *context,
                    SimilarityClient::EmbeddingCallback callback, AppSettings &settings, HttpClient &http)
{
    const auto url = ServerEndpoint::endpointURL(settings.ollamaURL(), ServerEndpoint::embedPath);
    if (!url) {
        QMetaObject::invokeMethod(
            context ? context : &http, [callback] { callback(ClientError::invalidURL()); }, Qt::QueuedConnection);
        return;
    }
    http.postJSON(*url, SimilarityClient::embedRequestBody(text, model), context,
                  [context, callback](const Result<QByteArray> &reply) {
        if (!reply) {
            callback(reply.error());
            return;
        }
        // A long vector takes a while to read: that happens on the worker,
        // and the vector comes back here (the context is still alive now,
        // or this would not run).
        BackgroundWork::run(
            context, [body = reply.value()] { return SimilarityClient::readEmbedReply(body); }, callback);
    });
}

void computeSimilarity(const QString &first, const QString &second, const QString &model, QObject *context,
                       SimilarityClient::SimilarityCallback callback, AppSettings &settings, HttpClient &http)
{
    computeSimilarityDetails(first, second, model, context, [callback](const Result<SimilarityReading> &reading) {
        if (!reading) {
            callback(reading.error());
            return;
        }
        callback(reading.value().arithmetic.cosine);
    }, settings, http);
}

void computeSimilarityDetails(const QString &first, const QString &second, const QString &model, QObject *context,
                              SimilarityClient::DetailsCallback callback, AppSettings &settings, HttpClient &http)
{
    // The second request starts only after the first has succeeded; the
    // settings are read again for it, so a URL saved in between applies.
    // Both requests run to the end even when the context goes away in the
    // meantime (nothing is cancelled); only the outcome is then dropped.
    // Without a context the outcome is always delivered.
    const bool guarded = context != nullptr;
    auto deliver = [context = QPointer<QObject>(context), guarded, callback](const Result<SimilarityReading> &r) {
        if (guarded && !context)
            return;
        callback(r);
    };
    // The settings and the client are held by guarded pointers across the
    // first request: the second is sent only while both still exist.
    fetchEmbedding(first, model, nullptr,
                   [first, second, model, deliver, settings = QPointer<AppSettings>(&settings),
                    http = QPointer<HttpClient>(&http)](const Result<EmbeddingVector> &a) {
        if (!a) {
            deliver(a.error());
            return;
        }
        if (!settings || !http)
            return;
        fetchEmbedding(second, model, nullptr,
                       [first, second, model, a = a.value(), deliver](const Result<EmbeddingVector> &b) {
            if (!b) {
                deliver(b.error());
                return;
            }
            SimilarityReading reading;
            reading.model = model;
            reading.firstText = first;
            reading.secondText = second;
            reading.first = a;
            reading.second = b.value();
            reading.arithmetic = similarityArithmetic(reading.first, reading.second);
            if (!std::isfinite(reading.arithmetic.cosine)) {
                deliver(ClientError::invalidResponse());
                return;
            }
            deliver(reading);
        }, *settings, *http);
    }, settings, http);
}
