#include "SenseEmbedder.h"

#include "TextTokens.h"
#include "WordNet.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

using PartOfSpeech = WordNet::PartOfSpeech;

namespace {

// How much a concept counts for each step it lies above the word's own sense.
constexpr double stepDecay = 0.7;
// How far up a chain is followed: beyond this everything is general.
constexpr int maximumSteps = 12;
// How much the first, second and third most common sense of a lemma count.
constexpr double senseWeights[] = {1.0, 0.12, 0.06};
// How much the words of a sense's definition count, and how much those of
// the definitions of its hypernyms one and two steps up (before the step
// decay and their specificity).
constexpr double glossWeight = 0.8;
constexpr double hypernymGlossWeight = 3.0;
constexpr int hypernymGlossSteps = 2;
// How much a sense's lexicographer file counts, and how much of that a word
// of its definition passes on.
constexpr double kindWeight = 2.0;
constexpr double glossKindShare = 0.3;
// The lexicographer file of people (noun.person) holds musicians, athletes
// and nurses alike, so it says nothing about what a text is about; that of
// artifacts (noun.artifact) holds everything people make, socks, hammers and
// stock exchanges, so it says little.
constexpr int personFile = 18;
constexpr int artifactFile = 6;
constexpr double artifactKindShare = 0.6;
// How many sightings in the tagged corpus make a word count (nearly) half.
constexpr double commonCount = 20.0;
// How much a word that can be a noun counts as a verb, adjective or adverb,
// relative to its noun senses (before the share of each in the tagged
// corpus), and how much a verb, an adjective or an adverb tells about a
// text relative to a noun.
constexpr double otherPartBias = 0.2;
constexpr std::array<double, 4> partWeights = {1.0, 0.5, 0.3, 0.4};
// Added to each part of speech's tagged count, so that an unseen part keeps
// a little weight.
constexpr double partSmoothing = 3.0;

// Words that carry little meaning (many are also WordNet entries with an
// unrelated sense: "it" information technology, "can" a container, "us" the
// United States). They count only in a text that has nothing else.
bool isStopWord(const std::string &word)
{
    static const std::unordered_set<std::string> words = {
        "a",      "an",     "the",     "and",    "or",     "but",   "nor",    "of",     "to",     "in",    "on",
        "at",     "by",     "for",     "with",   "from",   "about", "across", "after",  "before", "through",
        "during", "without", "within", "up",     "down",   "out",   "off",    "again",  "once",   "is",    "are",
        "was",    "were",   "be",      "been",   "being",  "am",    "it",     "its",    "this",   "that",  "these",
        "those",  "as",     "into",    "onto",   "over",   "under", "i",      "you",    "he",     "she",   "we",
        "they",   "me",     "him",     "her",    "us",     "them",  "my",     "your",   "his",    "our",   "their",
        "has",    "have",   "had",     "do",     "does",   "did",   "will",   "would",  "can",    "could", "shall",
        "should", "may",    "might",   "must",   "there",  "here",  "then",   "than",   "so",     "very",  "just",
        "also",   "some",   "what",    "who",    "how",    "why",   "when",   "where",  "which",  "not",   "no",
        "all",    "any",    "if",      "every",  "each",   "both",  "more",   "most",   "such",   "too",   "only",
        "own",    "same",   "other",   "it's",   "i'm",    "don't", "doesn't", "didn't", "isn't", "wasn't",
        "aren't", "weren't", "can't",  "won't",  "let's",  "one",   "get",    "got"};
    return words.count(word) > 0;
}

std::uint64_t fnv1a(std::string_view text)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

// A concept's fixed direction: `dimensions` numbers drawn uniformly with
// variance 1 from a generator seeded by the concept's name. Independent
// directions are nearly orthogonal, so the projection keeps the cosines of
// the concept weights up to a small error.
void addDirection(std::vector<double> &vector, std::string_view name, double weight)
{
    std::uint64_t state = fnv1a(name);
    const double scale = std::sqrt(3.0) * weight;
    for (double &value : vector) {
        // splitmix64
        state += 0x9e3779b97f4a7c15ULL;
        std::uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        z ^= z >> 31;
        const double uniform = static_cast<double>(z >> 11) * (1.0 / 9007199254740992.0); // [0, 1)
        value += scale * (2.0 * uniform - 1.0);
    }
}

char letterOf(PartOfSpeech partOfSpeech)
{
    static constexpr char letters[] = {'n', 'v', 'a', 'r'};
    return letters[static_cast<size_t>(partOfSpeech)];
}

std::string conceptName(PartOfSpeech partOfSpeech, std::uint32_t offset)
{
    char name[16];
    std::snprintf(name, sizeof name, "%c:%08u", letterOf(partOfSpeech), offset);
    return name;
}

// How much a concept counts by how specific it is (WordNet::specificity):
// general ones ("entity", "person") hardly at all, and the most specific
// ones, which no other word shares, little too; most goes to the concepts
// in between ("musician", "vehicle", "garment"), which are what tells topics
// apart.
double conceptWeight(double specificity)
{
    const double squared = specificity * specificity;
    return squared * (1.0 - 0.9 * squared);
}

// The links that lead to a broader concept: hypernyms for nouns and verbs; an
// adjective's cluster head and the noun it pertains to; the adjective an
// adverb comes from.
bool leadsUp(const WordNet::Synset &synset, const WordNet::Pointer &pointer)
{
    if (pointer.symbol == "@" || pointer.symbol == "@i")
        return true;
    if (synset.partOfSpeech == PartOfSpeech::Adjective)
        return (pointer.symbol == "&" && synset.satellite) || pointer.symbol == "\\";
    if (synset.partOfSpeech == PartOfSpeech::Adverb)
        return pointer.symbol == "\\";
    return false;
}

struct Node
{
    PartOfSpeech partOfSpeech;
    std::uint32_t offset;
    int steps = 0;
    double specificity = 1.0;
    // The definition, kept for the nodes whose definitions count.
    std::string gloss;
};

// The definition part of a gloss: up to the first ";", without quoted
// examples.
std::string_view definitionOf(std::string_view gloss)
{
    gloss = gloss.substr(0, std::min(gloss.find(';'), gloss.size()));
    return gloss.substr(0, std::min(gloss.find('"'), gloss.size()));
}

// Words that glosses use to phrase a definition rather than to say what it is
// about.
bool isDefinitionFiller(const std::string &word)
{
    static const std::unordered_set<std::string> words = {
        "usually", "especially", "often",  "typically", "etc",     "e.g.",  "something", "someone", "somebody",
        "used",    "using",      "having", "relating",  "related", "various", "kind",    "sort",    "type",
        "make",    "made",       "act",    "process",   "state",   "quality", "being",   "thing",   "way",
        "part",    "characterized", "consisting", "certain", "person", "people"};
    return words.count(word) > 0;
}

// The first sense of a word of a definition, as the first part of speech
// that has the word.
std::optional<std::pair<PartOfSpeech, std::uint32_t>> firstSense(const WordNet &wordNet, const std::string &word)
{
    for (PartOfSpeech partOfSpeech : WordNet::partsOfSpeech) {
        const std::vector<std::string> lemmas = wordNet.baseForms(word, partOfSpeech);
        const auto entry = lemmas.empty() ? std::nullopt : wordNet.lookup(lemmas.front(), partOfSpeech);
        if (entry && !entry->senses.empty())
            return std::make_pair(partOfSpeech, entry->senses.front());
    }
    return std::nullopt;
}

// Adds one sense, everything above it and its kind; with `withGlosses`, also
// the first senses of the words that define it and its nearest hypernyms,
// each in the same way (without their own definitions).
void addSense(const WordNet &wordNet, PartOfSpeech partOfSpeech, std::uint32_t offset, double weight,
              std::unordered_map<std::string, double> &concepts, bool withGlosses)
{
    // Breadth first, so each concept's step count is its shortest distance.
    std::vector<Node> nodes{{partOfSpeech, offset, 0, 1.0, {}}};
    std::unordered_set<std::string> seen{conceptName(partOfSpeech, offset)};
    int lexicographerFile = -1;
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].steps >= maximumSteps)
            continue;
        const auto synset = wordNet.synset(nodes[i].partOfSpeech, nodes[i].offset);
        if (!synset)
            continue;
        if (i == 0)
            lexicographerFile = synset->lexicographerFile;
        if (withGlosses && nodes[i].steps <= hypernymGlossSteps)
            nodes[i].gloss = synset->gloss;
        for (const WordNet::Pointer &pointer : synset->pointers) {
            if (leadsUp(*synset, pointer) && seen.insert(conceptName(pointer.partOfSpeech, pointer.offset)).second)
                nodes.push_back({pointer.partOfSpeech, pointer.offset, nodes[i].steps + 1, 1.0, {}});
        }
    }
    for (Node &node : nodes) {
        node.specificity = wordNet.specificity(node.partOfSpeech, node.offset);
        concepts[conceptName(node.partOfSpeech, node.offset)] +=
            weight * std::pow(stepDecay, node.steps) * conceptWeight(node.specificity);
    }
    // A noun sense's lexicographer file is a coarse kind of its own:
    // animal, food, artifact, time... (The verbs' files, such as motion or
    // change, are too coarse to tell topics apart, and so are people.)
    if (partOfSpeech == PartOfSpeech::Noun && lexicographerFile >= 0 && lexicographerFile != personFile) {
        concepts["l:" + std::to_string(lexicographerFile)] += weight * kindWeight
            * (withGlosses ? 1.0 : glossKindShare) * (lexicographerFile == artifactFile ? artifactKindShare : 1.0);
    }
    if (!withGlosses)
        return;

    // The definitions tie a word to what it is used with: "violinist" to
    // "musician" and "violin", "patient" to "medical" and "care"; and those
    // of its hypernyms to its field: "striker" is an athlete, "a person
    // trained to compete in sports". Each word of a definition stands for
    // its first sense, with that sense's hypernyms and kind.
    for (const Node &node : nodes) {
        if (node.gloss.empty())
            continue;
        const double nodeWeight = node.steps == 0
            ? 1.0
            : hypernymGlossWeight * std::pow(stepDecay, node.steps) * node.specificity * node.specificity;
        for (const std::string &word : TextTokens::words(definitionOf(node.gloss))) {
            if (isStopWord(word) || isDefinitionFiller(word))
                continue;
            if (const auto sense = firstSense(wordNet, word))
                addSense(wordNet, sense->first, sense->second, weight * glossWeight * nodeWeight, concepts, false);
        }
    }
}

