#pragma once

#include <QString>

// The pure side of the sentiment demo: the prompt, the lenient reading of the
// model's answer, and the words for each score.
namespace SentimentScore {

// The prompt around the user's text, which is inserted unchanged between them.
extern const QString promptOpening;
extern const QString promptClosing;

QString sentimentPrompt(const QString &text);

} // namespace SentimentScore

// Reads a score from 1 to 5 out of the model's answer: the first line of the
// trimmed answer, stripped of surrounding ".!?,\"' ", must be a whole number
// (optional sign, ASCII digits) from 1 to 5. Anything else gives 3.
int parseSentimentScore(const QString &reply);

// "Very Negative" ... "Very Positive" for 1 to 5; empty for any other value.
QString sentimentLabel(int score);
// One sentence per score from 1 to 5; empty for any other value.
QString sentimentDescription(int score);
