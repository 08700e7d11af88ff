#include "StdoutCapture.h"
#include "TestSettings.h"
#include "catalogue/ModelRecords.h"
#include "catalogue/OllamaService.h"
#include "catalogue/ServerEndpoint.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <latch>
#include <thread>

// The catalogue's pure side and its settings: the records read from the
// server's JSON, endpoint URLs, the capability flags with their diagnostic
// lines, and the preferences store.
namespace {

// The three preference keys and their fields, by row number in the tables.
const QStringList keys{QStringLiteral("ollamaURL"), QStringLiteral("selectedEmbeddingModel"),
                       QStringLiteral("selectedLLMModel")};

std::optional<QString> optionalText(const QVariant &value)
{
    return value.isValid() ? std::optional<QString>(value.toString()) : std::nullopt;
}

QString shown(const std::optional<QString> &value)
{
    return value ? QLatin1Char('"') + *value + QLatin1Char('"') : QStringLiteral("absent");
}

std::optional<QString> field(const AppSettings &settings, int which)
{
    return which == 0 ? settings.ollamaURL() : which == 1 ? settings.selectedEmbeddingModel() : settings.selectedLLMModel();
}

void assign(AppSettings &settings, int which, const std::optional<QString> &value)
{
    if (which == 0)
        settings.setOllamaURL(value.value_or(QString()));
    else if (which == 1)
        settings.setSelectedEmbeddingModel(value);
    else
        settings.setSelectedLLMModel(value);
}

std::optional<QString> stored(const QSettings &store, int which)
{
    return store.contains(keys[which]) ? std::optional<QString>(store.value(keys[which]).toString()) : std::nullopt;
}

// A reading failure must be a sentence a person can read.
bool readable(const ClientError &error)
{
    if (error.domain != QLatin1String("JSON") || error.description.isEmpty()
        || error.description.contains(QLatin1String("[json.exception")))
        return false;
    return std::none_of(error.description.begin(), error.description.end(), [](QChar c) { return c < u' '; });
}

// Diagnostic lines as they reach standard output (U+26A0 U+FE0F and U+2139 U+FE0F).
const QByteArray noArray = "\xE2\x9A\xA0\xEF\xB8\x8F No capabilities array found in response\n";
const QByteArray noSpecial = "\xE2\x84\xB9\xEF\xB8\x8F No special capabilities detected\n";
const QByteArray bothWarning = "\xE2\x9A\xA0\xEF\xB8\x8F Model supports both vision and tools - disabling tools "
                               "support\n   (Models with both capabilities have known issues with tool calling)\n";

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

public:
    explicit TestCatalogue(const QString &configHome)
        : m_configHome(configHome)
    {
    }

private Q_SLOTS:
    void readsModelList_data();
    void readsModelList();
    void readsShowReply_data();
    void readsShowReply();
    void writesShowRequest();
    void formsEndpointURL_data();
    void formsEndpointURL();
    void parsesCapabilities_data();
    void parsesCapabilities();
    void settingsReadTheStore_data();
    void settingsReadTheStore();
    void settingsNotifyThenWriteThrough_data();
    void settingsNotifyThenWriteThrough();
    void configuredCountsEmptyNames();
    void sharedSettingsAreOneMainThreadInstance();

private:
    const QString m_configHome;
};

