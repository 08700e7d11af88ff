// Feeds arbitrary bytes to the many-sentence embed reply reader, then to the
// grid, the projection and the neighbours, as the Sentence Map uses them.
#include "demos/sentencemap/SentenceEmbeddings.h"
#include "demos/sentencemap/SentenceMapMath.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks how many sentences the reply should answer.
    const qsizetype expected = qsizetype(data[0] % 18);
    const QByteArray body(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));
    const auto result = SentenceEmbeddings::readReply(body, expected);
    if (!result)
        return 0;
    const QList<EmbeddingVector> &vectors = result.value();
    // An accepted reply holds exactly one non-empty vector per sentence, all
    // of one length, of finite floats.
    if (vectors.size() != expected)
        __builtin_trap();
    for (const EmbeddingVector &vector : vectors) {
        if (vector.isEmpty() || vector.size() != vectors.front().size())
            __builtin_trap();
        for (const float value : vector)
            if (!std::isfinite(value))
                __builtin_trap();
    }
    const SentenceMap::Layout layout = SentenceMap::computeLayout(vectors);
    if (layout.matrix.size() != expected || layout.projection.points.size() != expected)
        __builtin_trap();
    for (const SentenceMap::Neighbour &neighbour : layout.neighbours)
        if (neighbour.nearest < 0 || neighbour.nearest >= expected || neighbour.nearest == neighbour.sentence)
            __builtin_trap();
    return 0;
}
