// Sentence map work after the reply arrives: reading an embed reply of 16
// vectors of 4,096 dimensions, the 16 × 16 similarity matrix, the projection
// onto two directions and the nearest neighbours. The goal is well under one
// frame (16 ms) on the main thread.
#include "BenchSupport.h"
#include "demos/sentencemap/SentenceEmbeddings.h"
#include "demos/sentencemap/SentenceMapMath.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>

namespace {

constexpr int sentences = 16;
constexpr int dimensions = 4096;
constexpr int runs = 60;

// A reply of unit vectors of floats. A server writes each float with the
// fewest digits that give it back (about a dozen characters); written as the
// doubles they became, each takes up to 17 digits, which is the harder case.
QByteArray replyBody(bool floatDigits)
{
    std::mt19937 random(7);
    std::normal_distribution<float> normal;
    std::string text = R"({"model":"qwen3-embedding","embeddings":[)";
    for (int s = 0; s < sentences; ++s) {
        std::vector<float> v(dimensions);
        double length = 0;
        for (float &x : v) {
            x = normal(random);
            length += double(x) * x;
        }
        text += s ? ",[" : "[";
        for (int d = 0; d < dimensions; ++d) {
            const float x = float(v[d] / std::sqrt(length));
            char digits[32];
            const auto written = floatDigits ? std::to_chars(digits, digits + sizeof digits, x)
                                             : std::to_chars(digits, digits + sizeof digits, double(x));
            if (d)
                text += ',';
            text.append(digits, written.ptr);
        }
        text += ']';
    }
    text += "],\"total_duration\":14143917}";
    return QByteArray::fromStdString(text);
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
    for (const bool floatDigits : {false, true}) {
        const QByteArray body = replyBody(floatDigits);
        std::printf("reply: %d vectors of %d dimensions, %s, %.2f MB of JSON\n", sentences, dimensions,
                    floatDigits ? "float digits as a server writes them" : "double digits", body.size() / 1e6);

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
        std::printf("  median of %d runs, wall clock: read reply %.2f ms, matrix + projection + neighbours %.2f ms, "
                    "together %.2f ms\n",
                    runs, BenchSupport::median(parse), BenchSupport::median(layout), BenchSupport::median(total));
        std::printf("  median processor time of the whole step: %.2f ms (goal: well under 16 ms)\n",
                    BenchSupport::median(cpu));
    }
    return 0;
}
