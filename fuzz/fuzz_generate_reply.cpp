// Feeds arbitrary bytes to the generate reply reader and the score parser.
#include "demos/sentiment/SentimentClient.h"
#include "demos/sentiment/SentimentScore.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto result = SentimentClient::readGenerateReplyDetails(body);
    if (result && (result.value().score < 1 || result.value().score > 5))
        __builtin_trap();

    const int score = parseSentimentScore(QString::fromUtf8(body));
    if (score < 1 || score > 5)
        __builtin_trap();
    (void)sentimentLabel(score);
    return 0;
}
