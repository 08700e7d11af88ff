#pragma once

#include "ClientError.h"

#include <QByteArray>
#include <QObject>
#include <QUrl>

#include <QHash>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <unordered_map>
#include <vector>

class HttpTransport;
class QThread;

// The one HTTP client of the process. Every request of the catalogue and the
// demo clients goes through it. It is used from the main thread and delivers
// every outcome there.
//
// The replies themselves are taken in on a thread of the client's own: a
// long reply (16 embeddings are over a megabyte) arrives in many pieces, and
// handing each piece over costs the thread that owns the reply its time. The
// main thread only keeps the order of requests and their limits, and receives
// each outcome whole.
//
// A reply with an error status and a body counts as a reply: the callers read
// the server's message from it. An error status with an empty body fails the
// request with "HTTP 403 Forbidden" and the like, as do transport failures
// (refused connection, time-out, a connection closed mid-reply, ...).
class HttpClient : public QObject
{
    Q_OBJECT

public:
    using Callback = std::function<void(const Result<QByteArray> &)>;

    // The error domain of transport failures; the code is the
    // QNetworkReply::NetworkError value.
    static inline const QString networkDomain = QStringLiteral("QNetworkReply");
    static inline const QString replyTooLargeDomain = QStringLiteral("Reply too large");
    // An error status with an empty body; the code is the status.
    static inline const QString httpStatusDomain = QStringLiteral("HTTP");

    static constexpr std::chrono::milliseconds defaultTransferTimeout{60'000};
    // Larger than any reply an Ollama server sends for the calls we make; a
    // larger body is refused rather than held in memory.
    static constexpr qint64 defaultMaxReplyBytes = 64LL * 1024 * 1024;

    // The process's client, made on first use from the main thread once the
    // QCoreApplication exists, and destroyed by the QCoreApplication's
    // destructor. Sharing it shares its connections and its per-host limit.
    static HttpClient &shared();

    explicit HttpClient(QObject *parent = nullptr);
    ~HttpClient() override;

    // The callback runs on the main thread once the request ends, unless
    // `context` has been destroyed by then. A null context means the callback
    // is always called.
    //
    // GET with no header of its own.
    void get(const QUrl &url, QObject *context, Callback callback);
    // POST of a JSON body with "Content-Type: application/json".
    void postJSON(const QUrl &url, const QByteArray &body, QObject *context, Callback callback);

    // The inactivity time-out of every request: the request fails when no data
    // arrives for this long. Tests shorten it.
    std::chrono::milliseconds transferTimeout() const { return m_transferTimeout; }
    void setTransferTimeout(std::chrono::milliseconds timeout) { m_transferTimeout = timeout; }

    qint64 maxReplyBytes() const { return m_maxReplyBytes; }
    void setMaxReplyBytes(qint64 bytes) { m_maxReplyBytes = bytes; }

    // How many requests to one host are on the wire at once. One network
    // manager opens at most six connections per host and queues the rest
    // with their time-out clocks already running, so the client spreads
    // requests over several managers and holds any beyond this limit in a
    // queue of its own, where no clock runs: a request's time-out starts
    // when it is sent.
    static constexpr int connectionsPerManager = 6;
    static constexpr int defaultMaxConnectionsPerHost = 48;
    int maxConnectionsPerHost() const { return m_maxConnectionsPerHost; }
    void setMaxConnectionsPerHost(int connections);

    // Requests waiting for a free connection.
    int queuedRequests() const { return static_cast<int>(m_queue.size()); }
    // Requests sent whose outcome has not come back yet. Each reply is freed
    // on the client's thread as it ends, whether or not its receiver still
    // exists.
    int requestsInFlight() const { return static_cast<int>(m_sent.size()); }

    // Whether a failed reply is a failure of the transport, as opposed to an
    // HTTP error status whose body is still a reply. `httpStatus` is 0 when
    // no status line arrived.
    static bool isTransportFailure(int networkError, int httpStatus);

private:
    struct Job
    {
        QUrl url;
        QByteArray body;
        bool isPost = false;
        bool hasContext = false;
        QPointer<QObject> context;
        Callback callback;
    };
    // A request on the wire, until its outcome comes back.
    struct Sent
    {
        QString host;
        std::size_t manager = 0;
        bool hasContext = false;
        QPointer<QObject> context;
        Callback callback;
    };

    void submit(Job job);
    bool tryStart(Job &job);
    void startQueued();
    void finish(quint64 id, const Result<QByteArray> &outcome);
    void deliverNext();

    QThread *m_thread = nullptr;
    HttpTransport *m_transport = nullptr; // lives on m_thread
    // Requests on the wire per host, for each of the transport's network
    // managers (by index) and over all of them.
    std::vector<QHash<QString, int>> m_managerLoad;
    QHash<QString, int> m_inFlight;
    std::unordered_map<quint64, Sent> m_sent;
    quint64 m_nextId = 0;
    // Outcomes back from the transport, delivered one per turn of the event
    // loop: many replies can end at once, and their callbacks (which read
    // the replies) would otherwise all run in one turn.
    std::deque<std::pair<quint64, Result<QByteArray>>> m_arrived;
    QTimer m_delivery;
    std::deque<Job> m_queue;
    std::chrono::milliseconds m_transferTimeout = defaultTransferTimeout;
    qint64 m_maxReplyBytes = defaultMaxReplyBytes;
    int m_maxConnectionsPerHost = defaultMaxConnectionsPerHost;
};
