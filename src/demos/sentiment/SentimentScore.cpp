#include "SentimentScore.h"

#include "SentimentReading.h"

#include <QCoreApplication>

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
    case 1: return QCoreApplication::translate("SentimentScore", "Very Negative");
    case 2: return QCoreApplication::translate("SentimentScore", "Negative");
    case 3: return QCoreApplication::translate("SentimentScore", "Neutral");
    case 4: return QCoreApplication::translate("SentimentScore", "Positive");
    case 5: return QCoreApplication::translate("SentimentScore", "Very Positive");
    default: return {};
    }
}

QString sentimentDescription(int score)
{
    switch (score) {
    case 1: return QCoreApplication::translate("SentimentScore",
                                               "This text expresses strong negative emotions or opinions.");
    case 2: return QCoreApplication::translate("SentimentScore", "This text leans toward negative sentiment.");
    case 3: return QCoreApplication::translate("SentimentScore",
                                               "This text is neutral, with balanced or factual tone.");
    case 4: return QCoreApplication::translate("SentimentScore", "This text leans toward positive sentiment.");
    case 5: return QCoreApplication::translate("SentimentScore",
                                               "This text expresses strong positive emotions or opinions.");
    default: return {};
    }
}
