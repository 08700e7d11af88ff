#include "SentimentScore.h"

#include "catalogue/TextTrimming.h"

#include <limits>
#include <optional>

namespace SentimentScore {

const QString promptOpening = QStringLiteral(
    "Analyze the sentiment of the following text and respond with ONLY A SINGLE NUMBER from 1 to 5:\n"
    "\n"
    "1 = Very Negative\n"
    "2 = Negative\n"
    "3 = Neutral\n"
    "4 = Positive\n"
    "5 = Very Positive\n"
    "\n"
    "Do not include any explanation, justification, or additional text. Respond with just the number.\n"
    "\n"
    "Text: \"");

const QString promptClosing = QStringLiteral("\"\n\nRating:");

QString sentimentPrompt(const QString &text)
{
    return promptOpening + text + promptClosing;
}

} // namespace SentimentScore

namespace {

constexpr int neutralScore = 3;

bool isAnswerPunctuation(QChar c)
{
    return c == u'.' || c == u'!' || c == u'?' || c == u',' || c == u'"' || c == u'\'' || c == u' ';
}

// A whole decimal number: an optional single sign, then one or more ASCII
// digits, nothing else. Absent when the text is not of that form or the value
// does not fit a signed 64-bit integer.
std::optional<qint64> wholeNumber(const QString &text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    // Accumulate as a negative number so that the minimum value fits too.
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        const int digit = u - u'0';
        if (value < (std::numeric_limits<qint64>::min() + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == std::numeric_limits<qint64>::min())
            return std::nullopt;
        value = -value;
    }
    return value;
}

} // namespace

int parseSentimentScore(const QString &reply)
{
    using namespace TextTrimming;
    const QString trimmed = trimmedWhitespaceAndLineBreaks(reply);

    qsizetype lineEnd = 0;
    while (lineEnd < trimmed.size() && !isLineBreak(trimmed.at(lineEnd)))
        ++lineEnd;
    const QString firstLine = trimmed.left(lineEnd);

    const QString candidate = trimmedBy(firstLine, isAnswerPunctuation);
    if (candidate.isEmpty())
        return neutralScore;

    const auto value = wholeNumber(candidate);
    if (!value || *value < 1 || *value > 5)
        return neutralScore;
    return static_cast<int>(*value);
}

QString sentimentLabel(int score)
{
    switch (score) {
    case 1: return QStringLiteral("Very Negative");
    case 2: return QStringLiteral("Negative");
    case 3: return QStringLiteral("Neutral");
    case 4: return QStringLiteral("Positive");
    case 5: return QStringLiteral("Very Positive");
    default: return {};
    }
}

QString sentimentDescription(int score)
{
    switch (score) {
    case 1: return QStringLiteral("This text expresses strong negative emotions or opinions.");
    case 2: return QStringLiteral("This text leans toward negative sentiment.");
    case 3: return QStringLiteral("This text is neutral, with balanced or factual tone.");
    case 4: return QStringLiteral("This text leans toward positive sentiment.");
    case 5: return QStringLiteral("This text expresses strong positive emotions or opinions.");
    default: return {};
    }
}
