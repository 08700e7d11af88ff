#include "SamplingMath.h"

#include "app/Languages.h"
#include "catalogue/TextTrimming.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <numeric>

std::optional<int> SampledOdds::topRating() const
{
    const auto best = std::max_element(ratings.begin(), ratings.end());
    if (!(*best > 0.0))
        return std::nullopt;
    return int(best - ratings.begin()) + 1;
}

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("SamplingText", text);
}

// The rating a token stands for: exactly one digit from 1 to 5 once trimmed,
// the same rule as the probabilities chart.
std::optional<int> ratingOf(const QString &token)
{
    const QString trimmed = TextTrimming::trimmedWhitespaceAndLineBreaks(token);
    if (trimmed.size() != 1 || trimmed.at(0) < u'1' || trimmed.at(0) > u'5')
        return std::nullopt;
    return trimmed.at(0).unicode() - u'0';
}

// A number from a "parameters" line, when it is a finite one.
std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

namespace SamplingMath {

SamplingSettings serverDefaults()
{
    return {0.8, 40, 0.9};
}

SamplingSettings clamped(SamplingSettings settings)
{
    if (!std::isfinite(settings.temperature))
        settings.temperature = serverDefaults().temperature;
    if (!std::isfinite(settings.topP))
        settings.topP = serverDefaults().topP;
    settings.temperature = std::clamp(settings.temperature, minTemperature, maxTemperature);
    settings.topP = std::clamp(settings.topP, minTopP, maxTopP);
    // llama.cpp reads a top-k of zero or less as off, and one above the
    // listed candidates keeps them all.
    if (settings.topK && (*settings.topK < minTopK || *settings.topK > maxTopK))
        settings.topK.reset();
    return settings;
}

SamplingStart startFrom(const std::optional<QString> &parameters)
{
    SamplingStart start{serverDefaults()};
    if (!parameters)
        return start;
    for (const QString &line : parameters->split(u'\n')) {
        const QStringList words = line.simplified().split(u' ', Qt::SkipEmptyParts);
        if (words.size() != 2)
            continue;
        const std::optional<double> value = number(words.at(1));
        if (!value)
            continue;
        if (words.at(0) == QLatin1String("temperature")) {
            start.settings.temperature = *value;
            start.temperatureFromModel = true;
        } else if (words.at(0) == QLatin1String("top_k") && *value == std::floor(*value)
                   && std::abs(*value) < 1e9) {
            start.settings.topK = int(*value);
            start.topKFromModel = true;
        } else if (words.at(0) == QLatin1String("top_p")) {
            start.settings.topP = *value;
            start.topPFromModel = true;
        }
    }
    return start;
}

SampledOdds apply(const QList<TokenCandidate> &candidates, const SamplingSettings &requested)
{
    const SamplingSettings settings = clamped(requested);
    SampledOdds odds;
    odds.listed = int(candidates.size());
    if (candidates.isEmpty())
        return odds;

    QList<TokenCandidate> sorted = candidates;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TokenCandidate &a, const TokenCandidate &b) { return a.logprob > b.logprob; });

    // Top-k: the k most likely.
    odds.afterTopK = settings.topK ? std::min(*settings.topK, odds.listed) : odds.listed;
    sorted.resize(odds.afterTopK);

    // Their shares, renormalised among themselves.
    const double best = sorted.front().logprob;
    double total = 0.0;
    for (const TokenCandidate &c : std::as_const(sorted))
        total += std::exp(c.logprob - best);

    // Top-p: the smallest most-likely-first set whose shares reach p (a hair
    // of tolerance, so that shares that add up to exactly p stop there).
    double cumulative = 0.0;
    for (const TokenCandidate &c : std::as_const(sorted)) {
        const double share = std::exp(c.logprob - best) / total;
        odds.kept.append({c, share, 0.0, 0.0, ratingOf(c.token)});
        cumulative += share;
        if (cumulative >= settings.topP - 1e-9)
            break;
    }

    // Temperature: each weight is exp(logprob / temperature), taken relative
    // to the best candidate so that a low temperature cannot overflow.
    for (KeptCandidate &k : odds.kept) {
        k.weight = std::exp((k.candidate.logprob - best) / settings.temperature);
        odds.weightSum += k.weight;
    }
    for (KeptCandidate &k : odds.kept) {
        k.probability = k.weight / odds.weightSum;
        if (k.rating)
            odds.ratings[size_t(*k.rating - 1)] += k.probability;
        else
            odds.noRating += k.probability;
    }
    return odds;
}

} // namespace SamplingMath

