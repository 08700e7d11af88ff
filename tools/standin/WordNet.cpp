#include "WordNet.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <cmath>
#include <fstream>
#include <mutex>
#include <utility>

using PartOfSpeech = WordNet::PartOfSpeech;

namespace {

size_t indexOf(PartOfSpeech partOfSpeech)
{
    return static_cast<size_t>(partOfSpeech);
}

// The file-name part of each part of speech, as wndb(5WN) names the files.
constexpr std::array<const char *, 4> fileNames = {"noun", "verb", "adj", "adv"};

std::optional<PartOfSpeech> partOfSpeechFromLetter(std::string_view letter)
{
    if (letter == "n")
        return PartOfSpeech::Noun;
    if (letter == "v")
        return PartOfSpeech::Verb;
    if (letter == "a" || letter == "s")
        return PartOfSpeech::Adjective;
    if (letter == "r")
        return PartOfSpeech::Adverb;
    return std::nullopt;
}

// The suffix rules of morphy(7WN): an ending and what replaces it.
struct SuffixRule
{
    std::string_view ending;
    std::string_view replacement;
};
constexpr SuffixRule nounRules[] = {{"s", ""},     {"ses", "s"},  {"xes", "x"},   {"zes", "z"},
                                    {"ches", "ch"}, {"shes", "sh"}, {"men", "man"}, {"ies", "y"}};
constexpr SuffixRule verbRules[] = {{"s", ""},  {"ies", "y"}, {"es", "e"},  {"es", ""},
                                    {"ed", "e"}, {"ed", ""},  {"ing", "e"}, {"ing", ""}};
constexpr SuffixRule adjectiveRules[] = {{"er", ""}, {"est", ""}, {"er", "e"}, {"est", "e"}};

std::pair<const SuffixRule *, const SuffixRule *> rulesFor(PartOfSpeech partOfSpeech)
{
    switch (partOfSpeech) {
    case PartOfSpeech::Noun:
        return {std::begin(nounRules), std::end(nounRules)};
    case PartOfSpeech::Verb:
        return {std::begin(verbRules), std::end(verbRules)};
    case PartOfSpeech::Adjective:
        return {std::begin(adjectiveRules), std::end(adjectiveRules)};
    case PartOfSpeech::Adverb:
        break;
    }
    return {nullptr, nullptr};
}

bool endsWith(std::string_view text, std::string_view ending)
{
    return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}

// Splits a line at single spaces into its fields, stopping at a lone "|"
// (the gloss that follows is not made of fields).
std::vector<std::string_view> fields(std::string_view line, std::string_view *rest = nullptr)
{
    std::vector<std::string_view> result;
    size_t position = 0;
    while (position < line.size()) {
        while (position < line.size() && line[position] == ' ')
            ++position;
        if (position >= line.size())
            break;
        if (line[position] == '|') {
            if (rest)
                *rest = line.substr(position + 1);
            break;
        }
        const size_t end = std::min(line.find(' ', position), line.size());
        result.push_back(line.substr(position, end - position));
        position = end;
    }
    return result;
}

template<typename Number>
std::optional<Number> number(std::string_view text, int base = 10)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// The key of a line: up to its first space.
std::string_view keyOf(std::string_view line)
{
    return line.substr(0, std::min(line.find(' '), line.size()));
}

// The start of the first line, in a file of lines sorted by key, whose key is
// not less than `key` (the file's size when there is none). A binary search
// over bytes: look at the line around the middle byte, then keep the half
// that can hold the answer. Licence lines at the top start with a space, so
// their key is empty and sorts first.
size_t firstLineNotBefore(std::string_view text, std::string_view key)
{
    size_t low = 0;
    size_t high = text.size();
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        const size_t previousBreak = middle == 0 ? std::string_view::npos : text.rfind('\n', middle - 1);
        const size_t start = previousBreak == std::string_view::npos ? 0 : previousBreak + 1;
        const size_t end = std::min(text.find('\n', start), text.size());
        if (keyOf(text.substr(start, end - start)) < key)
            low = end + 1;
        else
            high = start;
    }
    return std::min(low, text.size());
}

std::string_view lineAt(std::string_view text, size_t start)
{
    return text.substr(start, std::min(text.find('\n', start), text.size()) - start);
}

} // namespace

