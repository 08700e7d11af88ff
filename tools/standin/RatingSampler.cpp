#include "RatingSampler.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace RatingSampler {

std::optional<Options> read(const nlohmann::json &request)
{
    const auto options = request.find("options");
    if (options == request.end() || !options->is_object())
        return std::nullopt;
    Options read;
    bool any = false;
    const auto number = [&](const char *key, auto &target) {
        const auto it = options->find(key);
        if (it == options->end() || !it->is_number())
            return;
        const double value = it->template get<double>();
        if (!std::isfinite(value))
            return;
        target = static_cast<std::remove_reference_t<decltype(target)>>(value);
        any = true;
    };
    number("temperature", read.temperature);
    number("top_p", read.topP);
    if (const auto it = options->find("top_k"); it != options->end() && it->is_number_integer()) {
        read.topK = int(std::clamp<std::int64_t>(it->get<std::int64_t>(), -1, 1 << 20));
        any = true;
    }
    if (const auto it = options->find("seed"); it != options->end() && it->is_number_integer()) {
        read.seed = it->is_number_unsigned() ? it->get<std::uint64_t>() : std::uint64_t(it->get<std::int64_t>());
        any = true;
    }
    return any ? std::optional<Options>(read) : std::nullopt;
}

std::string draw(std::vector<OllamaWire::TokenLogprob> candidates, const Options &options)
{
    if (candidates.empty())
        return {};
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const auto &a, const auto &b) { return a.logprob > b.logprob; });
    if (!(options.temperature > 0.0))
        return candidates.front().token;

    if (options.topK > 0 && size_t(options.topK) < candidates.size())
        candidates.resize(size_t(options.topK));

    const double best = candidates.front().logprob;
    double total = 0.0;
    for (const auto &c : candidates)
        total += std::exp(c.logprob - best);
    size_t kept = 0;
    double cumulative = 0.0;
    while (kept < candidates.size()) {
        cumulative += std::exp(candidates[kept].logprob - best) / total;
        ++kept;
        if (cumulative >= options.topP - 1e-9)
            break;
    }
    candidates.resize(kept);

    std::vector<double> weights;
    for (const auto &c : candidates)
        weights.push_back(std::exp((c.logprob - best) / options.temperature));

    std::mt19937_64 generator(options.seed ? *options.seed : std::random_device{}());
    // 53 random bits make a double in [0, 1); the same on every platform,
    // unlike the standard distributions.
    const double u = double(generator() >> 11) * 0x1.0p-53;
    double sum = 0.0;
    for (const double w : weights)
        sum += w;
    double reach = u * sum;
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (reach < weights[i])
            return candidates[i].token;
        reach -= weights[i];
    }
    return candidates.back().token;
}

} // namespace RatingSampler
