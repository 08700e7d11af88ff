#include "StandinServer.h"

#include "RatingSampler.h"
#include "SentimentRater.h"
#include "SenseEmbedder.h"
#include "TextTokens.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <sys/socket.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <thread>
#include <variant>

using nlohmann::json;
using OllamaWire::Reply;

const std::string StandinServer::notice =
    "quillmere-standin is a demonstration aid, not a language model: its ratings come from a small word list "
    "and its embeddings from WordNet's word senses, so that Quillmere can be tried without an Ollama server.";

const std::string StandinServer::standinReply =
    "I am quillmere-standin, a demonstration aid and not a language model. I can only rate texts sent with "
    "Quillmere's sentiment prompt; for real answers, run an Ollama server with a language model.";

namespace {

// The date these built-in models last changed.
const std::string modelsModifiedAt = "2026-01-15T12:00:00Z";

// A digest-like text that stays the same for a name (not a real checksum:
// there is no model file to sum).
std::string digestOf(const std::string &name)
{
    std::string digest;
    std::uint64_t state = 1469598103934665603ULL;
    for (char c : name)
        state = (state ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    while (digest.size() < 64) {
        state ^= state >> 29;
        state *= 0xbf58476d1ce4e5b9ULL;
        state ^= state >> 32;
        char buffer[17];
        std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(state));
        digest += buffer;
    }
    return digest;
}

OllamaWire::ModelDetails detailsOf(const StandinServer::Model &model)
{
    OllamaWire::ModelDetails details;
    details.format = "builtin";
    details.family = model.family;
    details.families = std::vector<std::string>{model.family};
    details.parameterSize = "0";
    details.quantizationLevel = "none";
    return details;
}

// A string member of a request record: missing or null reads as empty;
// another type is refused as the server's decoder refuses it.
std::variant<std::string, Reply> stringMember(const json &object, const char *key, const char *record)
{
    const auto it = object.find(key);
    if (it == object.end() || it->is_null())
        return std::string();
    if (!it->is_string())
        return OllamaWire::errorReply(400, std::string("json: cannot unmarshal ") + (it->is_number() ? "number" : it->is_boolean() ? "bool" : it->is_array() ? "array" : "object")
                                               + " into Go struct field " + record + "." + key + " of type string");
    return it->get<std::string>();
}

int wordCount(std::string_view text)
{
    return static_cast<int>(TextTokens::words(text).size());
}

std::int64_t nanosecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count();
}

Reply answerTags()
{
    std::vector<OllamaWire::TagsEntry> entries;
    for (const StandinServer::Model &model : StandinServer::models())
        entries.push_back({model.name, modelsModifiedAt, model.size, digestOf(model.name), detailsOf(model)});
    return OllamaWire::jsonReply(OllamaWire::tagsBody(entries));
}

Reply answerShow(std::string_view body)
{
    auto read = OllamaWire::readRequestObject(body, "api.ShowRequest");
    if (auto *error = std::get_if<Reply>(&read))
        return *error;
    const json &request = std::get<json>(read);

    auto modelName = stringMember(request, "model", "ShowRequest");
    if (auto *error = std::get_if<Reply>(&modelName))
        return *error;
    auto name = stringMember(request, "name", "ShowRequest");
    if (auto *error = std::get_if<Reply>(&name))
        return *error;
    std::string wanted = std::get<std::string>(modelName);
    if (wanted.empty())
        wanted = std::get<std::string>(name);
    if (wanted.empty())
        return OllamaWire::errorReply(400, OllamaWire::modelIsRequired);

    const StandinServer::Model *model = StandinServer::findModel(wanted);
    if (!model)
        return OllamaWire::errorReply(404, OllamaWire::modelNotFound(OllamaWire::withDefaultTag(wanted)));

    OllamaWire::ShowReply reply;
    reply.license = StandinServer::notice + "\n\n" + model->description;
    reply.modelfile = "# Built into quillmere-standin; there is no model file.\nFROM " + model->name + "\n";
    reply.templateText = "{{ .Prompt }}";
    reply.details = detailsOf(*model);
    reply.modelInfo = json{
        {"general.architecture", model->family},
        {"general.basename", model->name.substr(0, model->name.find(':'))},
        {"general.description", model->description},
        {"general.parameter_count", 0},
    };
    if (model->embeddingLength > 0)
        reply.modelInfo[model->family + ".embedding_length"] = model->embeddingLength;
    reply.capabilities = model->capabilities;
    reply.modifiedAt = modelsModifiedAt;
    return OllamaWire::jsonReply(OllamaWire::showBody(reply));
}