// A whole file mapped read-only; an empty file maps to an empty view.
class WordNet::MappedFile
{
public:
    MappedFile() = default;
    ~MappedFile()
    {
        if (m_address)
            munmap(m_address, m_size);
    }
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    bool map(const std::string &path, std::string &error)
    {
        const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (descriptor < 0) {
            error = path + ": " + std::strerror(errno);
            return false;
        }
        struct stat status = {};
        bool ok = fstat(descriptor, &status) == 0;
        if (ok && status.st_size > 0) {
            m_size = static_cast<size_t>(status.st_size);
            void *address = mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, descriptor, 0);
            ok = address != MAP_FAILED;
            m_address = ok ? address : nullptr;
        }
        if (!ok)
            error = path + ": " + std::strerror(errno);
        ::close(descriptor);
        return ok;
    }

    std::string_view text() const
    {
        return m_address ? std::string_view(static_cast<const char *>(m_address), m_size) : std::string_view();
    }

private:
    void *m_address = nullptr;
    size_t m_size = 0;
};

// Every synset of one part of speech in file order (so sorted by offset),
// with how specific each is.
struct WordNet::Hierarchy
{
    std::vector<std::uint32_t> offsets;
    std::vector<float> specificity;
};

struct WordNet::Files
{
    std::array<MappedFile, 4> index;
    std::array<MappedFile, 4> data;
    // Sense keys ("cat%1:05:00::") with their counts in the tagged corpus.
    MappedFile counts;
    // Inflected form -> its base forms, from the ".exc" files.
    std::array<std::unordered_map<std::string, std::vector<std::string>>, 4> exceptions;
    // Built on first use, for nouns and verbs (the parts of speech with
    // hypernyms).
    std::array<Hierarchy, 2> hierarchies;
    std::array<std::once_flag, 2> hierarchiesBuilt;
};

WordNet::WordNet() = default;
WordNet::~WordNet() = default;

std::vector<WordNet::Pointer> WordNet::Synset::hypernyms() const
{
    std::vector<Pointer> result;
    for (const Pointer &pointer : pointers) {
        if (pointer.symbol == "@" || pointer.symbol == "@i")
            result.push_back(pointer);
    }
    return result;
}

std::string WordNet::defaultDirectory()
{
    if (const char *directory = std::getenv("WNSEARCHDIR"); directory && *directory)
        return directory;
    return "/usr/share/wordnet";
}

std::unique_ptr<WordNet> WordNet::open(const std::string &directory, std::string &error)
{
    std::unique_ptr<WordNet> wordNet(new WordNet);
    wordNet->m_directory = directory;
    wordNet->m_files = std::make_unique<Files>();
    Files &files = *wordNet->m_files;
    for (PartOfSpeech partOfSpeech : partsOfSpeech) {
        const size_t i = indexOf(partOfSpeech);
        const std::string name = fileNames[i];
        if (!files.index[i].map(directory + "/index." + name, error)
            || !files.data[i].map(directory + "/data." + name, error))
            return nullptr;
        // Each line: an inflected form, then one or more base forms.
        std::ifstream exceptions(directory + "/" + name + ".exc");
        std::string line;
        while (std::getline(exceptions, line)) {
            const std::vector<std::string_view> parts = fields(trimmed(line));
            if (parts.size() < 2)
                continue;
            auto &bases = files.exceptions[i][std::string(parts[0])];
            for (size_t j = 1; j < parts.size(); ++j)
                bases.emplace_back(parts[j]);
        }
    }
    // Optional: without it every lemma counts as never seen.
    std::string ignored;
    files.counts.map(directory + "/cntlist.rev", ignored);
    return wordNet;
}

namespace {

// The part of speech a sense key names by its synset type, the digit after
// "%" (senseidx(5WN)): 1 noun, 2 verb, 3 adjective, 4 adverb, 5 adjective
// satellite.
std::optional<PartOfSpeech> partOfSpeechOfKey(std::string_view key, size_t typeAt)
{
    if (typeAt >= key.size())
        return std::nullopt;
    switch (key[typeAt]) {
    case '1':
        return PartOfSpeech::Noun;
    case '2':
        return PartOfSpeech::Verb;
    case '3':
    case '5':
        return PartOfSpeech::Adjective;
    case '4':
        return PartOfSpeech::Adverb;
    default:
        return std::nullopt;
    }
}

} // namespace

int WordNet::taggedCount(std::string_view lemma) const
{
    int total = 0;
    for (PartOfSpeech partOfSpeech : partsOfSpeech)
        total += taggedCount(lemma, partOfSpeech);
    return total;
}

int WordNet::taggedCount(std::string_view lemma, PartOfSpeech partOfSpeech) const
{
    if (lemma.empty() || lemma.find_first_of(" \n%") != std::string_view::npos)
        return 0;
    // sense_key sense_number tag_cnt, sorted by sense key; a lemma's keys
    // all start with "lemma%".
    const std::string prefix = std::string(lemma) + "%";
    const std::string_view text = m_files->counts.text();
    int total = 0;
    for (size_t start = firstLineNotBefore(text, prefix); start < text.size();) {
        const std::string_view line = lineAt(text, start);
        if (line.substr(0, prefix.size()) != prefix)
            break;
        const std::vector<std::string_view> parts = fields(trimmed(line));
        if (parts.size() == 3 && partOfSpeechOfKey(parts[0], prefix.size()) == partOfSpeech)
            total += number<int>(parts[2]).value_or(0);
        start += line.size() + 1;
    }
    return total;
}