void TestCatalogue::readsModelList_data()
{
    QTest::addColumn<QByteArray>("body");
    // Each entry as "name modified_at size {family,format,parameter_size}";
    // "fails" when the whole reply must be refused.
    QTest::addColumn<QString>("read");

    auto entry = [](const char *members) { return "{\"models\":[{\"name\":\"a\"" + QByteArray(members) + "}]}"; };
    QTest::newRow("empty list") << QByteArray(R"({"models":[]})") << "";
    QTest::newRow("a real server's entry")
        << QByteArray(R"({"models":[{"name":"llama3.2:latest","model":"llama3.2:latest",
            "modified_at":"2025-05-04T17:37:44.706015396-07:00","size":2019393189,"digest":"a80c4f17",
            "details":{"parent_model":"","format":"gguf","family":"llama","families":null,"parameter_size":"3.2B",
            "quantization_level":"Q4_K_M","context_length":4096}}]})")
        << R"("llama3.2:latest" "2025-05-04T17:37:44.706015396-07:00" 2019393189 {"llama","gguf","3.2B"})";
    QTest::newRow("server order; unknown members and capabilities ignored")
        << QByteArray(R"({"models":[{"name":"b","capabilities":["vision"]},{"name":""}],"next":null})")
        << R"("b" absent absent absent; "" absent absent absent)";
    QTest::newRow("null is absent, empty text is a text")
        << entry(R"(,"modified_at":null,"size":null,"details":{"format":"","family":null})")
        << R"("a" absent absent {absent,"",absent})";
    QTest::newRow("size beyond 32 bits") << entry(R"(,"size":132912472044)") << R"("a" absent 132912472044 absent)";
    QTest::newRow("size -2^63") << entry(R"(,"size":-9223372036854775808)")
                                << R"("a" absent -9223372036854775808 absent)";
    QTest::newRow("size 2^63-1") << entry(R"(,"size":9223372036854775807)")
                                 << R"("a" absent 9223372036854775807 absent)";
    // nlohmann tells 1 from 1.0: a size must be written as a whole number.
    for (const char *size : {"1.0", "1e3", "2.5", "\"12\"", "true", "9223372036854775808", "-9223372036854775809"})
        QTest::addRow("size %s", size) << entry(",\"size\":" + QByteArray(size)) << "fails";
    QTest::newRow("models missing") << QByteArray("{}") << "fails";
    QTest::newRow("models null") << QByteArray(R"({"models":null})") << "fails";
    QTest::newRow("models an object") << QByteArray(R"({"models":{}})") << "fails";
    QTest::newRow("top level an array") << QByteArray(R"([{"name":"a"}])") << "fails";
    QTest::newRow("one entry without name") << QByteArray(R"({"models":[{"name":"a"},{"size":1},{"name":"c"}]})")
                                            << "fails";
    QTest::newRow("name null") << QByteArray(R"({"models":[{"name":null}]})") << "fails";
    QTest::newRow("entry null") << QByteArray(R"({"models":[{"name":"a"},null]})") << "fails";
    QTest::newRow("modified_at a number") << entry(R"(,"modified_at":1714000000)") << "fails";
    QTest::newRow("details a string") << entry(R"(,"details":"gguf")") << "fails";
    QTest::newRow("details.parameter_size a number") << entry(R"(,"details":{"parameter_size":3.2})") << "fails";
    QTest::newRow("not JSON") << QByteArray("404 page not found") << "fails";
    QTest::newRow("empty body") << QByteArray() << "fails";
    QTest::newRow("trailing text") << QByteArray(R"({"models":[]} x)") << "fails";
    QTest::newRow("invalid UTF-8") << QByteArray("{\"models\":[{\"name\":\"\xff\"}]}") << "fails";
}

void TestCatalogue::readsModelList()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, read);

    const auto result = ModelRecords::readModelsResponse(body);
    if (read == QLatin1String("fails")) {
        QVERIFY(!result.ok());
        QVERIFY2(readable(result.error()), qPrintable(result.error().description));
        return;
    }
    QVERIFY2(result.ok(), result.ok() ? "" : qPrintable(result.error().description));
    QStringList entries;
    for (const OllamaModel &m : result.value().models) {
        const QString details = m.details ? QStringLiteral("{%1,%2,%3}").arg(shown(m.details->family),
                                                                             shown(m.details->format),
                                                                             shown(m.details->parameterSize))
                                          : QStringLiteral("absent");
        entries.append(QStringLiteral("%1 %2 %3 %4").arg(shown(m.name), shown(m.modifiedAt),
                                                         m.size ? QString::number(*m.size) : QStringLiteral("absent"),
                                                         details));
        QCOMPARE(m.capabilities, ModelCapabilities{});
    }
    QCOMPARE(entries.join(QLatin1String("; ")), read);
}

