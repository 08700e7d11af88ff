#include "ModelChoices.h"

#include <cmath>
#include <limits>

namespace ModelChoices {

QList<OllamaModel> embeddingModels(const QList<OllamaModel> &models)
{
    QList<OllamaModel> out;
    for (const OllamaModel &model : models) {
        if (model.capabilities.supportsEmbedding)
            out.append(model);
    }
    return out;
}

QList<OllamaModel> llmModels(const QList<OllamaModel> &models)
{
    QList<OllamaModel> out;
    for (const OllamaModel &model : models) {
        if (!model.capabilities.supportsVision && !model.capabilities.supportsEmbedding)
            out.append(model);
    }
    return out;
}

const OllamaModel *findModel(const QList<OllamaModel> &models, const QString &name)
{
    for (const OllamaModel &model : models) {
        if (model.name == name)
            return &model;
    }
    return nullptr;
}

QString formattedModelSize(qint64 bytes, const QLocale &locale)
{
    constexpr auto format = QLocale::DataSizeSIFormat;
    // The magnitude of the smallest qint64 has no qint64; one byte less
    // changes nothing that is shown.
    if (bytes == std::numeric_limits<qint64>::min())
        ++bytes;
    const qint64 magnitude = bytes < 0 ? -bytes : bytes;
    if (magnitude < 1000)
        return locale.formattedDataSize(bytes, 0, format);

    // The same choice of unit as QLocale makes for base 1000.
    const int power = int(std::log10(double(magnitude)) / 3);
    const double value = double(magnitude) / std::pow(1000.0, power);
    const bool belowTen = std::round(value * 100.0) / 100.0 < 10.0;
    if (!belowTen && std::round(value * 10.0) / 10.0 >= 1000.0 && power < 6) {
        // Exactly one of the next unit, which is what the rounded value is.
        const auto next = qint64(std::pow(1000.0, power + 1));
        return locale.formattedDataSize(bytes < 0 ? -next : next, 2, format);
    }
    return locale.formattedDataSize(bytes, belowTen ? 2 : 1, format);
}

} // namespace ModelChoices