std::optional<WordNet::Entry> WordNet::lookup(std::string_view lemma, PartOfSpeech partOfSpeech) const
{
    if (lemma.empty() || lemma.find_first_of(" \n") != std::string_view::npos)
        return std::nullopt;
    const std::string_view text = m_files->index[indexOf(partOfSpeech)].text();
    const std::string_view line = lineAt(text, firstLineNotBefore(text, lemma));
    if (line.empty() || keyOf(line) != lemma)
        return std::nullopt;

    // lemma pos synset_cnt p_cnt [ptr_symbol...] sense_cnt tagsense_cnt synset_offset...
    const std::vector<std::string_view> parts = fields(trimmed(line));
    if (parts.size() < 4)
        return std::nullopt;
    const auto synsetCount = number<size_t>(parts[2]);
    const auto pointerCount = number<size_t>(parts[3]);
    if (!synsetCount || !pointerCount || parts.size() != 4 + *pointerCount + 2 + *synsetCount)
        return std::nullopt;
    Entry entry;
    const size_t tagged = 4 + *pointerCount + 1;
    entry.taggedSenses = number<int>(parts[tagged]).value_or(0);
    for (size_t i = tagged + 1; i < parts.size(); ++i) {
        const auto offset = number<std::uint32_t>(parts[i]);
        if (!offset)
            return std::nullopt;
        entry.senses.push_back(*offset);
    }
    return entry;
}

std::optional<WordNet::Synset> WordNet::synset(PartOfSpeech partOfSpeech, std::uint32_t offset) const
{
    const std::string_view text = m_files->data[indexOf(partOfSpeech)].text();
    // A synset line starts at its offset, right after a line break.
    if (offset >= text.size() || (offset > 0 && text[offset - 1] != '\n'))
        return std::nullopt;
    const size_t end = std::min(text.find('\n', offset), text.size());
    std::string_view gloss;
    const std::vector<std::string_view> parts = fields(trimmed(text.substr(offset, end - offset)), &gloss);

    // synset_offset lex_filenum ss_type w_cnt word lex_id ... p_cnt ptr...
    if (parts.size() < 4 || number<std::uint32_t>(parts[0]) != offset)
        return std::nullopt;
    Synset synset;
    synset.offset = offset;
    const auto type = partOfSpeechFromLetter(parts[2]);
    const auto wordCount = number<size_t>(parts[3], 16);
    const auto lexicographerFile = number<int>(parts[1]);
    if (type != partOfSpeech || !wordCount || !lexicographerFile)
        return std::nullopt;
    synset.lexicographerFile = *lexicographerFile;
    synset.partOfSpeech = *type;
    synset.satellite = parts[2] == "s";
    size_t next = 4;
    for (size_t i = 0; i < *wordCount; ++i, next += 2) {
        if (next + 1 >= parts.size())
            return std::nullopt;
        std::string_view word = parts[next];
        if (const size_t marker = word.find('('); marker != std::string_view::npos && word.back() == ')')
            word = word.substr(0, marker);
        synset.words.emplace_back(word);
    }
    const auto pointerCount = next < parts.size() ? number<size_t>(parts[next]) : std::nullopt;
    if (!pointerCount)
        return std::nullopt;
    ++next;
    for (size_t i = 0; i < *pointerCount; ++i, next += 4) {
        if (next + 3 >= parts.size())
            return std::nullopt;
        const auto target = number<std::uint32_t>(parts[next + 1]);
        const auto targetType = partOfSpeechFromLetter(parts[next + 2]);
        if (!target || !targetType)
            return std::nullopt;
        synset.pointers.push_back({std::string(parts[next]), *targetType, *target});
    }
    synset.gloss = std::string(trimmed(gloss));
    return synset;
}

