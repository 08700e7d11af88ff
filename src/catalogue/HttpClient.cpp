#include "HttpClient.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>

#include <memory>
#include <optional>

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

// What a finished reply comes to: its body, or the error that stands for it.
Result<QByteArray> outcome(QNetworkReply *reply, QByteArray body, bool tooLarge, qint64 limit,
                           std::chrono::milliseconds timeout)
{
    if (tooLarge) {
        return ClientError{
            HttpClient::replyTooLargeDomain,
            -1,
            QCoreApplication::translate("HttpClient", "The server's reply is larger than %1 and was refused.")
                .arg(sizeText(limit)),
        };
    }
    const auto error = reply->error();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (HttpClient::isTransportFailure(error, status)) {
        const QString description = error == QNetworkReply::OperationCanceledError
            ? timeoutDescription(timeout)
            : reply->errorString();
        return ClientError{HttpClient::networkDomain, static_cast<int>(error), description};
    }
    // An error status without a body (Ollama's 403 for a refused Origin, a
    // proxy's bare 502) has nothing to parse: the status is the whole
    // answer, so it becomes the error.
    if (status >= 400 && body.trimmed().isEmpty())
        return ClientError{HttpClient::httpStatusDomain, status, statusDescription(status, reply)};
    return body;
}

} // namespace

// The client's half on its own thread: the network managers, the replies
// and their bodies. It starts what the client sends it and hands each outcome
// back whole.
class HttpTransport : public QObject
{
public:
    struct Request
    {
        quint64 id = 0;
        std::size_t manager = 0;
        QUrl url;
        QByteArray body;
        bool isPost = false;
        std::chrono::milliseconds timeout{};
        qint64 limit = 0;
        int redirectsLeft = maximumRedirects;
    };
    // As many as Qt's own redirect handling follows.
    static constexpr int maximumRedirects = 50;
    // Called on the transport's thread with each request's outcome.
    using Deliver = std::function<void(quint64 id, Result<QByteArray> outcome)>;

    explicit HttpTransport(Deliver deliver)
        : m_deliver(std::move(deliver))
    {
    }

    void start(const Request &request);

private:
    // The request a redirect reply points to, if it is one.
    static std::optional<Request> redirected(const Request &job, const QNetworkReply *reply);

    Deliver m_deliver;
    std::vector<QNetworkAccessManager *> m_managers; // children
};

void HttpTransport::start(const Request &job)
{
    while (m_managers.size() <= job.manager)
        m_managers.push_back(new QNetworkAccessManager(this));

    QNetworkRequest request(job.url);
    request.setTransferTimeout(static_cast<int>(job.timeout.count()));
    // Redirects are followed here, each as a request of its own (see
    // redirected()).
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply *reply = nullptr;
    if (job.isPost) {
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
        reply = m_managers[job.manager]->post(request, job.body);
    } else {
        reply = m_managers[job.manager]->get(request);
    }

    auto state = std::make_shared<ReplyState>();
    const qint64 limit = job.limit;

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
        // announced length rather than again for each piece.
        if (state->body.capacity() < held + available) {
            const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
            state->body.reserve(qMax(held + available, qMin(announced, limit)));
        }
        state->body.resize(held + available);
        const qint64 read = reply->read(state->body.data() + held, available);
        state->body.resize(held + qMax<qint64>(read, 0));
    };
    connect(reply, &QNetworkReply::readyRead, reply, drain);

    connect(reply, &QNetworkReply::finished, this, [this, reply, state, drain, job] {
        drain();
        reply->deleteLater();
        if (!state->tooLarge && reply->error() == QNetworkReply::NoError) {
            if (const auto next = redirected(job, reply)) {
                if (next->redirectsLeft < 0) {
                    m_deliver(job.id, ClientError{HttpClient::networkDomain, QNetworkReply::TooManyRedirectsError,
                                                  QCoreApplication::translate("HttpClient",
                                                                              "The server redirected too many times.")});
                } else if (job.url.scheme() == QLatin1String("https") && next->url.scheme() != QLatin1String("https")) {
                    m_deliver(job.id, ClientError{HttpClient::networkDomain, QNetworkReply::InsecureRedirectError,
                                                  QCoreApplication::translate("HttpClient",
                                                                              "The server redirected from a secure "
                                                                              "address to an insecure one.")});
                } else {
                    start(*next);
                }
                return;
            }
        }
        m_deliver(job.id, outcome(reply, std::move(state->body), state->tooLarge, job.limit, job.timeout));
    });
}

