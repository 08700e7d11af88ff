#include "Scenes.h"

#include <algorithm>
#include <cmath>

namespace Scenes {

QList<Scene> allScenes()
{
    return demoScenes() + historyScenes() + sentenceMapScenes() + settingsScenes() + aboutScenes()
           + classroomScenes();
}

std::pair<std::vector<double>, std::vector<double>> vectorsWithCosine(double cosine)
{
    constexpr int dimensions = 12;
    const auto dot = [](const std::vector<double> &x, const std::vector<double> &y) {
        double sum = 0;
        for (size_t i = 0; i < x.size(); ++i)
            sum += x[i] * y[i];
        return sum;
    };
    const auto normalise = [&dot](std::vector<double> &x) {
        const double length = std::sqrt(dot(x, x));
        for (double &value : x)
            value /= length;
    };

    // A fixed direction that looks like an embedding, and a second one at
    // right angles to it.
    std::vector<double> first(dimensions);
    std::vector<double> across(dimensions);
    for (int i = 0; i < dimensions; ++i) {
        first[i] = std::sin(1.3 * i + 0.4);
        across[i] = std::cos(0.7 * i + 0.2);
    }
    normalise(first);
    const double along = dot(across, first);
    for (int i = 0; i < dimensions; ++i)
        across[i] -= along * first[i];
    normalise(across);

    // The second vector turns away from the first by the angle whose cosine
    // is wanted, aimed a hair above it so that the client's 32-bit sums
    // cannot round the percentage down to the one below.
    const double c = std::clamp(cosine + 1e-6, 0.0, 1.0);
    const double s = std::sqrt(1.0 - c * c);
    std::vector<double> second(dimensions);
    for (int i = 0; i < dimensions; ++i)
        second[i] = c * first[i] + s * across[i];
    return {first, second};
}

} // namespace Scenes