std::vector<std::string> WordNet::baseForms(std::string_view word, PartOfSpeech partOfSpeech) const
{
    std::vector<std::string> candidates;
    const auto &exceptions = m_files->exceptions[indexOf(partOfSpeech)];
    if (const auto it = exceptions.find(std::string(word)); it != exceptions.end()) {
        // An irregular form: its listed bases (and the form itself, which
        // may be a lemma too, as "leaves" is not but "found" is).
        candidates.emplace_back(word);
        candidates.insert(candidates.end(), it->second.begin(), it->second.end());
    } else {
        candidates.emplace_back(word);
        // A noun ending in "ss" is not a plural, and a two-letter word has
        // no suffix to take off.
        const bool rulesApply =
            partOfSpeech != PartOfSpeech::Noun || (!endsWith(word, "ss") && word.size() > 2);
        const auto [first, last] = rulesFor(partOfSpeech);
        for (const SuffixRule *rule = first; rulesApply && rule != last; ++rule) {
            if (word.size() > rule->ending.size() && endsWith(word, rule->ending))
                candidates.push_back(std::string(word.substr(0, word.size() - rule->ending.size()))
                                     + std::string(rule->replacement));
        }
    }

    std::vector<std::string> result;
    for (std::string &candidate : candidates) {
        if (std::find(result.begin(), result.end(), candidate) == result.end() && lookup(candidate, partOfSpeech))
            result.push_back(std::move(candidate));
    }
    return result;
}

const WordNet::Hierarchy &WordNet::hierarchy(PartOfSpeech partOfSpeech) const
{
    const size_t which = indexOf(partOfSpeech);
    std::call_once(m_files->hierarchiesBuilt[which], [&] {
        Hierarchy &hierarchy = m_files->hierarchies[which];
        const std::string_view text = m_files->data[which].text();
        // Each synset's offset and the offsets of its hypernyms.
        std::vector<std::pair<size_t, std::uint32_t>> links; // (child index, parent offset)
        for (size_t start = 0; start < text.size();) {
            const std::string_view line = lineAt(text, start);
            start += line.size() + 1;
            // Licence lines start with a space.
            if (line.empty() || line.front() == ' ')
                continue;
            const std::vector<std::string_view> parts = fields(line);
            const auto offset = parts.size() > 4 ? number<std::uint32_t>(parts[0]) : std::nullopt;
            const auto wordCount = offset ? number<size_t>(parts[3], 16) : std::nullopt;
            if (!wordCount)
                continue;
            const size_t pointers = 4 + 2 * *wordCount;
            const auto pointerCount = pointers < parts.size() ? number<size_t>(parts[pointers]) : std::nullopt;
            if (!pointerCount)
                continue;
            const size_t child = hierarchy.offsets.size();
            hierarchy.offsets.push_back(*offset);
            for (size_t i = 0, next = pointers + 1; i < *pointerCount && next + 2 < parts.size(); ++i, next += 4) {
                if (parts[next] != "@" && parts[next] != "@i")
                    continue;
                if (const auto parent = number<std::uint32_t>(parts[next + 1]))
                    links.emplace_back(child, *parent);
            }
        }
        // Descendants, counted from the leaves up: a synset is settled once
        // all its children have passed their counts on. A synset with two
        // parents counts under both.
        const size_t size = hierarchy.offsets.size();
        std::vector<std::vector<size_t>> parents(size);
        std::vector<int> pendingChildren(size, 0);
        for (const auto &[child, parentOffset] : links) {
            const auto it = std::lower_bound(hierarchy.offsets.begin(), hierarchy.offsets.end(), parentOffset);
            if (it == hierarchy.offsets.end() || *it != parentOffset)
                continue;
            const auto parent = static_cast<size_t>(it - hierarchy.offsets.begin());
            parents[child].push_back(parent);
            ++pendingChildren[parent];
        }
        std::vector<double> descendants(size, 0.0);
        std::vector<size_t> ready;
        for (size_t i = 0; i < size; ++i) {
            if (pendingChildren[i] == 0)
                ready.push_back(i);
        }
        while (!ready.empty()) {
            const size_t node = ready.back();
            ready.pop_back();
            for (size_t parent : parents[node]) {
                descendants[parent] += descendants[node] + 1;
                if (--pendingChildren[parent] == 0)
                    ready.push_back(parent);
            }
        }
        // A cycle (not in WordNet's own files) leaves its members unsettled
        // with the counts they have gathered, which is harmless here.
        const double all = std::log(std::max<double>(2.0, double(size)));
        hierarchy.specificity.resize(size);
        for (size_t i = 0; i < size; ++i)
            hierarchy.specificity[i] = float(std::clamp(1.0 - std::log(1.0 + descendants[i]) / all, 0.0, 1.0));
    });
    return m_files->hierarchies[which];
}

double WordNet::specificity(PartOfSpeech partOfSpeech, std::uint32_t offset) const
{
    if (partOfSpeech != PartOfSpeech::Noun && partOfSpeech != PartOfSpeech::Verb)
        return 1.0;
    const Hierarchy &hierarchy = this->hierarchy(partOfSpeech);
    const auto it = std::lower_bound(hierarchy.offsets.begin(), hierarchy.offsets.end(), offset);
    if (it == hierarchy.offsets.end() || *it != offset)
        return 1.0;
    return hierarchy.specificity[static_cast<size_t>(it - hierarchy.offsets.begin())];
}