// The "logprobs" of an answer: its one token, with up to `top` candidates.
// For a rating they come from the rater's probabilities, the rating also
// offered with a leading space, as tokenizers have both; the rest of the
// mass goes to tokens that are not ratings.
std::vector<OllamaWire::TokenLogprob> ratingCandidates(const std::string &ratedText, const std::string &rating)
{
    std::vector<OllamaWire::TokenLogprob> candidates;
    const auto ratings = SentimentRater::ratingProbabilities(ratedText);
    const double spaced = 0.015;
    for (int r = 1; r <= 5; ++r) {
        const double p = ratings[size_t(r - 1)] - (std::to_string(r) == rating ? spaced : 0.0);
        candidates.push_back({std::to_string(r), std::log(std::max(p, 1e-9))});
    }
    candidates.push_back({" " + rating, std::log(spaced)});
    const double rest = 1.0 - SentimentRater::ratingMass;
    candidates.push_back({"\n", std::log(rest * 0.5)});
    candidates.push_back({"Rating", std::log(rest * 0.3)});
    candidates.push_back({"The", std::log(rest * 0.2)});
    return candidates;
}

// `rating` is the most likely rating, `response` the answer given (a drawn
// one may differ).
json answerLogprobs(const std::optional<std::string> &ratedText, const std::string &rating,
                    const std::string &response, int top)
{
    std::vector<OllamaWire::TokenLogprob> candidates;
    if (ratedText) {
        candidates = ratingCandidates(*ratedText, rating);
    } else {
        candidates.push_back({response.substr(0, response.find(' ')), 0.0});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const auto &a, const auto &b) { return a.logprob > b.logprob; });
    const auto generated = std::find_if(candidates.begin(), candidates.end(), [&](const auto &c) {
        return c.token == response || !ratedText;
    });
    const OllamaWire::TokenLogprob chosen = generated != candidates.end() ? *generated : candidates.front();
    candidates.resize(std::min(candidates.size(), size_t(top)));
    return json::array({OllamaWire::logprobEntry(chosen, candidates)});
}

// What the thinking model reasons before it answers, split into tokens the
// way a real thinking model's reasoning arrives: between "<think>" tags, one
// token per word with its leading space.
std::vector<std::string> reasoningTokens(const std::optional<std::string> &ratedText, const std::string &response)
{
    std::string reasoning;
    if (ratedText) {
        char polarity[32];
        std::snprintf(polarity, sizeof polarity, "%+.2f", SentimentRater::polarity(*ratedText));
        reasoning = "I weigh the positive and negative words of the text, with their intensifiers and negations. "
                    "Their balance is " + std::string(polarity) + ", which is a " + response
                    + " on the scale from 1 to 5. So I answer " + response + ".";
    } else {
        reasoning = "This is not a rating prompt, so I give my fixed sentence.";
    }
    std::vector<std::string> tokens{"<think>", "\n"};
    for (size_t start = 0; start < reasoning.size();) {
        const size_t space = reasoning.find(' ', start + 1);
        tokens.push_back(reasoning.substr(start, space - start));
        start = space == std::string::npos ? reasoning.size() : space;
    }
    tokens.insert(tokens.end(), {"\n", "</think>", "\n\n"});
    return tokens;
}

