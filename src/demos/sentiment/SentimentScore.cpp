#include "SentimentScore.h"

#include "SentimentReading.h"

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

int parseSentimentScore(const QString &reply)
{
    return SentimentReadingText::readSteps(reply).score;
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
