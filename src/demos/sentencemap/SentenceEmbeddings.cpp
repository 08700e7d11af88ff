#include "SentenceEmbeddings.h"

#include "catalogue/AppSettings.h"
#include "catalogue/BackgroundWork.h"
#include "catalogue/Diagnostics.h"
#include "catalogue/HttpClient.h"
#include "catalogue/JsonReading.h"
#include "catalogue/ServerEndpoint.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

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

// Reads an embed reply in one pass of nlohmann's SAX parser: the numbers of
// the top-level "embeddings" go straight into floats, with no tree of 65,000
// values to build and free, and every other member is skipped. The parser is
// iterative and this handler only counts depth, so deep nesting costs no
// stack. What it gathers is judged once the whole body has parsed, so a
// syntax error anywhere wins over a wrong shape, and of repeated top-level
// keys the last counts, as with a tree.
class ReplyHandler final : public nlohmann::json_sax<nlohmann::json>
{
public:
    // One element of "embeddings".
    struct Element
    {
        bool isArray = false;
        qsizetype length = 0; // elements of the inner array, of any type
        bool notNumber = false; // the first bad element is not a number
        bool notFinite = false; // ... is a number beyond the float range
        EmbeddingVector values;
    };

    // The parser's error, if the body is not JSON.
    std::optional<ClientError> syntaxError;
    // The JSON type name of a top level that is neither object nor array.
    const char *topScalar = nullptr;
    bool topIsObject = false;
    bool embeddingsIsArray = false;
    QList<Element> elements;
    std::optional<std::string> serverError;

    bool null() override { return scalar("null"); }
    bool boolean(bool) override { return scalar("boolean"); }
    bool number_integer(number_integer_t value) override { return number(double(value)); }
    bool number_unsigned(number_unsigned_t value) override { return number(double(value)); }
    bool number_float(number_float_t value, const string_t &) override { return number(value); }
    bool binary(binary_t &) override { return scalar("binary"); }

    bool string(string_t &value) override
    {
        if (m_depth == 1 && m_member == Member::error) {
            serverError = std::move(value);
            return true;
        }
        return scalar("string");
    }

    bool start_object(std::size_t) override
    {
        if (m_depth == 0)
            topIsObject = true;
        else
            placeValue(false);
        ++m_depth;
        return true;
    }

    bool start_array(std::size_t) override
    {
        placeValue(true);
        ++m_depth;
        return true;
    }

    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool key(string_t &name) override
    {
        if (m_depth == 1)
            m_member = name == "embeddings" ? Member::embeddings : name == "error" ? Member::error : Member::other;
        return true;
    }

    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &error) override
    {
        // Worded as JsonReading::parse words a reader's error: nlohmann's
        // "[json.exception.parse_error.101] " prefix dropped, control
        // characters escaped.
        QString message = QString::fromUtf8(error.what());
        if (message.startsWith(QLatin1Char('['))) {
            const qsizetype end = message.indexOf(QLatin1String("] "));
            if (end >= 0)
                message = message.mid(end + 2);
        }
        syntaxError = ClientError{
            QStringLiteral("JSON"),
            error.id,
            QCoreApplication::translate("SentenceEmbeddings", "The server's reply is not valid JSON: %1")
                .arg(Diagnostics::escapeControlCharacters(message)),
        };
        return false;
    }

