// Feeds arbitrary bytes to the model-list reader.
#include "catalogue/ModelRecords.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto result = ModelRecords::readModelsResponse(body);
    if (result) {
        for (const OllamaModel &model : result.value().models)
            (void)qHash(model);
    } else if (result.error().description.isEmpty()) {
        __builtin_trap(); // every failure must say what went wrong
    }
    return 0;
}
