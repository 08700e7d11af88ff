#include "OllamaWire.h"

#include <chrono>
#include <cstdio>
#include <ctime>

using nlohmann::json;

namespace OllamaWire {

Reply jsonReply(std::string body, int status)
{
    Reply reply;
    reply.status = status;
    reply.body = std::move(body);
    return reply;
}

Reply textReply(int status, std::string body)
{
    Reply reply;
    reply.status = status;
    reply.body = std::move(body);
    reply.contentType = textContentType;
    return reply;
}

Reply errorReply(int status, const std::string &message)
{
    return jsonReply(json{{"error", message}}.dump(), status);
}

Reply pageNotFound()
{
    return textReply(404, "404 page not found");
}

Reply methodNotAllowed()
{
    return textReply(405, "405 method not allowed");
}

json detailsJson(const ModelDetails &details)
{
    return json{
        {"parent_model", details.parentModel},
        {"format", details.format},
        {"family", details.family},
        {"families", details.families ? json(*details.families) : json(nullptr)},
        {"parameter_size", details.parameterSize},
        {"quantization_level", details.quantizationLevel},
    };
}

json tagsEntryJson(const TagsEntry &entry)
{
    return json{
        {"name", entry.name},
        {"model", entry.name},
        {"modified_at", entry.modifiedAt},
        {"size", entry.size ? json(*entry.size) : json(nullptr)},
        {"digest", entry.digest},
        {"details", detailsJson(entry.details)},
    };
}

std::string tagsBody(const std::vector<TagsEntry> &entries)
{
    json list = json::array();
    for (const TagsEntry &entry : entries)
        list.push_back(tagsEntryJson(entry));
    return json{{"models", list}}.dump();
}

std::string showBody(const ShowReply &reply)
{
    json body = json::object();
    auto putText = [&body](const char *key, const std::string &value) {
        if (!value.empty())
            body[key] = value;
    };
    putText("license", reply.license);
    putText("modelfile", reply.modelfile);
    putText("parameters", reply.parameters);
    putText("template", reply.templateText);
    putText("system", reply.system);
    body["details"] = detailsJson(reply.details);
    body["model_info"] = reply.modelInfo;
    if (!reply.tensors.empty())
        body["tensors"] = reply.tensors;
    if (reply.capabilities)
        body["capabilities"] = *reply.capabilities;
    body["modified_at"] = reply.modifiedAt;
    return body.dump();
}

namespace {

// A real server leaves out every figure that is zero (a model that was
// already loaded has no "load_duration"), so a client never shows a made-up
// "0 ns".
void putDurations(json &body, const Durations &durations, bool withEval)
{
    auto put = [&body](const char *key, std::int64_t value) {
        if (value != 0)
            body[key] = value;
    };
    put("total_duration", durations.total);
    put("load_duration", durations.load);
    put("prompt_eval_count", durations.promptEvalCount);
    if (withEval) {
        put("prompt_eval_duration", durations.promptEval);
        put("eval_count", durations.evalCount);
        put("eval_duration", durations.eval);
    }
}

json tokenJson(const TokenLogprob &token)
{
    std::vector<int> bytes;
    for (const char c : token.token)
        bytes.push_back(static_cast<unsigned char>(c));
    return {{"token", token.token}, {"logprob", token.logprob}, {"bytes", bytes}};
}

// The final object of a generate reply; `whole` puts the answer (response,
// reasoning and logprobs) in it, as the non-streaming reply does.
json generateFinal(const GenerateReply &reply, bool whole)
{
    json body = {
        {"model", reply.model},
        {"created_at", reply.createdAt},
        {"response", whole ? reply.response : std::string()},
    };
    if (whole && !reply.thinking.empty())
        body["thinking"] = reply.thinking;
    body["done"] = true;
    body["done_reason"] = reply.doneReason;
    if (!reply.context.empty())
        body["context"] = reply.context;
    // A load-only reply carries no figures at all.
    if (reply.doneReason != "load")
        putDurations(body, reply.durations, true);
    if (whole && (!reply.response.empty() || !reply.thinking.empty()) && !reply.logprobs.is_null())
        body["logprobs"] = reply.logprobs;
    return body;
}

} // namespace

json logprobEntry(const TokenLogprob &generated, const std::vector<TokenLogprob> &candidates)
{
    json entry = tokenJson(generated);
    for (const TokenLogprob &candidate : candidates)
        entry["top_logprobs"].push_back(tokenJson(candidate));
    return entry;
}

bool requestsThinking(const json &request)
{
    const auto think = request.find("think");
    return think == request.end() || !think->is_boolean() || think->get<bool>();
}

void addReasoning(GenerateReply &reply, const std::vector<std::string> &tokens, const json &request)
{
    std::int64_t limit = -1;
    if (const auto options = request.find("options"); options != request.end() && options->is_object()) {
        if (const auto n = options->find("num_predict"); n != options->end() && n->is_number_integer())
            limit = n->get<std::int64_t>();
    }
    const bool cut = limit > 0 && std::uint64_t(limit) <= tokens.size();
    const size_t kept = cut ? size_t(limit) : tokens.size();

    json entries = json::array();
    std::string thinking;
    for (size_t i = 0; i < kept; ++i) {
        const std::string &token = tokens[i];
        if (!(token.starts_with("<") && token.ends_with(">")))
            thinking += token;
        entries.push_back(logprobEntry({token, -0.05}, {{token, -0.05}, {" so", -3.2}}));
    }
    const auto first = thinking.find_first_not_of(" \n");
    reply.thinking = first == std::string::npos
                         ? std::string()
                         : thinking.substr(first, thinking.find_last_not_of(" \n") + 1 - first);
    reply.durations.evalCount += int(kept);

    const bool wantsLogprobs = request.contains("logprobs") && request.at("logprobs") == true;
    if (cut) {
        reply.response.clear();
        reply.doneReason = "length";
        reply.logprobs = wantsLogprobs ? entries : json();
    } else if (wantsLogprobs) {
        for (const json &entry : reply.logprobs.is_array() ? reply.logprobs : json::array())
            entries.push_back(entry);
        reply.logprobs = entries;
    }
}

std::string generateBody(const GenerateReply &reply)
{
    return generateFinal(reply, true).dump();
}

std::string generateStreamBody(const GenerateReply &reply)
{
    std::string body;
    if (!reply.response.empty() || !reply.thinking.empty()) {
        json chunk{{"model", reply.model}, {"created_at", reply.createdAt}, {"response", reply.response}, {"done", false}};
        if (!reply.thinking.empty())
            chunk["thinking"] = reply.thinking;
        if (!reply.logprobs.is_null())
            chunk["logprobs"] = reply.logprobs;
        body += chunk.dump();
        body += '\n';
    }
    body += generateFinal(reply, false).dump();
    body += '\n';
    return body;
}

std::string embedBody(const std::string &model, const std::vector<std::vector<double>> &embeddings,
                      const Durations &durations)
{
    json body = {{"model", model}, {"embeddings", json::array()}};
    for (const auto &vector : embeddings)
        body["embeddings"].push_back(vector);
    putDurations(body, durations, false);
    return body.dump();
}

std::string modelNotFound(const std::string &name)
{
    return "model '" + name + "' not found";
}

std::string embedModelNotFound(const std::string &name)
{
    return "model \"" + name + "\" not found, try pulling it first";
}

std::string doesNotSupport(const std::string &name, const std::string &what)
{
    return "\"" + name + "\" does not support " + what;
}

std::string withDefaultTag(const std::string &name)
{
    // A colon after the last slash separates the tag; one before it belongs to
    // a registry host and port.
    const auto slash = name.rfind('/');
    const auto colon = name.rfind(':');
    if (colon != std::string::npos && (slash == std::string::npos || colon > slash))
        return name;
    return name + ":latest";
}

namespace {

bool isJsonSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// How the decoder quotes an offending character: 'x', '\'' or '\x01'.
std::string quotedCharacter(std::string_view body, size_t at)
{
    const auto c = static_cast<unsigned char>(body[at]);
    if (c == '\'')
        return "'\\''";
    if (c < 0x20 || c == 0x7f) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "'\\x%02x'", c);
        return buffer;
    }
    size_t length = 1;
    if (c >= 0xf0)
        length = 4;
    else if (c >= 0xe0)
        length = 3;
    else if (c >= 0xc0)
        length = 2;
    return "'" + std::string(body.substr(at, length)) + "'";
}

} // namespace

