#include "HttpClient.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

#include <memory>

namespace {

struct ReplyState
{
    QByteArray body;
    bool tooLarge = false;
};

QString timeoutDescription(std::chrono::milliseconds timeout)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout).count();
    if (seconds >= 1)
        return QCoreApplication::translate("HttpClient",
                                           "The server did not answer in time (nothing arrived for %1 seconds).")
            .arg(seconds);
    return QCoreApplication::translate("HttpClient", "The server did not answer in time (nothing arrived for %1 ms).")
        .arg(timeout.count());
}

QString sizeText(qint64 bytes)
{
    constexpr qint64 mebibyte = 1024 * 1024;
    if (bytes >= mebibyte && bytes % mebibyte == 0)
        return QStringLiteral("%1 MB").arg(bytes / mebibyte);
    return QStringLiteral("%1 bytes").arg(bytes);
}

// "HTTP 403 Forbidden": the status and the server's reason phrase, on one
// line and short, since the phrase comes from the server.
QString statusDescription(int status, const QNetworkReply *reply)
{
    QString phrase = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().simplified();
    constexpr qsizetype longestPhrase = 60;
    phrase.removeIf([](QChar c) { return !c.isPrint(); });
    if (phrase.size() > longestPhrase)
        phrase = phrase.left(longestPhrase) + QChar(0x2026);
    return phrase.isEmpty() ? QStringLiteral("HTTP %1").arg(status) : QStringLiteral("HTTP %1 %2").arg(status).arg(phrase);
}

} // namespace

HttpClient &HttpClient::shared()
{
    // Created on first use on the main thread and destroyed by the
    // application object's destructor, while the event loop's machinery (and
    // the network managers' threads) still exist: a static object would be
    // destroyed after QCoreApplication, too late for QNetworkAccessManager.
    static HttpClient *instance = nullptr;
    if (!instance) {
        instance = new HttpClient;
        qAddPostRoutine([] {
            delete instance;
            instance = nullptr;
        });
    }
    return *instance;
}

HttpClient::HttpClient(QObject *parent)
    : QObject(parent)
{
    // One manager serves most sessions; more are made only when many
    // requests to one host run at once.
    m_managers.push_back(Manager{new QNetworkAccessManager(this), {}});
}

HttpClient::~HttpClient() = default;

namespace {

QString hostKey(const QUrl &url)
{
    return url.scheme() + QLatin1Char('|') + url.host() + QLatin1Char('|') + QString::number(url.port());
}

} // namespace

void HttpClient::setMaxConnectionsPerHost(int connections)
{
    m_maxConnectionsPerHost = qMax(1, connections);
    startQueued();
}

void HttpClient::get(const QUrl &url, QObject *context, Callback callback)
{
    submit(Job{url, {}, false, context != nullptr, context, std::move(callback)});
}

void HttpClient::postJSON(const QUrl &url, const QByteArray &body, QObject *context, Callback callback)
{
    submit(Job{url, body, true, context != nullptr, context, std::move(callback)});
}

void HttpClient::submit(Job job)
{
    // Requests keep their order: nothing overtakes a request already waiting.
    if (!m_queue.empty() || !tryStart(job))
        m_queue.push_back(std::move(job));
}

bool HttpClient::tryStart(Job &job)
{
    const QString host = hostKey(job.url);
    if (m_inFlight.value(host) >= m_maxConnectionsPerHost)
        return false;

    // The first manager with a free connection to the host; a new one when
    // all are busy. Most sessions never need more than the first.
    Manager *chosen = nullptr;
    for (Manager &candidate : m_managers) {
        if (candidate.inFlight.value(host) < connectionsPerManager) {
            chosen = &candidate;
            break;
        }
    }
    if (!chosen) {
        m_managers.push_back(Manager{new QNetworkAccessManager(this), {}});
        chosen = &m_managers.back();
    }

    QNetworkRequest request(job.url);
    request.setTransferTimeout(static_cast<int>(m_transferTimeout.count()));
    QNetworkReply *reply = nullptr;
    if (job.isPost) {
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
        reply = chosen->manager->post(request, job.body);
    } else {
        reply = chosen->manager->get(request);
    }

    ++m_inFlight[host];
    ++chosen->inFlight[host];
    QNetworkAccessManager *manager = chosen->manager;
    connect(reply, &QNetworkReply::finished, this, [this, manager, host] {
        --m_inFlight[host];
        for (Manager &m : m_managers) {
            if (m.manager == manager)
                --m.inFlight[host];
        }
        startQueued();
    });
    track(reply, job.context, std::move(job.callback));
    return true;
}