void TestCatalogue::readsShowReply_data()
{
    QTest::addColumn<QByteArray>("body");
    // The capability list (or "absent"), then which other members were read;
    // "fails" when the whole reply must be refused.
    QTest::addColumn<QString>("read");

    QTest::newRow("empty object") << QByteArray("{}") << "absent";
    QTest::newRow("empty list is not absent") << QByteArray(R"({"capabilities":[]})") << "[]";
    QTest::newRow("order kept") << QByteArray(R"({"capabilities":["completion","vision","tools"]})")
                                << "[completion,vision,tools]";
    QTest::newRow("capabilities null") << QByteArray(R"({"capabilities":null})") << "absent";
    QTest::newRow("error reply") << QByteArray(R"({"error":"model 'x:latest' not found"})") << "absent";
    QTest::newRow("model_info object") << QByteArray(R"({"model_info":{"llama.context_length":131072,"t":null}})")
                                       << "absent info";
    QTest::newRow("model_info string") << QByteArray(R"({"model_info":"x"})") << "absent info";
    QTest::newRow("model_info number") << QByteArray(R"({"model_info":3.5})") << "absent info";
    QTest::newRow("model_info null") << QByteArray(R"({"model_info":null})") << "absent";
    QTest::newRow("details with families")
        << QByteArray(R"({"details":{"format":"gguf","families":["llama","clip"],"quantization_level":"Q4"}})")
        << "absent details";
    QTest::newRow("members not read are ignored")
        << QByteArray(R"({"license":"L","system":"S","tensors":[{"name":"t","shape":[1,2]}],"modified_at":"x"})")
        << "absent";
    QTest::newRow("capabilities a string") << QByteArray(R"({"capabilities":"vision"})") << "fails";
    QTest::newRow("capabilities holding a number") << QByteArray(R"({"capabilities":["vision",1]})") << "fails";
    QTest::newRow("families a string, though unused")
        << QByteArray(R"({"details":{"families":"llama"},"capabilities":[]})") << "fails";
    QTest::newRow("details.format a number") << QByteArray(R"({"details":{"format":1}})") << "fails";
    QTest::newRow("modelfile a number") << QByteArray(R"({"modelfile":1})") << "fails";
    QTest::newRow("parameters a bool") << QByteArray(R"({"parameters":true})") << "fails";
    QTest::newRow("template an object") << QByteArray(R"({"template":{}})") << "fails";
    QTest::newRow("top level an array") << QByteArray("[]") << "fails";
    QTest::newRow("top level null") << QByteArray("null") << "fails";
    QTest::newRow("not JSON") << QByteArray("<html>Bad Gateway</html>") << "fails";
}

void TestCatalogue::readsShowReply()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, read);

    const auto result = ModelRecords::readShowResponse(body);
    if (read == QLatin1String("fails")) {
        QVERIFY(!result.ok());
        QVERIFY2(readable(result.error()), qPrintable(result.error().description));
        return;
    }
    QVERIFY2(result.ok(), result.ok() ? "" : qPrintable(result.error().description));
    const OllamaShowResponse &show = result.value();
    QString text = show.capabilities ? QLatin1Char('[') + show.capabilities->join(QLatin1Char(',')) + QLatin1Char(']')
                                     : QStringLiteral("absent");
    if (show.modelInfo)
        text += QLatin1String(" info");
    if (show.details)
        text += QLatin1String(" details");
    QCOMPARE(text, read);
}

void TestCatalogue::writesShowRequest()
{
    const QList<std::pair<QString, QByteArray>> rows{
        {QStringLiteral("llama3.2:latest"), R"({"name":"llama3.2:latest"})"},
        {QStringLiteral("a\"b\\c\nd"), R"({"name":"a\"b\\c\nd"})"},
        {QStringLiteral("caf\u00E9"), "{\"name\":\"caf\xC3\xA9\"}"},
        {QString(), R"({"name":""})"},
    };
    for (const auto &[name, body] : rows)
        QCOMPARE(ModelRecords::writeShowRequest(OllamaShowRequest{name}), body);
}

void TestCatalogue::formsEndpointURL_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("path");
    // The URL's path, or empty when the text is refused and nothing may be sent.
    QTest::addColumn<QString>("urlPath");

    QTest::newRow("default") << "http://localhost:11434" << "/api/tags" << "/api/tags";
    QTest::newRow("trailing slash doubles") << "http://localhost:11434/" << "/api/show" << "//api/show";
    QTest::newRow("path prefix kept") << "https://example.org/ollama" << "/api/embed" << "/ollama/api/embed";
    QTest::newRow("IPv6") << "http://[::1]:8080" << "/api/generate" << "/api/generate";
    for (const char *refused : {"", "localhost:11434", "file:///etc/passwd", "ftp://x", "javascript:alert(1)",
                                "http://", "http:///x", "http://local host:11434", " http://localhost:11434",
                                "http://localhost:99999", "http://[::1:11434"})
        QTest::addRow("refused '%s'", refused) << refused << "/api/tags" << "";
}

