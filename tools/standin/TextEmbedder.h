#pragma once

#include <string>
#include <string_view>
#include <vector>

// The stand-in's embedding "model": hashed word and character-trigram
// features, with a small table of synonyms so that common paraphrases land
// near each other. Not a learned embedding; deterministic and L2-normalised.
namespace TextEmbedder {

inline constexpr size_t dimensions = 384;

// The vector of a text. A text without words (e.g. "?!") still gets a unit
// vector, from its characters; only an empty text gives a zero vector.
std::vector<double> embed(std::string_view text);

// The word that stands for a word's meaning: a synonym's head word ("feline"
// gives "cat"), else the word with a plural or tense ending removed.
std::string canonicalWord(const std::string &word);

} // namespace TextEmbedder
