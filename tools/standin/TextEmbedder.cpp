#include "TextEmbedder.h"

#include "TextTokens.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <unordered_map>
#include <unordered_set>

namespace TextEmbedder {

namespace {

// Groups of words that mean about the same; the first word of each group
// stands for all of them.
const std::unordered_map<std::string, std::string> &synonyms()
{
    static const std::unordered_map<std::string, std::string> table = [] {
        std::unordered_map<std::string, std::string> heads;
        const std::initializer_list<std::initializer_list<const char *>> groups = {
            {"cat", "feline", "kitten", "kitty", "kitties", "cats", "kittens", "felines"},
            {"dog", "canine", "puppy", "pup", "hound", "doggy", "dogs", "puppies", "hounds"},
            {"sit", "sat", "sitting", "sits", "seated", "rest", "rested", "resting", "rests", "lay",
             "lying", "lounged", "lounge", "perched"},
            {"mat", "rug", "carpet", "mats", "rugs", "carpets", "doormat"},
            {"happy", "glad", "joyful", "cheerful", "pleased", "delighted"},
            {"sad", "unhappy", "sorrowful", "miserable", "gloomy"},
            {"big", "large", "huge", "enormous", "giant", "massive", "vast"},
            {"small", "little", "tiny", "minor", "miniature"},
            {"fast", "quick", "quickly", "rapid", "rapidly", "swift", "speedy"},
            {"slow", "slowly", "sluggish"},
            {"car", "automobile", "vehicle", "cars", "vehicles", "auto"},
            {"house", "home", "houses", "homes", "dwelling", "residence"},
            {"buy", "purchase", "bought", "purchased", "buying", "purchasing", "buys"},
            {"film", "movie", "films", "movies", "cinema"},
            {"start", "begin", "began", "begun", "started", "starting", "commence"},
            {"end", "finish", "finished", "ended", "complete", "completed", "conclude"},
            {"child", "kid", "children", "kids", "youngster"},
            {"man", "guy", "gentleman", "men"},
            {"woman", "lady", "women", "ladies"},
            {"person", "people", "individual", "persons", "folks"},
            {"say", "said", "tell", "told", "state", "stated", "remark"},
            {"walk", "walked", "stroll", "strolled", "wander", "wandered", "walking"},
            {"run", "ran", "running", "sprint", "sprinted", "jog", "jogged"},
            {"eat", "ate", "eating", "dine", "dined", "consume", "consumed"},
            {"food", "meal", "dish", "meals", "dinner", "lunch", "breakfast"},
            {"good", "great", "fine", "excellent", "wonderful"},
            {"bad", "awful", "terrible", "poor", "horrible"},
            {"love", "adore", "loved", "adored", "loves", "enjoy", "enjoys", "enjoyed", "enjoying", "like", "likes",
             "liked", "fond"},
            {"code", "programming", "program", "programs", "coding", "software", "programmer", "developer"},
            {"write", "writing", "wrote", "written", "writes", "author"},
            {"age", "old", "aged", "years"},
            {"loyal", "faithful", "devoted", "trusty"},
            {"pet", "pets", "companion", "companions", "friend", "friends", "buddy"},
            {"sunny", "sunshine", "warm", "clear", "bright"},
            {"nice", "pleasant", "lovely", "beautiful"},
            {"hate", "detest", "loathe", "hated", "despise"},
            {"smart", "clever", "intelligent", "brilliant"},
            {"rain", "raining", "rained", "rainy", "shower", "showers", "drizzle"},
            {"weather", "climate", "forecast"},
            {"sea", "ocean", "seas", "oceans"},
            {"road", "street", "roads", "streets", "avenue"},
            {"city", "town", "cities", "towns"},
            {"help", "assist", "helped", "assisted", "aid", "support"},
            {"look", "see", "saw", "watch", "watched", "view", "observe", "observed"},
            {"talk", "speak", "spoke", "chat", "talked", "converse"},
            {"quiet", "silent", "calm", "peaceful"},
            {"angry", "mad", "furious", "annoyed", "irate"},
            {"doctor", "physician", "medic"},
            {"job", "work", "occupation", "employment", "career"},
            {"money", "cash", "funds"},
            {"stock", "stocks", "equity"},
            {"market", "markets"},
            {"fall", "fell", "drop", "dropped", "decline", "declined", "plunge", "plunged"},
            {"rise", "rose", "climb", "climbed", "increase", "increased", "soar", "soared"},
        };
        for (const auto &group : groups) {
            const char *head = *group.begin();
            for (const char *word : group)
                heads.emplace(word, head);
        }
        return heads;
    }();
    return table;
}

// Words that carry little meaning; they count, but only a little.
bool isStopWord(const std::string &word)
{
    static const std::unordered_set<std::string> words = {
        "a",    "an",   "the",  "and",  "or",    "of",   "to",   "in",   "on",    "at",   "by",   "for",
        "with", "from", "is",   "are",  "was",   "were", "be",   "been", "being", "it",   "its",  "this",
        "that", "these", "those", "as", "into",  "onto", "over", "under", "i",    "you",  "he",   "she",
        "we",   "they", "me",   "him",  "her",   "us",   "them", "my",   "your",  "his",  "our",  "their",
        "has",  "have", "had",  "do",   "does",  "did",  "will", "would", "can",  "could", "shall", "should",
        "may",  "might", "must", "there", "here", "then", "than", "so",  "very",  "just", "also", "some",
        "what", "who",  "how",  "why",  "when",  "where", "which", "not",  "no",   "all",  "any",  "if"};
    return words.count(word) > 0;
}

std::uint64_t fnv1a(std::string_view text)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    // Mix the high bits down, so that both the index and the sign depend on
    // every byte.
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdULL;
    hash ^= hash >> 33;
    return hash;
}

void addFeature(std::vector<double> &vector, std::string_view feature, double weight)
{
    const std::uint64_t hash = fnv1a(feature);
    const size_t index = static_cast<size_t>(hash % dimensions);
    const double sign = (hash >> 63) != 0 ? -1.0 : 1.0;
    vector[index] += sign * weight;
}

bool endsWith(const std::string &word, std::string_view ending)
{
    return word.size() >= ending.size() && word.compare(word.size() - ending.size(), ending.size(), ending) == 0;
}

} // namespace

