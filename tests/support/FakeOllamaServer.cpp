#include "FakeOllamaServer.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <stdexcept>

using nlohmann::json;

std::string FakeOllamaServer::Request::header(const std::string &name) const
{
    for (const auto &[key, value] : headers) {
        if (key.size() == name.size()
            && std::equal(key.begin(), key.end(), name.begin(),
                          [](char a, char b) { return std::tolower(a) == std::tolower(b); }))
            return value;
    }
    return {};
}

FakeOllamaServer::Reply FakeOllamaServer::Reply::json(const std::string &body, int status)
{
    Reply reply;
    reply.status = status;
    reply.body = body;
    return reply;
}

FakeOllamaServer::Reply FakeOllamaServer::Reply::error(int status, const std::string &message)
{
    return json(nlohmann::json{{"error", message}}.dump(), status);
}

FakeOllamaServer::Reply FakeOllamaServer::Reply::text(int status, const std::string &body)
{
    Reply reply;
    reply.status = status;
    reply.body = body;
    reply.contentType = "text/plain";
    return reply;
}

FakeOllamaServer::FakeOllamaServer()
    : m_server(std::make_unique<httplib::Server>())
{
    // Enough workers that many concurrent requests (and stalled ones) never
    // wait for each other.
    m_server->new_task_queue = [] { return new httplib::ThreadPool(64); };
    m_server->set_keep_alive_timeout(2);

    auto handle = [this](const httplib::Request &req, httplib::Response &res) {
        Request request{req.method, req.path, {req.headers.begin(), req.headers.end()}, req.body};
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(request);
        }
        Reply reply = answer(request);

        if (reply.delay.count() > 0 && !waitOrStop(reply.delay))
            return;
        if (reply.stall) {
            waitForRelease();
            res.status = 500;
            res.set_header("Connection", "close");
            return;
        }
        res.status = reply.status;
        for (const auto &[key, value] : reply.headers)
            res.set_header(key, value);
        if (reply.stallAfterHeaders) {
            res.set_chunked_content_provider(reply.contentType, [this](size_t, httplib::DataSink &) {
                waitForRelease();
                return false;
            });
            return;
        }
        if (reply.closeMidBody) {
            auto body = std::make_shared<std::string>(reply.body);
            res.set_content_provider(body->size(), reply.contentType,
                                     [body](size_t offset, size_t, httplib::DataSink &sink) {
                if (offset == 0) {
                    sink.write(body->data(), body->size() / 2);
                    return true;
                }
                return false;
            });
            return;
        }
        res.set_content(reply.body, reply.contentType.c_str());
    };
    m_server->Get(".*", handle);
    m_server->Post(".*", handle);
    m_server->Put(".*", handle);
    m_server->Delete(".*", handle);

    m_port = m_server->bind_to_any_port("127.0.0.1");
    if (m_port <= 0)
        throw std::runtime_error("FakeOllamaServer: cannot bind to 127.0.0.1");
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    while (!m_server->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

FakeOllamaServer::~FakeOllamaServer()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_released.notify_all();
    m_server->stop();
    if (m_thread.joinable())
        m_thread.join();
}

QString FakeOllamaServer::baseURL() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

void FakeOllamaServer::setModels(std::vector<Model> models)
{
    std::lock_guard lock(m_mutex);
    m_models = std::move(models);
}

void FakeOllamaServer::enqueue(const std::string &method, const std::string &path, Reply reply)
{
    std::lock_guard lock(m_mutex);
    m_queued[{method, path}].push_back(std::move(reply));
}

void FakeOllamaServer::setRoute(const std::string &method, const std::string &path, Reply reply)
{
    std::lock_guard lock(m_mutex);
    m_routes[{method, path}] = std::move(reply);
}

void FakeOllamaServer::setHandler(Handler handler)
{
    std::lock_guard lock(m_mutex);
    m_handler = std::move(handler);
}

void FakeOllamaServer::setGenerateResponse(const std::string &response)
{
    std::lock_guard lock(m_mutex);
    m_generateResponse = response;
}

void FakeOllamaServer::setEmbedding(const std::string &input, std::vector<double> vector)
{
    std::lock_guard lock(m_mutex);
    m_embeddings[input] = std::move(vector);
}

std::vector<FakeOllamaServer::Request> FakeOllamaServer::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::vector<FakeOllamaServer::Request> FakeOllamaServer::requests(const std::string &path) const
{
    std::lock_guard lock(m_mutex);
    std::vector<Request> matching;
    for (const Request &request : m_requests) {
        if (request.path == path)
            matching.push_back(request);
    }
    return matching;
}

size_t FakeOllamaServer::requestCount() const
{
    std::lock_guard lock(m_mutex);
    return m_requests.size();
}

void FakeOllamaServer::clearRequests()
{
    std::lock_guard lock(m_mutex);
    m_requests.clear();
}

void FakeOllamaServer::releaseStalled()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_releaseGeneration;
    }
    m_released.notify_all();
}

bool FakeOllamaServer::waitOrStop(std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_mutex);
    return !m_released.wait_for(lock, duration, [this] { return m_stopping; });
}

void FakeOllamaServer::waitForRelease()
{
    std::unique_lock lock(m_mutex);
    const unsigned generation = m_releaseGeneration;
    m_released.wait(lock, [&] { return m_stopping || m_releaseGeneration != generation; });
}