void TestCatalogue::formsEndpointURL()
{
    QFETCH(QString, base);
    QFETCH(QString, path);
    QFETCH(QString, urlPath);

    const auto url = ServerEndpoint::endpointURL(base, path);
    QCOMPARE(url.has_value(), !urlPath.isEmpty());
    if (url) {
        QCOMPARE(url->path(), urlPath);
        QCOMPARE(url->toString(), base + path);
    }
}

void TestCatalogue::parsesCapabilities_data()
{
    QTest::addColumn<QVariant>("list"); // invalid: no "capabilities" member
    QTest::addColumn<QString>("flags");
    QTest::addColumn<QByteArray>("output");

    auto list = [](std::initializer_list<const char *> names) {
        QStringList out;
        for (const char *name : names)
            out.append(QString::fromUtf8(name));
        return QVariant(out);
    };
    const QByteArray api = "Capabilities from API: ";
    QTest::newRow("absent") << QVariant() << "" << noArray;
    QTest::newRow("empty") << list({}) << "" << api + "[]\n" + noSpecial;
    QTest::newRow("completion only") << list({"completion"}) << "" << api + "[\"completion\"]\n" + noSpecial;
    QTest::newRow("embedding only") << list({"embedding"}) << "embedding" << api + "[\"embedding\"]\n";
    QTest::newRow("tools and thinking") << list({"thinking", "completion", "tools"}) << "tools thinking"
                                        << api + "[\"thinking\", \"completion\", \"tools\"]\n";
    QTest::newRow("vision, tools and another") << list({"vision", "tools", "x"}) << "vision"
                                               << api + "[\"vision\", \"tools\", \"x\"]\n" + bothWarning;
    QTest::newRow("all four, duplicated") << list({"embedding", "tools", "thinking", "vision", "tools", "vision"})
                                          << "vision thinking embedding"
                                          << api + R"(["embedding", "tools", "thinking", "vision", "tools", "vision"])"
                                                   "\n" + bothWarning;
    QTest::newRow("exact, case-sensitive, whole elements") << list({"Vision", "TOOLS", "think", "vision "}) << ""
                                                           << api + R"(["Vision", "TOOLS", "think", "vision "])"
                                                                    "\n" + noSpecial;
    QTest::newRow("quotes and backslashes escaped") << list({"a\"b", "c\\d", "caf\xC3\xA9"}) << ""
                                                    << api + R"(["a\"b", "c\\d", "caf)" "\xC3\xA9" "\"]\n" + noSpecial;
    // A server cannot add lines or terminal sequences to standard output.
    QTest::newRow("control characters escaped")
        << list({"\x1B[2Jred\rFAKE\n\xE2\x9A\xA0\xEF\xB8\x8F x", "a\xC2\x85\xE2\x80\xA8\x7F" "b"}) << ""
        << api + R"(["\e[2Jred\rFAKE\n)" "\xE2\x9A\xA0\xEF\xB8\x8F" R"( x", "a\u0085\u2028\u007fb"])" "\n" + noSpecial;
}

void TestCatalogue::parsesCapabilities()
{
    QFETCH(QVariant, list);
    QFETCH(QString, flags);
    QFETCH(QByteArray, output);

    OllamaShowResponse response;
    if (list.isValid())
        response.capabilities = list.toStringList();
    StdoutCapture capture;
    const ModelCapabilities c = OllamaService::parseCapabilities(response);
    QCOMPARE(capture.text(), output);
    QStringList set;
    for (auto [on, name] : {std::pair{c.supportsTools, "tools"}, {c.supportsVision, "vision"},
                            {c.supportsThinking, "thinking"}, {c.supportsEmbedding, "embedding"}}) {
        if (on)
            set.append(QLatin1String(name));
    }
    QCOMPARE(set.join(QLatin1Char(' ')), flags);
}

void TestCatalogue::settingsReadTheStore_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QVariant>("value"); // invalid: nothing stored
    QTest::addColumn<bool>("restart");   // read back from the file rather than from memory
    QTest::addColumn<QVariant>("expected");

    struct Row
    {
        const char *name;
        int which;
        QVariant value;
        QVariant expected;
    };
    const QString empty = QLatin1String("");
    const QList<Row> rows{
        {"nothing stored: the default URL", 0, {}, QStringLiteral("http://localhost:11434")},
        {"nothing stored: no model", 2, {}, {}},
        {"empty URL kept", 0, empty, empty},
        {"malformed URL kept", 0, QStringLiteral("not a url"), QStringLiteral("not a url")},
        {"URL stored as a number", 0, 11434, QStringLiteral("11434")},
        {"URL stored as a list", 0, QStringList{QStringLiteral("a")}, QStringLiteral("http://localhost:11434")},
        {"empty model name is a name", 2, empty, empty},
        {"model as a 64-bit number", 1, qlonglong(9007199254740993LL), QStringLiteral("9007199254740993")},
        {"model as a fraction", 1, 1.5, QStringLiteral("1.5")},
        {"model as bytes", 2, QByteArray("\x01\x02"), {}},
        {"model as a map", 2, QVariantMap{{QStringLiteral("a"), 1}}, {}},
    };
    for (const Row &row : rows) {
        QTest::addRow("%s", row.name) << row.which << row.value << false << row.expected;
        QTest::addRow("%s, after a restart", row.name) << row.which << row.value << true << row.expected;
    }
}