private:
    enum class Member { other, embeddings, error };

    // A number inside a vector is the common case, so it is checked first.
    bool number(double value)
    {
        if (m_depth == 3 && m_inVector) {
            Element &element = elements.back();
            ++element.length;
            if (element.notNumber || element.notFinite)
                return true;
            // A value beyond the float range has no float to round to; the
            // cosines it touched would be NaN.
            if (!(std::fabs(value) <= double(std::numeric_limits<float>::max())))
                element.notFinite = true;
            else
                element.values.append(static_cast<float>(value));
            return true;
        }
        return scalar("number");
    }

    bool scalar(const char *typeName)
    {
        if (m_depth == 0)
            topScalar = typeName;
        else
            placeValue(false);
        return true;
    }

    // Notes where a value other than a number in a vector lands: as a
    // top-level member, an element of "embeddings" or an element of a vector.
    void placeValue(bool isArray)
    {
        if (m_depth == 1 && topIsObject) {
            if (m_member == Member::embeddings) {
                embeddingsIsArray = isArray;
                m_inEmbeddings = isArray;
                elements.clear();
            } else if (m_member == Member::error) {
                serverError.reset();
            }
        } else if (m_depth == 2 && m_inEmbeddings) {
            Element element;
            element.isArray = isArray;
            if (isArray && !elements.isEmpty())
                element.values.reserve(elements.front().values.size());
            elements.append(std::move(element));
            m_inVector = isArray;
        } else if (m_depth == 3 && m_inVector) {
            Element &element = elements.back();
            ++element.length;
            if (!element.notFinite)
                element.notNumber = true;
        }
    }

    bool close()
    {
        --m_depth;
        if (m_depth == 2)
            m_inVector = false;
        else if (m_depth == 1)
            m_inEmbeddings = false;
        return true;
    }

    int m_depth = 0;
    Member m_member = Member::other;
    bool m_inEmbeddings = false;
    bool m_inVector = false;
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
    ReplyHandler reply;
    nlohmann::json::sax_parse(body.constData(), body.constData() + body.size(), &reply);
    if (reply.syntaxError)
        return *reply.syntaxError;
    if (reply.topScalar) {
        return ClientError{
            QStringLiteral("JSON"),
            -2,
            QCoreApplication::translate("SentenceEmbeddings",
                                        "The server's reply is not a JSON object or array (its top level is %1).")
                .arg(QLatin1String(reply.topScalar)),
        };
    }
    if (!reply.topIsObject)
        return ClientError::invalidResponse();
    if (!reply.embeddingsIsArray) {
        // A server error ({"error": "model ... not found"}) says why.
        if (reply.serverError)
            return invalid(QCoreApplication::translate("SentenceEmbeddings",
                                                       "The server said: %1").arg(JsonReading::toQString(*reply.serverError)));
        return ClientError::invalidResponse();
    }
    if (reply.elements.size() != expectedCount) {
        return invalid(QCoreApplication::translate("SentenceEmbeddings", "The server sent %1 vectors for %2 sentences.")
                           .arg(reply.elements.size())
                           .arg(expectedCount));
    }

    QList<EmbeddingVector> vectors;
    vectors.reserve(expectedCount);
    for (ReplyHandler::Element &element : reply.elements) {
        const qsizetype number = vectors.size() + 1;
        if (!element.isArray)
            return ClientError::invalidResponse();
        if (element.length == 0)
            return invalid(QCoreApplication::translate("SentenceEmbeddings",
                                                       "The vector of sentence %1 is empty.").arg(number));
        if (!vectors.isEmpty() && element.length != vectors.front().size()) {
            return invalid(QCoreApplication::translate("SentenceEmbeddings",
                                                       "The vectors differ in length (%1 for sentence 1, %2 for sentence %3).")
                               .arg(vectors.front().size())
                               .arg(element.length)
                               .arg(number));
        }
        if (element.notNumber)
            return ClientError::invalidResponse();
        if (element.notFinite) {
            return invalid(QCoreApplication::translate("SentenceEmbeddings",
                                                       "The vector of sentence %1 holds a value that is not a finite "
                                                       "32-bit number.")
                               .arg(number));
        }
        vectors.append(std::move(element.values));
    }
    return vectors;
}

Result<SentenceMap::Layout> layoutFromReply(const QByteArray &body, qsizetype expectedCount)
{
    const auto vectors = readReply(body, expectedCount);
    if (!vectors)
        return vectors.error();
    // One vector per sentence, or the neighbour list would name sentences
    // that were never sent.
    if (vectors.value().size() != expectedCount)
        return ClientError::invalidResponse();
    SentenceMap::Layout layout = SentenceMap::computeLayout(vectors.value());
    for (const QList<float> &row : std::as_const(layout.matrix)) {
        for (const float value : row) {
            if (!std::isfinite(value))
                return ClientError::invalidResponse();
        }
    }
    return layout;
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
                  [context, callback, count = texts.size()](const Result<QByteArray> &reply) {
        if (!reply) {
            callback(reply.error());
            return;
        }
        // Reading 16 long vectors takes several milliseconds: it runs on the
        // worker, so that the window keeps drawing (the context is alive now,
        // or this would not run).
        BackgroundWork::run(
            context, [body = reply.value(), count] { return layoutFromReply(body, count); }, callback);
    });
}

} // namespace SentenceEmbeddings
