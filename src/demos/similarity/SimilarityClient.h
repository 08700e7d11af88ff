#pragma once

#include "SimilarityMath.h"
#include "SimilarityReading.h"
#include "catalogue/ClientError.h"

#include <QObject>
#include <QString>

#include <functional>

class AppSettings;
class HttpClient;

namespace SimilarityClient {

using EmbeddingCallback = std::function<void(const Result<EmbeddingVector> &)>;
using SimilarityCallback = std::function<void(const Result<float> &)>;
using DetailsCallback = std::function<void(const Result<SimilarityReading> &)>;

// The embed request body: exactly "model" and one "input" string.
QByteArray embedRequestBody(const QString &text, const QString &model);

// Reads an embed reply: a JSON object whose "embeddings" is a non-empty array
// of arrays of numbers; the first inner array, converted to 32-bit floats, is
// the vector. A first array holding a value beyond the float range fails with
// "Invalid response from Ollama".
Result<EmbeddingVector> readEmbedReply(const QByteArray &body);

} // namespace SimilarityClient

// One embedding per call; the base URL is read when the request is built. The
// reply is read off the main thread. The callback runs on the main thread,
// and not at all once `context` is gone (a null context means it always runs).
void fetchEmbedding(const QString &text, const QString &model, QObject *context,
                    SimilarityClient::EmbeddingCallback callback, AppSettings &settings, HttpClient &http);

// Fetches the first text's embedding, then (only once that has succeeded) the
// second's, and gives their cosine similarity. A vector holding a value that
// is not finite in 32-bit float, or a similarity that is not finite, fails with
// "Invalid response from Ollama" rather than being reported as a result.
// Once the first request is sent, the second follows even if `context` goes
// away in between; only the outcome is then dropped.
void computeSimilarity(const QString &first, const QString &second, const QString &model, QObject *context,
                       SimilarityClient::SimilarityCallback callback, AppSettings &settings, HttpClient &http);

// The same two requests, giving both vectors and every step of the cosine
// along with it. Succeeds and fails exactly when computeSimilarity does; on
// success `arithmetic.cosine` is the similarity computeSimilarity gives.
void computeSimilarityDetails(const QString &first, const QString &second, const QString &model, QObject *context,
                              SimilarityClient::DetailsCallback callback, AppSettings &settings, HttpClient &http);
