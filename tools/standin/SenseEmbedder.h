#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class WordNet;

// The stand-in's embedding "model": what WordNet knows about a text's words,
// spread over a dense vector. Not a learned embedding, and it reads words,
// not sentences: order, negation and other languages are lost on it.
//
// Each content word is reduced to its base forms by WordNet's rules and
// stands for its most common senses (each part of speech by how often the
// tagged corpus uses the word so, nouns first) and their hypernym chains
// (cat, feline, carnivore, placental, mammal, ...), each concept weighed by
// how specific it is (how few synsets lie beneath it) and less for each step
// up, so that "entity" and "person" count for almost nothing and the concepts
// in between count most; for the words of the definitions of the sense and
// of its nearest hypernyms ("violinist": musician, violin; "striker", by way
// of "athlete": sports), each with its own chain; and, for nouns, for the
// kind WordNet files the sense under (animal, food, artifact...; not person,
// which holds every occupation), which counts most when several words of a
// text share it. A word WordNet does not know stands for itself. A text is
// the sum of its words, each weighed by how rarely the tagged corpus has it
// ("need" less than "pasta") and nouns more than verbs, adjectives and
// adverbs, carried into `dimensions` numbers by a fixed random projection
// (one pseudo-random direction per concept, seeded by its name), so that
// similar words give similar vectors and no number is left at zero.
// Deterministic and L2-normalised.
class SenseEmbedder
{
public:
    static constexpr size_t dimensions = 384;

    // Without a WordNet (null) every word stands only for itself.
    explicit SenseEmbedder(const WordNet *wordNet);

    // The process's embedder, over the WordNet in WordNet::defaultDirectory(),
    // opened on first use; if it cannot be opened, over no WordNet.
    static const SenseEmbedder &shared();
    // Why the shared embedder has no WordNet; empty when it has one.
    static const std::string &sharedProblem();

    const WordNet *wordNet() const { return m_wordNet; }

    // The vector of a text. A text without content words still gets a unit
    // vector, from its other words or its characters; only an empty text
    // gives a zero vector.
    std::vector<double> embed(std::string_view text) const;

    // The concepts a text stands for and their weights, before projection:
    // "n:02121620" for a synset (part of speech and offset), "w:gato" for an
    // unknown word.
    std::map<std::string, double> features(std::string_view text) const;

private:
    void addWord(std::map<std::string, double> &features, const std::string &word, int occurrences) const;

    const WordNet *m_wordNet = nullptr;
};