// How much a word tells about a text, from how often it was seen in the
// tagged corpus: "need" and "little" (each seen over 300 times) say less
// than "pasta" or "violinist", as in the inverse document frequency of
// information retrieval.
double informativeness(int taggedCount)
{
    return 1.0 / std::sqrt(1.0 + taggedCount / commonCount);
}

void addNormalised(std::map<std::string, double> &features, const std::unordered_map<std::string, double> &word,
                   double weight)
{
    double norm = 0.0;
    for (const auto &[name, value] : word)
        norm += value * value;
    if (norm <= 0.0)
        return;
    norm = std::sqrt(norm);
    for (const auto &[name, value] : word)
        features[name] += weight * value / norm;
}

} // namespace

SenseEmbedder::SenseEmbedder(const WordNet *wordNet)
    : m_wordNet(wordNet)
{
}

namespace {

struct SharedState
{
    std::unique_ptr<WordNet> wordNet;
    std::string problem;
    std::unique_ptr<SenseEmbedder> embedder;
};

const SharedState &sharedState()
{
    static const SharedState state = [] {
        SharedState s;
        s.wordNet = WordNet::open(WordNet::defaultDirectory(), s.problem);
        s.embedder = std::make_unique<SenseEmbedder>(s.wordNet.get());
        return s;
    }();
    return state;
}

} // namespace

