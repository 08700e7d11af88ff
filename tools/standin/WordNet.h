#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A read-only view of a WordNet database in its documented file format
// (wndb(5WN), morphy(7WN)): the index and data files of the four parts of
// speech and their exception lists, as Debian's wordnet-base installs them.
//
// The files are mapped into memory, not parsed up front: the index files are
// sorted, so a lemma is found by binary search, and a synset's address is its
// byte offset in the data file. Opening therefore costs a few milliseconds
// (only the small exception lists are read), and every lookup is a pure
// function of the mapped bytes, safe from any number of threads.
class WordNet
{
public:
    enum class PartOfSpeech { Noun, Verb, Adjective, Adverb };
    static constexpr PartOfSpeech partsOfSpeech[] = {PartOfSpeech::Noun, PartOfSpeech::Verb,
                                                     PartOfSpeech::Adjective, PartOfSpeech::Adverb};

    // A lemma's line in an index file.
    struct Entry
    {
        // Its synsets' offsets, the most frequently used sense first.
        std::vector<std::uint32_t> senses;
        // How many of them were seen in the tagged corpus.
        int taggedSenses = 0;
    };

    struct Pointer
    {
        // "@" hypernym, "@i" instance hypernym, "&" similar to, "\" pertainym
        // or derived from, "=" attribute, and so on.
        std::string symbol;
        PartOfSpeech partOfSpeech = PartOfSpeech::Noun;
        std::uint32_t offset = 0;
    };

    struct Synset
    {
        PartOfSpeech partOfSpeech = PartOfSpeech::Noun;
        std::uint32_t offset = 0;
        // The lexicographer file it comes from (lexnames(5WN)): 3 for
        // noun.Tops, the most general nouns; 5 noun.animal, 13 noun.food...
        int lexicographerFile = 0;
        // An adjective satellite ("s"), whose "&" leads to its head; a
        // head's "&" pointers lead to its satellites.
        bool satellite = false;
        // Its words as the file spells them (underscores for spaces, without
        // an adjective's "(a)"/"(p)"/"(ip)" marker).
        std::vector<std::string> words;
        std::vector<Pointer> pointers;
        std::string gloss;

        // The targets of the hypernym pointers (instance hypernyms included).
        std::vector<Pointer> hypernyms() const;
    };

    ~WordNet();
    WordNet(const WordNet &) = delete;
    WordNet &operator=(const WordNet &) = delete;

    // Opens the database in `directory`. Every index and data file must be
    // there; a missing exception list counts as empty. On failure returns
    // null and says why in `error`.
    static std::unique_ptr<WordNet> open(const std::string &directory, std::string &error);
    // $WNSEARCHDIR when set (WordNet's own variable), else where wordnet-base
    // installs the files.
    static std::string defaultDirectory();

    const std::string &directory() const { return m_directory; }

    // The index line of a lemma (lower case, underscores for spaces).
    std::optional<Entry> lookup(std::string_view lemma, PartOfSpeech partOfSpeech) const;
    // The synset at a byte offset of a data file; nothing when the offset
    // does not start a synset line.
    std::optional<Synset> synset(PartOfSpeech partOfSpeech, std::uint32_t offset) const;

    // How often a lemma's senses were seen in the tagged corpus, all parts
    // of speech together (from cntlist.rev; 0 when that file is missing):
    // "give" 781, "cat" 18, "pasta" 0.
    int taggedCount(std::string_view lemma) const;
    // The same for one part of speech only: "heavy" as an adjective 86, as
    // a noun 0.
    int taggedCount(std::string_view lemma, PartOfSpeech partOfSpeech) const;

    // How specific a noun or verb synset is, from how many synsets lie
    // beneath it by hyponymy (its own descendants, counted through every
    // parent): 1 for a synset with nothing beneath ("violinist"), falling as
    // log(descendants) approaches log(all synsets of its part of speech),
    // towards 0 for "entity". The intrinsic information content of the
    // literature, in [0, 1]. Adjectives, adverbs and unknown offsets give 1.
    // The counts come from one pass over the data file on first use (a few
    // tens of milliseconds), then each answer is a binary search.
    double specificity(PartOfSpeech partOfSpeech, std::uint32_t offset) const;

    // The lemmas in the index that a word form can be an inflection of, by
    // WordNet's own rules: the exception list first ("geese" gives "goose",
    // "sat" gives "sit"), else the form itself and the forms its suffix rules
    // make ("boxes" gives "box", "baked" gives "bake"), each kept only when
    // the index has it. No duplicates; the form's own lemma first.
    std::vector<std::string> baseForms(std::string_view word, PartOfSpeech partOfSpeech) const;

private:
    class MappedFile;
    struct Files;
    struct Hierarchy;
    WordNet();
    const Hierarchy &hierarchy(PartOfSpeech partOfSpeech) const;

    std::string m_directory;
    std::unique_ptr<Files> m_files;
};
