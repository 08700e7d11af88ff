#include "DemoType.h"

#include <QCoreApplication>
#include <QHash>

namespace DemoTypes {

QList<DemoType> allCases()
{
    return {DemoType::sentimentAnalysis, DemoType::sentenceSimilarity};
}

QString title(DemoType type)
{
    switch (type) {
    case DemoType::sentimentAnalysis: return QStringLiteral(QT_TRANSLATE_NOOP("DemoType", "Sentiment Analysis"));
    case DemoType::sentenceSimilarity: return QStringLiteral(QT_TRANSLATE_NOOP("DemoType", "Sentence Similarity"));
    }
    Q_UNREACHABLE();
}

QString displayTitle(DemoType type)
{
    return QCoreApplication::translate("DemoType", title(type).toUtf8().constData());
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
