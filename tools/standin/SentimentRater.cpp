#include "SentimentRater.h"

#include "TextTokens.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace SentimentRater {

namespace {

// Word strengths: 1 for a mild word, 2 for a strong one, negative for
// negative words.
const std::unordered_map<std::string, double> &lexicon()
{
    static const std::unordered_map<std::string, double> words = [] {
        std::unordered_map<std::string, double> table;
        auto add = [&table](double strength, std::initializer_list<const char *> list) {
            for (const char *word : list)
                table.emplace(word, strength);
        };
        add(2, {"love", "loved", "loves", "loving", "adore", "adored", "amazing", "awesome", "brilliant",
                "excellent", "exceptional", "fantastic", "fabulous", "flawless", "incredible", "marvellous",
                "marvelous", "magnificent", "masterpiece", "outstanding", "perfect", "perfectly", "phenomenal",
                "spectacular", "splendid", "stunning", "sublime", "superb", "terrific", "thrilled", "wonderful",
                "delighted", "ecstatic", "overjoyed", "joy", "joyful", "best", "beautiful", "gorgeous",
                "remarkable", "breathtaking", "extraordinary", "exquisite", "glorious", "heavenly"});
        add(1, {"good", "great", "nice", "fine", "like", "liked", "likes", "enjoy", "enjoyed", "enjoys",
                "enjoyable", "happy", "glad", "pleased", "pleasant", "pleasing", "fun", "cool", "lovely",
                "helpful", "useful", "friendly", "kind", "clean", "comfortable", "cosy", "cozy", "easy", "fast",
                "quick", "fresh", "tasty", "delicious", "impressive", "impressed", "recommend", "recommended",
                "satisfied", "satisfying", "success", "successful", "win", "won", "winner", "better", "improved",
                "calm", "relaxing", "cheerful", "charming", "elegant", "smooth", "reliable", "worth",
                "worthwhile", "positive", "favourite", "favorite", "grateful", "thankful", "thanks", "thank",
                "welcome", "exciting", "excited", "interesting", "fair", "solid", "decent", "hope", "hopeful",
                "proud", "polite", "generous", "warm", "bright", "sweet", "fascinating", "creative", "clever",
                "smart", "efficient", "convenient", "affordable", "valuable", "superior", "praise", "admire"});
        add(-1, {"bad", "poor", "sad", "unhappy", "disappointed", "disappointing", "disappoints", "boring",
                 "bored", "dull", "slow", "broken", "broke", "damaged", "damage", "wrong", "problem", "problems", "issue",
                 "issues", "bug", "bugs", "annoying", "annoyed", "angry", "upset", "worse", "difficult", "confusing", "confused", "expensive", "overpriced", "noisy", "dirty", "rude", "bland",
                 "mediocre", "weak", "fail", "failed", "fails", "failure", "lost", "lose", "loses", "mess", "messy",
                 "sorry", "unfortunately", "complaint", "complain", "dislike", "disliked", "negative", "worried",
                 "worry", "afraid", "scared", "tired", "painful", "pain", "ugly", "unpleasant", "unfair",
                 "useless", "unhelpful", "crash", "crashed", "crashes", "error", "errors", "delay", "delayed",
                 "stupid", "silly", "lacking", "lacks", "flimsy", "frustrating", "frustrated",
                 "regret", "missing", "nervous", "lonely", "sick", "ill", "hurt"});
        add(-2, {"awful", "terrible", "horrible", "horrendous", "dreadful", "appalling", "atrocious", "abysmal",
                 "disgusting", "disgusted", "worst", "pathetic", "miserable", "furious", "outraged", "outrageous",
                 "hate", "hated", "hates", "unbearable", "unacceptable", "disaster", "disastrous", "catastrophe", "nightmare", "garbage",
                 "trash", "rubbish", "loathe", "despise", "detest", "hideous", "vile", "toxic", "scam",
                 "heartbroken", "devastated", "tragic", "worthless", "dangerous", "furiously", "infuriating"});
        return table;
    }();
    return words;
}

// Words that turn the sentiment of the next few words around.
bool isNegator(const std::string &word)
{
    static const std::unordered_set<std::string> negators = {
        "not", "no", "never", "none", "nobody", "nothing", "neither", "nor", "nowhere", "hardly", "barely",
        "scarcely", "without", "cannot", "cant", "dont", "doesnt", "didnt", "isnt", "wasnt", "arent", "werent",
        "wont", "wouldnt", "shouldnt", "couldnt", "havent", "hasnt", "hadnt", "aint", "lack"};
    if (negators.count(word))
        return true;
    return word.size() > 3 && word.compare(word.size() - 3, 3, "n't") == 0;
}

// Multipliers for the next sentiment word.
double intensifier(const std::string &word)
{
    static const std::unordered_map<std::string, double> table = {
        {"very", 1.5},       {"really", 1.5},    {"so", 1.5},        {"too", 1.3},       {"quite", 1.2},
        {"pretty", 1.2},     {"truly", 1.5},     {"highly", 1.5},    {"deeply", 1.5},    {"super", 1.5},
        {"such", 1.3},       {"most", 1.5},      {"more", 1.2},      {"much", 1.3},      {"extremely", 2.0},
        {"incredibly", 2.0}, {"absolutely", 2.0}, {"totally", 1.8},  {"completely", 1.8}, {"utterly", 2.0},
        {"exceptionally", 2.0}, {"remarkably", 1.8}, {"insanely", 2.0}, {"slightly", 0.5}, {"somewhat", 0.6},
        {"fairly", 0.8},     {"rather", 0.8},    {"little", 0.6},    {"bit", 0.6},       {"kinda", 0.6},
        {"mostly", 0.8}};
    const auto it = table.find(word);
    return it == table.end() ? 0.0 : it->second;
}

// Words after which the earlier part of the sentence counts for less
// ("the food was good but the service was awful").
bool isContrast(const std::string &word)
{
    return word == "but" || word == "however" || word == "yet" || word == "although" || word == "though";
}

double strengthOf(const std::string &word)
{
    const auto &table = lexicon();
    if (const auto it = table.find(word); it != table.end())
        return it->second;
    // Comparatives, adverbs and plurals: try without the ending.
    // "nicest", "nicer": the e of the base word stays.
    for (const char *ending : {"est", "er", "ly", "s", "st", "r"}) {
        const std::string suffix(ending);
        if (word.size() > suffix.size() + 2 && word.compare(word.size() - suffix.size(), suffix.size(), suffix) == 0) {
            if (const auto it = table.find(word.substr(0, word.size() - suffix.size())); it != table.end())
                return it->second;
        }
    }
    return 0.0;
}

} // namespace

