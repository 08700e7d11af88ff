#include "SentenceEmbeddings.h"

#include "catalogue/AppSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/JsonReading.h"
#include "catalogue/ServerEndpoint.h"

#include <QMetaObject>

#include <cmath>
#include <limits>

namespace SentenceEmbeddings {

namespace {

// "Invalid response from Ollama", with what was wrong added to the generic
// sentence so that the error line tells the user something useful.
ClientError invalid(const QString &detail)
{
    ClientError error = ClientError::invalidResponse();
    error.description += QLatin1Char(' ') + detail;
    return error;
}

} // namespace

QByteArray requestBody(const QStringList &texts, const QString &model)
{
    nlohmann::json input = nlohmann::json::array();
    for (const QString &text : texts)
        input.push_back(text.toStdString());
    const nlohmann::json body = {
        {"model", model.toStdString()},
        {"input", std::move(input)},
    };
    return QByteArray::fromStdString(body.dump());
}

Result<QList<EmbeddingVector>> readReply(const QByteArray &body, qsizetype expectedCount)
{
    const auto parsed = JsonReading::parse(body, true);
    if (!parsed)
        return parsed.error();
    const nlohmann::json &root = parsed.value();
    if (!root.is_object())
        return ClientError::invalidResponse();
    const auto embeddings = root.find("embeddings");
    if (embeddings == root.end() || !embeddings->is_array()) {
        // A server error ({"error": "model ... not found"}) says why.
        const auto message = root.find("error");
        if (message != root.end() && message->is_string())
            return invalid(QStringLiteral("The server said: %1").arg(JsonReading::toQString(*message)));
        return ClientError::invalidResponse();
    }
    if (qsizetype(embeddings->size()) != expectedCount) {
        return invalid(QStringLiteral("The server sent %1 vectors for %2 sentences.")
                           .arg(embeddings->size())
                           .arg(expectedCount));
    }

    QList<EmbeddingVector> vectors;
    vectors.reserve(expectedCount);
    constexpr double floatMax = std::numeric_limits<float>::max();
    for (const nlohmann::json &inner : *embeddings) {
        const qsizetype number = vectors.size() + 1;
        if (!inner.is_array())
            return ClientError::invalidResponse();
        if (inner.empty())
            return invalid(QStringLiteral("The vector of sentence %1 is empty.").arg(number));
        if (!vectors.isEmpty() && qsizetype(inner.size()) != vectors.front().size()) {
            return invalid(QStringLiteral("The vectors differ in length (%1 for sentence 1, %2 for sentence %3).")
                               .arg(vectors.front().size())
                               .arg(inner.size())
                               .arg(number));
        }
        EmbeddingVector vector;
        vector.reserve(qsizetype(inner.size()));
        for (const nlohmann::json &value : inner) {
            if (!value.is_number())
                return ClientError::invalidResponse();
            // A value beyond the float range has no float to round to; the
            // cosines it touched would be NaN.
            const double x = value.get<double>();
            if (!(std::fabs(x) <= floatMax))
                return invalid(QStringLiteral("The vector of sentence %1 holds a value that is not a finite "
                                              "32-bit number.")
                                   .arg(number));
            vector.append(static_cast<float>(x));
        }
        vectors.append(std::move(vector));
    }
    return vectors;
}

void fetch(const QStringList &texts, const QString &model, QObject *context, Callback callback)
{
    fetch(texts, model, context, std::move(callback), AppSettings::shared(), HttpClient::shared());
}

void fetch(const QStringList &texts, const QString &model, QObject *context, Callback callback,
           AppSettings &settings, HttpClient &http)
{
    const auto url = ServerEndpoint::endpointURL(settings.ollamaURL(), ServerEndpoint::embedPath);
    if (!url) {
        QMetaObject::invokeMethod(
            context ? context : &http, [callback] { callback(ClientError::invalidURL()); }, Qt::QueuedConnection);
        return;
    }
    http.postJSON(*url, requestBody(texts, model), context,
                  [callback, count = texts.size()](const Result<QByteArray> &reply) {
        if (!reply) {
            callback(reply.error());
            return;
        }
        callback(readReply(reply.value(), count));
    });
}

} // namespace SentenceEmbeddings
