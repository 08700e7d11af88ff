#pragma once

#include "OllamaWire.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace httplib {
class Server;
}

// An offline stand-in for an Ollama server, for demonstrations without one.
// It answers the four calls Quillmere makes, in the shapes a real server
// uses, from three built-in "models" that are word lists and hash functions,
// not language models.
class StandinServer
{
public:
    struct Options
    {
        std::string host = "127.0.0.1";
        // 0 picks a free port.
        int port = 11434;
        // Added before every reply, to show how the app behaves with a slow
        // server.
        std::chrono::milliseconds latency{0};
    };

    struct Model
    {
        std::string name;
        std::vector<std::string> capabilities;
        std::string family;
        std::string description;
        std::int64_t size = 0;
        // Length of the vectors it returns; 0 for models that do not embed.
        int embeddingLength = 0;

        bool supports(std::string_view capability) const;
    };

    // One sentence that says what this server is, for --help, the start-up
    // line and each model's licence text.
    static const std::string notice;
    // What a completion model answers to any prompt other than the rating
    // prompt.
    static const std::string standinReply;

    static const std::vector<Model> &models();
    // The model a request names, with or without the ":latest" tag.
    static const Model *findModel(const std::string &name);

    // The whole reply to one request: pure, no delay and no I/O.
    static OllamaWire::Reply answer(std::string_view method, std::string_view path, std::string_view body);

    explicit StandinServer(Options options);
    ~StandinServer();
    StandinServer(const StandinServer &) = delete;
    StandinServer &operator=(const StandinServer &) = delete;

    // Binds the listening socket to the given host only. On failure returns
    // false and sets `error`.
    bool bind(std::string &error);
    // The bound port (the chosen one when the options asked for 0).
    int port() const { return m_port; }
    // "http://host:port", with brackets around an IPv6 address.
    std::string baseURL() const;

    // Serves until stop(); call after a successful bind().
    void serve();
    // Stops serving and cuts short every reply still waiting out its latency.
    // Safe to call from any thread, also before serve().
    void stop();

private:
    bool waitOrStopped(std::chrono::milliseconds duration);

    Options m_options;
    std::unique_ptr<httplib::Server> m_server;
    int m_port = 0;
    std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_stopping = false;
    bool m_serving = false;
};
