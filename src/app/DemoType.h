#pragma once

#include <QList>
#include <QString>

#include <optional>

// The demos that the main window can show. Each demo's title is also its
// text value.
enum class DemoType {
    sentimentAnalysis,
    sentenceSimilarity,
};

namespace DemoTypes {

// Every demo, in the order in which the switch shows them.
QList<DemoType> allCases();

// "Sentiment Analysis" or "Sentence Similarity".
QString title(DemoType type);

// The title in the user's language, for the switch and the menus; title()
// stays English because history entries and tests store it.
QString displayTitle(DemoType type);

// The demo whose title is exactly `text`; absent for any other text.
std::optional<DemoType> fromText(const QString &text);

} // namespace DemoTypes

// Hashes by title, so that equal demos hash equally in any container.
size_t qHash(DemoType type, size_t seed = 0) noexcept;
