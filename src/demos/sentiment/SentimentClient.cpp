#include "SentimentClient.h"

#include "SentimentScore.h"
#include "catalogue/AppSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/JsonReading.h"
#include "catalogue/ServerEndpoint.h"

#include <QMetaObject>

namespace SentimentClient {

QByteArray generateRequestBody(const QString &text, const QString &model)
{
    const nlohmann::json body = {
        {"model", model.toStdString()},
        {"prompt", SentimentScore::sentimentPrompt(text).toStdString()},
        {"stream", false},
    };
    return QByteArray::fromStdString(body.dump());
}

Result<int> readGenerateReply(const QByteArray &body)
{
    const auto parsed = JsonReading::parse(body, true);
    if (!parsed)
        return parsed.error();
    const nlohmann::json &root = parsed.value();
    if (!root.is_object())
        return ClientError::invalidResponse();
    const auto response = root.find("response");
    if (response == root.end() || !response->is_string())
        return ClientError::invalidResponse();
    return parseSentimentScore(JsonReading::toQString(response->get_ref<const std::string &>()));
}

} // namespace SentimentClient

void fetchSentimentScore(const QString &text, const QString &model, QObject *context,
                         SentimentClient::Callback callback)
{
    fetchSentimentScore(text, model, context, std::move(callback), AppSettings::shared(), HttpClient::shared());
}

void fetchSentimentScore(const QString &text, const QString &model, QObject *context,
                         SentimentClient::Callback callback, AppSettings &settings, HttpClient &http)
{
    const auto url = ServerEndpoint::endpointURL(settings.ollamaURL(), ServerEndpoint::generatePath);
    if (!url) {
        // Delivered from the event loop, like every other outcome.
        QMetaObject::invokeMethod(
            context ? context : &http, [callback] { callback(ClientError::invalidURL()); }, Qt::QueuedConnection);
        return;
    }
    http.postJSON(*url, SentimentClient::generateRequestBody(text, model), context,
                  [callback](const Result<QByteArray> &reply) {
        if (!reply) {
            callback(reply.error());
            return;
        }
        callback(SentimentClient::readGenerateReply(reply.value()));
    });
}
