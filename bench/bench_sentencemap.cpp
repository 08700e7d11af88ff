// Sentence map work after the reply arrives: reading an embed reply of 16
// vectors of 4,096 dimensions, the 16 × 16 similarity matrix, the projection
// onto two directions and the nearest neighbours. The goal is well under one
// frame (16 ms) on the main thread.
#include "BenchSupport.h"
#include "demos/sentencemap/SentenceEmbeddings.h"
#include "demos/sentencemap/SentenceMapMath.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <ctime>
#include <random>

namespace {

constexpr int sentences = 16;
constexpr int dimensions = 4096;
constexpr int runs = 60;

// A reply as a server writes it: unit vectors of doubles that came from floats.
QByteArray replyBody()
{
    std::mt19937 random(7);
    std::normal_distribution<float> normal;
    nlohmann::json embeddings = nlohmann::json::array();
    for (int s = 0; s < sentences; ++s) {
        std::vector<float> v(dimensions);
        double length = 0;
        for (float &x : v) {
            x = normal(random);
            length += double(x) * x;
        }
        nlohmann::json row = nlohmann::json::array();
        for (const float x : v)
            row.push_back(double(float(x / std::sqrt(length))));
        embeddings.push_back(std::move(row));
    }
    const nlohmann::json body = {{"model", "qwen3-embedding"}, {"embeddings", std::move(embeddings)}};
    return QByteArray::fromStdString(body.dump());
}

// This thread's processor time in milliseconds: on a busy machine the wall
// clock also counts the time other processes had the processor.
double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    BenchSupport::printMachine();
    const QByteArray body = replyBody();
    std::printf("reply: %d vectors of %d dimensions, %.1f MB of JSON\n", sentences, dimensions, body.size() / 1e6);

    std::vector<double> parse, layout, total, cpu;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = cpuMs();
        const auto vectors = SentenceEmbeddings::readReply(body, sentences);
        const double parsed = timer.nsecsElapsed() / 1e6;
        if (!vectors) {
            std::fprintf(stderr, "bench_sentencemap: %s\n", qPrintable(vectors.error().description));
            return 1;
        }
        const SentenceMap::Layout result = SentenceMap::computeLayout(vectors.value());
        const double all = timer.nsecsElapsed() / 1e6;
        cpu.push_back(cpuMs() - cpuStart);
        if (result.neighbours.size() != sentences)
            return 1;
        parse.push_back(parsed);
        layout.push_back(all - parsed);
        total.push_back(all);
    }
    std::printf("median of %d runs, wall clock: read reply %.2f ms, matrix + projection + neighbours %.2f ms, "
                "together %.2f ms\n",
                runs, BenchSupport::median(parse), BenchSupport::median(layout), BenchSupport::median(total));
    std::printf("median processor time of the whole step: %.2f ms (goal: well under 16 ms)\n",
                BenchSupport::median(cpu));
    return 0;
}
