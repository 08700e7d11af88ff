#include "DemoHistory.h"

#include "app/Languages.h"
#include "demos/sentencemap/SentenceMapMath.h"
#include "demos/sentiment/SentimentScore.h"
#include "demos/similarity/SimilarityMath.h"
#include "demos/similarity/SimilarityReading.h"

#include <QCoreApplication>

#include <algorithm>

namespace DemoHistory {

QString sentenceMapTitle()
{
    // Stored in English like the demos' titles, so that "Use Again" finds
    // the map whatever the language was when the row was made; the history
    // shows it translated.
    return QStringLiteral("Sentence Map");
}

HistoryEntry sentiment(const QString &model, const QString &text, int score)
{
    HistoryEntry entry;
    entry.demo = DemoTypes::title(DemoType::sentimentAnalysis);
    entry.model = model;
    entry.texts = {text};
    entry.value = score;
    entry.valueText = QString::number(score);
    entry.result = QStringLiteral("%1 (%2)").arg(score).arg(sentimentLabel(score));
    return entry;
}

HistoryEntry similarity(const QString &model, const QString &first, const QString &second, float similarity)
{
    HistoryEntry entry;
    entry.demo = DemoTypes::title(DemoType::sentenceSimilarity);
    entry.model = model;
    entry.texts = {first, second};
    entry.value = double(similarity);
    entry.valueText = SimilarityReadingText::number(similarity);
    entry.result = QStringLiteral("%1 (%2)")
                       .arg(Languages::percent(SimilarityReadingText::gaugePercentage(similarity)),
                            similarityDescription(similarity));
    return entry;
}

HistoryEntry sentenceMap(const QString &model, const QStringList &sentences, const SentenceMap::Layout &layout)
{
    HistoryEntry entry;
    entry.demo = sentenceMapTitle();
    entry.model = model;
    entry.texts = {sentences.join(QLatin1Char('\n'))};
    const QString count = QCoreApplication::translate("SentenceMapWindow", "%n sentences", nullptr,
                                                      int(sentences.size()));
    // The closest pair of the whole map: the highest of the nearest
    // neighbours, the lower numbers on a tie.
    const SentenceMap::Neighbour *closest = nullptr;
    for (const SentenceMap::Neighbour &neighbour : layout.neighbours) {
        if (!closest || neighbour.similarity > closest->similarity)
            closest = &neighbour;
    }
    if (!closest) {
        entry.result = count;
        return entry;
    }
    // The figure the grid shows for the pair, as the similarity demo records it.
    const float shown = shownSimilarity(closest->similarity).value_or(0.0f);
    entry.value = double(shown);
    entry.valueText = SimilarityReadingText::number(shown);
    entry.result = QCoreApplication::translate("SentenceMapWindow", "%1, closest %2 and %3 at %4")
                       .arg(count)
                       .arg(std::min(closest->sentence, closest->nearest) + 1)
                       .arg(std::max(closest->sentence, closest->nearest) + 1)
                       .arg(SentenceMap::percentText(closest->similarity));
    return entry;
}

HistoryEntry failure(DemoType demo, const QString &model, const QStringList &texts, const QString &errorLine)
{
    return HistoryEntry::failure(DemoTypes::title(demo), model, texts, errorLine);
}

HistoryEntry sentenceMapFailure(const QString &model, const QStringList &sentences, const QString &errorLine)
{
    return HistoryEntry::failure(sentenceMapTitle(), model, {sentences.join(QLatin1Char('\n'))}, errorLine);
}

} // namespace DemoHistory
