// Feeds arbitrary bytes to the token-probabilities reader and the texts made
// from what it reads.
#include "demos/sentiment/TokenProbabilities.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto result = TokenProbabilityText::readReply(body);
    if (!result)
        return 0;
    if (const auto *problem = std::get_if<TokenProbabilityProblem>(&result.value())) {
        if (TokenProbabilityText::problemMessage(*problem).isEmpty())
            __builtin_trap();
        return 0;
    }
    const auto &p = std::get<TokenProbabilities>(result.value());
    // Probabilities stay probabilities: each rating and the rest between 0
    // and 1, all of them together 1 at most, the average a rating.
    for (const double rating : p.ratings) {
        if (!(rating >= 0.0 && rating <= 1.0))
            __builtin_trap();
    }
    if (!(p.ratingMass() <= 1.0 + 1e-9) || !(p.otherMass() >= 0.0 && p.otherMass() <= 1.0))
        __builtin_trap();
    if (const auto expected = p.expectedRating(); expected && !(*expected >= 1.0 - 1e-9 && *expected <= 5.0 + 1e-9))
        __builtin_trap();
    if (p.candidates.isEmpty())
        __builtin_trap();
    for (const TokenCandidate &candidate : p.candidates) {
        if (!(std::isfinite(candidate.logprob) && candidate.logprob <= 0.0))
            __builtin_trap();
        (void)TokenProbabilityText::visibleToken(candidate.token);
        (void)TokenProbabilityText::tablePercent(std::exp(candidate.logprob));
        (void)TokenProbabilityText::tableLogprob(candidate.logprob);
    }
    if (TokenProbabilityText::summary(p).isEmpty())
        __builtin_trap();
    return 0;
}
