#include <QObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <httplib.h>

#include <signal.h>

// The quillmere-standin program as a user runs it: its options, its start-up
// lines and how it stops.
class TestStandinProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void helpAndVersionExitCleanly_data();
    void helpAndVersionExitCleanly();
    void refusesBadOptions_data();
    void refusesBadOptions();
    void portZeroPrintsThePortAndServes_data();
    void portZeroPrintsThePortAndServes();
    void aTakenPortIsAnError();

private:
    // Starts the program on a free port and returns the port it printed,
    // or 0.
    static int startOnFreePort(QProcess &process, const QStringList &extra = {});
};

namespace {

const QString program = QStringLiteral(STANDIN_PROGRAM);

// Generous safety nets against a hung child; nothing is timed.
constexpr int startLimit = 30000;
constexpr int finishLimit = 30000;

} // namespace

int TestStandinProgram::startOnFreePort(QProcess &process, const QStringList &extra)
{
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, QStringList{QStringLiteral("--port"), QStringLiteral("0")} + extra);
    if (!process.waitForStarted(startLimit))
        return 0;
    static const QRegularExpression listening(QStringLiteral("Listening on http://127\\.0\\.0\\.1:(\\d+)"));
    QByteArray output;
    while (process.state() == QProcess::Running) {
        if (process.canReadLine() || process.waitForReadyRead(startLimit)) {
            output += process.readAll();
            const auto match = listening.match(QString::fromUtf8(output));
            if (match.hasMatch())
                return match.captured(1).toInt();
        } else {
            break;
        }
    }
    return 0;
}

void TestStandinProgram::helpAndVersionExitCleanly_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("expected");

    QTest::newRow("--help") << "--help" << "not a language model";
    QTest::newRow("-h") << "-h" << "--latency-ms";
    QTest::newRow("--version") << "--version" << "quillmere-standin " STANDIN_VERSION;
    QTest::newRow("-v") << "-v" << "quillmere-standin " STANDIN_VERSION;
}

void TestStandinProgram::helpAndVersionExitCleanly()
{
    QFETCH(QString, option);
    QFETCH(QString, expected);

    QProcess process;
    process.start(program, {option});
    QVERIFY(process.waitForFinished(finishLimit));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY2(QString::fromUtf8(process.readAllStandardOutput()).contains(expected), qPrintable(expected));
}

void TestStandinProgram::refusesBadOptions_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("unknown option") << QStringList{"--bogus"};
    QTest::newRow("port not a number") << QStringList{"--port", "abc"};
    QTest::newRow("port too large") << QStringList{"--port", "70000"};
    QTest::newRow("negative port") << QStringList{"--port=-1"};
    QTest::newRow("port without value") << QStringList{"--port"};
    QTest::newRow("latency not a number") << QStringList{"--latency-ms", "1s"};
    QTest::newRow("empty host") << QStringList{"--host="};
}

void TestStandinProgram::refusesBadOptions()
{
    QFETCH(QStringList, arguments);

    QProcess process;
    process.start(program, arguments);
    QVERIFY(process.waitForFinished(finishLimit));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(!process.readAllStandardError().isEmpty());
}

void TestStandinProgram::portZeroPrintsThePortAndServes_data()
{
    QTest::addColumn<int>("stopSignal");
    QTest::addColumn<QStringList>("extra");

    QTest::newRow("SIGTERM") << int(SIGTERM) << QStringList{};
    QTest::newRow("SIGINT") << int(SIGINT) << QStringList{};
    QTest::newRow("with latency") << int(SIGTERM) << QStringList{"--latency-ms=1"};
    QTest::newRow("explicit host") << int(SIGINT) << QStringList{"--host", "127.0.0.1"};
}

void TestStandinProgram::portZeroPrintsThePortAndServes()
{
    QFETCH(int, stopSignal);
    QFETCH(QStringList, extra);

    QProcess process;
    const int port = startOnFreePort(process, extra);
    QVERIFY2(port > 0, process.readAllStandardError().constData());

    httplib::Client client("127.0.0.1", port);
    const auto tags = client.Get("/api/tags");
    QVERIFY(tags);
    QCOMPARE(tags->status, 200);
    QVERIFY(tags->body.find("standin-sentiment:latest") != std::string::npos);
    client.stop();

    ::kill(static_cast<pid_t>(process.processId()), stopSignal);
    QVERIFY(process.waitForFinished(finishLimit));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(process.readAllStandardOutput().contains("stopped"));
}

void TestStandinProgram::aTakenPortIsAnError()
{
    QProcess first;
    const int port = startOnFreePort(first);
    QVERIFY(port > 0);

    QProcess second;
    second.start(program, {QStringLiteral("--port"), QString::number(port)});
    QVERIFY(second.waitForFinished(finishLimit));
    QCOMPARE(second.exitCode(), 1);
    QVERIFY(second.readAllStandardError().contains(QByteArray::number(port)));

    first.terminate();
    QVERIFY(first.waitForFinished(finishLimit));
    QCOMPARE(first.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestStandinProgram)
#include "tst_standinprogram.moc"