FakeOllamaServer::Reply FakeOllamaServer::answer(const Request &request)
{
    Handler handler;
    {
        std::lock_guard lock(m_mutex);
        handler = m_handler;
    }
    if (handler) {
        if (auto reply = handler(request))
            return *reply;
    }
    {
        std::lock_guard lock(m_mutex);
        const auto key = std::make_pair(request.method, request.path);
        auto queued = m_queued.find(key);
        if (queued != m_queued.end() && !queued->second.empty()) {
            Reply reply = std::move(queued->second.front());
            queued->second.pop_front();
            return reply;
        }
        auto route = m_routes.find(key);
        if (route != m_routes.end())
            return route->second;
    }
    return defaultReply(request);
}

std::string FakeOllamaServer::tagsBody(const std::vector<Model> &models)
{
    json list = json::array();
    for (const Model &model : models) {
        json entry = {
            {"name", model.name},
            {"model", model.name},
            {"modified_at", "2025-05-04T17:37:44.706015396-07:00"},
            {"digest", "a80c4f17acd55265feec403c7aef86be0c25983ab279d83f3bcd3abbcb5b8b72"},
            {"details",
             {{"parent_model", ""},
              {"format", "gguf"},
              {"family", model.family},
              {"families", json::array({model.family})},
              {"parameter_size", model.parameterSize},
              {"quantization_level", "Q4_K_M"}}},
        };
        entry["size"] = model.size ? json(*model.size) : json(nullptr);
        list.push_back(entry);
    }
    return json{{"models", list}}.dump();
}

std::string FakeOllamaServer::showBody(const Model &model)
{
    json body = {
        {"license", "Demonstration licence text."},
        {"modelfile", "# Modelfile generated by \"ollama show\"\nFROM " + model.name + "\n"},
        {"parameters", "stop \"<|eot_id|>\""},
        {"template", "{{ .Prompt }}"},
        {"details",
         {{"parent_model", ""},
          {"format", "gguf"},
          {"family", model.family},
          {"families", json::array({model.family})},
          {"parameter_size", model.parameterSize},
          {"quantization_level", "Q4_K_M"}}},
        {"model_info",
         {{"general.architecture", model.family},
          {"general.parameter_count", 3212749888LL},
          {"llama.context_length", 131072},
          {"tokenizer.ggml.tokens", nullptr}}},
        {"tensors", json::array({{{"name", "token_embd.weight"}, {"type", "Q6_K"}, {"shape", {3072, 128256}}}})},
        {"modified_at", "2025-05-04T17:37:44.706015396-07:00"},
    };
    if (model.capabilities)
        body["capabilities"] = *model.capabilities;
    return body.dump();
}

FakeOllamaServer::Reply FakeOllamaServer::defaultReply(const Request &request)
{
    std::lock_guard lock(m_mutex);
    auto findModel = [this](const std::string &name) -> const Model * {
        for (const Model &model : m_models) {
            if (model.name == name || model.name == name + ":latest")
                return &model;
        }
        return nullptr;
    };
    auto parseBody = [&request]() -> std::optional<json> {
        try {
            return json::parse(request.body);
        } catch (const json::exception &) {
            return std::nullopt;
        }
    };

    if (request.path == "/api/tags" && request.method == "GET")
        return Reply::json(tagsBody(m_models));

    if (request.path == "/api/show" && request.method == "POST") {
        const auto body = parseBody();
        if (!body || !body->is_object())
            return Reply::error(400, "invalid character 'x' looking for beginning of value");
        const std::string name = body->value("name", body->value("model", std::string()));
        const Model *model = findModel(name);
        if (!model)
            return Reply::error(404, "model '" + name + "' not found");
        Reply reply = Reply::json(showBody(*model));
        reply.delay = model->showDelay;
        return reply;
    }

    if (request.path == "/api/generate" && request.method == "POST") {
        const auto body = parseBody();
        if (!body || !body->is_object())
            return Reply::error(400, "invalid character 'x' looking for beginning of value");
        const std::string name = body->value("model", std::string());
        if (!findModel(name) && !m_models.empty())
            return Reply::error(404, "model '" + name + "' not found");
        return Reply::json(json{{"model", name},
                                {"created_at", "2023-08-04T19:22:45.499127Z"},
                                {"response", m_generateResponse},
                                {"done", true},
                                {"done_reason", "stop"},
                                {"context", {1, 2, 3}},
                                {"total_duration", 5043500667LL},
                                {"load_duration", 5025959},
                                {"prompt_eval_count", 26},
                                {"prompt_eval_duration", 325953000},
                                {"eval_count", 290},
                                {"eval_duration", 4709213000LL}}
                               .dump());
    }

    if (request.path == "/api/embed" && request.method == "POST") {
        const auto body = parseBody();
        if (!body || !body->is_object())
            return Reply::error(400, "invalid character 'x' looking for beginning of value");
        const std::string name = body->value("model", std::string());
        if (!findModel(name) && !m_models.empty())
            return Reply::error(404, "model \"" + name + "\" not found, try pulling it first");
        const std::string input = body->value("input", std::string());
        std::vector<double> vector{0.6, 0.8, 0.0};
        if (auto it = m_embeddings.find(input); it != m_embeddings.end())
            vector = it->second;
        return Reply::json(json{{"model", name},
                                {"embeddings", json::array({vector})},
                                {"total_duration", 14143917},
                                {"load_duration", 1019500},
                                {"prompt_eval_count", 8}}
                               .dump());
    }

    if (request.path == "/api/tags" || request.path == "/api/show" || request.path == "/api/generate"
        || request.path == "/api/embed")
        return Reply::text(405, "405 method not allowed");
    return Reply::text(404, "404 page not found");
}
