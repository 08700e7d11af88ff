#include "TokenProbabilities.h"

#include "SentimentClient.h"
#include "app/Languages.h"

#include "catalogue/JsonReading.h"
#include "catalogue/TextTrimming.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <numeric>

double TokenProbabilities::ratingMass() const
{
    return std::accumulate(ratings.begin(), ratings.end(), 0.0);
}

double TokenProbabilities::otherMass() const
{
    return std::clamp(1.0 - ratingMass(), 0.0, 1.0);
}

std::optional<double> TokenProbabilities::expectedRating() const
{
    const double mass = ratingMass();
    if (!(mass > 0.0))
        return std::nullopt;
    double weighted = 0.0;
    for (size_t i = 0; i < ratings.size(); ++i)
        weighted += double(i + 1) * ratings[i];
    return weighted / mass;
}

namespace {

bool isBlank(const QString &token)
{
    return TextTrimming::trimmedWhitespaceAndLineBreaks(token).isEmpty();
}

// The rating a token stands for: exactly one digit from 1 to 5 once trimmed.
std::optional<int> ratingOf(const QString &token)
{
    const QString trimmed = TextTrimming::trimmedWhitespaceAndLineBreaks(token);
    if (trimmed.size() != 1 || trimmed.at(0) < u'1' || trimmed.at(0) > u'5')
        return std::nullopt;
    return trimmed.at(0).unicode() - u'0';
}

// A candidate's log-probability, when it is one: a finite number no larger
// than zero (a hair above zero is rounding and reads as probability 1).
std::optional<double> logprobOf(const nlohmann::json &candidate)
{
    const auto it = candidate.find("logprob");
    if (it == candidate.end() || !it->is_number())
        return std::nullopt;
    const double value = it->get<double>();
    if (!std::isfinite(value) || value > 1e-6)
        return std::nullopt;
    return std::min(value, 0.0);
}

// The token of an entry, when the entry is an object with a string "token".
std::optional<QString> tokenOf(const nlohmann::json &entry)
{
    if (!entry.is_object())
        return std::nullopt;
    const auto token = entry.find("token");
    if (token == entry.end() || !token->is_string())
        return std::nullopt;
    return JsonReading::toQString(token->get_ref<const std::string &>());
}

TokenProbabilityReading readLogprobs(const nlohmann::json &logprobs)
{
    // Blank tokens before the rating are passed over; a malformed entry is
    // not, or the reader would take a later position for the first.
    auto first = logprobs.end();
    for (auto it = logprobs.begin(); it != logprobs.end(); ++it) {
        const std::optional<QString> token = tokenOf(*it);
        if (!token)
            return TokenProbabilityProblem::Malformed;
        if (!isBlank(*token)) {
            first = it;
            break;
        }
    }
    if (first == logprobs.end())
        return TokenProbabilityProblem::NoTokens;

    const auto top = first->find("top_logprobs");
    if (top == first->end() || !top->is_array() || top->empty())
        return TokenProbabilityProblem::NoCandidates;

    TokenProbabilities result;
    result.producedToken = *tokenOf(*first);
    double total = 0.0;
    for (const nlohmann::json &entry : *top) {
        const std::optional<QString> token = tokenOf(entry);
        if (!token)
            return TokenProbabilityProblem::Malformed;
        const std::optional<double> logprob = logprobOf(entry);
        if (!logprob)
            return TokenProbabilityProblem::InvalidValue;
        const TokenCandidate candidate{*token, *logprob};
        const double p = std::exp(candidate.logprob);
        total += p;
        if (const auto rating = ratingOf(candidate.token))
            result.ratings[size_t(*rating - 1)] += p;
        result.candidates.append(candidate);
    }
    // Each probability the server rounds can push the sum a little past 1;
    // more than that is no set of probabilities at all.
    if (total > 1.0 + TokenProbabilityText::roundingTolerance)
        return TokenProbabilityProblem::TooMuchProbability;
    if (total > 1.0) {
        for (double &p : result.ratings)
            p /= total;
    }
    return result;
}

} // namespace

namespace TokenProbabilityText {

namespace {

// The translation context of the texts below.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(TokenProbabilityText)
};

} // namespace

Result<TokenProbabilityReading> readReply(const QByteArray &body)
{
    const auto parsed = SentimentClient::parseGenerateReply(body);
    if (!parsed)
        return parsed.error();
    const nlohmann::json &root = parsed.value();

    // A model that reasoned spent its first tokens on the reasoning, so the
    // probabilities read would not be the rating's.
    if (const auto thinking = root.find("thinking"); thinking != root.end() && thinking->is_string()
        && !TextTrimming::trimmedWhitespaceAndLineBreaks(
                JsonReading::toQString(thinking->get_ref<const std::string &>())).isEmpty())
        return TokenProbabilityReading(TokenProbabilityProblem::Reasoned);

    const auto logprobs = root.find("logprobs");
    if (logprobs == root.end() || logprobs->is_null())
        return TokenProbabilityReading(TokenProbabilityProblem::NotSent);
    if (!logprobs->is_array())
        return ClientError::invalidResponse();
    return readLogprobs(*logprobs);
}

