#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// Reply shapes of an Ollama server, for the servers that imitate one: the
// offline stand-in and the tests' fake server. Nothing here does I/O; each
// function builds a body (or tells how a request would be answered) the way a
// real server does, so that both imitations answer alike.
namespace OllamaWire {

// One HTTP reply: status, body and content type.
struct Reply
{
    int status = 200;
    std::string body;
    std::string contentType = "application/json; charset=utf-8";
    // Extra headers, e.g. Location for a redirect.
    std::vector<std::pair<std::string, std::string>> headers;

    bool operator==(const Reply &) const = default;
};

inline const std::string jsonContentType = "application/json; charset=utf-8";
inline const std::string textContentType = "text/plain";
inline const std::string ndjsonContentType = "application/x-ndjson";

Reply jsonReply(std::string body, int status = 200);
Reply textReply(int status, std::string body);
// {"error": message} with the given status.
Reply errorReply(int status, const std::string &message);

// Replies that come from the server's router rather than from a handler.
Reply pageNotFound();     // 404 "404 page not found"
Reply methodNotAllowed(); // 405 "405 method not allowed"

// The "details" object of a model, in the tags list and in a show reply.
struct ModelDetails
{
    std::string parentModel;
    std::string format = "gguf";
    std::string family;
    // Absent: the server sends null.
    std::optional<std::vector<std::string>> families;
    std::string parameterSize;
    std::string quantizationLevel;
};

nlohmann::json detailsJson(const ModelDetails &details);

// One entry of GET /api/tags.
struct TagsEntry
{
    std::string name;
    std::string modifiedAt;
    // Absent: the server sends null (real servers always send a number, but
    // clients must cope with other shapes).
    std::optional<std::int64_t> size;
    std::string digest;
    ModelDetails details;
};

nlohmann::json tagsEntryJson(const TagsEntry &entry);
// {"models":[...]} in the given order.
std::string tagsBody(const std::vector<TagsEntry> &entries);

// The reply of POST /api/show. Empty texts are left out, as a real server does.
struct ShowReply
{
    std::string license;
    std::string modelfile;
    std::string parameters;
    std::string templateText;
    std::string system;
    ModelDetails details;
    nlohmann::json modelInfo = nlohmann::json::object();
    nlohmann::json tensors = nlohmann::json::array();
    // Absent: older servers send no "capabilities" member.
    std::optional<std::vector<std::string>> capabilities;
    std::string modifiedAt;
};

std::string showBody(const ShowReply &reply);

// Timing and token counts of a generate or embed reply, in nanoseconds. A
// figure that is zero is left out of the reply, as a real server leaves it out.
struct Durations
{
    std::int64_t total = 0;
    std::int64_t load = 0;
    std::int64_t promptEval = 0;
    int promptEvalCount = 0;
    std::int64_t eval = 0;
    int evalCount = 0;
};

// The whole non-streaming reply of POST /api/generate. An empty prompt only
// loads the model and is answered with done_reason "load".
struct GenerateReply
{
    std::string model;
    std::string createdAt;
    std::string response;
    // A thinking model's reasoning; left out when empty.
    std::string thinking;
    std::string doneReason = "stop";
    std::vector<int> context;
    Durations durations;
    // The "logprobs" array, when the request asked for it; null leaves the
    // member out, as a server does when it was not asked.
    nlohmann::json logprobs;
};

// A token with the natural logarithm of its probability.
struct TokenLogprob
{
    std::string token;
    double logprob = 0.0;
};

// One entry of a reply's "logprobs" array: the token generated, its bytes and
// log-probability, and the candidates at that position (most likely first;
// the member is left out when there are none).
nlohmann::json logprobEntry(const TokenLogprob &generated, const std::vector<TokenLogprob> &candidates);

// Whether a generate request leaves a thinking model reasoning: "think"
// absent, null, true or a level ("low", "medium", "high"); only false turns
// reasoning off.
bool requestsThinking(const nlohmann::json &request);

// Puts a thinking model's reasoning before its answer, as a server does.
// `tokens` is the reasoning split into tokens, with the tags that open and
// close it ("<think>", "</think>"), which are left out of "thinking". The
// tokens come first in "logprobs" when the request asked for them, and count
// against its "num_predict": a limit they reach ends the reply inside the
// reasoning, with an empty response and done_reason "length".
void addReasoning(GenerateReply &reply, const std::vector<std::string> &tokens, const nlohmann::json &request);

std::string generateBody(const GenerateReply &reply);
// The same answer as a stream: one chunk holding the response text (and the
// logprobs), then the final chunk with done true and the durations; each line
// one JSON object.
std::string generateStreamBody(const GenerateReply &reply);

// The reply of POST /api/embed: one vector per input.
std::string embedBody(const std::string &model, const std::vector<std::vector<double>> &embeddings,
                      const Durations &durations = {});

// Error texts, worded as a real server words them.
std::string modelNotFound(const std::string &name);           // model 'x' not found
std::string embedModelNotFound(const std::string &name);      // model "x" not found, try pulling it first
std::string doesNotSupport(const std::string &name, const std::string &what); // "x" does not support generate
inline const std::string missingRequestBody = "missing request body";
inline const std::string modelIsRequired = "model is required";

// A model name with its tag: "llama3.2" becomes "llama3.2:latest"; a name
// that already has a tag is unchanged.
std::string withDefaultTag(const std::string &name);

// The message of the server's JSON decoder for a body that is not valid JSON,
// e.g. "invalid character 'h' looking for beginning of value" or
// "unexpected EOF".
std::string jsonSyntaxMessage(std::string_view body);

// Reads a request body the way the server's handlers do: an empty body is
// "missing request body", text that is not JSON gives the decoder's message,
// and JSON that is not an object cannot fill the request record. The error is
// a complete 400 reply.
std::variant<nlohmann::json, Reply> readRequestObject(std::string_view body, const std::string &recordType);

// The four calls, and how the router treats a method and path.
enum class Route {
    Root,            // GET / ("... is running")
    Tags,            // GET /api/tags
    Show,            // POST /api/show
    Generate,        // POST /api/generate
    Embed,           // POST /api/embed
    DoubledSlash,    // a path with "//" in it: redirected to the cleaned path
    MethodNotAllowed,
    NotFound,
};

Route route(std::string_view method, std::string_view path);

// The path with every run of slashes collapsed to one.
std::string cleanedPath(std::string_view path);

// The reply to a path with a doubled slash: 301 to the cleaned path; the body
// is empty, except for a GET, which gets a short link text.
Reply redirectReply(std::string_view method, std::string_view path);

// An RFC 3339 timestamp with nanoseconds in UTC, as in "created_at".
std::string timestampNow();

} // namespace OllamaWire