std::optional<HttpTransport::Request> HttpTransport::redirected(const Request &job, const QNetworkReply *reply)
{
    // Qt can follow redirects itself, but its following of a redirected
    // POST, on a thread other than the main one, now and then ends a reply
    // that had arrived whole in "Unknown error". A redirect is therefore
    // sent as a new request, by the rules Qt follows: 307 and 308 keep the
    // method and the body, 301, 302 and 303 turn a POST into a GET.
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QUrl target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
    if (status < 300 || status > 399 || status == 304 || status == 305 || status == 306 || !target.isValid())
        return std::nullopt;
    Request next = job;
    next.url = reply->url().resolved(target);
    --next.redirectsLeft;
    if (status != 307 && status != 308) {
        next.isPost = false;
        next.body.clear();
    }
    return next;
}

HttpClient &HttpClient::shared()
{
    // Created on first use on the main thread and destroyed by the
    // application object's destructor, while the event loop's machinery
    // still exists: a static object would be destroyed after
    // QCoreApplication, too late for its thread and its network managers.
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
    , m_thread(new QThread)
{
    m_thread->setObjectName(QStringLiteral("httpClient"));
    // Each outcome is handed to this object's thread as one event; posting
    // is safe from any thread, and the destructor stops the transport before
    // this object goes, so nothing is posted to a freed client.
    m_transport = new HttpTransport([this](quint64 id, Result<QByteArray> outcome) {
        QMetaObject::invokeMethod(
            this,
            [this, id, outcome = std::move(outcome)]() mutable {
            m_arrived.emplace_back(id, std::move(outcome));
            if (!m_delivery.isActive())
                m_delivery.start();
        },
            Qt::QueuedConnection);
    });
    m_delivery.setSingleShot(true);
    m_delivery.setInterval(0);
    connect(&m_delivery, &QTimer::timeout, this, &HttpClient::deliverNext);
    m_transport->moveToThread(m_thread);
    m_thread->start();
    // One manager serves most sessions; more are made only when many
    // requests to one host run at once.
    m_managerLoad.resize(1);
}

HttpClient::~HttpClient()
{
    // The transport, its managers and their replies are freed on their own
    // thread; replies still on the wire are dropped unheard.
    QMetaObject::invokeMethod(m_transport, [transport = m_transport] { delete transport; }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

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
    std::size_t chosen = 0;
    while (chosen < m_managerLoad.size() && m_managerLoad[chosen].value(host) >= connectionsPerManager)
        ++chosen;
    if (chosen == m_managerLoad.size())
        m_managerLoad.emplace_back();

    const quint64 id = ++m_nextId;
    HttpTransport::Request request{id, chosen, job.url, job.body, job.isPost, m_transferTimeout, m_maxReplyBytes};
    QMetaObject::invokeMethod(m_transport, [transport = m_transport, request = std::move(request)] {
        transport->start(request);
    }, Qt::QueuedConnection);

    ++m_inFlight[host];
    ++m_managerLoad[chosen][host];
    m_sent.emplace(id, Sent{host, chosen, job.hasContext, job.context, std::move(job.callback)});
    return true;
}

void HttpClient::deliverNext()
{
    if (m_arrived.empty())
        return;
    auto [id, outcome] = std::move(m_arrived.front());
    m_arrived.pop_front();
    if (!m_arrived.empty())
        m_delivery.start();
    finish(id, outcome);
}

void HttpClient::finish(quint64 id, const Result<QByteArray> &outcome)
{
    const auto found = m_sent.find(id);
    if (found == m_sent.end())
        return;
    Sent sent = std::move(found->second);
    m_sent.erase(found);
    --m_inFlight[sent.host];
    --m_managerLoad[sent.manager][sent.host];
    startQueued();
    // A receiver that is gone hears nothing; without one, the outcome is
    // always delivered.
    if (!sent.hasContext || sent.context)
        sent.callback(outcome);
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
