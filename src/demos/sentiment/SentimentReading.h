#pragma once

#include <QString>

#include <optional>

// How a score was read out of the model's answer, step by step, so that the
// screen can show a learner what happened to the answer on its way to a
// number.
struct SentimentSteps
{
    // The first line of the answer after trimming white space and line breaks.
    QString firstLine;
    // That line with ".!?,\"' " stripped from both ends.
    QString stripped;
    // The score: the stripped text as a whole number from 1 to 5, else 3.
    int score = 3;
    // Whether the stripped text was not a whole number from 1 to 5, so the
    // neutral 3 stands in for it (an answer of exactly "3" is not a fallback).
    bool usedFallback = true;

    bool operator==(const SentimentSteps &) const = default;
};

// Everything about one analysis that explains its score: what was sent, what
// came back, how it was read, and the server's own timing when it sends it.
struct SentimentReading
{
    int score = 3;
    // The text as sent (already trimmed) and the full prompt around it.
    QString text;
    QString prompt;
    QString model;
    // The model's answer exactly as received, before any trimming.
    QString rawResponse;
    // What a thinking model reasoned before it answered, as received; empty
    // when it did not.
    QString thinking;
    QString firstLine;
    QString stripped;
    bool usedFallback = true;
    // From the reply, when present: nanoseconds, and generated tokens.
    std::optional<qint64> totalDuration;
    std::optional<qint64> loadDuration;
    std::optional<qint64> evalCount;

    bool operator==(const SentimentReading &) const = default;
};

namespace SentimentReadingText {

// The reading steps of an answer (the same rules that parseSentimentScore
// applies; it is built on this).
SentimentSteps readSteps(const QString &reply);

// The last step in words: "read as 4", or why the neutral 3 was used.
QString outcome(const SentimentSteps &steps);

// A duration given in nanoseconds in human units: "870 ns", "12.3 µs",
// "5.0 ms", "5.04 s", "2 min 5 s". Negative durations are shown as "0 ns".
QString duration(qint64 nanoseconds);

// "Total 5.04 s, model load 5.0 ms, 290 tokens generated", with only the
// parts the reply carried; empty when it carried none.
QString serverTiming(const SentimentReading &reading);

} // namespace SentimentReadingText
