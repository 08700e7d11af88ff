#pragma once

#include "app/DemoType.h"
#include "history/SessionHistory.h"

#include <QString>
#include <QStringList>

namespace SentenceMap {
struct Layout;
}

// The session-history entries each demo records, built from the demo's own
// results so that the history itself holds only plain values.
namespace DemoHistory {

// The Sentence Map's title as the history stores it (English, like the demos' titles).
QString sentenceMapTitle();

// "4 (Positive)".
HistoryEntry sentiment(const QString &model, const QString &text, int score);

// "89% (These sentences are quite similar.)", with the gauge's rounded
// percentage; `similarity` is the clamped value the screen shows.
HistoryEntry similarity(const QString &model, const QString &first, const QString &second, float similarity);

// A map of `sentences` (one text, one sentence per line): "5 sentences,
// closest 1 and 3 at 91 %", with that highest similarity as the number.
HistoryEntry sentenceMap(const QString &model, const QStringList &sentences, const SentenceMap::Layout &layout);

// A failed run of a main window's demo.
HistoryEntry failure(DemoType demo, const QString &model, const QStringList &texts, const QString &errorLine);

// A failed map of `sentences`.
HistoryEntry sentenceMapFailure(const QString &model, const QStringList &sentences, const QString &errorLine);

} // namespace DemoHistory
