#pragma once

#include "ClientError.h"

#include <QByteArray>
#include <QObject>
#include <QUrl>

#include <chrono>
#include <functional>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

// The one HTTP client of the process. Every request of the catalogue and the
// demo clients goes through it. It lives on the main thread and delivers every
// outcome there.
//
// The HTTP status code is never examined: a reply with an error status and a
// body counts as a reply. Only transport failures (refused connection, time-out,
// a connection closed mid-reply, ...) fail a request.
class HttpClient : public QObject
{
    Q_OBJECT

public:
    using Callback = std::function<void(const Result<QByteArray> &)>;

    // The error domain of transport failures; the code is the
    // QNetworkReply::NetworkError value.
    static inline const QString networkDomain = QStringLiteral("QNetworkReply");
    static inline const QString replyTooLargeDomain = QStringLiteral("Reply too large");

    static constexpr std::chrono::milliseconds defaultTransferTimeout{60'000};
    // Larger than any reply an Ollama server sends for the calls we make; a
    // larger body is refused rather than held in memory.
    static constexpr qint64 defaultMaxReplyBytes = 64LL * 1024 * 1024;

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

    // Whether a failed reply is a failure of the transport, as opposed to an
    // HTTP error status whose body is still a reply.
    static bool isTransportFailure(int networkError, bool hasStatusCode);

private:
    void prepare(QNetworkRequest &request) const;
    void track(QNetworkReply *reply, QObject *context, Callback callback);

    QNetworkAccessManager *const m_manager;
    std::chrono::milliseconds m_transferTimeout = defaultTransferTimeout;
    qint64 m_maxReplyBytes = defaultMaxReplyBytes;
};