void TestCatalogue::settingsReadTheStore()
{
    QFETCH(int, which);
    QFETCH(QVariant, value);
    QFETCH(bool, restart);
    QFETCH(QVariant, expected);

    TestSettings prefs;
    if (value.isValid())
        prefs.store().setValue(keys[which], value);
    prefs.store().sync();
    QSettings reread(prefs.path(), QSettings::IniFormat);
    AppSettings settings(restart ? &reread : &prefs.store());
    QCOMPARE(shown(field(settings, which)), shown(optionalText(expected)));
    if (!value.isValid()) {
        // Building the settings writes nothing, not even the default URL.
        QCOMPARE(prefs.store().allKeys(), QStringList());
        QVERIFY(!settings.isConfigured());
    }
}

void TestCatalogue::settingsNotifyThenWriteThrough_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QVariant>("before"); // invalid: absent (or never assigned, for the URL)
    QTest::addColumn<QVariant>("after");
    // Stored behind the settings' back first: a repeated assignment must
    // still notify and write.
    QTest::addColumn<QVariant>("tampered");
    // Field and stored value when the will-change notification arrives, and
    // both after the assignment.
    QTest::addColumn<QString>("atWillChange");
    QTest::addColumn<QString>("now");

    const QVariant none;
    QTest::newRow("URL") << 0 << QVariant(QStringLiteral("http://a:1")) << QVariant(QStringLiteral("http://b:2"))
                         << none << R"(field="http://a:1" stored="http://a:1")" << R"("http://b:2")";
    QTest::newRow("empty URL is stored") << 0 << QVariant(QStringLiteral("http://a:1")) << QVariant(QLatin1String(""))
                                         << none << R"(field="http://a:1" stored="http://a:1")" << R"("")";
    QTest::newRow("first URL, malformed") << 0 << none << QVariant(QStringLiteral("localhost 11434")) << none
                                          << R"(field="http://localhost:11434" stored=absent)"
                                          << R"("localhost 11434")";
    QTest::newRow("embedding chosen") << 1 << none << QVariant(QStringLiteral("nomic-embed-text:latest")) << none
                                      << "field=absent stored=absent" << R"("nomic-embed-text:latest")";
    QTest::newRow("embedding cleared removes the key") << 1 << QVariant(QStringLiteral("n")) << none << none
                                                       << R"(field="n" stored="n")" << "absent";
    QTest::newRow("name with ini syntax") << 2 << none << QVariant(QStringLiteral("a=b; [c], \"d\" \\e")) << none
                                          << "field=absent stored=absent" << R"("a=b; [c], "d" \e")";
    QTest::newRow("same URL again") << 0 << QVariant(QStringLiteral("http://a:1"))
                                    << QVariant(QStringLiteral("http://a:1")) << QVariant(QStringLiteral("stray"))
                                    << R"(field="http://a:1" stored="stray")" << R"("http://a:1")";
    QTest::newRow("absent again") << 2 << none << none << QVariant(QStringLiteral("stray"))
                                  << R"(field=absent stored="stray")" << "absent";
}