std::string canonicalWord(const std::string &word)
{
    const auto &table = synonyms();
    if (const auto it = table.find(word); it != table.end())
        return it->second;

    std::string stem = word;
    if (endsWith(stem, "'s"))
        stem.resize(stem.size() - 2);
    if (stem.size() > 5 && endsWith(stem, "ing"))
        stem.resize(stem.size() - 3);
    else if (stem.size() > 4 && endsWith(stem, "ed"))
        stem.resize(stem.size() - 2);
    else if (stem.size() > 4 && endsWith(stem, "ies"))
        stem = stem.substr(0, stem.size() - 3) + "y";
    else if (stem.size() > 3 && endsWith(stem, "s") && !endsWith(stem, "ss") && !endsWith(stem, "us"))
        stem.resize(stem.size() - 1);
    if (const auto it = table.find(stem); it != table.end())
        return it->second;
    return stem;
}

std::vector<double> embed(std::string_view text)
{
    std::vector<double> vector(dimensions, 0.0);
    if (text.empty())
        return vector;

    const std::vector<std::string> words = TextTokens::words(text);
    std::string previous;
    for (const std::string &word : words) {
        if (isStopWord(word)) {
            addFeature(vector, "w:" + word, 0.15);
            continue;
        }
        const std::string meaning = canonicalWord(word);
        // The meaning counts most; the spelling (through its trigrams) lets
        // related forms and typos land nearby.
        addFeature(vector, "w:" + meaning, 1.0);
        const std::string padded = "<" + word + ">";
        for (size_t i = 0; i + 3 <= padded.size(); ++i)
            addFeature(vector, "t:" + padded.substr(i, 3), 0.2);
        // Neighbouring words give a little sense of order.
        if (!previous.empty())
            addFeature(vector, "b:" + previous + " " + meaning, 0.3);
        previous = meaning;
    }

    double norm = 0.0;
    for (double value : vector)
        norm += value * value;
    if (norm == 0.0) {
        // No words at all (only punctuation or symbols): the text itself.
        addFeature(vector, "x:" + std::string(text), 1.0);
        norm = 1.0;
    }
    norm = std::sqrt(norm);
    for (double &value : vector)
        value /= norm;
    return vector;
}

} // namespace TextEmbedder
