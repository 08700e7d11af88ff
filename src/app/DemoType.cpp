#include "DemoType.h"

#include <QHash>

namespace DemoTypes {

QList<DemoType> allCases()
{
    return {DemoType::sentimentAnalysis, DemoType::sentenceSimilarity};
}

QString title(DemoType type)
{
    switch (type) {
    case DemoType::sentimentAnalysis: return QStringLiteral("Sentiment Analysis");
    case DemoType::sentenceSimilarity: return QStringLiteral("Sentence Similarity");
    }
    Q_UNREACHABLE();
}

std::optional<DemoType> fromText(const QString &text)
{
    for (const DemoType type : allCases()) {
        if (title(type) == text)
            return type;
    }
    return std::nullopt;
}

} // namespace DemoTypes

size_t qHash(DemoType type, size_t seed) noexcept
{
    return qHash(DemoTypes::title(type), seed);
}