std::string jsonSyntaxMessage(std::string_view body)
{
    size_t first = 0;
    while (first < body.size() && isJsonSpace(body[first]))
        ++first;
    if (first == body.size())
        return "unexpected EOF";
    if (std::string_view("{[\"-0123456789tfn").find(body[first]) == std::string_view::npos)
        return "invalid character " + quotedCharacter(body, first) + " looking for beginning of value";

    if (json::accept(body))
        return {};
    try {
        const json value = json::parse(body);
        return {};
    } catch (const json::parse_error &error) {
        // error.byte is the 1-based position of the last character read.
        if (error.byte == 0 || error.byte > body.size())
            return "unexpected EOF";
        const size_t at = error.byte - 1;
        const std::string what = error.what();
        if (what.find("unexpected end of input") != std::string::npos)
            return "unexpected EOF";
        if (what.find("expected end of input") != std::string::npos)
            return "invalid character " + quotedCharacter(body, at) + " after top-level value";
        return "invalid character " + quotedCharacter(body, at) + " looking for beginning of value";
    }
}

namespace {

const char *goTypeName(const json &value)
{
    switch (value.type()) {
    case json::value_t::array:
        return "array";
    case json::value_t::string:
        return "string";
    case json::value_t::boolean:
        return "bool";
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
    case json::value_t::number_float:
        return "number";
    default:
        return "object";
    }
}

} // namespace

