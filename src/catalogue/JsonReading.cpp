#include "JsonReading.h"

#include "Diagnostics.h"

#include <QCoreApplication>

namespace JsonReading {

namespace {

// nlohmann's messages start with "[json.exception.parse_error.101] ";
// the reader of a screen needs only what follows.
QString readerMessage(const char *what)
{
    QString message = QString::fromUtf8(what);
    if (message.startsWith(QLatin1Char('['))) {
        const qsizetype end = message.indexOf(QLatin1String("] "));
        if (end >= 0)
            message = message.mid(end + 2);
    }
    return Diagnostics::escapeControlCharacters(message);
}

const char *typeName(const nlohmann::json &value)
{
    return value.type_name();
}

} // namespace

Result<nlohmann::json> parse(const QByteArray &body, bool objectOrArrayOnly)
{
    try {
        nlohmann::json value = nlohmann::json::parse(body.cbegin(), body.cend());
        if (objectOrArrayOnly && !value.is_object() && !value.is_array()) {
            return ClientError{
                QStringLiteral("JSON"),
                -2,
                QCoreApplication::translate("JsonReading",
                                           "The server's reply is not a JSON object or array (its top level is %1).")
                    .arg(QLatin1String(typeName(value))),
            };
        }
        return value;
    } catch (const nlohmann::json::exception &error) {
        return ClientError{
            QStringLiteral("JSON"),
            error.id,
            QCoreApplication::translate("JsonReading", "The server's reply is not valid JSON: %1").arg(readerMessage(error.what())),
        };
    }
}

Result<nlohmann::json> parseReplyObject(const QByteArray &body)
{
    Result<nlohmann::json> parsed = parse(body, true);
    if (parsed && !parsed.value().is_object())
        return ClientError::invalidResponse();
    return parsed;
}

ClientError shapeFailure(const ShapeError &error)
{
    return ClientError{
        QStringLiteral("JSON"),
        -3,
        QCoreApplication::translate("JsonReading", "The server's reply could not be read: %1")
            .arg(Diagnostics::escapeControlCharacters(QString::fromUtf8(error.what()))),
    };
}

QString toQString(const std::string &text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const nlohmann::json *member(const nlohmann::json &object, const char *key)
{
    const auto it = object.find(key);
    if (it == object.end() || it->is_null())
        return nullptr;
    return &*it;
}

std::optional<QString> optionalText(const nlohmann::json &object, const char *key, const std::string &path)
{
    const nlohmann::json *value = member(object, key);
    if (!value)
        return std::nullopt;
    if (!value->is_string())
        throw ShapeError(path + "." + key + " should be a string but is " + value->type_name());
    return toQString(value->get_ref<const std::string &>());
}

QString requiredText(const nlohmann::json &object, const char *key, const std::string &path)
{
    const nlohmann::json *value = member(object, key);
    if (!value)
        throw ShapeError(path + "." + key + " is missing");
    if (!value->is_string())
        throw ShapeError(path + "." + key + " should be a string but is " + value->type_name());
    return toQString(value->get_ref<const std::string &>());
}

const nlohmann::json &requireObject(const nlohmann::json &value, const std::string &path)
{
    if (!value.is_object())
        throw ShapeError(path + " should be an object but is " + value.type_name());
    return value;
}

} // namespace JsonReading