void HttpClient::startQueued()
{
    for (auto it = m_queue.begin(); it != m_queue.end();) {
        // A request whose receiver is gone is never sent.
        if (it->hasContext && !it->context) {
            it = m_queue.erase(it);
            continue;
        }
        if (tryStart(*it))
            it = m_queue.erase(it);
        else
            ++it;
    }
}

bool HttpClient::isTransportFailure(int networkError, int httpStatus)
{
    if (networkError == QNetworkReply::NoError)
        return false;
    // Without an error status line, any error is the transport's: nothing
    // was received, or a redirect could not be followed.
    if (httpStatus < 400)
        return true;
    // Qt turns every HTTP error status into an error of its own: 400 and
    // 418 into ProtocolInvalidOperationError, 407 into
    // ProxyAuthenticationRequiredError, other 4xx into content errors, 5xx
    // into server errors. The body of such a reply is still the server's
    // answer. Any other error (a connection closed mid-body, a time-out, a
    // malformed reply) stays a failure of the transport, status or not.
    const bool fromStatus = networkError == QNetworkReply::ProtocolInvalidOperationError
        || networkError == QNetworkReply::ProxyAuthenticationRequiredError
        || (networkError >= QNetworkReply::ContentAccessDenied && networkError <= QNetworkReply::UnknownContentError)
        || (networkError >= QNetworkReply::InternalServerError && networkError <= QNetworkReply::UnknownServerError);
    return !fromStatus;
}

void HttpClient::track(QNetworkReply *reply, QObject *context, Callback callback)
{
    auto state = std::make_shared<ReplyState>();
    const qint64 limit = m_maxReplyBytes;
    const auto timeout = m_transferTimeout;

    // The body is drained as it arrives so that an oversized reply can be
    // refused before it is held in memory.
    auto drain = [reply, state, limit] {
        // An aborted or timed-out reply is closed and has nothing to read.
        if (state->tooLarge || !reply->isReadable())
            return;
        const qint64 available = reply->bytesAvailable();
        if (available <= 0)
            return;
        const qsizetype held = state->body.size();
        if (held + available > limit) {
            state->tooLarge = true;
            reply->abort();
            return;
        }
        // Read straight into the body, with room made once for the whole
        // announced length: a long reply arrives in many pieces, and each
        // copy of it costs the main thread time.
        if (state->body.capacity() < held + available) {
            const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
            state->body.reserve(qMax(held + available, qMin(announced, limit)));
        }
        state->body.resize(held + available);
        const qint64 read = reply->read(state->body.data() + held, available);
        state->body.resize(held + qMax<qint64>(read, 0));
    };
    connect(reply, &QNetworkReply::readyRead, reply, drain);

    // The reply is freed whether or not the receiver still exists.
    connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);

    // Without a context there is nothing whose end should silence the
    // callback; the client itself stands in so the outcome is still delivered.
    QObject *receiver = context ? context : this;
    connect(reply, &QNetworkReply::finished, receiver,
            [reply, state, drain, limit, timeout, callback = std::move(callback)] {
        drain();
        if (state->tooLarge) {
            callback(ClientError{
                replyTooLargeDomain,
                -1,
                QCoreApplication::translate("HttpClient", "The server's reply is larger than %1 and was refused.")
                    .arg(sizeText(limit)),
            });
            return;
        }
        const auto error = reply->error();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (isTransportFailure(error, status)) {
            const QString description = error == QNetworkReply::OperationCanceledError
                ? timeoutDescription(timeout)
                : reply->errorString();
            callback(ClientError{networkDomain, static_cast<int>(error), description});
            return;
        }
        // An error status without a body (Ollama's 403 for a refused
        // Origin, a proxy's bare 502) has nothing to parse: the status is
        // the whole answer, so it becomes the error.
        if (status >= 400 && state->body.trimmed().isEmpty()) {
            callback(ClientError{httpStatusDomain, status, statusDescription(status, reply)});
            return;
        }
        callback(state->body);
    });
}