namespace SamplingText {

QString temperature(double value)
{
    return Languages::decimal(value, 2);
}

QString topK(std::optional<int> value)
{
    return value ? QString::number(*value) : tr("off");
}

QString topP(double value)
{
    return Languages::decimal(value, 2);
}

QString settingsLine(const SamplingSettings &settings)
{
    return tr("temperature %1, top-k %2, top-p %3")
        .arg(temperature(settings.temperature), topK(settings.topK), topP(settings.topP));
}

QString startSentence(const SamplingStart &start)
{
    QStringList own;
    QStringList defaults;
    (start.temperatureFromModel ? own : defaults) << tr("temperature");
    (start.topKFromModel ? own : defaults) << tr("top-k");
    (start.topPFromModel ? own : defaults) << tr("top-p");
    const QString values = settingsLine(start.settings);

    QString sentence;
    if (defaults.isEmpty())
        sentence = tr("Starting from the model's own settings: %1.").arg(values);
    else if (own.isEmpty())
        sentence = tr("Starting from the server's defaults (%1): the model lists no settings of its own.").arg(values);
    else
        sentence = tr("Starting from the model's own %1 and the server's default %2: %3.")
                       .arg(own.join(tr(" and ")), defaults.join(tr(" and ")), values);
    if (start.settings.topK && *start.settings.topK > SamplingMath::maxTopK)
        sentence += QLatin1Char(' ')
            + tr("A top-k of %1 keeps every listed candidate, the same as off.").arg(*start.settings.topK);
    return sentence;
}

QString arithmetic(const SampledOdds &odds, const SamplingSettings &requested)
{
    const SamplingSettings settings = SamplingMath::clamped(requested);
    const std::optional<int> top = odds.topRating();
    if (odds.kept.isEmpty() || !top)
        return tr("No candidate that these settings keep is a rating, so no answer drawn with them would be a number.");

    const QString topKPart = settings.topK
        ? tr("Top-k %1 keeps the %2 most likely of the %3 listed candidates")
              .arg(*settings.topK)
              .arg(odds.afterTopK)
              .arg(odds.listed)
        : tr("Top-k is off, so all %1 listed candidates stay").arg(odds.listed);
    const QString topPPart = tr("top-p %1 then keeps the %2 most likely whose shares reach %1")
                                 .arg(topP(settings.topP))
                                 .arg(odds.kept.size());

    // The weights as the rule states them, exp(logprob / temperature); the
    // shares come from the scaled weights, which give the same ratios.
    QStringList tokens;
    double ratingWeight = 0.0;
    double allWeight = 0.0;
    for (const KeptCandidate &k : odds.kept) {
        const double raw = std::exp(k.candidate.logprob / settings.temperature);
        allWeight += raw;
        if (k.rating == top) {
            ratingWeight += raw;
            tokens << QStringLiteral("“%1”").arg(TokenProbabilityText::visibleToken(k.candidate.token));
        }
    }
    const auto shown = [](double value) { return Languages::localizedNumber(QString::number(value, 'g', 3)); };
    const QString weightPart = tr("Each kept candidate weighs exp(log-probability ÷ %1). Rating %2 (%3) weighs %4 "
                                  "of %5 in all, so its share is %4 ÷ %5 = %6.")
                                   .arg(temperature(settings.temperature))
                                   .arg(*top)
                                   .arg(tokens.join(tr(" and ")), shown(ratingWeight), shown(allWeight),
                                        TokenProbabilityText::percent(odds.ratings[size_t(*top - 1)]));
    return tr("%1; %2. %3").arg(topKPart, topPPart, weightPart);
}

} // namespace SamplingText
