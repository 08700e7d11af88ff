#pragma once

#include "ClientError.h"

#include <QByteArray>
#include <QHashFunctions>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Records of the server's model list (GET /api/tags) and model details
// (POST /api/show), with their JSON readers and the writer of the show request.
//
// Reading rules: keys not listed are ignored; a required member that is
// missing, null or of another type fails the whole read; an optional member
// that is missing or null is absent, and one of another type fails the whole
// read. There is never a partial result.

// The four capability flags derived from a model's "capabilities" list.
struct ModelCapabilities
{
    bool supportsTools = false;
    bool supportsVision = false;
    bool supportsThinking = false;
    bool supportsEmbedding = false;

    bool operator==(const ModelCapabilities &) const = default;
};

// The "details" object of a model-list entry.
struct ModelDetails
{
    std::optional<QString> family;
    std::optional<QString> format;
    std::optional<QString> parameterSize;

    bool operator==(const ModelDetails &) const = default;
};

// One entry of the model list. Its identity is its name; as a value it is
// compared over all five fields.
struct OllamaModel
{
    QString name;
    std::optional<QString> modifiedAt;
    std::optional<qint64> size;
    std::optional<ModelDetails> details;
    // Not on the wire: every entry read from JSON starts with all flags false.
    ModelCapabilities capabilities;

    const QString &id() const { return name; }
    OllamaModel withCapabilities(const ModelCapabilities &newCapabilities) const;

    bool operator==(const OllamaModel &) const = default;
};

struct OllamaModelsResponse
{
    QList<OllamaModel> models;

    bool operator==(const OllamaModelsResponse &) const = default;
};

struct OllamaShowRequest
{
    QString name;
};

// The "details" object of a show reply.
struct ModelShowDetails
{
    std::optional<QString> format;
    std::optional<QString> family;
    std::optional<QStringList> families;
    std::optional<QString> parameterSize;
    std::optional<QString> quantizationLevel;

    bool operator==(const ModelShowDetails &) const = default;
};

// Stands for the "model_info" member, whatever JSON value it holds.
struct ModelInfo
{
    bool operator==(const ModelInfo &) const = default;
};

struct OllamaShowResponse
{
    std::optional<QString> modelfile;
    std::optional<QString> parameters;
    std::optional<QString> templateText; // the "template" member
    std::optional<ModelShowDetails> details;
    std::optional<ModelInfo> modelInfo;
    std::optional<QStringList> capabilities;

    bool operator==(const OllamaShowResponse &) const = default;
};

namespace ModelRecords {

// The error domain of every JSON reading failure.
inline const QString jsonDomain = QStringLiteral("JSON");

Result<OllamaModelsResponse> readModelsResponse(const QByteArray &body);
Result<OllamaShowResponse> readShowResponse(const QByteArray &body);
// A compact object whose only member is "name".
QByteArray writeShowRequest(const OllamaShowRequest &request);

} // namespace ModelRecords

size_t qHash(const ModelCapabilities &capabilities, size_t seed = 0) noexcept;
size_t qHash(const ModelDetails &details, size_t seed = 0) noexcept;
size_t qHash(const OllamaModel &model, size_t seed = 0) noexcept;
