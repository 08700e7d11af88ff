#include "SentimentClient.h"

#include "SentimentScore.h"
#include "catalogue/AppSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/JsonReading.h"
#include "catalogue/ServerEndpoint.h"

#include <QMetaObject>

#include <cstdint>
#include <limits>
#include <optional>

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

QByteArray probabilitiesRequestBody(const QString &text, const QString &model)
{
    const nlohmann::json body = {
        {"model", model.toStdString()},
        {"prompt", SentimentScore::sentimentPrompt(text).toStdString()},
        {"stream", false},
        {"logprobs", true},
        {"top_logprobs", TokenProbabilityText::maxCandidates},
        // A thinking model would otherwise reason first, and the few tokens
        // asked for would be reasoning rather than the rating.
        {"think", false},
        {"options", {{"num_predict", 8}}},
    };
    return QByteArray::fromStdString(body.dump());
}

namespace {

// A member that is a non-negative whole number, as the server sends its
// durations and counts; absent for a missing member or any other value.
std::optional<qint64> count(const nlohmann::json &object, const char *key)
{
    const auto it = object.find(key);
    if (it == object.end())
        return std::nullopt;
    if (it->is_number_unsigned()) {
        const auto value = it->get<std::uint64_t>();
        if (value > std::uint64_t(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return qint64(value);
    }
    if (it->is_number_integer()) {
        const auto value = it->get<std::int64_t>();
        if (value < 0)
            return std::nullopt;
        return qint64(value);
    }
    return std::nullopt;
}

} // namespace

Result<nlohmann::json> parseGenerateReply(const QByteArray &body)
{
    Result<nlohmann::json> parsed = JsonReading::parseReplyObject(body);
    if (!parsed)
        return parsed;
    const auto response = parsed.value().find("response");
    if (response == parsed.value().end() || !response->is_string())
        return ClientError::invalidResponse();
    return parsed;
}

Result<SentimentReading> readGenerateReplyDetails(const QByteArray &body)
{
    const auto parsed = parseGenerateReply(body);
    if (!parsed)
        return parsed.error();
    const nlohmann::json &root = parsed.value();

    SentimentReading reading;
    reading.rawResponse = JsonReading::toQString(root.at("response").get_ref<const std::string &>());
    if (const auto thinking = root.find("thinking"); thinking != root.end() && thinking->is_string())
        reading.thinking = JsonReading::toQString(thinking->get_ref<const std::string &>());
    const SentimentSteps steps = SentimentReadingText::readSteps(reading.rawResponse);
    reading.score = steps.score;
    reading.firstLine = steps.firstLine;
    reading.stripped = steps.stripped;
    reading.usedFallback = steps.usedFallback;
    reading.totalDuration = count(root, "total_duration");
    reading.loadDuration = count(root, "load_duration");
    reading.evalCount = count(root, "eval_count");
    return reading;
}

} // namespace SentimentClient

namespace {

// Posts a generate body to the server named in the settings and hands the
// reply body (or the failure) to `done`; an unusable URL fails from the event
// loop, like every other outcome.
void postGenerate(const QByteArray &body, QObject *context, AppSettings &settings, HttpClient &http,
                  HttpClient::Callback done)
{
    const auto url = ServerEndpoint::endpointURL(settings.ollamaURL(), ServerEndpoint::generatePath);
    if (!url) {
        QMetaObject::invokeMethod(
            context ? context : &http, [done] { done(ClientError::invalidURL()); }, Qt::QueuedConnection);
        return;
    }
    http.postJSON(*url, body, context, std::move(done));
}

} // namespace

void fetchSentimentScore(const QString &text, const QString &model, QObject *context,
                         SentimentClient::Callback callback, AppSettings &settings, HttpClient &http)
{
    fetchSentimentDetails(text, model, context, [callback](const Result<SentimentReading> &reading) {
        if (!reading) {
            callback(reading.error());
            return;
        }
        callback(reading.value().score);
    }, settings, http);
}

void fetchSentimentDetails(const QString &text, const QString &model, QObject *context,
                           SentimentClient::DetailsCallback callback, AppSettings &settings, HttpClient &http)
{
    postGenerate(SentimentClient::generateRequestBody(text, model), context, settings, http,
                 [text, model, callback](const Result<QByteArray> &reply) {
        if (!reply) {
            callback(reply.error());
            return;
        }
        Result<SentimentReading> reading = SentimentClient::readGenerateReplyDetails(reply.value());
        if (reading) {
            reading.value().text = text;
            reading.value().prompt = SentimentScore::sentimentPrompt(text);
            reading.value().model = model;
        }
        callback(reading);
    });
}

void fetchTokenProbabilities(const QString &text, const QString &model, QObject *context,
                             SentimentClient::ProbabilitiesCallback callback, AppSettings &settings,
                             HttpClient &http)
{
    postGenerate(SentimentClient::probabilitiesRequestBody(text, model), context, settings, http,
                 [callback](const Result<QByteArray> &reply) {
        if (!reply) {
            callback(reply.error());
            return;
        }
        callback(TokenProbabilityText::readReply(reply.value()));
    });
}
