#include "TextTokens.h"

namespace TextTokens {

namespace {

bool isWordByte(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '\'' || c >= 0x80;
}

} // namespace

std::vector<Token> tokenize(std::string_view text)
{
    std::vector<Token> tokens;
    std::string word;
    auto flushWord = [&] {
        // Apostrophes only join letters: quotes around a word are dropped.
        while (!word.empty() && word.front() == '\'')
            word.erase(word.begin());
        while (!word.empty() && word.back() == '\'')
            word.pop_back();
        if (!word.empty())
            tokens.push_back({Token::Kind::Word, word});
        word.clear();
    };

    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // U+2019 RIGHT SINGLE QUOTATION MARK, the typographic apostrophe.
        if (c == 0xe2 && text.substr(i, 3) == "\xe2\x80\x99") {
            word += '\'';
            i += 2;
            continue;
        }
        // U+2026 HORIZONTAL ELLIPSIS and the dashes U+2013, U+2014 end a clause.
        if (c == 0xe2 && (text.substr(i, 3) == "\xe2\x80\xa6" || text.substr(i, 3) == "\xe2\x80\x93"
                          || text.substr(i, 3) == "\xe2\x80\x94")) {
            flushWord();
            tokens.push_back({Token::Kind::ClauseBreak, {}});
            i += 2;
            continue;
        }
        if (isWordByte(c)) {
            word += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
            continue;
        }
        flushWord();
        if (c == '!')
            tokens.push_back({Token::Kind::Exclamation, {}});
        else if (c == '.' || c == ',' || c == ';' || c == ':' || c == '?' || c == '(' || c == ')')
            tokens.push_back({Token::Kind::ClauseBreak, {}});
    }
    flushWord();
    return tokens;
}

std::vector<std::string> words(std::string_view text)
{
    std::vector<std::string> result;
    for (Token &token : tokenize(text)) {
        if (token.kind == Token::Kind::Word)
            result.push_back(std::move(token.text));
    }
    return result;
}

} // namespace TextTokens
