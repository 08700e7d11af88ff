#pragma once

#include "OllamaWire.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// How the stand-in's language model draws its rating when a request sets
// sampling options: from its own candidates, with top-k, top-p and
// temperature applied in the order the llama.cpp sampler applies them, and a
// seeded generator, so that the same seed always gives the same answer.
namespace RatingSampler {

struct Options
{
    double temperature = 0.8;
    // Zero or less: off.
    int topK = 40;
    double topP = 0.9;
    // Absent: a fresh one for each request.
    std::optional<std::uint64_t> seed;
};

// The sampling options of a generate request, when its "options" set any of
// "temperature", "top_k", "top_p" or "seed" (the others keep a server's
// defaults). Absent otherwise: the stand-in then answers its most likely
// rating, as it always has.
std::optional<Options> read(const nlohmann::json &request);

// The token drawn from the candidates (most likely first or not). A
// temperature of zero or less takes the most likely one.
std::string draw(std::vector<OllamaWire::TokenLogprob> candidates, const Options &options);

} // namespace RatingSampler
