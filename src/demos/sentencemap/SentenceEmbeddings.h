#pragma once

#include "catalogue/ClientError.h"
#include "SentenceMapMath.h"
#include "demos/similarity/SimilarityMath.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class AppSettings;
class HttpClient;

// Many sentences' embeddings in one embed request: "input" is the array of
// sentences, and the reply's "embeddings" holds one vector per sentence, in
// the same order.
namespace SentenceEmbeddings {

using Callback = std::function<void(const Result<SentenceMap::Layout> &)>;

// {"model": model, "input": [texts...]}, written compactly.
QByteArray requestBody(const QStringList &texts, const QString &model);

// Reads an embed reply that should hold `expectedCount` vectors. Fails with
// "Invalid response from Ollama" (with a sentence saying what was wrong)
// when the reply is not an object whose "embeddings" is an array of arrays
// of numbers, when it holds a different number of vectors, when a vector is
// empty, when the vectors differ in length, or when a value has no finite
// 32-bit float. A body that is not JSON fails with the reader's error.
Result<QList<EmbeddingVector>> readReply(const QByteArray &body, qsizetype expectedCount);

// Reads the reply with readReply and works out everything the window shows
// from its vectors. Fails like readReply, and with "Invalid response from
// Ollama" when a similarity comes out not finite (finite floats can still
// overflow in the sums).
Result<SentenceMap::Layout> layoutFromReply(const QByteArray &body, qsizetype expectedCount);

// Posts the request to the server's embed endpoint (the base URL is read
// when the request is built) through the HTTP client, with its time-out and
// size cap, and gives layoutFromReply of the reply. The reading and the
// arithmetic run off the main thread; the callback runs on the main thread,
// and not at all once `context` is gone (a null context means it always
// runs).
void fetch(const QStringList &texts, const QString &model, QObject *context, Callback callback);
void fetch(const QStringList &texts, const QString &model, QObject *context, Callback callback,
           AppSettings &settings, HttpClient &http);

} // namespace SentenceEmbeddings
