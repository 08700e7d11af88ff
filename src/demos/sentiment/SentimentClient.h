#pragma once

#include "SentimentReading.h"
#include "TokenProbabilities.h"
#include "catalogue/ClientError.h"

#include <QObject>
#include <QString>

#include <nlohmann/json.hpp>

#include <functional>

class AppSettings;
class HttpClient;

namespace SentimentClient {

using Callback = std::function<void(const Result<int> &)>;
using DetailsCallback = std::function<void(const Result<SentimentReading> &)>;
using ProbabilitiesCallback = std::function<void(const Result<TokenProbabilityReading> &)>;

// The generate request body: exactly "model", "prompt" and "stream": false.
QByteArray generateRequestBody(const QString &text, const QString &model);

// The body of the request for the rating's token probabilities: the same
// model and prompt as generateRequestBody, not streamed, asking for the most
// candidates a server sends per token, without reasoning, and for a short
// answer (the rating is its first token).
QByteArray probabilitiesRequestBody(const QString &text, const QString &model);

// Parses a generate reply: a JSON object whose "response" is a string,
// else "Invalid response from Ollama" (or the JSON reader's failure).
Result<nlohmann::json> parseGenerateReply(const QByteArray &body);

// The same reading with its details: the raw answer, the model's reasoning
// when it sent any, the reading steps and
// the server's durations when the reply carries them as non-negative whole
// numbers (anything else there is ignored, never a failure). The text, prompt
// and model are left for the caller to fill in.
Result<SentimentReading> readGenerateReplyDetails(const QByteArray &body);

} // namespace SentimentClient

// Asks the model to rate the (already trimmed) text from 1 to 5. The base URL
// is read from the settings when the request is built. The callback runs on the
// main thread, and not at all once `context` is destroyed (a null context means
// it always runs).
void fetchSentimentScore(const QString &text, const QString &model, QObject *context,
                         SentimentClient::Callback callback, AppSettings &settings, HttpClient &http);

// The same request, giving the score together with how it came about: the
// prompt sent, the answer received and the steps that read it. Succeeds and
// fails exactly when fetchSentimentScore does, with the same score or error.
void fetchSentimentDetails(const QString &text, const QString &model, QObject *context,
                           SentimentClient::DetailsCallback callback, AppSettings &settings, HttpClient &http);

// Asks the model the same rating question again, this time for the
// probabilities it gave the candidates of its first token. Delivered like
// fetchSentimentScore; a reply of the right shape without usable
// probabilities succeeds with the problem.
void fetchTokenProbabilities(const QString &text, const QString &model, QObject *context,
                             SentimentClient::ProbabilitiesCallback callback, AppSettings &settings,
                             HttpClient &http);
