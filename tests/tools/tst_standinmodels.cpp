#include "SentimentRater.h"
#include "TextEmbedder.h"

#include <QObject>
#include <QTest>

#include <cmath>

namespace {

double cosine(const std::vector<double> &a, const std::vector<double> &b)
{
    double dot = 0, na = 0, nb = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        dot += a[i] * b[i];
        na += a[i] * a[i];
        nb += b[i] * b[i];
    }
    return dot / std::sqrt(na * nb);
}

const QString opening = QStringLiteral(
    "Analyze the sentiment of the following text and respond with ONLY A SINGLE NUMBER from 1 to 5:\n\n"
    "1 = Very Negative\n2 = Negative\n3 = Neutral\n4 = Positive\n5 = Very Positive\n\n"
    "Do not include any explanation, justification, or additional text. Respond with just the number.\n\n"
    "Text: \"");
const QString closing = QStringLiteral("\"\n\nRating:");

} // namespace

// The stand-in's word-list rater and hashing embedder.
class TestStandinModels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findsTheTextInTheRatingPrompt_data();
    void findsTheTextInTheRatingPrompt();
    void ratesTexts_data();
    void ratesTexts();
    void mapsPolarityToRatings_data();
    void mapsPolarityToRatings();
    void embeddingsAreUnitVectorsOfFixedLength_data();
    void embeddingsAreUnitVectorsOfFixedLength();
    void embeddingsAreDeterministic();
    void paraphrasesScoreAboveUnrelatedPairs_data();
    void paraphrasesScoreAboveUnrelatedPairs();
    void canonicalWords_data();
    void canonicalWords();
};

void TestStandinModels::findsTheTextInTheRatingPrompt_data()
{
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<bool>("isRatingPrompt");
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << opening + "I love it" + closing << true << "I love it";
    QTest::newRow("quotes and lines inside")
        << opening + "He said \"Text: \"no\"\"\nthen left" + closing << true << "He said \"Text: \"no\"\"\nthen left";
    QTest::newRow("rating word inside") << opening + "a\"\n\nRating: b" + closing << true << "a\"\n\nRating: b";
    QTest::newRow("empty text") << opening + closing << true << "";
    QTest::newRow("space after Rating") << opening + "ok" + closing + " \n" << true << "ok";
    QTest::newRow("other prompt") << "Why is the sky blue?" << false << "";
    QTest::newRow("heading only") << opening.left(94) << false << "";
    QTest::newRow("no closing") << opening + "I love it" << false << "";
    QTest::newRow("prompt inside another") << "Please: " + opening + "x" + closing << false << "";
}

void TestStandinModels::findsTheTextInTheRatingPrompt()
{
    QFETCH(QString, prompt);
    QFETCH(bool, isRatingPrompt);
    QFETCH(QString, text);

    const auto found = SentimentRater::ratedText(prompt.toStdString());
    QCOMPARE(found.has_value(), isRatingPrompt);
    if (found)
        QCOMPARE(QString::fromStdString(*found), text);
}

void TestStandinModels::ratesTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");

    QTest::newRow("very positive") << "I absolutely love this, it is wonderful!" << 5 << 5;
    QTest::newRow("positive") << "The food was good." << 4 << 5;
    QTest::newRow("typographic apostrophe") << "It\u2019s great" << 4 << 5;
    QTest::newRow("very negative") << "This is the worst, most awful service ever." << 1 << 1;
    QTest::newRow("negative") << "The room was dirty." << 1 << 2;
    QTest::newRow("neutral fact") << "The meeting is at 3 pm in room 204." << 3 << 3;
    QTest::newRow("empty") << "" << 3 << 3;
    QTest::newRow("not good") << "This is not good." << 1 << 2;
    QTest::newRow("contraction negates") << "I don't like it" << 1 << 2;
    QTest::newRow("contraction without apostrophe") << "i dont like it" << 1 << 2;
    QTest::newRow("not bad leans positive") << "Not bad at all." << 4 << 4;
    QTest::newRow("negation ends at a comma") << "Not today, but the show was great" << 4 << 5;
    QTest::newRow("negation reaches past a filler word") << "It was not very good" << 1 << 2;
    QTest::newRow("intensified negative") << "The plot was extremely boring" << 1 << 2;
    QTest::newRow("contrast favours the end") << "The start was good but the ending was awful" << 1 << 2;
    QTest::newRow("upper case") << "EXCELLENT WORK" << 5 << 5;
    QTest::newRow("quoted words") << "'great' and \"lovely\"" << 5 << 5;
    QTest::newRow("inflected") << "The nicest day, lovely people" << 5 << 5;
    QTest::newRow("no problem") << "No problem." << 4 << 4;
}

void TestStandinModels::ratesTexts()
{
    QFETCH(QString, text);
    QFETCH(int, lowest);
    QFETCH(int, highest);

    const int rating = SentimentRater::rating(text.toStdString());
    QVERIFY2(rating >= lowest && rating <= highest,
             qPrintable(QStringLiteral("rated %1 (polarity %2)")
                            .arg(rating)
                            .arg(SentimentRater::polarity(text.toStdString()))));
}

