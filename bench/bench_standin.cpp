// The stand-in's embedding model: how long opening WordNet and the first
// vectors take (and, given the program's path, how long the stand-in takes
// from launch to listening), and how well its vectors group sentences: for
// each Sentence Map example set and three sets the examples do not contain, the
// average similarity of pairs within a group and across groups, and the share
// of the spread the map's two directions hold.
#include "BenchSupport.h"
#include "SenseEmbedder.h"
#include "WordNet.h"
#include "app/Examples.h"
#include "demos/sentencemap/SentenceMapMath.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <cstdio>

namespace {

struct GroupedSet
{
    const char *name;
    QStringList sentences;
    // The group of each sentence; a sentence alone in its group only has
    // pairs across.
    QList<int> groups;
};

// Three topics the examples do not touch: weather, clothes and tools.
const QStringList ownTopics = {
    QStringLiteral("Heavy snow covered the mountains overnight."),
    QStringLiteral("A thunderstorm brought hail and strong winds."),
    QStringLiteral("Fog drifted over the harbour at dawn."),
    QStringLiteral("The forecast promises sunshine and a warm breeze."),
    QStringLiteral("She wore a wool sweater and a scarf."),
    QStringLiteral("His jacket has leather buttons."),
    QStringLiteral("They bought new shoes and socks."),
    QStringLiteral("The dress had a silk collar."),
    QStringLiteral("He hammered nails into the wooden plank."),
    QStringLiteral("The carpenter sawed the beam in half."),
    QStringLiteral("Screws and bolts hold the shelf together."),
    QStringLiteral("She drilled a hole in the brick wall."),
};

// Three more, told apart mostly by people's occupations (music, sport,
// medicine), which WordNet files under one kind, "person".
const QStringList peopleTopics = {
    QStringLiteral("The violinist tuned her instrument before the concert."),
    QStringLiteral("A drummer and a guitarist formed a rock band."),
    QStringLiteral("The orchestra rehearsed a symphony by Beethoven."),
    QStringLiteral("He sang a song while playing the piano."),
    QStringLiteral("The striker scored twice in the football match."),
    QStringLiteral("Our team won the tennis tournament."),
    QStringLiteral("She swam ten lengths of the pool."),
    QStringLiteral("The goalkeeper caught the ball with both hands."),
    QStringLiteral("The nurse gave the patient an injection."),
    QStringLiteral("A surgeon operated on his broken leg."),
    QStringLiteral("The physician prescribed antibiotics for the infection."),
    QStringLiteral("Hospitals need extra beds for sick children."),
};

// And three more, as a check that the weights were not fitted to the two
// sets above alone: cooking, money and travel.
const QStringList everydayTopics = {
    QStringLiteral("Chop the onions and fry them in butter."),
    QStringLiteral("She stirred the risotto over a low flame."),
    QStringLiteral("Roast the chicken in a hot oven for an hour."),
    QStringLiteral("Whisk the eggs with sugar and flour."),
    QStringLiteral("The bank raised its interest rates again."),
    QStringLiteral("Investors sold their shares after the profit warning."),
    QStringLiteral("He paid off the loan with his savings."),
    QStringLiteral("The company's debts exceeded its assets."),
    QStringLiteral("We booked a flight and a hotel for our holiday."),
    QStringLiteral("The tourists explored the old town with a guide."),
    QStringLiteral("Our luggage was lost at the airport."),
    QStringLiteral("They took a ferry to the island."),
};

EmbeddingVector vectorOf(const SenseEmbedder &embedder, const QString &text)
{
    EmbeddingVector vector;
    for (double value : embedder.embed(text.toStdString()))
        vector.append(float(value));
    return vector;
}

void printFigures(const SenseEmbedder &embedder, const GroupedSet &set)
{
    QList<EmbeddingVector> vectors;
    for (const QString &sentence : set.sentences)
        vectors.append(vectorOf(embedder, sentence));
    const SentenceMap::Layout layout = SentenceMap::computeLayout(vectors);
    double within = 0, across = 0;
    int withinCount = 0, acrossCount = 0;
    for (int i = 0; i < vectors.size(); ++i) {
        for (int j = i + 1; j < vectors.size(); ++j) {
            const double similarity = layout.matrix[i][j];
            if (set.groups[i] == set.groups[j]) {
                within += similarity;
                ++withinCount;
            } else {
                across += similarity;
                ++acrossCount;
            }
        }
    }
    within /= std::max(1, withinCount);
    across /= std::max(1, acrossCount);
    std::printf("  %-23s within %5.3f  across %5.3f  difference %5.3f  two directions hold %3.0f %%\n", set.name,
                within, across, within - across, 100 * layout.projection.explainedShare());
}

double pairSimilarity(const SenseEmbedder &embedder, const char *a, const char *b)
{
    return cosineSimilarity(vectorOf(embedder, QString::fromUtf8(a)), vectorOf(embedder, QString::fromUtf8(b)));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    BenchSupport::printMachine();

    // Opening WordNet and the first vector (which pages in the index and
    // data it touches, and counts what lies beneath each noun and verb), in
    // this process.
    std::vector<double> openMs, firstMs, sentenceMs;
    for (int run = 0; run < 15; ++run) {
        QElapsedTimer timer;
        timer.start();
        std::string problem;
        const auto wordNet = WordNet::open(WordNet::defaultDirectory(), problem);
        openMs.push_back(timer.nsecsElapsed() / 1e6);
        if (!wordNet) {
            std::printf("stand-in: WordNet could not be opened: %s\n", problem.c_str());
            return 1;
        }
        const SenseEmbedder embedder(wordNet.get());
        timer.restart();
        embedder.embed("The cat chased a mouse across the garden.");
        firstMs.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        for (const QString &sentence : ownTopics)
            embedder.embed(sentence.toStdString());
        sentenceMs.push_back(timer.nsecsElapsed() / 1e6 / double(ownTopics.size()));
    }
    std::printf("stand-in: open WordNet %.2f ms, first vector %.2f ms, then %.2f ms a sentence (medians of 15)\n",
                BenchSupport::median(openMs), BenchSupport::median(firstMs), BenchSupport::median(sentenceMs));

    // The program itself, from launch to its "Listening" line.
    if (argc > 1) {
        std::vector<double> launchMs;
        for (int run = 0; run < 9; ++run) {
            QProcess process;
            QElapsedTimer timer;
            timer.start();
            process.start(QString::fromLocal8Bit(argv[1]), {QStringLiteral("--port"), QStringLiteral("0")});
            bool listening = false;
            while (!listening && process.waitForReadyRead(10000)) {
                while (process.canReadLine())
                    listening = listening || process.readLine().startsWith("Listening");
            }
            launchMs.push_back(timer.nsecsElapsed() / 1e6);
            process.terminate();
            process.waitForFinished();
            if (!listening) {
                std::printf("stand-in: %s did not start listening\n", argv[1]);
                return 1;
            }
        }
        std::printf("stand-in: launch to listening %.1f ms (median of 9)\n", BenchSupport::median(launchMs));
    }

    const SenseEmbedder &embedder = SenseEmbedder::shared();
    const QList<SentenceSet> &examples = Examples::sentenceSets();
    const QList<GroupedSet> sets = {
        {"Three Topics", examples[0].sentences, {0, 0, 0, 1, 1, 1, 2, 2, 2}},
        // The four meeting sentences (the negation with them) and two strangers.
        {"Paraphrases, Negation", examples[1].sentences, {0, 0, 0, 0, 1, 2}},
        // Grouped by meaning, not by language.
        {"Several Languages", examples[2].sentences, {0, 0, 0, 0, 1, 1, 1, 1}},
        {"Weather, clothes, tools", ownTopics, {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2}},
        {"Music, sport, medicine", peopleTopics, {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2}},
        {"Cooking, money, travel", everydayTopics, {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2}},
    };
    std::printf("stand-in vectors, average similarity of pairs:\n");
    for (const GroupedSet &set : sets)
        printFigures(embedder, set);
    std::printf("  cat/feline pair %.2f, cat/stock market %.2f\n",
                pairSimilarity(embedder, "The cat sat on the mat", "A feline rested on the rug"),
                pairSimilarity(embedder, "The cat sat on the mat", "The stock market fell sharply this morning."));
    return 0;
}