const SenseEmbedder &SenseEmbedder::shared()
{
    return *sharedState().embedder;
}

const std::string &SenseEmbedder::sharedProblem()
{
    return sharedState().problem;
}

void SenseEmbedder::addWord(std::map<std::string, double> &features, const std::string &word, int occurrences) const
{
    std::unordered_map<std::string, double> concepts;
    int seen = 0;
    double wordWeight = 1.0;
    if (m_wordNet) {
        // Each part of speech the word can be counts by how often the tagged
        // corpus has it so ("heavy" is mostly an adjective, though WordNet
        // also knows a noun), and nouns, which carry most of what a sentence
        // is about, more: a word that can be a noun and a verb ("train",
        // "park") counts mostly as the noun.
        std::array<std::vector<std::string>, 4> lemmas;
        std::array<double, 4> shares{};
        double total = 0;
        for (PartOfSpeech partOfSpeech : WordNet::partsOfSpeech) {
            const auto part = static_cast<size_t>(partOfSpeech);
            lemmas[part] = m_wordNet->baseForms(word, partOfSpeech);
            if (lemmas[part].empty())
                continue;
            shares[part] = partSmoothing;
            for (const std::string &lemma : lemmas[part]) {
                shares[part] += m_wordNet->taggedCount(lemma, partOfSpeech);
                seen = std::max(seen, m_wordNet->taggedCount(lemma));
            }
            total += shares[part];
        }
        double partWeightSum = 0;
        for (PartOfSpeech partOfSpeech : WordNet::partsOfSpeech) {
            const auto part = static_cast<size_t>(partOfSpeech);
            if (lemmas[part].empty())
                continue;
            const double share = shares[part] / total;
            partWeightSum += share * partWeights[part];
            const double weight = share * (partOfSpeech == PartOfSpeech::Noun ? 1.0 : otherPartBias);
            for (const std::string &lemma : lemmas[part]) {
                const auto entry = m_wordNet->lookup(lemma, partOfSpeech);
                for (size_t sense = 0; entry && sense < entry->senses.size() && sense < std::size(senseWeights);
                     ++sense)
                    addSense(*m_wordNet, partOfSpeech, entry->senses[sense], weight * senseWeights[sense], concepts,
                             true);
            }
        }
        if (total > 0)
            wordWeight = partWeightSum;
    }
    if (concepts.empty()) {
        concepts["w:" + word] = 1.0;
        wordWeight = 1.0;
    }
    addNormalised(features, concepts, occurrences * wordWeight * informativeness(seen));
}

