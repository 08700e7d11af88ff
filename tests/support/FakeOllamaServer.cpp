#include "FakeOllamaServer.h"

#include "OllamaWire.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <cctype>
#include <stdexcept>
#include <variant>

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
    return json(OllamaWire::errorReply(status, message).body, status);
}

FakeOllamaServer::Reply FakeOllamaServer::Reply::text(int status, const std::string &body)
{
    Reply reply;
    reply.status = status;
    reply.body = body;
    reply.contentType = "text/plain";
    return reply;
}

namespace {

// cpp-httplib listens with a backlog of five, so a burst of new connections
// (thirty capability requests at once) loses SYNs and waits for the kernel's
// retransmission, a second or more. A real server accepts the whole burst.
// Listening again on the bound socket only raises its backlog.
void widenListenBacklog(int port)
{
    for (int fd = 0; fd < 1024; ++fd) {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        if (getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0 || address.sin_family != AF_INET
            || ntohs(address.sin_port) != port)
            continue;
        int accepting = 0;
        socklen_t size = sizeof accepting;
        if (getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &accepting, &size) == 0 && accepting)
            ::listen(fd, SOMAXCONN);
    }
}

} // namespace

FakeOllamaServer::FakeOllamaServer()
    : m_server(std::make_unique<httplib::Server>())
{
    // Enough workers that many concurrent requests (and stalled ones) never
    // wait for each other.
    m_server->new_task_queue = [] { return new httplib::ThreadPool(64); };
    // One request per connection ("Connection: close"), so stopping the
    // server never waits for an idle keep-alive connection to time out.
    m_server->set_keep_alive_max_count(1);
    // Headers and body go out at once, as a real server sends them; without
    // this, delayed acknowledgements add about 40 ms to every reply.
    m_server->set_tcp_nodelay(true);

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
    widenListenBacklog(m_port);
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

namespace {

const std::string fakeModifiedAt = "2025-05-04T17:37:44.706015396-07:00";

OllamaWire::ModelDetails fakeDetails(const FakeOllamaServer::Model &model)
{
    OllamaWire::ModelDetails details;
    details.family = model.family;
    details.families = std::vector<std::string>{model.family};
    details.parameterSize = model.parameterSize;
    details.quantizationLevel = "Q4_K_M";
    return details;
}

FakeOllamaServer::Reply fromWire(const OllamaWire::Reply &wire)
{
    FakeOllamaServer::Reply reply;
    reply.status = wire.status;
    reply.body = wire.body;
    reply.contentType = wire.contentType;
    reply.headers.insert(wire.headers.begin(), wire.headers.end());
    return reply;
}

} // namespace

std::string FakeOllamaServer::tagsBody(const std::vector<Model> &models)
{
    std::vector<OllamaWire::TagsEntry> entries;
    for (const Model &model : models) {
        entries.push_back({model.name, fakeModifiedAt, model.size,
                           "a80c4f17acd55265feec403c7aef86be0c25983ab279d83f3bcd3abbcb5b8b72", fakeDetails(model)});
    }
    return OllamaWire::tagsBody(entries);
}

std::string FakeOllamaServer::showBody(const Model &model)
{
    OllamaWire::ShowReply reply;
    reply.license = "Demonstration licence text.";
    reply.modelfile = "# Modelfile generated by \"ollama show\"\nFROM " + model.name + "\n";
    reply.parameters = "stop \"<|eot_id|>\"";
    reply.templateText = "{{ .Prompt }}";
    reply.details = fakeDetails(model);
    reply.modelInfo = {{"general.architecture", model.family},
                       {"general.parameter_count", 3212749888LL},
                       {"llama.context_length", 131072},
                       {"tokenizer.ggml.tokens", nullptr}};
    reply.tensors = json::array({{{"name", "token_embd.weight"}, {"type", "Q6_K"}, {"shape", {3072, 128256}}}});
    reply.capabilities = model.capabilities;
    reply.modifiedAt = fakeModifiedAt;
    return OllamaWire::showBody(reply);
}

const std::vector<std::string> FakeOllamaServer::reasoningTokens = {
    "<think>", "\n", "Okay", ",", " the", " user", " wants", " a", " rating", " from", " 1", " to", " 5", ".",
    " The", " text", " sounds", " positive", ".", "\n", "</think>", "\n\n"};

FakeOllamaServer::Reply FakeOllamaServer::defaultReply(const Request &request)
{
    std::lock_guard lock(m_mutex);
    auto findModel = [this](const std::string &name) -> const Model * {
        for (const Model &model : m_models) {
            if (model.name == name || model.name == OllamaWire::withDefaultTag(name))
                return &model;
        }
        return nullptr;
    };
    // The model a generate or embed request names; with no models set up,
    // any name is served.
    auto knownModel = [&](const std::string &name) { return m_models.empty() || findModel(name) != nullptr; };
    auto readName = [](const json &body, const char *key) {
        const auto it = body.find(key);
        return it != body.end() && it->is_string() ? it->get<std::string>() : std::string();
    };

    switch (OllamaWire::route(request.method, request.path)) {
    case OllamaWire::Route::Tags:
        return Reply::json(tagsBody(m_models));

    case OllamaWire::Route::Show: {
        auto read = OllamaWire::readRequestObject(request.body, "api.ShowRequest");
        if (const auto *error = std::get_if<OllamaWire::Reply>(&read))
            return fromWire(*error);
        const json &body = std::get<json>(read);
        std::string name = readName(body, "model");
        if (name.empty())
            name = readName(body, "name");
        if (name.empty())
            return Reply::error(400, OllamaWire::modelIsRequired);
        const Model *model = findModel(name);
        if (!model)
            return Reply::error(404, OllamaWire::modelNotFound(OllamaWire::withDefaultTag(name)));
        Reply reply = Reply::json(showBody(*model));
        reply.delay = model->showDelay;
        return reply;
    }

    case OllamaWire::Route::Generate: {
        auto read = OllamaWire::readRequestObject(request.body, "api.GenerateRequest");
        if (const auto *error = std::get_if<OllamaWire::Reply>(&read))
            return fromWire(*error);
        const json &body = std::get<json>(read);
        const std::string name = readName(body, "model");
        if (!knownModel(name))
            return Reply::error(404, OllamaWire::modelNotFound(name));
        const Model *model = findModel(name);
        bool thinks = false;
        if (model && model->capabilities) {
            const auto &caps = *model->capabilities;
            const auto has = [&caps](const char *capability) {
                return std::find(caps.begin(), caps.end(), capability) != caps.end();
            };
            // An embedding-only model cannot generate.
            if (has("embedding") && !has("completion"))
                return Reply::error(400, OllamaWire::doesNotSupport(name, "generate"));
            thinks = has("thinking");
        }
        if (const auto think = body.find("think"); !thinks && think != body.end() && *think == true)
            return Reply::error(400, OllamaWire::doesNotSupport(name, "thinking"));
        OllamaWire::GenerateReply reply;
        reply.model = name;
        reply.createdAt = "2023-08-04T19:22:45.499127Z";
        reply.response = m_generateResponse;
        reply.context = {1, 2, 3};
        reply.durations = {5043500667LL, 5025959, 325953000, 26, 4709213000LL, 290};
        if (const auto logprobs = body.find("logprobs"); logprobs != body.end() && *logprobs == true
            && !reply.response.empty()) {
            const std::string first = reply.response.substr(0, reply.response.find(' '));
            reply.logprobs = json::array({OllamaWire::logprobEntry({first, -0.105}, {{first, -0.105}, {"\n", -2.41}})});
        }
        if (thinks && OllamaWire::requestsThinking(body))
            OllamaWire::addReasoning(reply, reasoningTokens, body);
        return Reply::json(OllamaWire::generateBody(reply));
    }

    case OllamaWire::Route::Embed: {
        auto read = OllamaWire::readRequestObject(request.body, "api.EmbedRequest");
        if (const auto *error = std::get_if<OllamaWire::Reply>(&read))
            return fromWire(*error);
        const json &body = std::get<json>(read);
        const std::string name = readName(body, "model");
        if (!knownModel(name))
            return Reply::error(404, OllamaWire::embedModelNotFound(name));
        // "input" is one text or an array of texts: one vector per text.
        std::vector<std::string> inputs{readName(body, "input")};
        if (const auto it = body.find("input"); it != body.end() && it->is_array()) {
            inputs.clear();
            for (const json &text : *it)
                inputs.push_back(text.is_string() ? text.get<std::string>() : std::string());
        }
        std::vector<std::vector<double>> vectors;
        for (const std::string &input : inputs) {
            const auto it = m_embeddings.find(input);
            vectors.push_back(it != m_embeddings.end() ? it->second : std::vector<double>{0.6, 0.8, 0.0});
        }
        OllamaWire::Durations durations;
        durations.total = 14143917;
        durations.load = 1019500;
        durations.promptEvalCount = 8;
        return Reply::json(OllamaWire::embedBody(name, vectors, durations));
    }

    case OllamaWire::Route::MethodNotAllowed:
        return fromWire(OllamaWire::methodNotAllowed());

    case OllamaWire::Route::Root:
    case OllamaWire::Route::DoubledSlash:
    case OllamaWire::Route::NotFound:
        // A doubled slash is not redirected here: tests of a base URL that
        // ends in "/" see exactly the one request the app sends.
        break;
    }
    return fromWire(OllamaWire::pageNotFound());
}
