// quillmere-standin: an offline stand-in for an Ollama server, so that
// Quillmere can be tried and taught without one.

#include "SenseEmbedder.h"
#include "StandinServer.h"
#include "WordNet.h"

#include <pthread.h>
#include <signal.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#ifndef QUILLMERE_VERSION
#define QUILLMERE_VERSION "0"
#endif

namespace {

constexpr std::string_view program = "quillmere-standin";

void printHelp()
{
    std::cout << "Usage: " << program << " [options]\n"
              << "\n"
              << StandinServer::notice << "\n"
              << "\n"
              << "It answers GET /api/tags and POST /api/show, /api/generate and /api/embed like an Ollama\n"
              << "server, with four built-in models:\n"
              << "  standin-sentiment:latest   rates Quillmere's sentiment prompt from a word list\n"
              << "  standin-embedding:latest   384-dimension vectors from WordNet's word senses\n"
              << "  standin-vision:latest      claims vision and tools (Quillmere's pickers leave it out)\n"
              << "  standin-thinking:latest    rates like standin-sentiment after writing out its reasoning\n"
              << "\n"
              << "Options:\n"
              << "  --host ADDRESS     address to listen on (default 127.0.0.1); it listens on no other\n"
              << "  --port PORT        port to listen on (default 11434; 0 picks a free one and prints it)\n"
              << "  --latency-ms MS    wait this long before every reply (default 0)\n"
              << "  -h, --help         show this help and exit\n"
              << "  -v, --version      show the version and exit\n"
              << "\n"
              << "The embedding model reads WordNet from $WNSEARCHDIR, else from /usr/share/wordnet\n"
              << "(Debian's wordnet-base); without it, every word stands only for itself.\n"
              << "\n"
              << "Stop it with Ctrl+C (SIGINT) or SIGTERM.\n";
}

std::optional<int> parseNumber(std::string_view text, int lowest, int highest)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

int usageError(const std::string &message)
{
    std::cerr << program << ": " << message << "\n"
              << "Try '" << program << " --help' for more information.\n";
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    StandinServer::Options options;

    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            printHelp();
            return 0;
        }
        if (argument == "-v" || argument == "--version") {
            std::cout << program << " " << QUILLMERE_VERSION << "\n";
            return 0;
        }

        // "--name value" and "--name=value" both work.
        std::string_view name = argument;
        std::optional<std::string_view> value;
        if (const auto equals = argument.find('='); argument.substr(0, 2) == "--" && equals != std::string_view::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        if (name != "--host" && name != "--port" && name != "--latency-ms")
            return usageError("unknown option '" + std::string(argument) + "'");
        if (!value) {
            if (i + 1 >= argc)
                return usageError("option '" + std::string(name) + "' needs a value");
            value = argv[++i];
        }

        if (name == "--host") {
            if (value->empty())
                return usageError("--host needs an address");
            options.host = std::string(*value);
        } else if (name == "--port") {
            const auto port = parseNumber(*value, 0, 65535);
            if (!port)
                return usageError("--port needs a number from 0 to 65535, not '" + std::string(*value) + "'");
            options.port = *port;
        } else {
            const auto latency = parseNumber(*value, 0, 3'600'000);
            if (!latency)
                return usageError("--latency-ms needs a number of milliseconds, not '" + std::string(*value) + "'");
            options.latency = std::chrono::milliseconds(*latency);
        }
    }

    // SIGINT and SIGTERM are taken by one thread that waits for them; every
    // other thread (the server's workers too) inherits the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    // A client that hangs up mid-reply must not end the process.
    signal(SIGPIPE, SIG_IGN);

    StandinServer server(options);
    std::string error;
    if (!server.bind(error)) {
        std::cerr << program << ": " << error << "\n";
        return 1;
    }

    // WordNet is opened now rather than on the first request, so that a
    // missing database shows at once.
    const SenseEmbedder &embedder = SenseEmbedder::shared();
    std::cout << program << " " << QUILLMERE_VERSION << ": " << StandinServer::notice << "\n";
    if (embedder.wordNet())
        std::cout << "Word senses from WordNet in " << embedder.wordNet()->directory() << "\n";
    else
        std::cerr << program << ": WordNet could not be opened (" << SenseEmbedder::sharedProblem()
                  << "); the embedding model falls back to one feature per word, which groups only texts "
                     "that share words. Install wordnet-base, or point WNSEARCHDIR at WordNet's dict directory.\n";
    std::cout << "Listening on " << server.baseURL() << " (Ctrl+C stops it)" << std::endl;

    std::thread signalWaiter([&server, &stopSignals] {
        int received = 0;
        sigwait(&stopSignals, &received);
        if (received == SIGINT || received == SIGTERM)
            server.stop();
    });

    server.serve();

    // serve() also returns when listening fails; wake the waiter then.
    pthread_kill(signalWaiter.native_handle(), SIGTERM);
    signalWaiter.join();
    std::cout << program << ": stopped" << std::endl;
    return 0;
}
