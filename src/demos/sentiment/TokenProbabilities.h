#pragma once

#include "catalogue/ClientError.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <variant>

// What the model thought of the first token of its rating: the candidates the
// server sent with their log-probabilities, and from them the probability of
// each rating from 1 to 5.
//
// A language model gives every possible next token a probability and then
// draws one. A server that is asked for "logprobs" sends, for each token it
// generated, the most likely candidates at that position; the first
// non-blank token is where the model commits to a rating.

struct TokenCandidate
{
    // The token text exactly as sent, spaces and line breaks included.
    QString token;
    // Natural logarithm of its probability.
    double logprob = 0.0;

    bool operator==(const TokenCandidate &) const = default;
};

struct TokenProbabilities
{
    // The token the model actually produced at that position.
    QString producedToken;
    // Every candidate as sent, in the server's order.
    QList<TokenCandidate> candidates;
    // Probability of each rating, index 0 for rating 1: the candidates whose
    // token is exactly that digit once trimmed, added together (" 4" and "4"
    // are the same rating to a reader). Scaled down together when rounding
    // on the server makes the candidates add up to a little more than 1.
    std::array<double, 5> ratings{};

    // The probability of all five ratings together, and of everything else
    // (other candidates and tokens the server did not list).
    double ratingMass() const;
    double otherMass() const;
    // The average rating weighted by probability, among the five ratings
    // only (the share that went elsewhere plays no part); absent when no
    // candidate is a rating.
    std::optional<double> expectedRating() const;

    bool operator==(const TokenProbabilities &) const = default;
};

// Why a reply that arrived carries no usable probabilities.
enum class TokenProbabilityProblem {
    // No "logprobs" member: the server does not send probabilities.
    NotSent,
    // "logprobs" is empty, or holds only blank tokens.
    NoTokens,
    // The first non-blank token came without any candidates.
    NoCandidates,
    // A candidate's log-probability is missing, not a number, not finite or
    // above zero (a probability above 1).
    InvalidValue,
    // An entry up to the first non-blank token, or a candidate, is not an
    // object with a string "token".
    Malformed,
    // The candidates add up to more than 1 beyond what rounding explains
    // (a token listed twice, a broken server).
    TooMuchProbability,
    // The reply carries the model's reasoning: the tokens read would be
    // reasoning, not the rating (a model that cannot stop reasoning).
    Reasoned,
};

using TokenProbabilityReading = std::variant<TokenProbabilities, TokenProbabilityProblem>;

namespace TokenProbabilityText {

// The most candidates a server sends per token.
inline constexpr int maxCandidates = 20;
// How far past 1 the candidates may add up and still be read as rounding.
inline constexpr double roundingTolerance = 0.005;
// From this share of the probability going to tokens that are not ratings,
// the summary says so and never calls the model sure.
inline constexpr double largeElsewhereShare = 0.2;
// Below this probability for the runner-up rating, the model counts as sure.
inline constexpr double negligibleRunnerUp = 0.005;

// Reads a generate reply. Failures (not JSON, not an object, no string
// "response") are the same as for the rating itself; a reply of the right
// shape always gives either probabilities or the problem with them.
Result<TokenProbabilityReading> readReply(const QByteArray &body);

// The learner-facing sentence for each problem.
QString problemMessage(TokenProbabilityProblem problem);

// A token with its invisible characters drawn: a space as "␣", a line break
// as "↵", a tab as "⇥", other control, format and space characters as their
// code point ("⟨U+000D⟩"); "(empty)" for an empty token. (The symbols are
// ones that common interface fonts carry.)
QString visibleToken(const QString &token);

// A probability as a whole percentage: "81 %", "0 %", "<1 %" for a value
// that is not zero but rounds to it, ">99 %" for one that rounds to 100 but
// is not 1.
QString percent(double probability);
// The same in words for assistive technology: "81 percent",
// "less than 1 percent".
QString percentSpoken(double probability);
// A probability with one decimal, for the table: "81.2 %", "<0.1 %".
QString tablePercent(double probability);
// A log-probability with two decimals, for the table: "-1.40".
QString tableLogprob(double logprob);

// One sentence that says what the figures mean, and a second one when a
// large share went to tokens that are not ratings.
QString summary(const TokenProbabilities &probabilities);

} // namespace TokenProbabilityText
