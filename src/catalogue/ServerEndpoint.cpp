#include "ServerEndpoint.h"

#include "TextTrimming.h"

#include <QCoreApplication>

namespace ServerEndpoint {

std::optional<QUrl> parseServerURL(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    const QString scheme = url.scheme();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return std::nullopt;
    if (url.host().isEmpty())
        return std::nullopt;
    return url;
}

URLCheck checkServerURL(const QString &text)
{
    // White space only: a line break is left in and then fails to parse.
    const QString candidate = TextTrimming::trimmedWhitespace(text);
    if (!candidate.startsWith(QLatin1String("http://")) && !candidate.startsWith(QLatin1String("https://")))
        return {std::nullopt, QCoreApplication::translate("ServerEndpoint", missingSchemeError)};
    if (!parseServerURL(candidate))
        return {std::nullopt, QCoreApplication::translate("ServerEndpoint", invalidURLError)};
    return {candidate, std::nullopt};
}

std::optional<QUrl> endpointURL(const QString &baseURL, const QString &path)
{
    return parseServerURL(baseURL + path);
}

} // namespace ServerEndpoint