void TestStandinModels::mapsPolarityToRatings_data()
{
    QTest::addColumn<double>("polarity");
    QTest::addColumn<int>("rating");

    QTest::newRow("strong negative") << -5.0 << 1;
    QTest::newRow("negative bound") << -2.0 << 1;
    QTest::newRow("just above") << -1.99 << 2;
    QTest::newRow("mild negative") << -0.5 << 2;
    QTest::newRow("almost neutral") << -0.49 << 3;
    QTest::newRow("zero") << 0.0 << 3;
    QTest::newRow("almost positive") << 0.49 << 3;
    QTest::newRow("mild positive") << 0.5 << 4;
    QTest::newRow("just below") << 1.99 << 4;
    QTest::newRow("positive bound") << 2.0 << 5;
    QTest::newRow("strong positive") << 9.0 << 5;
}

void TestStandinModels::mapsPolarityToRatings()
{
    QFETCH(double, polarity);
    QFETCH(int, rating);
    QCOMPARE(SentimentRater::ratingForPolarity(polarity), rating);
}

void TestStandinModels::embeddingsAreUnitVectorsOfFixedLength_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("sentence") << "The cat sat on the mat";
    QTest::newRow("one word") << "cat";
    QTest::newRow("stop words only") << "the of and";
    QTest::newRow("punctuation only") << "?!";
    QTest::newRow("white space only") << "   ";
    QTest::newRow("non-ASCII") << "Grüße aus Köln";
    QTest::newRow("long") << QString("word ").repeated(2000);
}

void TestStandinModels::embeddingsAreUnitVectorsOfFixedLength()
{
    QFETCH(QString, text);

    const std::vector<double> vector = TextEmbedder::embed(text.toStdString());
    QCOMPARE(vector.size(), TextEmbedder::dimensions);
    double norm = 0;
    for (double value : vector) {
        QVERIFY(std::isfinite(value));
        norm += value * value;
    }
    QVERIFY(std::abs(std::sqrt(norm) - 1.0) < 1e-9);
}

void TestStandinModels::embeddingsAreDeterministic()
{
    const std::string text = "A feline rested on the rug";
    QCOMPARE(TextEmbedder::embed(text), TextEmbedder::embed(text));
    QVERIFY(cosine(TextEmbedder::embed(text), TextEmbedder::embed(text)) > 0.9999);

    // Only an empty text has no direction.
    for (double value : TextEmbedder::embed(""))
        QCOMPARE(value, 0.0);
}

void TestStandinModels::paraphrasesScoreAboveUnrelatedPairs_data()
{
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("paraphrase");
    QTest::addColumn<QString>("unrelated");

    QTest::newRow("cat") << "The cat sat on the mat" << "A feline rested on the rug"
                         << "The stock market fell sharply today";
    QTest::newRow("car") << "I bought a new car" << "I purchased a new automobile" << "The weather is rainy in town";
    QTest::newRow("film") << "The movie was great" << "The film was excellent" << "My dog runs fast in the park";
    QTest::newRow("shared words") << "Children play in the park" << "Kids play in the park"
                                  << "Doctors work in the hospital";
}

void TestStandinModels::paraphrasesScoreAboveUnrelatedPairs()
{
    QFETCH(QString, sentence);
    QFETCH(QString, paraphrase);
    QFETCH(QString, unrelated);

    const auto a = TextEmbedder::embed(sentence.toStdString());
    const double close = cosine(a, TextEmbedder::embed(paraphrase.toStdString()));
    const double far = cosine(a, TextEmbedder::embed(unrelated.toStdString()));
    // Clearly apart, so that the gauge shows the difference: a paraphrase
    // reads as similar, an unrelated sentence as different.
    QVERIFY2(close >= 0.5, qPrintable(QString::number(close)));
    QVERIFY2(far < 0.3, qPrintable(QString::number(far)));
}

void TestStandinModels::canonicalWords_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("canonical");

    QTest::newRow("synonym") << "feline" << "cat";
    QTest::newRow("head word") << "cat" << "cat";
    QTest::newRow("plural") << "tables" << "table";
    QTest::newRow("plural of a synonym") << "automobiles" << "car";
    QTest::newRow("ies") << "stories" << "story";
    QTest::newRow("not a plural") << "glass" << "glass";
    QTest::newRow("short word kept") << "bus" << "bus";
    QTest::newRow("ing") << "jumping" << "jump";
    QTest::newRow("possessive") << "teacher's" << "teacher";
}

void TestStandinModels::canonicalWords()
{
    QFETCH(QString, word);
    QFETCH(QString, canonical);
    QCOMPARE(QString::fromStdString(TextEmbedder::canonicalWord(word.toStdString())), canonical);
}

QTEST_GUILESS_MAIN(TestStandinModels)
#include "tst_standinmodels.moc"