QString problemMessage(TokenProbabilityProblem problem)
{
    switch (problem) {
    case TokenProbabilityProblem::NotSent:
        return Texts::tr("This server does not send token probabilities. Newer Ollama versions do: "
                         "update the server to see them.");
    case TokenProbabilityProblem::NoTokens:
        return Texts::tr("The server sent token probabilities, but for no token other than white "
                         "space, so there is nothing to show.");
    case TokenProbabilityProblem::NoCandidates:
        return Texts::tr("The server sent no candidates for the model's first token, so there is "
                         "nothing to show.");
    case TokenProbabilityProblem::InvalidValue:
        return Texts::tr("The server sent a log-probability that is not a finite number of zero or "
                         "less, so the probabilities cannot be shown.");
    case TokenProbabilityProblem::Malformed:
        return Texts::tr("The server sent a token probability entry without its token, so the reply is unusable.");
    case TokenProbabilityProblem::TooMuchProbability:
        return Texts::tr("The server's candidates add up to far more than 100 %, which no set of probabilities "
                         "does, so the reply is unusable.");
    case TokenProbabilityProblem::Reasoned:
        return Texts::tr("This model reasons before it answers even when asked not to, so its first tokens are "
                         "reasoning rather than the rating, and their probabilities would say nothing about it.");
    }
    return {};
}

QString visibleToken(const QString &token)
{
    if (token.isEmpty())
        return QCoreApplication::translate("TokenProbabilityText", "(empty)");
    QString shown;
    for (const QChar c : token) {
        const char16_t u = c.unicode();
        if (u == u' ')
            shown += QStringLiteral("␣");
        else if (u == u'\n')
            shown += QStringLiteral("↵");
        else if (u == u'\t')
            shown += QStringLiteral("⇥");
        else if (u < 0x20 || u == 0x7f || c.isSpace() || c.category() == QChar::Other_Format
                 || c.category() == QChar::Other_Control)
            shown += QStringLiteral("⟨U+%1⟩").arg(QString::number(u, 16).toUpper().rightJustified(4, u'0'));
        else
            shown += c;
    }
    return shown;
}

QString percent(double probability)
{
    const long whole = std::lround(probability * 100.0);
    if (whole == 0 && probability > 0.0)
        return QStringLiteral("<1 %");
    if (whole == 100 && probability < 1.0)
        return QStringLiteral(">99 %");
    return QStringLiteral("%1 %").arg(whole);
}

QString percentSpoken(double probability)
{
    // The same rounding as percent(), in words for a screen reader.
    const long whole = std::lround(probability * 100.0);
    if (whole == 0 && probability > 0.0)
        return QCoreApplication::translate("TokenProbabilityText", "less than 1 percent");
    if (whole == 100 && probability < 1.0)
        return QCoreApplication::translate("TokenProbabilityText", "more than 99 percent");
    return QCoreApplication::translate("TokenProbabilityText", "%1 percent").arg(whole);
}

QString tablePercent(double probability)
{
    const double value = probability * 100.0;
    if (value > 0.0 && value < 0.05)
        return QLatin1Char('<') + Languages::withPercentSign(Languages::decimal(0.1, 1), QStringLiteral(" "));
    return Languages::withPercentSign(Languages::decimal(value, 1), QStringLiteral(" "));
}

QString tableLogprob(double logprob)
{
    return Languages::decimal(logprob, 2);
}

QString summary(const TokenProbabilities &probabilities)
{
    const double elsewhere = probabilities.otherMass();
    const bool muchElsewhere = elsewhere >= largeElsewhereShare;
    if (!probabilities.expectedRating())
        return Texts::tr("None of the model's most likely first tokens is a rating from 1 to 5, so its "
                         "answer would not have been a rating.");
    std::array<int, 5> order{1, 2, 3, 4, 5};
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return probabilities.ratings[size_t(a - 1)] > probabilities.ratings[size_t(b - 1)];
    });
    const int best = order[0];
    const int second = order[1];
    const double pBest = probabilities.ratings[size_t(best - 1)];
    const double pSecond = probabilities.ratings[size_t(second - 1)];

    QString sentence;
    if (pSecond < negligibleRunnerUp && !muchElsewhere) {
        sentence = Texts::tr("The model gave %1 a probability of %2 and the other ratings almost none: "
                             "it was sure of its answer")
                       .arg(best)
                       .arg(percent(pBest));
    } else if (pSecond < negligibleRunnerUp) {
        sentence = Texts::tr("The model gave %1 a probability of %2 and the other ratings almost none")
                       .arg(best)
                       .arg(percent(pBest));
    } else {
        sentence = Texts::tr("The model gave %1 a probability of %2 and %3 a probability of %4; the "
                             "answer is drawn from these odds, so the same text can get another rating "
                             "on another run")
                       .arg(best)
                       .arg(percent(pBest))
                       .arg(second)
                       .arg(percent(pSecond));
    }
    const std::optional<int> produced = ratingOf(probabilities.producedToken);
    if (produced && *produced != best)
        sentence += Texts::tr(", and this time the draw gave %1").arg(*produced);
    sentence += QLatin1Char('.');
    if (muchElsewhere)
        sentence += QLatin1Char(' ')
            + Texts::tr("%1 of the probability went to tokens that are not ratings, so the answer might not "
                        "have been a rating at all.")
                  .arg(percent(elsewhere));
    return sentence;
}

} // namespace TokenProbabilityText