// A thinking model reasons before it answers unless the request says
// "think": false; asking a model without the capability to think is refused,
// as a real server refuses it.
std::optional<Reply> applyThinking(OllamaWire::GenerateReply &reply, const StandinServer::Model &model,
                                   const std::optional<std::string> &ratedText, const json &request)
{
    if (!model.supports("thinking")) {
        if (const auto think = request.find("think"); think != request.end() && *think == true)
            return OllamaWire::errorReply(400, OllamaWire::doesNotSupport(model.name, "thinking"));
        return std::nullopt;
    }
    if (reply.doneReason != "load" && OllamaWire::requestsThinking(request))
        OllamaWire::addReasoning(reply, reasoningTokens(ratedText, reply.response), request);
    return std::nullopt;
}

Reply answerGenerate(std::string_view body)
{
    const auto start = std::chrono::steady_clock::now();
    auto read = OllamaWire::readRequestObject(body, "api.GenerateRequest");
    if (auto *error = std::get_if<Reply>(&read))
        return *error;
    const json &request = std::get<json>(read);

    auto modelName = stringMember(request, "model", "GenerateRequest");
    if (auto *error = std::get_if<Reply>(&modelName))
        return *error;
    const std::string name = std::get<std::string>(modelName);
    if (name.empty())
        return OllamaWire::errorReply(400, OllamaWire::modelIsRequired);
    const StandinServer::Model *model = StandinServer::findModel(name);
    if (!model)
        return OllamaWire::errorReply(404, OllamaWire::modelNotFound(name));
    if (!model->supports("completion"))
        return OllamaWire::errorReply(400, OllamaWire::doesNotSupport(name, "generate"));

    auto promptMember = stringMember(request, "prompt", "GenerateRequest");
    if (auto *error = std::get_if<Reply>(&promptMember))
        return *error;
    const std::string prompt = std::get<std::string>(promptMember);

    bool stream = true;
    if (const auto it = request.find("stream"); it != request.end() && !it->is_null()) {
        if (!it->is_boolean())
            return OllamaWire::errorReply(400, "json: cannot unmarshal " + std::string(it->is_string() ? "string" : "number")
                                                   + " into Go struct field GenerateRequest.stream of type bool");
        stream = it->get<bool>();
    }

    OllamaWire::GenerateReply reply;
    reply.model = name;
    reply.createdAt = OllamaWire::timestampNow();
    const auto text = SentimentRater::ratedText(prompt);
    if (prompt.empty()) {
        // An empty prompt only loads the model.
        reply.doneReason = "load";
    } else if (text) {
        reply.response = std::to_string(SentimentRater::rating(*text));
    } else {
        reply.response = StandinServer::standinReply;
    }
    const std::string rating = reply.response;
    // Sampling options make the rating a draw from the rater's own odds.
    if (const auto sampling = RatingSampler::read(request); text && sampling)
        reply.response = RatingSampler::draw(ratingCandidates(*text, rating), *sampling);
    // Token probabilities only when asked for, with at most 20 candidates.
    if (!reply.response.empty() && request.value("logprobs", json()) == true) {
        const json top = request.value("top_logprobs", json());
        const std::int64_t wanted = top.is_number_integer() ? top.get<std::int64_t>() : 0;
        reply.logprobs = answerLogprobs(text, rating, reply.response, int(std::clamp<std::int64_t>(wanted, 0, 20)));
    }
    reply.durations.promptEvalCount = wordCount(prompt);
    reply.durations.evalCount = std::max(1, wordCount(reply.response));
    if (auto refused = applyThinking(reply, *model, text, request))
        return *refused;
    reply.durations.eval = nanosecondsSince(start);
    reply.durations.total = reply.durations.eval;

    if (stream) {
        Reply streamed = OllamaWire::jsonReply(OllamaWire::generateStreamBody(reply));
        streamed.contentType = OllamaWire::ndjsonContentType;
        return streamed;
    }
    return OllamaWire::jsonReply(OllamaWire::generateBody(reply));
}

