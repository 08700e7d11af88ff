#include "Examples.h"

#include <QCoreApplication>

namespace Examples {

const QList<Example> &all()
{
    static const QList<Example> examples = {
        // Sentiment Analysis.
        {QStringLiteral("praise"), DemoType::sentimentAnalysis, QT_TRANSLATE_NOOP("Examples", "Clear Praise"),
         QT_TRANSLATE_NOOP("Examples", "Plainly positive words: expect a high score."),
         {QStringLiteral("The hotel was wonderful: friendly staff, a spotless room and the best breakfast "
                         "I have ever had. I can't wait to go back!")}},
        {QStringLiteral("complaint"), DemoType::sentimentAnalysis, QT_TRANSLATE_NOOP("Examples", "Clear Complaint"),
         QT_TRANSLATE_NOOP("Examples", "Plainly negative words: expect a low score."),
         {QStringLiteral("Our flight was cancelled, the luggage was lost and nobody at the desk would help us. "
                         "A miserable start to the holiday.")}},
        {QStringLiteral("neutral"), DemoType::sentimentAnalysis, QT_TRANSLATE_NOOP("Examples", "Neutral Fact"),
         QT_TRANSLATE_NOOP("Examples", "A report with no feelings in it: expect the middle of the scale."),
         {QStringLiteral("We stayed seven nights in a hotel near the station and took the number 4 bus into "
                         "the old town each morning.")}},
        {QStringLiteral("negation"), DemoType::sentimentAnalysis, QT_TRANSLATE_NOOP("Examples", "Negation"),
         QT_TRANSLATE_NOOP("Examples", "\"Bad\" appears, but \"not bad at all\" is praise: does the model read the whole "
                                       "phrase?"),
         {QStringLiteral("The food was not bad at all.")}},
        {QStringLiteral("sarcasm"), DemoType::sentimentAnalysis, QT_TRANSLATE_NOOP("Examples", "Sarcasm"),
         QT_TRANSLATE_NOOP("Examples", "Positive words with a negative meaning: models often take them at face value."),
         {QStringLiteral("Oh great, another three hours stuck at the airport. Just what I wanted from my "
                         "holiday.")}},
        {QStringLiteral("mixed"), DemoType::sentimentAnalysis, QT_TRANSLATE_NOOP("Examples", "Mixed Feelings"),
         QT_TRANSLATE_NOOP("Examples", "Praise and complaint together: one number has to sum up both."),
         {QStringLiteral("The beach was beautiful and the sea was warm, but the hotel was noisy and the food "
                         "was disappointing.")}},
        {QStringLiteral("split"), DemoType::sentimentAnalysis, QT_TRANSLATE_NOOP("Examples", "Torn Between Two Ratings"),
         QT_TRANSLATE_NOOP("Examples", "One half praises, the other complains: under \"How sure was the model?\" the "
                                       "probability splits between two ratings."),
         {QStringLiteral("The room was lovely and quiet, but the staff were rude and the breakfast was cold.")}},

        // Sentence Similarity.
        {QStringLiteral("paraphrase"), DemoType::sentenceSimilarity, QT_TRANSLATE_NOOP("Examples", "Paraphrase"),
         QT_TRANSLATE_NOOP("Examples", "Different words, same meaning: expect a high similarity."),
         {QStringLiteral("She bought a new car last week."),
          QStringLiteral("Last week she purchased a new automobile.")}},
        {QStringLiteral("negation-pair"), DemoType::sentenceSimilarity, QT_TRANSLATE_NOOP("Examples", "Negation"),
         QT_TRANSLATE_NOOP("Examples", "One word flips the meaning, yet the vectors often stay close."),
         {QStringLiteral("The film was good."), QStringLiteral("The film was not good.")}},
        {QStringLiteral("word-order"), DemoType::sentenceSimilarity, QT_TRANSLATE_NOOP("Examples", "Same Words, Different Meaning"),
         QT_TRANSLATE_NOOP("Examples", "Every word is shared, but who did what to whom is not."),
         {QStringLiteral("The dog bit the man."), QStringLiteral("The man bit the dog.")}},
        {QStringLiteral("unrelated"), DemoType::sentenceSimilarity, QT_TRANSLATE_NOOP("Examples", "Unrelated"),
         QT_TRANSLATE_NOOP("Examples", "Nothing in common: expect a low similarity."),
         {QStringLiteral("The train leaves at seven in the morning."),
          QStringLiteral("Photosynthesis turns sunlight into chemical energy.")}},
        {QStringLiteral("translation"), DemoType::sentenceSimilarity, QT_TRANSLATE_NOOP("Examples", "Translation"),
         QT_TRANSLATE_NOOP("Examples", "The same sentence in English and French: a multilingual model places them close."),
         {QStringLiteral("The weather is lovely today."), QStringLiteral("Il fait très beau aujourd'hui.")}},
    };
    return examples;
}

QList<Example> forDemo(DemoType demo)
{
    QList<Example> result;
    for (const Example &example : all()) {
        if (example.demo == demo)
            result.append(example);
    }
    return result;
}

QString displayed(const QString &text)
{
    return QCoreApplication::translate("Examples", text.toUtf8().constData());
}

int textCount(DemoType demo)
{
    return demo == DemoType::sentenceSimilarity ? 2 : 1;
}

const QList<SentenceSet> &sentenceSets()
{
    static const QList<SentenceSet> sets = {
        {QStringLiteral("topics"), QT_TRANSLATE_NOOP("Examples", "Three Topics"),
         QT_TRANSLATE_NOOP("Examples", "Animals, vehicles and food: expect three groups on the map and three bright blocks in the "
                                       "grid."),
         {QStringLiteral("The cat chased a mouse across the garden."),
          QStringLiteral("A dog barked at the postman all morning."),
          QStringLiteral("Horses grazed quietly in the green field."),
          QStringLiteral("The train was delayed by twenty minutes."),
          QStringLiteral("She parked her car outside the station."),
          QStringLiteral("The bus to the airport leaves every hour."),
          QStringLiteral("We baked fresh bread and an apple pie."), QStringLiteral("The soup needs a little more salt."),
          QStringLiteral("He ordered pasta with tomato sauce.")}},
        {QStringLiteral("paraphrases"), QT_TRANSLATE_NOOP("Examples", "Paraphrases and a Negation"),
         QT_TRANSLATE_NOOP("Examples", "Three ways to say one thing, its opposite and two strangers: the negation often lands right "
                                       "beside the paraphrases."),
         {QStringLiteral("The meeting was moved to Friday."),
          QStringLiteral("They rescheduled the meeting for Friday."),
          QStringLiteral("Friday is the new date for the meeting."),
          QStringLiteral("The meeting was not moved to Friday."),
          QStringLiteral("The library opens at nine in the morning."),
          QStringLiteral("Our cat sleeps on the windowsill.")}},
        {QStringLiteral("languages"), QT_TRANSLATE_NOOP("Examples", "One Sentence, Several Languages"),
         QT_TRANSLATE_NOOP("Examples", "Two sentences, each in four languages: a multilingual model groups them by meaning, others "
                                       "by language."),
         {QStringLiteral("The weather is lovely today."), QStringLiteral("Il fait très beau aujourd'hui."),
          QStringLiteral("Das Wetter ist heute herrlich."), QStringLiteral("Hace un tiempo precioso hoy."),
          QStringLiteral("The stock market fell sharply this morning."),
          QStringLiteral("La bourse a fortement chuté ce matin."),
          QStringLiteral("Die Börse ist heute Morgen stark gefallen."),
          QStringLiteral("La bolsa cayó con fuerza esta mañana.")}},
    };
    return sets;
}

} // namespace Examples