std::map<std::string, double> SenseEmbedder::features(std::string_view text) const
{
    std::vector<std::string> words;
    std::vector<std::string> stopWords;
    for (std::string word : TextTokens::words(text)) {
        // "cat's" is about the cat.
        if (word.size() > 2 && word.compare(word.size() - 2, 2, "'s") == 0)
            word.resize(word.size() - 2);
        (isStopWord(word) ? stopWords : words).push_back(word);
    }

    // How often each word occurs: a text is the sum of its words, so a word
    // that comes back is looked up once and counted as often as it occurs
    // (a long text repeats most of its words).
    std::map<std::string, int> occurrences;
    for (size_t i = 0; i < words.size(); ++i) {
        // Two words that WordNet knows as one noun ("stock market", "ice
        // cream") count as that noun.
        if (m_wordNet && i + 1 < words.size()) {
            const std::string pair = words[i] + "_" + words[i + 1];
            if (!m_wordNet->baseForms(pair, PartOfSpeech::Noun).empty()) {
                ++occurrences[pair];
                ++i;
                continue;
            }
        }
        ++occurrences[words[i]];
    }
    std::map<std::string, double> result;
    for (const auto &[word, count] : occurrences)
        addWord(result, word, count);
    // A kind that several words share is what the text is about: squaring
    // lets it outweigh a kind that only one word has.
    for (auto &[name, weight] : result) {
        if (name.compare(0, 2, "l:") == 0)
            weight *= weight;
    }
    if (result.empty()) {
        for (const std::string &word : stopWords)
            result["w:" + word] += 1.0;
    }
    if (result.empty() && !text.empty())
        result["x:" + std::string(text)] = 1.0;
    return result;
}

std::vector<double> SenseEmbedder::embed(std::string_view text) const
{
    std::vector<double> vector(dimensions, 0.0);
    for (const auto &[name, weight] : features(text))
        addDirection(vector, name, weight);
    double norm = 0.0;
    for (double value : vector)
        norm += value * value;
    if (norm > 0.0) {
        norm = std::sqrt(norm);
        for (double &value : vector)
            value /= norm;
    }
    return vector;
}