Reply answerEmbed(std::string_view body)
{
    const auto start = std::chrono::steady_clock::now();
    auto read = OllamaWire::readRequestObject(body, "api.EmbedRequest");
    if (auto *error = std::get_if<Reply>(&read))
        return *error;
    const json &request = std::get<json>(read);

    auto modelName = stringMember(request, "model", "EmbedRequest");
    if (auto *error = std::get_if<Reply>(&modelName))
        return *error;
    const std::string name = std::get<std::string>(modelName);
    if (name.empty())
        return OllamaWire::errorReply(400, OllamaWire::modelIsRequired);
    const StandinServer::Model *model = StandinServer::findModel(name);
    if (!model)
        return OllamaWire::errorReply(404, OllamaWire::embedModelNotFound(name));
    if (!model->supports("embedding"))
        return OllamaWire::errorReply(400, OllamaWire::doesNotSupport(name, "embeddings"));

    // "input" is one text or a list of texts; an empty text or list gives no
    // vectors at all.
    std::vector<std::string> inputs;
    if (const auto it = request.find("input"); it != request.end() && !it->is_null()) {
        if (it->is_string()) {
            if (!it->get<std::string>().empty())
                inputs.push_back(it->get<std::string>());
        } else if (it->is_array() && std::all_of(it->begin(), it->end(), [](const json &v) { return v.is_string(); })) {
            for (const json &value : *it)
                inputs.push_back(value.get<std::string>());
        } else {
            return OllamaWire::errorReply(400, "invalid input type");
        }
    }

    std::vector<std::vector<double>> embeddings;
    OllamaWire::Durations durations;
    for (const std::string &input : inputs) {
        embeddings.push_back(SenseEmbedder::shared().embed(input));
        durations.promptEvalCount += std::max(1, wordCount(input));
    }
    durations.total = nanosecondsSince(start);
    return OllamaWire::jsonReply(OllamaWire::embedBody(name, embeddings, durations));
}

} // namespace

bool StandinServer::Model::supports(std::string_view capability) const
{
    return std::find(capabilities.begin(), capabilities.end(), capability) != capabilities.end();
}

const std::vector<StandinServer::Model> &StandinServer::models()
{
    static const std::vector<Model> list = {
        {"standin-sentiment:latest",
         {"completion"},
         "standin",
         "Rates a text from 1 to 5 by counting positive and negative words, with intensifiers and negation. "
         "Any other prompt gets a fixed sentence.",
         24576,
         0},
        {"standin-embedding:latest",
         {"embedding"},
         "standin",
         "Turns a text into a 384-dimension vector from WordNet's senses of its words and their broader "
         "kinds (cat, feline, mammal, animal), so that texts about related things land near each other. It "
         "knows English words, not sentences: word order, negation and other languages are lost on it.",
         16384,
         static_cast<int>(SenseEmbedder::dimensions)},
        {"standin-thinking:latest",
         {"completion", "thinking"},
         "standin",
         "Rates like standin-sentiment, but first writes out a short reasoning, as thinking models do, unless "
         "the request says \"think\": false.",
         24576,
         0},
        {"standin-vision:latest",
         {"completion", "vision", "tools"},
         "standin",
         "Claims vision and tool use to show how Quillmere's pickers treat such models; it cannot see images "
         "and answers like standin-sentiment.",
         24576,
         0},
    };
    return list;
}

const StandinServer::Model *StandinServer::findModel(const std::string &name)
{
    const std::string tagged = OllamaWire::withDefaultTag(name);
    for (const Model &model : models()) {
        if (model.name == tagged)
            return &model;
    }
    return nullptr;
}

