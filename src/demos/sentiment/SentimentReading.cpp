#include "SentimentReading.h"

#include "app/Languages.h"
#include "catalogue/TextTrimming.h"

#include <QCoreApplication>
#include <QStringList>

#include <limits>

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

// `value` printed with the given decimals, or nothing when the printed value
// reaches 1000 (then the next larger unit reads better: "1.0 ms", not
// "1000.0 µs").
std::optional<QString> belowThousand(double value, int decimals)
{
    if (QString::number(value, 'f', decimals).toDouble() >= 1000.0)
        return std::nullopt;
    return Languages::decimal(value, decimals);
}

} // namespace

namespace SentimentReadingText {

SentimentSteps readSteps(const QString &reply)
{
    using namespace TextTrimming;
    SentimentSteps steps;
    const QString trimmed = trimmedWhitespaceAndLineBreaks(reply);

    qsizetype lineEnd = 0;
    while (lineEnd < trimmed.size() && !isLineBreak(trimmed.at(lineEnd)))
        ++lineEnd;
    steps.firstLine = trimmed.left(lineEnd);
    steps.stripped = trimmedBy(steps.firstLine, isAnswerPunctuation);

    const auto value = steps.stripped.isEmpty() ? std::nullopt : wholeNumber(steps.stripped);
    if (value && *value >= 1 && *value <= 5) {
        steps.score = static_cast<int>(*value);
        steps.usedFallback = false;
    } else {
        steps.score = neutralScore;
        steps.usedFallback = true;
    }
    return steps;
}

QString outcome(const SentimentSteps &steps)
{
    if (!steps.usedFallback)
        return QCoreApplication::translate("SentimentReadingText", "read as %1").arg(steps.score);
    if (steps.stripped.isEmpty())
        return QCoreApplication::translate("SentimentReadingText",
                                           "nothing is left to read, so the neutral fallback %1 was used")
            .arg(neutralScore);
    return QCoreApplication::translate("SentimentReadingText",
                                       "not a whole number from 1 to 5, so the neutral fallback %1 was used")
        .arg(neutralScore);
}

QString duration(qint64 nanoseconds)
{
    const qint64 ns = qMax<qint64>(nanoseconds, 0);
    if (ns < 1000)
        return QCoreApplication::translate("SentimentReadingText", "%1 ns").arg(ns);
    if (const auto us = belowThousand(double(ns) / 1e3, 1))
        return QCoreApplication::translate("SentimentReadingText", "%1 µs").arg(*us);
    if (const auto ms = belowThousand(double(ns) / 1e6, 1))
        return QCoreApplication::translate("SentimentReadingText", "%1 ms").arg(*ms);
    const double seconds = double(ns) / 1e9;
    if (QString::number(seconds, 'f', 2).toDouble() < 60.0)
        return QCoreApplication::translate("SentimentReadingText", "%1 s").arg(Languages::decimal(seconds, 2));
    const qint64 whole = qRound64(seconds);
    return QCoreApplication::translate("SentimentReadingText", "%1 min %2 s").arg(whole / 60).arg(whole % 60);
}

QString serverTiming(const SentimentReading &reading)
{
    QStringList parts;
    if (reading.totalDuration)
        parts.append(QCoreApplication::translate("SentimentReadingText",
                                                 "total %1").arg(duration(*reading.totalDuration)));
    if (reading.loadDuration)
        parts.append(QCoreApplication::translate("SentimentReadingText",
                                                 "model load %1").arg(duration(*reading.loadDuration)));
    if (reading.evalCount) {
        const int count = int(qMin<qint64>(*reading.evalCount, std::numeric_limits<int>::max()));
        parts.append(count == 1 ? QCoreApplication::translate("SentimentReadingText", "1 token generated")
                                : QCoreApplication::translate("SentimentReadingText", "%n tokens generated", nullptr,
                                                              count));
    }
    QString text = parts.join(QStringLiteral(", "));
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

} // namespace SentimentReadingText
