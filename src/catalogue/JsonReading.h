#pragma once

#include "ClientError.h"

#include <QByteArray>
#include <QString>

#include <nlohmann/json.hpp>

#include <optional>
#include <stdexcept>
#include <string>

// Shared helpers for reading the server's JSON with nlohmann/json, which tells
// an integral number from a fractional one (a size of 1.0 must be refused).
namespace JsonReading {

// Thrown while decoding a parsed value that does not have the expected shape.
struct ShapeError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

// Parses a whole body. Only an object or an array is accepted at the top level
// when objectOrArrayOnly is set. A failure carries the reader's description.
Result<nlohmann::json> parse(const QByteArray &body, bool objectOrArrayOnly);

// Parses a demo reply, which must be an object: a valid array or any other
// JSON value fails with "Invalid response from Ollama"; a body that is not
// JSON (or not an object or array) fails as parse() does.
Result<nlohmann::json> parseReplyObject(const QByteArray &body);

// A reading failure of the given shape error.
ClientError shapeFailure(const ShapeError &error);

QString toQString(const std::string &text);

// Member access by the optionality rules: a missing key or null is absent;
// a value of another type throws ShapeError naming the path.
const nlohmann::json *member(const nlohmann::json &object, const char *key);
std::optional<QString> optionalText(const nlohmann::json &object, const char *key, const std::string &path);
QString requiredText(const nlohmann::json &object, const char *key, const std::string &path);
const nlohmann::json &requireObject(const nlohmann::json &value, const std::string &path);

} // namespace JsonReading
