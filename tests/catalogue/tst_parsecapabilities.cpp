#include "StdoutCapture.h"
#include "catalogue/OllamaService.h"

#include <QObject>
#include <QTest>

namespace {

const QByteArray fromAPI = QByteArrayLiteral("Capabilities from API: ");
const QByteArray noArray = QByteArrayLiteral("\xE2\x9A\xA0\xEF\xB8\x8F No capabilities array found in response\n");
const QByteArray noSpecial = QByteArrayLiteral("\xE2\x84\xB9\xEF\xB8\x8F No special capabilities detected\n");
const QByteArray bothWarning = QByteArrayLiteral(
    "\xE2\x9A\xA0\xEF\xB8\x8F Model supports both vision and tools - disabling tools support\n"
    "   (Models with both capabilities have known issues with tool calling)\n");

QByteArray listLine(const QByteArray &rendered)
{
    return fromAPI + rendered + '\n';
}

struct Flags
{
    bool tools = false;
    bool vision = false;
    bool thinking = false;
    bool embedding = false;
};

ModelCapabilities capabilities(Flags f)
{
    ModelCapabilities c;
    c.supportsTools = f.tools;
    c.supportsVision = f.vision;
    c.supportsThinking = f.thinking;
    c.supportsEmbedding = f.embedding;
    return c;
}

} // namespace

Q_DECLARE_METATYPE(ModelCapabilities)

class TestParseCapabilities : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mapsListAndWritesLines_data();
    void mapsListAndWritesLines();
    void controlCharactersNeverReachOutput_data();
    void controlCharactersNeverReachOutput();
};

void TestParseCapabilities::mapsListAndWritesLines_data()
{
    QTest::addColumn<bool>("hasList");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<ModelCapabilities>("expected");
    QTest::addColumn<QByteArray>("output");

    QTest::newRow("absent") << false << QStringList() << ModelCapabilities{} << noArray;
    QTest::newRow("empty") << true << QStringList() << ModelCapabilities{} << listLine("[]") + noSpecial;
    QTest::newRow("completion only") << true << QStringList{QStringLiteral("completion")} << ModelCapabilities{}
                                     << listLine(R"(["completion"])") + noSpecial;
    QTest::newRow("embedding only") << true << QStringList{QStringLiteral("embedding")}
                                    << capabilities({.embedding = true}) << listLine(R"(["embedding"])");
    QTest::newRow("tools") << true << QStringList{QStringLiteral("completion"), QStringLiteral("tools")}
                           << capabilities({.tools = true}) << listLine(R"(["completion", "tools"])");
    QTest::newRow("thinking and tools")
        << true << QStringList{QStringLiteral("thinking"), QStringLiteral("completion"), QStringLiteral("tools")}
        << capabilities({.tools = true, .thinking = true}) << listLine(R"(["thinking", "completion", "tools"])");
    QTest::newRow("vision alone") << true << QStringList{QStringLiteral("vision")} << capabilities({.vision = true})
                                  << listLine(R"(["vision"])");
    QTest::newRow("vision, tools and another")
        << true << QStringList{QStringLiteral("vision"), QStringLiteral("tools"), QStringLiteral("x")}
        << capabilities({.vision = true}) << listLine(R"(["vision", "tools", "x"])") + bothWarning;
    QTest::newRow("tools before vision")
        << true << QStringList{QStringLiteral("tools"), QStringLiteral("completion"), QStringLiteral("vision")}
        << capabilities({.vision = true}) << listLine(R"(["tools", "completion", "vision"])") + bothWarning;
    QTest::newRow("all four")
        << true
        << QStringList{QStringLiteral("embedding"), QStringLiteral("thinking"), QStringLiteral("tools"),
                       QStringLiteral("vision")}
        << capabilities({.vision = true, .thinking = true, .embedding = true})
        << listLine(R"(["embedding", "thinking", "tools", "vision"])") + bothWarning;
    QTest::newRow("capitalised names are not recognised")
        << true << QStringList{QStringLiteral("Vision"), QStringLiteral("TOOLS"), QStringLiteral("Embedding")}
        << ModelCapabilities{} << listLine(R"(["Vision", "TOOLS", "Embedding"])") + noSpecial;
    QTest::newRow("names must match whole elements")
        << true << QStringList{QStringLiteral("vision "), QStringLiteral("tools-v2"), QStringLiteral("think")}
        << ModelCapabilities{} << listLine(R"(["vision ", "tools-v2", "think"])") + noSpecial;
    QTest::newRow("duplicates change nothing")
        << true << QStringList{QStringLiteral("tools"), QStringLiteral("tools"), QStringLiteral("thinking"),
                               QStringLiteral("thinking")}
        << capabilities({.tools = true, .thinking = true})
        << listLine(R"(["tools", "tools", "thinking", "thinking"])");
    QTest::newRow("duplicated vision and tools warn once")
        << true
        << QStringList{QStringLiteral("vision"), QStringLiteral("tools"), QStringLiteral("vision"),
                       QStringLiteral("tools")}
        << capabilities({.vision = true}) << listLine(R"(["vision", "tools", "vision", "tools"])") + bothWarning;
    QTest::newRow("quotes and backslashes escaped")
        << true << QStringList{QStringLiteral("a\"b"), QStringLiteral("c\\d")} << ModelCapabilities{}
        << listLine(R"(["a\"b", "c\\d"])") + noSpecial;
    QTest::newRow("empty name") << true << QStringList{QString()} << ModelCapabilities{}
                                << listLine(R"([""])") + noSpecial;
    QTest::newRow("non-ASCII letters unchanged")
        << true << QStringList{QStringLiteral("visi\u00F3n"), QStringLiteral("\u601D\u8003")} << ModelCapabilities{}
        << listLine("[\"visi\xC3\xB3n\", \"\xE6\x80\x9D\xE8\x80\x83\"]") + noSpecial;
    QTest::newRow("line feed escaped") << true << QStringList{QStringLiteral("a\nb")} << ModelCapabilities{}
                                       << listLine(R"(["a\nb"])") + noSpecial;
}