Reply StandinServer::answer(std::string_view method, std::string_view path, std::string_view body)
{
    switch (OllamaWire::route(method, path)) {
    case OllamaWire::Route::Root:
        return OllamaWire::textReply(200, "quillmere-standin is running (a demonstration aid, not a language model)");
    case OllamaWire::Route::Tags:
        return answerTags();
    case OllamaWire::Route::Show:
        return answerShow(body);
    case OllamaWire::Route::Generate:
        return answerGenerate(body);
    case OllamaWire::Route::Embed:
        return answerEmbed(body);
    case OllamaWire::Route::DoubledSlash:
        return OllamaWire::redirectReply(method, path);
    case OllamaWire::Route::MethodNotAllowed:
        return OllamaWire::methodNotAllowed();
    case OllamaWire::Route::NotFound:
        break;
    }
    return OllamaWire::pageNotFound();
}

StandinServer::StandinServer(Options options)
    : m_options(std::move(options))
    , m_server(std::make_unique<httplib::Server>())
{
    // SO_REUSEADDR alone: restarting right after a stop works, but a second
    // server on a port that is already taken fails to bind instead of
    // sharing it.
    m_server->set_socket_options([](socket_t socket) {
        int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    // Quillmere's requests are a few kilobytes; refuse anything absurd.
    m_server->set_payload_max_length(8 * 1024 * 1024);

    auto handle = [this](const httplib::Request &request, httplib::Response &response) {
        if (m_options.latency.count() > 0 && !waitOrStopped(m_options.latency)) {
            response.status = 503;
            response.set_header("Connection", "close");
            return;
        }
        const Reply reply = answer(request.method, request.path, request.body);
        response.status = reply.status;
        for (const auto &[key, value] : reply.headers)
            response.set_header(key, value);
        if (!reply.contentType.empty())
            response.set_content(reply.body, reply.contentType.c_str());
    };
    // Requests that the HTTP layer refuses before any handler runs (a POST
    // without a length, a body over the limit) still get a JSON error.
    m_server->set_error_handler([](const httplib::Request &request, httplib::Response &response) {
        if (!response.body.empty())
            return;
        if (response.status == 400 && request.body.empty())
            response.set_content(OllamaWire::errorReply(400, OllamaWire::missingRequestBody).body, "application/json; charset=utf-8");
        else if (response.status == 413)
            response.set_content(OllamaWire::errorReply(413, "request body too large").body, "application/json; charset=utf-8");
    });
    m_server->Get(".*", handle);
    m_server->Post(".*", handle);
    m_server->Put(".*", handle);
    m_server->Patch(".*", handle);
    m_server->Delete(".*", handle);
    m_server->Options(".*", handle);
}

StandinServer::~StandinServer()
{
    stop();
}

bool StandinServer::bind(std::string &error)
{
    if (m_options.port == 0) {
        m_port = m_server->bind_to_any_port(m_options.host);
    } else {
        m_port = m_server->bind_to_port(m_options.host, m_options.port) ? m_options.port : -1;
    }
    if (m_port <= 0) {
        error = "cannot listen on " + m_options.host + " port " + std::to_string(m_options.port)
            + " (is another server using it, or is the address not one of this machine's?)";
        m_port = 0;
        return false;
    }
    return true;
}

std::string StandinServer::baseURL() const
{
    const bool ipv6 = m_options.host.find(':') != std::string::npos;
    const std::string host = ipv6 ? "[" + m_options.host + "]" : m_options.host;
    return "http://" + host + ":" + std::to_string(m_port);
}

void StandinServer::serve()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping)
            return;
        m_serving = true;
    }
    m_server->listen_after_bind();
    std::lock_guard lock(m_mutex);
    m_serving = false;
}

void StandinServer::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_stopped.notify_all();
    // The server only takes a stop once its loop runs: wait for serve() to
    // get there when it has been called but has not started yet.
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (!m_serving || m_server->is_running())
                break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    m_server->stop();
}

bool StandinServer::waitOrStopped(std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_mutex);
    return !m_stopped.wait_for(lock, duration, [this] { return m_stopping; });
}
