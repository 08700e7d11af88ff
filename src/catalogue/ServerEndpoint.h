#pragma once

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

// The base URL with the path appended as text (no slash handling: a base that
// ends in "/" gives a doubled slash), parsed as above.
std::optional<QUrl> endpointURL(const QString &baseURL, const QString &path);

} // namespace ServerEndpoint
