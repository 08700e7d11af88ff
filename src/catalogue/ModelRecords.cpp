#include "ModelRecords.h"

#include "JsonReading.h"

#include <QHash>

using nlohmann::json;
using namespace JsonReading;

namespace {

std::optional<QStringList> optionalTextList(const json &object, const char *key, const std::string &path)
{
    const json *value = member(object, key);
    if (!value)
        return std::nullopt;
    const std::string where = path + "." + key;
    if (!value->is_array())
        throw ShapeError(where + " should be a list but is " + value->type_name());
    QStringList list;
    list.reserve(static_cast<qsizetype>(value->size()));
    for (size_t i = 0; i < value->size(); ++i) {
        const json &element = (*value)[i];
        if (!element.is_string())
            throw ShapeError(where + "[" + std::to_string(i) + "] should be a string but is " + element.type_name());
        list.append(toQString(element.get_ref<const std::string &>()));
    }
    return list;
}

// A signed 64-bit integer: a JSON number without a fraction that fits.
std::optional<qint64> optionalInt64(const json &object, const char *key, const std::string &path)
{
    const json *value = member(object, key);
    if (!value)
        return std::nullopt;
    if (value->is_number_integer() && !value->is_number_unsigned())
        return value->get<qint64>();
    if (value->is_number_unsigned()) {
        const auto unsignedValue = value->get<std::uint64_t>();
        if (unsignedValue <= static_cast<std::uint64_t>(std::numeric_limits<qint64>::max()))
            return static_cast<qint64>(unsignedValue);
        throw ShapeError(path + "." + key + " does not fit a 64-bit integer");
    }
    throw ShapeError(path + "." + key + " should be a whole number but is " + value->type_name());
}

ModelDetails readModelDetails(const json &value, const std::string &path)
{
    requireObject(value, path);
    return ModelDetails{
        optionalText(value, "family", path),
        optionalText(value, "format", path),
        optionalText(value, "parameter_size", path),
    };
}

OllamaModel readModel(const json &value, const std::string &path)
{
    requireObject(value, path);
    OllamaModel model;
    model.name = requiredText(value, "name", path);
    model.modifiedAt = optionalText(value, "modified_at", path);
    model.size = optionalInt64(value, "size", path);
    if (const json *details = member(value, "details"))
        model.details = readModelDetails(*details, path + ".details");
    return model;
}

ModelShowDetails readShowDetails(const json &value, const std::string &path)
{
    requireObject(value, path);
    return ModelShowDetails{
        optionalText(value, "format", path),
        optionalText(value, "family", path),
        optionalTextList(value, "families", path),
        optionalText(value, "parameter_size", path),
        optionalText(value, "quantization_level", path),
    };
}

} // namespace

OllamaModel OllamaModel::withCapabilities(const ModelCapabilities &newCapabilities) const
{
    OllamaModel copy = *this;
    copy.capabilities = newCapabilities;
    return copy;
}

namespace ModelRecords {

Result<OllamaModelsResponse> readModelsResponse(const QByteArray &body)
{
    auto parsed = JsonReading::parse(body, false);
    if (!parsed)
        return parsed.error();
    const json &root = parsed.value();
    try {
        requireObject(root, "reply");
        const json *models = member(root, "models");
        if (!models)
            throw ShapeError("reply.models is missing");
        if (!models->is_array())
            throw ShapeError(std::string("reply.models should be a list but is ") + models->type_name());
        OllamaModelsResponse response;
        response.models.reserve(static_cast<qsizetype>(models->size()));
        for (size_t i = 0; i < models->size(); ++i)
            response.models.append(readModel((*models)[i], "reply.models[" + std::to_string(i) + "]"));
        return response;
    } catch (const ShapeError &error) {
        return shapeFailure(error);
    }
}

Result<OllamaShowResponse> readShowResponse(const QByteArray &body)
{
    auto parsed = JsonReading::parse(body, false);
    if (!parsed)
        return parsed.error();
    const json &root = parsed.value();
    try {
        requireObject(root, "reply");
        OllamaShowResponse response;
        response.modelfile = optionalText(root, "modelfile", "reply");
        response.parameters = optionalText(root, "parameters", "reply");
        response.templateText = optionalText(root, "template", "reply");
        if (const json *details = member(root, "details"))
            response.details = readShowDetails(*details, "reply.details");
        if (member(root, "model_info"))
            response.modelInfo = ModelInfo{};
        response.capabilities = optionalTextList(root, "capabilities", "reply");
        return response;
    } catch (const ShapeError &error) {
        return shapeFailure(error);
    }
}

QByteArray writeShowRequest(const OllamaShowRequest &request)
{
    const json body = {{"name", request.name.toStdString()}};
    return QByteArray::fromStdString(body.dump());
}

} // namespace ModelRecords

size_t qHash(const ModelCapabilities &c, size_t seed) noexcept
{
    return qHashMulti(seed, c.supportsTools, c.supportsVision, c.supportsThinking, c.supportsEmbedding);
}

namespace {
size_t hashOptional(const std::optional<QString> &value, size_t seed) noexcept
{
    return value ? qHashMulti(seed, true, *value) : qHash(false, seed);
}
} // namespace

size_t qHash(const ModelDetails &d, size_t seed) noexcept
{
    seed = hashOptional(d.family, seed);
    seed = hashOptional(d.format, seed);
    return hashOptional(d.parameterSize, seed);
}

size_t qHash(const OllamaModel &m, size_t seed) noexcept
{
    seed = qHash(m.name, seed);
    seed = hashOptional(m.modifiedAt, seed);
    seed = m.size ? qHashMulti(seed, true, *m.size) : qHash(false, seed);
    seed = m.details ? qHashMulti(seed, true, qHash(*m.details)) : qHash(false, seed);
    return qHash(m.capabilities, seed);
}
