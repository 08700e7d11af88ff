#pragma once

#include "TokenProbabilities.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

// How a server picks one token from the candidates' odds, done by hand on the
// candidates it listed: top-k, then top-p, then temperature, in the order the
// llama.cpp sampler applies them.
struct SamplingSettings
{
    double temperature = 0.8;
    // Absent: off. Any value above the most candidates listed keeps them all.
    std::optional<int> topK = 40;
    double topP = 0.9;

    bool operator==(const SamplingSettings &) const = default;
};

// Where the starting values came from: the model's own parameters or the
// server's defaults, one flag per setting.
struct SamplingStart
{
    SamplingSettings settings;
    bool temperatureFromModel = false;
    bool topKFromModel = false;
    bool topPFromModel = false;

    bool operator==(const SamplingStart &) const = default;
};

// One candidate that survived top-k and top-p.
struct KeptCandidate
{
    TokenCandidate candidate;
    // Its share among the candidates top-k kept (before temperature).
    double share = 0.0;
    // exp((logprob - the best logprob) / temperature): the best candidate
    // weighs 1, which keeps the sum finite at any temperature.
    double weight = 0.0;
    // Its share after temperature: weight over the sum of weights.
    double probability = 0.0;
    // The rating the token stands for, when it is one.
    std::optional<int> rating;
};

struct SampledOdds
{
    // Most likely first.
    QList<KeptCandidate> kept;
    // How many candidates were listed, and how many top-k kept.
    int listed = 0;
    int afterTopK = 0;
    double weightSum = 0.0;
    // Probability of each rating (index 0 for rating 1) and of a kept
    // candidate that is no rating. Together they make 1 when anything was
    // kept.
    std::array<double, 5> ratings{};
    double noRating = 0.0;

    // The most likely rating; absent when no kept candidate is a rating.
    std::optional<int> topRating() const;
};

namespace SamplingMath {

inline constexpr double minTemperature = 0.05;
inline constexpr double maxTemperature = 2.0;
inline constexpr int minTopK = 1;
inline constexpr int maxTopK = 20;
inline constexpr double minTopP = 0.05;
inline constexpr double maxTopP = 1.0;

// What a server uses when neither the model nor the request says otherwise.
SamplingSettings serverDefaults();

// The settings with each value brought into its range (a top-k above the
// most listed candidates becomes off, as it keeps them all).
SamplingSettings clamped(SamplingSettings settings);

// The starting settings: the model's own values where the "parameters" text
// of its show reply lists them ("temperature 0.6" lines), the server's
// defaults elsewhere.
SamplingStart startFrom(const std::optional<QString> &parameters);

// The odds of the candidates with these settings. Out-of-range settings are
// clamped first.
SampledOdds apply(const QList<TokenCandidate> &candidates, const SamplingSettings &settings);

} // namespace SamplingMath

namespace SamplingText {

// "0.80", "Off", "0.90": a setting as its control shows it.
QString temperature(double value);
QString topK(std::optional<int> value);
QString topP(double value);

// "temperature 0.80, top-k 40, top-p 0.90" (top-k "off").
QString settingsLine(const SamplingSettings &settings);

// Which starting values came from where, in one sentence.
QString startSentence(const SamplingStart &start);

// The rule written out with the current numbers for the top rating.
QString arithmetic(const SampledOdds &odds, const SamplingSettings &settings);

} // namespace SamplingText