void TestCatalogue::settingsNotifyThenWriteThrough()
{
    QFETCH(int, which);
    QFETCH(QVariant, before);
    QFETCH(QVariant, after);
    QFETCH(QVariant, tampered);
    QFETCH(QString, atWillChange);
    QFETCH(QString, now);

    TestSettings prefs;
    AppSettings &settings = prefs.settings();
    if (before.isValid() || which != 0)
        assign(settings, which, optionalText(before));
    if (tampered.isValid())
        prefs.store().setValue(keys[which], tampered);

    QStringList events;
    auto record = [&](const QString &signal) {
        events.append(signal + QStringLiteral(" field=%1 stored=%2")
                                   .arg(shown(field(settings, which)), shown(stored(prefs.store(), which))));
    };
    connect(&settings, &AppSettings::willChange, this, [&] { record(QStringLiteral("willChange")); });
    connect(&settings, &AppSettings::ollamaURLChanged, this, [&] { record(QStringLiteral("ollamaURLChanged")); });
    connect(&settings, &AppSettings::selectedEmbeddingModelChanged, this,
            [&] { record(QStringLiteral("selectedEmbeddingModelChanged")); });
    connect(&settings, &AppSettings::selectedLLMModelChanged, this,
            [&] { record(QStringLiteral("selectedLLMModelChanged")); });

    assign(settings, which, optionalText(after));

    const QStringList changed{QStringLiteral("ollamaURLChanged"), QStringLiteral("selectedEmbeddingModelChanged"),
                              QStringLiteral("selectedLLMModelChanged")};
    QCOMPARE(events, QStringList({QStringLiteral("willChange ") + atWillChange,
                                  changed[which] + QStringLiteral(" field=%1 stored=%1").arg(now)}));

    // Only the three keys ever appear, and a restart reads the value back.
    for (const QString &key : prefs.store().allKeys())
        QVERIFY2(keys.contains(key), qPrintable(key));
    prefs.store().sync();
    QSettings reread(prefs.path(), QSettings::IniFormat);
    QCOMPARE(shown(field(AppSettings(&reread), which)), now);
}

void TestCatalogue::configuredCountsEmptyNames()
{
    TestSettings prefs;
    AppSettings &settings = prefs.settings();
    settings.setSelectedLLMModel(QLatin1String(""));
    QVERIFY(!settings.isConfigured());
    settings.setSelectedEmbeddingModel(QLatin1String(""));
    QVERIFY(settings.isConfigured());
    QVERIFY(prefs.reopen()->isConfigured());
    settings.setSelectedLLMModel(std::nullopt);
    QVERIFY(!settings.isConfigured());
}

void TestCatalogue::sharedSettingsAreOneMainThreadInstance()
{
    // The process-wide store lives in this test's own configuration folder.
    QSettings probe(QStringLiteral("Quillmere"), QStringLiteral("Quillmere"));
    const QString file = probe.fileName();
    QVERIFY2(file.startsWith(m_configHome + QLatin1Char('/')), qPrintable(file));

    // First use from several threads at once.
    constexpr int threadCount = 8;
    std::latch ready(threadCount);
    std::vector<AppSettings *> seen(threadCount, nullptr);
    std::vector<std::thread> threads;
    for (int i = 0; i < threadCount; ++i)
        threads.emplace_back([&ready, &seen, i] {
            ready.arrive_and_wait();
            seen[i] = &AppSettings::shared();
        });
    for (std::thread &thread : threads)
        thread.join();
    for (AppSettings *instance : seen)
        QCOMPARE(instance, &AppSettings::shared());

    // Though a finished worker thread made it, it belongs to the main thread,
    // so an assignment reaches the file while the program runs.
    AppSettings &shared = AppSettings::shared();
    QCOMPARE(shared.thread(), QCoreApplication::instance()->thread());
    shared.setSelectedLLMModel(QStringLiteral("written-while-running"));
    QTRY_VERIFY([&file] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) && f.readAll().contains("written-while-running");
    }());
}

int main(int argc, char **argv)
{
    // The per-user configuration points at a folder of our own before
    // anything opens a QSettings, so the user's preferences are never touched.
    QTemporaryDir configHome;
    if (!configHome.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    QCoreApplication app(argc, argv);
    TestCatalogue test(configHome.path());
    return QTest::qExec(&test, argc, argv);
}

#include "tst_catalogue.moc"
