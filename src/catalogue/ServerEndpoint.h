#pragma once

#include <QCoreApplication>
#include <QString>
#include <QUrl>

#include <optional>

// The four calls Quillmere makes to an Ollama server, and how their URLs are
// formed from the base URL the user saved.
namespace ServerEndpoint {

inline const QString tagsPath = QStringLiteral("/api/tags");
inline const QString showPath = QStringLiteral("/api/show");
inline const QString generatePath = QStringLiteral("/api/generate");
inline const QString embedPath = QStringLiteral("/api/embed");

// Accepts a text as a server URL only when it parses strictly, its scheme is
// http or https and it names a host. Anything else (a file: URL, a bare host,
// a text with spaces) is refused, so no request can reach a local file.
std::optional<QUrl> parseServerURL(const QString &text);

// The messages that refuse a server URL the user typed.
// In English; checkServerURL returns them translated.
inline constexpr const char *missingSchemeError = QT_TRANSLATE_NOOP("ServerEndpoint", "URL must start with http:// or https://");
inline constexpr const char *invalidURLError = QT_TRANSLATE_NOOP("ServerEndpoint", "Invalid URL format");

// The rule for a server URL the user gives, in the Settings window or on the
// command line: white space around it is dropped (a line break inside stays
// and fails), it must start with "http://" or "https://" in small letters,
// and the rest must pass parseServerURL(). Either the URL to store or the
// message that refuses it.
struct URLCheck
{
    std::optional<QString> url;
    std::optional<QString> error;
};
URLCheck checkServerURL(const QString &text);

// The base URL with the path appended as text (no slash handling: a base that
// ends in "/" gives a doubled slash), parsed as above.
std::optional<QUrl> endpointURL(const QString &baseURL, const QString &path);

} // namespace ServerEndpoint
