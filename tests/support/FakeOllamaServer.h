#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

// A scriptable stand-in for an Ollama server, for tests. It listens on
// 127.0.0.1 on a free port, records every request and answers each from a
// script. Without a script it answers like a real server from its list of
// models: /api/tags, /api/show, /api/generate (with "logprobs" when asked, and
// reasoning first for a thinking model) and /api/embed, JSON errors for
// unknown models and bodies that are not JSON, "404 page not found" for unknown
// paths and "405 method not allowed" for a wrong method. The reply bodies come
// from the same builders as the offline stand-in's (tools/ollama-wire). Unlike
// a real server it does not redirect a path with a doubled slash: such a
// request gets "404 page not found", so a test sees exactly one request.
class FakeOllamaServer
{
public:
    struct Request
    {
        std::string method;
        std::string path;
        std::multimap<std::string, std::string> headers;
        std::string body;

        std::string header(const std::string &name) const;
    };

    struct Reply
    {
        int status = 200;
        std::string body;
        std::string contentType = "application/json; charset=utf-8";
        // Wait this long before sending anything.
        std::chrono::milliseconds delay{0};
        // Never answer (until the server stops).
        bool stall = false;
        // Send the headers, then never send the body.
        bool stallAfterHeaders = false;
        // Announce the whole body but send only its first half, then close.
        bool closeMidBody = false;
        // Extra headers, e.g. Location for a redirect.
        std::multimap<std::string, std::string> headers;

        static Reply json(const std::string &body, int status = 200);
        static Reply error(int status, const std::string &message);
        static Reply text(int status, const std::string &body);
    };

    struct Model
    {
        std::string name;
        std::optional<long long> size = 2019393189LL;
        // Absent: the show reply has no "capabilities" member (older servers).
        // With "thinking" the model reasons before it answers unless a
        // request says "think": false.
        std::optional<std::vector<std::string>> capabilities = std::vector<std::string>{"completion"};
        std::string family = "llama";
        std::string parameterSize = "3.2B";
        // Delay of this model's show reply.
        std::chrono::milliseconds showDelay{0};
    };

    using Handler = std::function<std::optional<Reply>(const Request &)>;

    FakeOllamaServer();
    ~FakeOllamaServer();
    FakeOllamaServer(const FakeOllamaServer &) = delete;
    FakeOllamaServer &operator=(const FakeOllamaServer &) = delete;

    int port() const { return m_port; }
    // "http://127.0.0.1:<port>"
    QString baseURL() const;

    // The models that /api/tags lists and /api/show describes.
    void setModels(std::vector<Model> models);

    // The reply to the next request for this method and path; queued replies
    // are used in order, then the default behaviour resumes.
    void enqueue(const std::string &method, const std::string &path, Reply reply);
    // The reply to every request for this method and path.
    void setRoute(const std::string &method, const std::string &path, Reply reply);
    // Consulted first for every request; returning nothing falls through.
    void setHandler(Handler handler);

    // What a thinking model reasons, token by token, before it answers.
    static const std::vector<std::string> reasoningTokens;

    // What /api/generate answers in "response" when no script says otherwise.
    void setGenerateResponse(const std::string &response);
    // What /api/embed answers for an input (or each input of an array) when
    // no script says otherwise.
    void setEmbedding(const std::string &input, std::vector<double> vector);

    std::vector<Request> requests() const;
    std::vector<Request> requests(const std::string &path) const;
    size_t requestCount() const;
    void clearRequests();

    // Lets every stalled reply go (they close without answering).
    void releaseStalled();

    // Reply bodies shaped like a real server's.
    static std::string tagsBody(const std::vector<Model> &models);
    static std::string showBody(const Model &model);

private:
    Reply answer(const Request &request);
    Reply defaultReply(const Request &request);
    bool waitOrStop(std::chrono::milliseconds duration);
    void waitForRelease();

    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;

    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_stopping = false;
    unsigned m_releaseGeneration = 0;
    std::vector<Request> m_requests;
    std::vector<Model> m_models;
    std::map<std::pair<std::string, std::string>, std::deque<Reply>> m_queued;
    std::map<std::pair<std::string, std::string>, Reply> m_routes;
    Handler m_handler;
    std::string m_generateResponse = "4";
    std::map<std::string, std::vector<double>> m_embeddings;
};
