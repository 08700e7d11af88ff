#include "ServerEndpoint.h"

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

std::optional<QUrl> endpointURL(const QString &baseURL, const QString &path)
{
    return parseServerURL(baseURL + path);
}

} // namespace ServerEndpoint
