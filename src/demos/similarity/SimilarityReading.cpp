#include "SimilarityReading.h"

#include "app/Languages.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace SimilarityReadingText {

QString number(float value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("∞") : QStringLiteral("-∞");
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString component(float value)
{
    return Languages::localizedNumber(QString::number(double(value), 'g', 4));
}

QString leadingComponents(const EmbeddingVector &vector, int count)
{
    if (vector.isEmpty())
        return QCoreApplication::translate("SimilarityReadingText", "(empty)");
    QStringList parts;
    const qsizetype shown = qMin<qsizetype>(vector.size(), qMax(count, 0));
    for (qsizetype i = 0; i < shown; ++i)
        parts.append(component(vector.at(i)));
    if (vector.size() > shown)
        parts.append(QStringLiteral("…"));
    // Where the decimal mark is a comma, semicolons keep the numbers apart.
    return parts.join(QLocale().decimalPoint() == QLatin1String(",") ? QStringLiteral("; ") : QStringLiteral(", "));
}

QString dimensions(qsizetype count)
{
    return count == 1 ? QCoreApplication::translate("SimilarityReadingText", "1 dimension")
                      : QCoreApplication::translate("SimilarityReadingText", "%n dimensions", nullptr, int(count));
}

QString hundredfold(float similarity)
{
    return Languages::decimal(double(similarity * 100.0f), 2);
}

int gaugePercentage(float similarity)
{
    const float percent = (similarity >= 1.0f ? 1.0f : similarity) * 100.0f;
    if (!std::isfinite(percent))
        return 0;
    // Under the default rounding mode nearbyint rounds half to even, as the
    // gauge's printf does; the clamp keeps the conversion defined.
    return int(std::nearbyint(std::clamp(double(percent), -1e9, 1e9)));
}

QString percentageNote(float similarity, int gaugePercent)
{
    const int truncated = truncatedPercentage(similarity);
    const QString value = hundredfold(similarity);
    if (truncated == gaugePercent) {
        return QCoreApplication::translate("SimilarityReadingText",
                                           "The description cuts the hundredfold value %1 off at the whole number and the gauge "
                                           "rounds it to the nearest; here both give %2, but they can differ by one.")
            .arg(value)
            .arg(truncated);
    }
    return QCoreApplication::translate("SimilarityReadingText",
                                       "The description cuts the hundredfold value %1 off at %2, while the gauge rounds it to "
                                       "%3, so the two differ by one.")
        .arg(value)
        .arg(truncated)
        .arg(gaugePercent);
}

QString guardNote(const SimilarityArithmetic &arithmetic, qsizetype firstLength, qsizetype secondLength)
{
    switch (arithmetic.guard) {
    case SimilarityArithmetic::Guard::none: return {};
    case SimilarityArithmetic::Guard::lengthsDiffer:
        return QCoreApplication::translate("SimilarityReadingText",
                                           "The vectors have different lengths (%1 and %2), so they cannot be compared and the "
                                           "cosine is taken as 0.")
            .arg(firstLength)
            .arg(secondLength);
    case SimilarityArithmetic::Guard::zeroNorm:
        return QCoreApplication::translate("SimilarityReadingText",
                                           "A vector with norm 0 has no direction, so no angle can be measured and the cosine "
                                           "is taken as 0.");
    }
    return {};
}

} // namespace SimilarityReadingText
