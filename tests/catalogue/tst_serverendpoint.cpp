#include "catalogue/ServerEndpoint.h"

#include <QObject>
#include <QTest>

class TestServerEndpoint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parsesServerURL_data();
    void parsesServerURL();
    void formsEndpointURL_data();
    void formsEndpointURL();
};

void TestServerEndpoint::parsesServerURL_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("default") << QStringLiteral("http://localhost:11434") << true;
    QTest::newRow("https") << QStringLiteral("https://ollama.example.org") << true;
    QTest::newRow("IPv4 and port") << QStringLiteral("http://192.168.1.20:11434") << true;
    QTest::newRow("IPv6 literal") << QStringLiteral("http://[::1]:11434") << true;
    QTest::newRow("path prefix") << QStringLiteral("https://example.org/ollama") << true;
    QTest::newRow("trailing slash") << QStringLiteral("http://localhost:11434/") << true;

    QTest::newRow("empty") << QString() << false;
    QTest::newRow("bare host and port") << QStringLiteral("localhost:11434") << false;
    QTest::newRow("bare host") << QStringLiteral("localhost") << false;
    QTest::newRow("file") << QStringLiteral("file:///etc/passwd") << false;
    QTest::newRow("ftp") << QStringLiteral("ftp://x") << false;
    QTest::newRow("javascript") << QStringLiteral("javascript:alert(1)") << false;
    QTest::newRow("scheme only") << QStringLiteral("http://") << false;
    QTest::newRow("no host, path only") << QStringLiteral("http:///api") << false;
    QTest::newRow("space in host") << QStringLiteral("http://local host:11434") << false;
    QTest::newRow("space in path") << QStringLiteral("http://localhost:11434/a b") << false;
    QTest::newRow("leading space") << QStringLiteral(" http://localhost:11434") << false;
    QTest::newRow("trailing line feed") << QStringLiteral("http://localhost:11434\n") << false;
    QTest::newRow("port out of range") << QStringLiteral("http://localhost:99999") << false;
    QTest::newRow("port not a number") << QStringLiteral("http://localhost:port") << false;
    QTest::newRow("unclosed IPv6") << QStringLiteral("http://[::1:11434") << false;
}

void TestServerEndpoint::parsesServerURL()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    const auto url = ServerEndpoint::parseServerURL(text);
    QCOMPARE(url.has_value(), accepted);
    if (url)
        QVERIFY(url->isValid());
}

void TestServerEndpoint::formsEndpointURL_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("urlPath");

    QTest::newRow("default tags") << QStringLiteral("http://localhost:11434") << ServerEndpoint::tagsPath << true
                                  << QStringLiteral("localhost") << 11434 << QStringLiteral("/api/tags");
    QTest::newRow("trailing slash doubles") << QStringLiteral("http://localhost:11434/") << ServerEndpoint::tagsPath
                                            << true << QStringLiteral("localhost") << 11434
                                            << QStringLiteral("//api/tags");
    QTest::newRow("path prefix kept") << QStringLiteral("https://example.org/ollama") << ServerEndpoint::embedPath
                                      << true << QStringLiteral("example.org") << -1
                                      << QStringLiteral("/ollama/api/embed");
    QTest::newRow("IPv6") << QStringLiteral("http://[::1]:8080") << ServerEndpoint::generatePath << true
                          << QStringLiteral("::1") << 8080 << QStringLiteral("/api/generate");
    // Appended as text: a base without scheme stays refused after appending.
    QTest::newRow("bare host refused") << QStringLiteral("localhost:11434") << ServerEndpoint::showPath << false
                                       << QString() << 0 << QString();
    QTest::newRow("empty base refused") << QString() << ServerEndpoint::showPath << false << QString() << 0
                                        << QString();
}

void TestServerEndpoint::formsEndpointURL()
{
    QFETCH(QString, base);
    QFETCH(QString, path);
    QFETCH(bool, accepted);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, urlPath);

    const auto url = ServerEndpoint::endpointURL(base, path);
    QCOMPARE(url.has_value(), accepted);
    if (!url)
        return;
    QCOMPARE(url->host(), host);
    QCOMPARE(url->port(), port);
    QCOMPARE(url->path(), urlPath);
    QCOMPARE(url->toString(), base + path);
}

QTEST_GUILESS_MAIN(TestServerEndpoint)
#include "tst_serverendpoint.moc"