void TestParseCapabilities::mapsListAndWritesLines()
{
    QFETCH(bool, hasList);
    QFETCH(QStringList, list);
    QFETCH(ModelCapabilities, expected);
    QFETCH(QByteArray, output);

    OllamaShowResponse response;
    if (hasList)
        response.capabilities = list;

    ModelCapabilities parsed;
    QByteArray written;
    {
        StdoutCapture capture;
        parsed = OllamaService::parseCapabilities(response);
        written = capture.text();
    }
    QCOMPARE(written, output);
    QCOMPARE(parsed.supportsTools, expected.supportsTools);
    QCOMPARE(parsed.supportsVision, expected.supportsVision);
    QCOMPARE(parsed.supportsThinking, expected.supportsThinking);
    QCOMPARE(parsed.supportsEmbedding, expected.supportsEmbedding);
}

void TestParseCapabilities::controlCharactersNeverReachOutput_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("escape sequence") << QStringLiteral("\x1B[2J\x1B]0;title\x07red");
    QTest::newRow("carriage return") << QStringLiteral("ok\rFAKE LINE");
    QTest::newRow("line feed") << QStringLiteral("x\n\u26A0\uFE0F forged");
    QTest::newRow("NUL and DEL") << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b\x7F"));
    QTest::newRow("C1 control") << QStringLiteral("a\u009Bb\u0085c");
    QTest::newRow("line separator") << QStringLiteral("a\u2028b\u2029c");
}

void TestParseCapabilities::controlCharactersNeverReachOutput()
{
    QFETCH(QString, name);

    OllamaShowResponse response;
    response.capabilities = QStringList{name, QStringLiteral("vision")};
    QByteArray written;
    {
        StdoutCapture capture;
        OllamaService::parseCapabilities(response);
        written = capture.text();
    }

    // Exactly one line for the list, every special character written as a
    // backslash escape.
    QVERIFY2(written.startsWith(fromAPI + "[\""), written.constData());
    QVERIFY2(written.endsWith("\", \"vision\"]\n"), written.constData());
    QCOMPARE(written.count('\n'), 1);
    const QString text = QString::fromUtf8(written.chopped(1));
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        QVERIFY2(u >= 0x20 && u != 0x7F && !(u >= 0x80 && u <= 0x9F) && u != 0x2028 && u != 0x2029,
                 qPrintable(QStringLiteral("raw U+%1 written").arg(u, 4, 16, QLatin1Char('0'))));
    }
    QVERIFY(text.contains(QLatin1Char('\\')));
}

QTEST_GUILESS_MAIN(TestParseCapabilities)
#include "tst_parsecapabilities.moc"
