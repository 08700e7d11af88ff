#include "SentenceEmbeddings.h"

#include "catalogue/AppSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/JsonReading.h"
#include "catalogue/ServerEndpoint.h"

#include <QMetaObject>

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

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

// A quick reader for the usual, well-formed reply: a JSON object whose
// "embeddings" is an array of arrays of numbers, every other member skipped.
// Building a JSON tree of 65,000 numbers takes tens of milliseconds; reading
// them straight into floats takes about one. It follows the JSON grammar
// strictly and gives up on anything it does not need to handle (escapes or
// non-ASCII text in strings, a repeated key, a number out of range, deep
// nesting); the full reader then reads the reply and words any error.
class QuickReader
{
public:
    explicit QuickReader(const QByteArray &body)
        : m_p(body.constData())
        , m_end(body.constData() + body.size())
    {
    }

    std::optional<QList<EmbeddingVector>> read()
    {
        std::optional<QList<EmbeddingVector>> vectors;
        skipSpace();
        if (!take('{'))
            return std::nullopt;
        skipSpace();
        if (!take('}')) {
            do {
                skipSpace();
                const char *keyStart = m_p;
                if (!skipString())
                    return std::nullopt;
                const std::string_view key(keyStart + 1, size_t(m_p - keyStart - 2));
                skipSpace();
                if (!take(':'))
                    return std::nullopt;
                skipSpace();
                if (key == "embeddings") {
                    if (vectors)
                        return std::nullopt;
                    vectors = readVectors();
                    if (!vectors)
                        return std::nullopt;
                } else if (!skipValue(0)) {
                    return std::nullopt;
                }
                skipSpace();
            } while (take(','));
            if (!take('}'))
                return std::nullopt;
        }
        skipSpace();
        if (m_p != m_end)
            return std::nullopt;
        return vectors;
    }

private:
    static constexpr int maxDepth = 64;

    bool take(char c)
    {
        if (m_p < m_end && *m_p == c) {
            ++m_p;
            return true;
        }
        return false;
    }

    void skipSpace()
    {
        while (m_p < m_end && (*m_p == ' ' || *m_p == '\n' || *m_p == '\r' || *m_p == '\t'))
            ++m_p;
    }

    bool skipString()
    {
        if (!take('"'))
            return false;
        while (m_p < m_end) {
            const auto c = static_cast<unsigned char>(*m_p++);
            if (c == '"')
                return true;
            if (c < 0x20 || c >= 0x80 || c == '\\')
                return false;
        }
        return false;
    }

    bool digits()
    {
        const char *start = m_p;
        while (m_p < m_end && *m_p >= '0' && *m_p <= '9')
            ++m_p;
        return m_p > start;
    }

    // A number by the JSON grammar, read as the nearest double.
    std::optional<double> number()
    {
        const char *start = m_p;
        take('-');
        if (take('0')) {
            if (m_p < m_end && *m_p >= '0' && *m_p <= '9')
                return std::nullopt;
        } else if (!digits()) {
            return std::nullopt;
        }
        if (take('.') && !digits())
            return std::nullopt;
        if (take('e') || take('E')) {
            if (!take('+'))
                take('-');
            if (!digits())
                return std::nullopt;
        }
        double value = 0;
        const auto [end, error] = std::from_chars(start, m_p, value);
        if (error != std::errc() || end != m_p)
            return std::nullopt;
        return value;
    }

    std::optional<QList<EmbeddingVector>> readVectors()
    {
        QList<EmbeddingVector> vectors;
        if (!take('['))
            return std::nullopt;
        skipSpace();
        if (take(']'))
            return vectors;
        do {
            skipSpace();
            if (!take('['))
                return std::nullopt;
            EmbeddingVector vector;
            if (!vectors.isEmpty())
                vector.reserve(vectors.front().size());
            skipSpace();
            if (!take(']')) {
                do {
                    skipSpace();
                    const std::optional<double> value = number();
                    if (!value || !(std::fabs(*value) <= double(std::numeric_limits<float>::max())))
                        return std::nullopt;
                    vector.append(static_cast<float>(*value));
                    skipSpace();
                } while (take(','));
                if (!take(']'))
                    return std::nullopt;
            }
            vectors.append(std::move(vector));
            skipSpace();
        } while (take(','));
        if (!take(']'))
            return std::nullopt;
        return vectors;
    }

    bool skipValue(int depth)
    {
        if (depth > maxDepth || m_p >= m_end)
            return false;
        switch (*m_p) {
        case '"': return skipString();
        case '{':
        case '[': {
            const char close = *m_p == '{' ? '}' : ']';
            const bool object = close == '}';
            ++m_p;
            skipSpace();
            if (take(close))
                return true;
            do {
                skipSpace();
                if (object) {
                    if (!skipString())
                        return false;
                    skipSpace();
                    if (!take(':'))
                        return false;
                    skipSpace();
                }
                if (!skipValue(depth + 1))
                    return false;
                skipSpace();
            } while (take(','));
            return take(close);
        }
        case 't': return literal("true");
        case 'f': return literal("false");
        case 'n': return literal("null");
        default: return number().has_value();
        }
    }

    bool literal(std::string_view word)
    {
        if (size_t(m_end - m_p) < word.size() || std::string_view(m_p, word.size()) != word)
            return false;
        m_p += word.size();
        return true;
    }

    const char *m_p;
    const char *const m_end;
};

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
    if (std::optional<QList<EmbeddingVector>> quick = QuickReader(body).read()) {
        bool usable = quick->size() == expectedCount;
        for (const EmbeddingVector &vector : std::as_const(*quick))
            usable = usable && !vector.isEmpty() && vector.size() == quick->front().size();
        if (usable)
            return std::move(*quick);
    }
    const auto parsed = JsonReading::parseReplyObject(body);
    if (!parsed)
        return parsed.error();
    const nlohmann::json &root = parsed.value();
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
