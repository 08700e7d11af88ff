// Feeds arbitrary bytes to the embed reply reader and the cosine.
#include "demos/similarity/SimilarityClient.h"
#include "demos/similarity/SimilarityMath.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto result = SimilarityClient::readEmbedReply(body);
    if (!result)
        return 0;
    const EmbeddingVector &vector = result.value();
    // The reader refuses every value that is not a finite 32-bit float.
    for (float value : vector)
        if (!std::isfinite(value))
            __builtin_trap();
    EmbeddingVector reversed(vector.crbegin(), vector.crend());
    const float similarity = cosineSimilarity(vector, reversed);
    (void)similarityDescription(similarity);
    (void)truncatedPercentage(similarity);
    return 0;
}