std::optional<std::string> ratedText(std::string_view prompt)
{
    constexpr std::string_view textOpening = "Text: \"";
    constexpr std::string_view closing = "\"\n\nRating:";

    if (prompt.substr(0, ratingPromptHeading.size()) != ratingPromptHeading)
        return std::nullopt;
    // Tolerate white space after "Rating:", which a hand-written prompt may have.
    size_t end = prompt.size();
    while (end > 0 && (prompt[end - 1] == ' ' || prompt[end - 1] == '\n' || prompt[end - 1] == '\t'))
        --end;
    const std::string_view trimmed = prompt.substr(0, end);
    if (trimmed.size() < closing.size() || trimmed.substr(trimmed.size() - closing.size()) != closing)
        return std::nullopt;
    const size_t start = trimmed.find(textOpening, ratingPromptHeading.size());
    if (start == std::string_view::npos)
        return std::nullopt;
    const size_t from = start + textOpening.size();
    const size_t to = trimmed.size() - closing.size();
    if (to < from)
        return std::nullopt;
    return std::string(trimmed.substr(from, to - from));
}

double polarity(std::string_view text)
{
    using TextTokens::Token;

    double total = 0.0;
    double multiplier = 1.0;
    int multiplierWindow = 0;
    int negationWindow = 0;
    bool exclaimed = false;

    for (const Token &token : TextTokens::tokenize(text)) {
        if (token.kind != Token::Kind::Word) {
            exclaimed = exclaimed || token.kind == Token::Kind::Exclamation;
            negationWindow = 0;
            multiplierWindow = 0;
            multiplier = 1.0;
            continue;
        }
        const std::string &word = token.text;
        if (isContrast(word)) {
            total *= 0.5;
            negationWindow = 0;
            multiplierWindow = 0;
            multiplier = 1.0;
            continue;
        }
        if (isNegator(word)) {
            negationWindow = 3;
            continue;
        }
        if (const double factor = intensifier(word); factor > 0.0) {
            multiplier *= factor;
            multiplierWindow = 2;
            continue;
        }
        double strength = strengthOf(word);
        if (strength == 0.0) {
            if (negationWindow > 0)
                --negationWindow;
            if (multiplierWindow > 0 && --multiplierWindow == 0)
                multiplier = 1.0;
            continue;
        }
        if (multiplierWindow > 0)
            strength *= multiplier;
        if (negationWindow > 0) {
            // "not good" turns negative; "not bad" only leans positive.
            strength = strength > 0 ? -0.75 * strength : -0.5 * strength;
        }
        total += strength;
        negationWindow = 0;
        multiplierWindow = 0;
        multiplier = 1.0;
    }
    return exclaimed ? total * 1.25 : total;
}

int ratingForPolarity(double value)
{
    if (value >= 2.0)
        return 5;
    if (value >= 0.5)
        return 4;
    if (value > -0.5)
        return 3;
    if (value > -2.0)
        return 2;
    return 1;
}

int rating(std::string_view text)
{
    return ratingForPolarity(polarity(text));
}

std::array<double, 5> ratingProbabilities(std::string_view text)
{
    // A softmax over the five ratings around one centre: the centre gets
    // about 79 %, each neighbour about 11 %.
    const auto around = [](int centre) {
        std::array<double, 5> p{};
        double sum = 0.0;
        for (int r = 1; r <= 5; ++r)
            sum += p[size_t(r - 1)] = std::exp(-2.0 * (r - centre) * (r - centre));
        for (double &value : p)
            value /= sum;
        return p;
    };

    // The ratings of the clauses that carry any sentiment of their own.
    std::vector<int> clauseRatings;
    std::string clause;
    const auto endClause = [&] {
        if (const double value = polarity(clause); value != 0.0)
            clauseRatings.push_back(ratingForPolarity(value));
        clause.clear();
    };
    for (const TextTokens::Token &token : TextTokens::tokenize(text)) {
        if (token.kind != TextTokens::Token::Kind::Word || isContrast(token.text)) {
            endClause();
            continue;
        }
        clause += token.text + ' ';
    }
    endClause();

    std::array<double, 5> result{};
    const int overall = rating(text);
    const bool divided = std::any_of(clauseRatings.begin(), clauseRatings.end(),
                                     [overall](int r) { return r != overall; });
    const double overallShare = divided ? 0.6 : 1.0;
    for (size_t i = 0; i < result.size(); ++i)
        result[i] = overallShare * around(overall)[i];
    if (divided) {
        for (const int r : clauseRatings) {
            const auto p = around(r);
            for (size_t i = 0; i < result.size(); ++i)
                result[i] += (1.0 - overallShare) * p[i] / double(clauseRatings.size());
        }
    }
    for (double &value : result)
        value *= ratingMass;
    return result;
}

} // namespace SentimentRater
