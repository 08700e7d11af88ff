// Feeds arbitrary bytes to the show reader and the capability mapping.
#include "catalogue/ModelRecords.h"
#include "catalogue/OllamaService.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The capability mapping writes diagnostic lines; keep the fuzzer's
    // output readable.
    (void)std::freopen("/dev/null", "w", stdout);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto result = ModelRecords::readShowResponse(body);
    if (!result)
        return 0;
    const ModelCapabilities capabilities = OllamaService::parseCapabilities(result.value());
    // Tools are never reported together with vision.
    if (capabilities.supportsTools && capabilities.supportsVision)
        __builtin_trap();
    return 0;
}
