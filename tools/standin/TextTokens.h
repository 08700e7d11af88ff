#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splitting a text into lower-case words and clause marks, shared by the
// stand-in's sentiment rater and its embedder. Only ASCII letters are folded;
// other UTF-8 sequences stay part of the word they are in.
namespace TextTokens {

struct Token
{
    enum class Kind { Word, ClauseBreak, Exclamation };
    Kind kind = Kind::Word;
    // A word in lower case, with typographic apostrophes made plain ("don't").
    std::string text;
};

std::vector<Token> tokenize(std::string_view text);

// The words alone.
std::vector<std::string> words(std::string_view text);

} // namespace TextTokens