std::variant<json, Reply> readRequestObject(std::string_view body, const std::string &recordType)
{
    size_t first = 0;
    while (first < body.size() && isJsonSpace(body[first]))
        ++first;
    if (first == body.size())
        return errorReply(400, missingRequestBody);

    json value;
    try {
        value = json::parse(body);
    } catch (const json::parse_error &) {
        return errorReply(400, jsonSyntaxMessage(body));
    }
    // null decodes into an empty record.
    if (value.is_null())
        return json::object();
    if (!value.is_object())
        return errorReply(400, std::string("json: cannot unmarshal ") + goTypeName(value) + " into Go value of type "
                                   + recordType);
    return value;
}

Route route(std::string_view method, std::string_view path)
{
    if (path.find("//") != std::string_view::npos)
        return Route::DoubledSlash;
    const bool isGet = method == "GET" || method == "HEAD";
    const bool isPost = method == "POST";
    if (path == "/")
        return isGet ? Route::Root : Route::MethodNotAllowed;
    if (path == "/api/tags")
        return isGet ? Route::Tags : Route::MethodNotAllowed;
    if (path == "/api/show")
        return isPost ? Route::Show : Route::MethodNotAllowed;
    if (path == "/api/generate")
        return isPost ? Route::Generate : Route::MethodNotAllowed;
    if (path == "/api/embed")
        return isPost ? Route::Embed : Route::MethodNotAllowed;
    return Route::NotFound;
}

std::string cleanedPath(std::string_view path)
{
    std::string cleaned;
    cleaned.reserve(path.size());
    for (char c : path) {
        if (c == '/' && !cleaned.empty() && cleaned.back() == '/')
            continue;
        cleaned += c;
    }
    return cleaned;
}

Reply redirectReply(std::string_view method, std::string_view path)
{
    const std::string target = cleanedPath(path);
    Reply reply;
    reply.status = 301;
    reply.headers.emplace_back("Location", target);
    if (method == "GET") {
        reply.contentType = "text/html; charset=utf-8";
        reply.body = "<a href=\"" + target + "\">Moved Permanently</a>.\n\n";
    } else {
        reply.contentType.clear();
    }
    return reply;
}

std::string timestampNow()
{
    const auto now = std::chrono::system_clock::now();
    const auto seconds = std::chrono::time_point_cast<std::chrono::seconds>(now);
    const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(now - seconds).count();
    const std::time_t time = std::chrono::system_clock::to_time_t(seconds);
    std::tm utc{};
    gmtime_r(&time, &utc);
    char buffer[64];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%S", &utc);
    std::string stamp = buffer;
    if (nanos > 0) {
        char fraction[32];
        std::snprintf(fraction, sizeof fraction, ".%09lld", static_cast<long long>(nanos));
        std::string digits = fraction;
        while (digits.back() == '0')
            digits.pop_back();
        stamp += digits;
    }
    return stamp + "Z";
}

} // namespace OllamaWire
