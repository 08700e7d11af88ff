#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The stand-in's sentiment "model": a small word list with intensifiers and
// negation, not a language model. Deterministic: the same text always gets
// the same rating.
namespace SentimentRater {

// The opening line of Quillmere's rating prompt, up to its colon.
inline constexpr std::string_view ratingPromptHeading =
    "Analyze the sentiment of the following text and respond with ONLY A SINGLE NUMBER from 1 to 5:";

// The text to rate when `prompt` is Quillmere's rating prompt: what sits
// between the first `Text: "` and the final `"` + blank line + `Rating:`.
// Absent for any other prompt.
std::optional<std::string> ratedText(std::string_view prompt);

// The signed strength of the text's sentiment: positive above zero, negative
// below, zero for neutral or unknown words.
double polarity(std::string_view text);

// 1 (very negative) to 5 (very positive).
int rating(std::string_view text);

// The rating of a polarity: the mapping rating() uses.
int ratingForPolarity(double polarity);

// How likely each rating (index 0 for 1) would be as the answer of a model
// that is fairly sure of rating(text): most of the mass on that rating, a
// little on its neighbours. Where the clauses of a text pull different ways
// ("lovely beach, but awful food"), part of the mass goes to each clause's
// own rating. The ratings add up to `ratingMass`; the rest belongs to tokens
// that are not ratings.
inline constexpr double ratingMass = 0.96;
std::array<double, 5> ratingProbabilities(std::string_view text);

} // namespace SentimentRater
