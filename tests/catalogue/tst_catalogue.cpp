#include "FakeOllamaServer.h"
#include "ReplyGate.h"
#include "StdoutCapture.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "catalogue/ServerEndpoint.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <nlohmann/json.hpp>

#include <atomic>
#include <cstdio>
#include <latch>
#include <map>
#include <set>

// The settings store, the records read from the server's JSON, the capability
// lines, the HTTP client, and the catalogue service against the fake server.
namespace {

using namespace std::chrono_literals;
using Reply = FakeOllamaServer::Reply;
using Request = FakeOllamaServer::Request;

constexpr int waitLimit = 30000; // a safety net against a hung test; nothing is timed

const QStringList keys{QStringLiteral("ollamaURL"), QStringLiteral("selectedEmbeddingModel"),
                       QStringLiteral("selectedLLMModel")};

std::optional<QString> text(const QVariant &value)
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

// The one outcome of a request, and whether it came on the main thread.
struct Outcome
{
    std::optional<Result<QByteArray>> result;
    bool onMainThread = false;

    HttpClient::Callback callback()
    {
        return [this](const Result<QByteArray> &r) {
            result = r;
            onMainThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        };
    }
    bool wait() { return QTest::qWaitFor([this] { return result.has_value(); }, waitLimit); }
    QString error() const { return result && !result->ok() ? result->error().description : QString(); }
};

FakeOllamaServer::Model model(const char *name, std::optional<std::vector<std::string>> capabilities = {})
{
    FakeOllamaServer::Model m;
    m.name = name;
    m.capabilities = std::move(capabilities);
    return m;
}

std::string requestedName(const Request &request)
{
    const auto body = nlohmann::json::parse(request.body, nullptr, false);
    return body.is_object() ? body.value("name", std::string()) : std::string();
}

// A service over its own settings and the process's shared HTTP client, as
// the screens have it, recording every signal with the state it announces.
struct Rig
{
    FakeOllamaServer server;
    TestSettings prefs;
    std::unique_ptr<OllamaService> service;
    QStringList events;

    Rig()
    {
        prefs.settings().setOllamaURL(server.baseURL());
        service = std::make_unique<OllamaService>(prefs.settings());
        OllamaService *s = service.get();
        auto record = [this](const QString &event) { events.append(event); };
        QObject::connect(s, &OllamaService::willChange, s, [=] { record(QStringLiteral("willChange")); });
        QObject::connect(s, &OllamaService::availableModelsChanged, s,
                         [=, this] { record(QStringLiteral("models=") + names().join(QLatin1Char(','))); });
        QObject::connect(s, &OllamaService::isLoadingModelsChanged, s,
                         [=] { record(QStringLiteral("loading=%1").arg(s->isLoadingModels() ? 1 : 0)); });
        QObject::connect(s, &OllamaService::modelErrorChanged, s,
                         [=] { record(QStringLiteral("error=") + s->modelError().value_or(QStringLiteral("absent"))); });
    }
    // Runs one fetch to its end; gives its diagnostic lines.
    QByteArray fetch()
    {
        StdoutCapture capture;
        events.clear();
        service->fetchModels();
        static_cast<void>(QTest::qWaitFor([this] { return !service->isLoadingModels(); }, waitLimit));
        return capture.text();
    }
    QStringList names() const
    {
        QStringList out;
        for (const OllamaModel &m : service->availableModels())
            out.append(m.name);
        return out;
    }
};

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
    explicit TestCatalogue(const QString &configHome) : m_configHome(configHome) {}

private Q_SLOTS:
    void settingsReadTheStore();
    void settingsNotifyThenWriteThrough();
    void sharedSettingsAreOneMainThreadInstance();
    void systemFileSuppliesDefaultsAndLocks_data();
    void systemFileSuppliesDefaultsAndLocks();
    void readsReplies_data();
    void readsReplies();
    void formsURLsAndShowRequests();
    void parsesCapabilities_data();
    void parsesCapabilities();
    void exchanges_data();
    void exchanges();
    void followsRedirects_data();
    void followsRedirects();
    void queuedRequestOfGoneReceiverIsNeverSent();
    void publishesFetchedList();
    void failedFetchKeepsList();
    void publishesInCompletionOrder();
    void overlappingFetchesEachPublish();
    void destroyedServiceIgnoresLateReplies();

private:
    const QString m_configHome;
};

void TestCatalogue::settingsReadTheStore()
{
    // Each as read in memory, and from the file after a restart.
    const QList<std::tuple<int, QVariant, const char *>> rows{
        {0, {}, "\"http://localhost:11434\""},
        {2, {}, "absent"},
        {0, QLatin1String(""), "\"\""},
        {1, qlonglong(9007199254740993LL), "\"9007199254740993\""},
        {1, 1.5, "\"1.5\""},
        {2, QByteArray("\x01\x02"), "absent"},
    };
    for (const auto &[which, value, read] : rows) {
        TestSettings prefs;
        if (value.isValid())
            prefs.store().setValue(keys[which], value);
        prefs.store().sync();
        QSettings reread(prefs.path(), QSettings::IniFormat);
        QCOMPARE(shown(field(AppSettings(&prefs.store()), which)), QLatin1String(read));
        QCOMPARE(shown(field(AppSettings(&reread), which)), QLatin1String(read));
        if (!value.isValid()) // building the settings writes nothing, not even the default URL
            QCOMPARE(prefs.store().allKeys(), QStringList());
    }
}

void TestCatalogue::settingsNotifyThenWriteThrough()
{
    // Field, value before (none: absent, or never assigned for the URL), a
    // value stored behind the settings' back, the value assigned; then field
    // and stored value when will-change arrives, and both afterwards.
    // Assigning the value a field holds still notifies and still writes.
    const QVariant none, a = QStringLiteral("http://a:1"), x = QStringLiteral("x");
    const QList<std::tuple<int, QVariant, QVariant, QVariant, const char *, const char *>> rows{
        {0, none, none, QLatin1String(""), R"(field="http://localhost:11434" stored=absent)", R"("")"},
        {1, QStringLiteral("n"), none, none, R"(field="n" stored="n")", "absent"},
        {2, none, none, QStringLiteral("a=b; [c], \"d\" \\e"), "field=absent stored=absent", R"("a=b; [c], "d" \e")"},
        {0, a, x, a, R"(field="http://a:1" stored="x")", R"("http://a:1")"},
        {2, none, x, none, R"(field=absent stored="x")", "absent"},
    };
    for (const auto &[which, before, tampered, after, atWillChange, now] : rows) {
        TestSettings prefs;
        AppSettings &settings = prefs.settings();
        auto assign = [&, which = which](const std::optional<QString> &value) {
            which == 0 ? settings.setOllamaURL(value.value_or(QString()))
                       : which == 1 ? settings.setSelectedEmbeddingModel(value) : settings.setSelectedLLMModel(value);
        };
        if (before.isValid() || which != 0)
            assign(text(before));
        if (tampered.isValid())
            prefs.store().setValue(keys[which], tampered);

        QStringList events;
        auto record = [&, which = which](const char *signal) {
            events.append(QStringLiteral("%1 field=%2 stored=%3")
                              .arg(QLatin1String(signal), shown(field(settings, which)),
                                   shown(text(prefs.store().value(keys[which])))));
        };
        connect(&settings, &AppSettings::willChange, this, [&] { record("willChange"); });
        connect(&settings, &AppSettings::ollamaURLChanged, this, [&] { record("ollamaURLChanged"); });
        connect(&settings, &AppSettings::selectedEmbeddingModelChanged, this, [&] { record("selectedEmbeddingModelChanged"); });
        connect(&settings, &AppSettings::selectedLLMModelChanged, this, [&] { record("selectedLLMModelChanged"); });
        assign(text(after));

        const char *changed[] = {"ollamaURLChanged", "selectedEmbeddingModelChanged", "selectedLLMModelChanged"};
        QCOMPARE(events, QStringList({QStringLiteral("willChange ") + QLatin1String(atWillChange),
                                      QStringLiteral("%1 field=%2 stored=%2").arg(QLatin1String(changed[which]), QLatin1String(now))}));
        // Only the three keys ever appear, and a restart reads the value back.
        for (const QString &key : prefs.store().allKeys())
            QVERIFY2(keys.contains(key), qPrintable(key));
        QCOMPARE(shown(field(*prefs.reopen(), which)), QLatin1String(now));
    }

    // Both selections present, an empty name included, make a configured app.
    TestSettings prefs;
    prefs.settings().setSelectedLLMModel(QLatin1String(""));
    prefs.settings().setSelectedEmbeddingModel(QLatin1String(""));
    QVERIFY(prefs.settings().isConfigured() && !TestSettings().settings().isConfigured());
}

void TestCatalogue::sharedSettingsAreOneMainThreadInstance()
{
    // First use from several threads at once makes one instance.
    std::latch ready(8);
    std::vector<AppSettings *> seen(8, nullptr);
    std::vector<std::jthread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&ready, &seen, i] { ready.arrive_and_wait(); seen[i] = &AppSettings::shared(); });
    threads.clear();
    QCOMPARE(std::set<AppSettings *>(seen.begin(), seen.end()), std::set<AppSettings *>{&AppSettings::shared()});

    // Though a finished worker thread made it, it belongs to the main thread,
    // so an assignment reaches the file (in this test's own folder) while the
    // program runs.
    QCOMPARE(AppSettings::shared().thread(), QCoreApplication::instance()->thread());
    AppSettings::shared().setSelectedLLMModel(QStringLiteral("written-while-running"));
    const auto written = [this] {
        QFile file(m_configHome + QLatin1String("/Quillmere/Quillmere.conf"));
        return file.open(QIODevice::ReadOnly) && file.readAll().contains("written-while-running");
    };
    QTRY_VERIFY(written());
}

void TestCatalogue::systemFileSuppliesDefaultsAndLocks_data()
{
    QTest::addColumn<QString>("system");  // the system-wide file; empty: none
    QTest::addColumn<QVariantMap>("user"); // what the user stored
    QTest::addColumn<QStringList>("read"); // URL, embedding model, language model
    QTest::addColumn<QStringList>("afterAssigning"); // after assigning "http://mine:1", "mine", "mine"

    const QString builtIn = AppSettings::defaultOllamaURL, school = QStringLiteral("http://school:11434");
    const QString all = "ollamaURL=" + school + "\nselectedEmbeddingModel=emb\nselectedLLMModel=llm\n";
    const QStringList mine{"http://mine:1", "mine", "mine"};
    QTest::newRow("no file") << QString() << QVariantMap() << QStringList{builtIn, "-", "-"} << mine;
    QTest::newRow("defaults for a new user") << all << QVariantMap() << QStringList{school, "emb", "llm"} << mine;
    QTest::newRow("the user's own choices win")
        << all << QVariantMap{{"ollamaURL", "http://own:2"}, {"selectedLLMModel", "own"}}
        << QStringList{"http://own:2", "emb", "own"} << mine;
    QTest::newRow("server locked: the user's URL is ignored")
        << "[General]\nlockServer=true\nollamaURL=" + school << QVariantMap{{"ollamaURL", "http://own:2"}}
        << QStringList{school, "-", "-"} << QStringList{school, "mine", "mine"};
    QTest::newRow("a lock without a URL locks the built-in one")
        << "lockServer=TRUE" << QVariantMap() << QStringList{builtIn, "-", "-"} << QStringList{builtIn, "mine", "mine"};
    QTest::newRow("models locked, only those named")
        << "selectedEmbeddingModel=emb\nlockModels=yes" << QVariantMap{{"selectedEmbeddingModel", "own"}}
        << QStringList{builtIn, "emb", "-"} << QStringList{"http://mine:1", "emb", "mine"};
    QTest::newRow("a misspelt lock locks nothing")
        << "lockServer=ture\nollamaURL=" + school << QVariantMap() << QStringList{school, "-", "-"} << mine;
}

void TestCatalogue::systemFileSuppliesDefaultsAndLocks()
{
    QFETCH(QString, system);
    QFETCH(QVariantMap, user);
    QFETCH(QStringList, read);
    QFETCH(QStringList, afterAssigning);

    // Two system folders: the file is in the second, the first has none.
    QTemporaryDir dirs;
    const QString first = dirs.filePath(QStringLiteral("first")), second = dirs.filePath(QStringLiteral("second"));
    QVERIFY(QDir().mkpath(second + QStringLiteral("/Quillmere")));
    const QByteArray saved = qgetenv("XDG_CONFIG_DIRS");
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(first + QLatin1Char(':') + second));
    const auto restore = qScopeGuard([&] { qputenv("XDG_CONFIG_DIRS", saved); });
    if (!system.isEmpty()) {
        QFile file(second + QStringLiteral("/Quillmere/Quillmere.conf"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(system.toUtf8());
    }
    const SystemSettings loaded = SystemSettings::load();
    QCOMPARE(loaded.path.isEmpty(), system.isEmpty());

    TestSettings prefs;
    for (auto it = user.cbegin(); it != user.cend(); ++it)
        prefs.store().setValue(it.key(), it.value());
    auto fields = [](const AppSettings &s) {
        return QStringList{s.ollamaURL(), s.selectedEmbeddingModel().value_or("-"), s.selectedLLMModel().value_or("-")};
    };
    AppSettings settings(&prefs.store(), loaded);
    QCOMPARE(fields(settings), read);
    // The system's defaults are not copied into the user's file.
    QCOMPARE(prefs.store().allKeys().size(), user.size());

    settings.setOllamaURL(QStringLiteral("http://mine:1"));
    settings.setSelectedEmbeddingModel(QStringLiteral("mine"));
    settings.setSelectedLLMModel(QStringLiteral("mine"));
    QCOMPARE(fields(settings), afterAssigning);
    QCOMPARE(fields(AppSettings(&prefs.store(), loaded)), afterAssigning);
    // A locked URL leaves what the user stored as it was.
    if (loaded.lockServer)
        QCOMPARE(prefs.store().value(AppSettings::ollamaURLKey), user.value(AppSettings::ollamaURLKey));
}

void TestCatalogue::readsReplies_data()
{
    QTest::addColumn<bool>("show"); // a show reply, else a model list
    QTest::addColumn<QByteArray>("body");
    // List: each entry as "name modified_at size {family,format,parameter_size}".
    // Show reply: the capability list, then the other members read. "fails":
    // the whole reply is refused.
    QTest::addColumn<QString>("read");

    auto row = [](bool show, const char *name, const QByteArray &body, const QString &read) {
        QTest::newRow(name) << show << body << read;
    };
    row(false, "empty list", R"({"models":[]})", "");
    row(false, "a real server's entry", R"({"models":[{"name":"llama3.2:latest","model":"llama3.2:latest",
        "modified_at":"2025-05-04T17:37:44-07:00","size":2019393189,"digest":"a80c","details":{"parent_model":"",
        "format":"gguf","family":"llama","families":null,"parameter_size":"3.2B","quantization_level":"Q4_K_M"}}]})",
        R"("llama3.2:latest" "2025-05-04T17:37:44-07:00" 2019393189 {"llama","gguf","3.2B"})");
    row(false, "order kept, capabilities ignored", R"({"models":[{"name":"b","capabilities":["vision"]},{"name":""}]})",
        R"("b" absent absent absent; "" absent absent absent)");
    row(false, "null is absent, an empty text is a text",
        R"({"models":[{"name":"a","modified_at":null,"size":null,"details":{"format":"","family":null}}]})",
        R"("a" absent absent {absent,"",absent})");
    // nlohmann tells 1 from 1.0: a size must be a whole number that fits.
    for (const char *size : {"132912472044", "-9223372036854775808", "9223372036854775807", "1.0", "1e3", "\"12\"",
                             "9223372036854775808"}) {
        const bool whole = QByteArray(size).toLongLong() != 0;
        QTest::addRow("size %s", size) << false << "{\"models\":[{\"name\":\"a\",\"size\":" + QByteArray(size) + "}]}"
                                       << (whole ? QStringLiteral("\"a\" absent %1 absent").arg(QLatin1String(size))
                                                 : QStringLiteral("fails"));
    }
    for (const char *bad : {"{}", R"({"models":null})", R"([{"name":"a"}])", R"({"models":[{"name":"a"},{"size":1}]})",
                            R"({"models":[{"name":null}]})", R"({"models":[{"name":"a","modified_at":1714000000}]})",
                            R"({"models":[{"name":"a","details":{"parameter_size":3.2}}]})", "404 page not found", "",
                            "{\"models\":[{\"name\":\"\xff\"}]}"})
        QTest::addRow("list %s", bad) << false << QByteArray(bad) << "fails";

    row(true, "show: empty object", "{}", "absent");
    row(true, "show: empty list is not absent", R"({"capabilities":[]})", "[]");
    row(true, "show: order kept", R"({"capabilities":["completion","vision","tools"]})", "[completion,vision,tools]");
    row(true, "show: model_info object", R"({"model_info":{"llama.context_length":131072,"t":null}})", "absent info");
    row(true, "show: details", R"({"details":{"format":"gguf","families":["llama"]},"license":"L"})", "absent details");
    for (const char *bad : {R"({"capabilities":"vision"})", R"({"capabilities":["vision",1]})",
                            R"({"details":{"families":"llama"},"capabilities":[]})", R"({"modelfile":1})",
                            R"({"template":{}})", "null", "<html>Bad Gateway</html>"})
        QTest::addRow("show %s", bad) << true << QByteArray(bad) << "fails";
}

void TestCatalogue::readsReplies()
{
    QFETCH(bool, show);
    QFETCH(QByteArray, body);
    QFETCH(QString, read);

    QStringList entries;
    std::optional<ClientError> error;
    if (const auto r = ModelRecords::readShowResponse(body); show) {
        r ? entries.append((r.value().capabilities ? '[' + r.value().capabilities->join(',') + ']' : QStringLiteral("absent"))
                           + (r.value().modelInfo ? " info" : "") + (r.value().details ? " details" : ""))
          : void(error = r.error());
    } else if (const auto list = ModelRecords::readModelsResponse(body); list) {
        for (const OllamaModel &m : list.value().models) {
            const auto &d = m.details;
            entries.append(QStringList{shown(m.name), shown(m.modifiedAt), m.size ? QString::number(*m.size) : "absent",
                                       d ? QStringLiteral("{%1,%2,%3}").arg(shown(d->family), shown(d->format),
                                                                            shown(d->parameterSize))
                                         : "absent"}.join(' '));
            QCOMPARE(m.capabilities, ModelCapabilities{}); // filled in later, never from the list
        }
    } else {
        error = list.error();
    }
    QCOMPARE(error ? QStringLiteral("fails") : entries.join(QLatin1String("; ")), read);
    // A reading failure is a sentence a person can read.
    if (error)
        QVERIFY2(error->domain == QLatin1String("JSON") && !error->description.isEmpty()
                     && !error->description.contains(QLatin1String("[json.exception"))
                     && std::none_of(error->description.begin(), error->description.end(), [](QChar c) { return c < u' '; }),
                 qPrintable(error->description));
}

void TestCatalogue::formsURLsAndShowRequests()
{
    // A base URL and a path make one URL, as text; a refused one sends nothing.
    for (const auto &[base, path] : {std::pair{"http://localhost:11434", "/api/tags"}, {"http://localhost:11434/", "//api/tags"},
                                     {"https://example.org/ollama", "/ollama/api/tags"}, {"http://[::1]:8080", "/api/tags"}}) {
        const auto url = ServerEndpoint::endpointURL(QLatin1String(base), QStringLiteral("/api/tags"));
        QCOMPARE(url ? url->toString() + ' ' + url->path() : QString(), QLatin1String(base) + "/api/tags " + path);
    }
    for (const char *refused : {"", "localhost:11434", "file:///etc/passwd", "ftp://x", "javascript:alert(1)", "http://",
                                "http:///x", "http://local host:11434", " http://localhost:11434",
                                "http://localhost:99999", "http://[::1:11434"})
        QVERIFY2(!ServerEndpoint::endpointURL(QLatin1String(refused), QStringLiteral("/api/tags")), refused);

    const QList<std::pair<QString, QByteArray>> bodies{
        {QStringLiteral("llama3.2:latest"), R"({"name":"llama3.2:latest"})"},
        {QStringLiteral("a\"b\\c\nd"), R"({"name":"a\"b\\c\nd"})"},
        {QStringLiteral("caf\u00E9"), "{\"name\":\"caf\xC3\xA9\"}"},
    };
    for (const auto &[name, body] : bodies)
        QCOMPARE(ModelRecords::writeShowRequest(OllamaShowRequest{name}), body);
}

void TestCatalogue::parsesCapabilities_data()
{
    QTest::addColumn<QVariant>("list"); // invalid: no "capabilities" member
    QTest::addColumn<QString>("flags");
    QTest::addColumn<QByteArray>("output");

    auto row = [](const char *name, std::initializer_list<const char *> list, const char *flags,
                  const QByteArray &rendered, const QByteArray &after) {
        QStringList names;
        for (const char *n : list)
            names.append(QString::fromUtf8(n));
        QTest::newRow(name) << QVariant(names) << flags << "Capabilities from API: " + rendered + '\n' + after;
    };
    QTest::newRow("absent") << QVariant() << "" << noArray;
    row("empty", {}, "", "[]", noSpecial);
    row("embedding only", {"embedding"}, "embedding", R"(["embedding"])", {});
    row("tools and thinking", {"thinking", "completion", "tools"}, "tools thinking",
        R"(["thinking", "completion", "tools"])", {});
    row("vision, tools and another", {"vision", "tools", "x"}, "vision", R"(["vision", "tools", "x"])", bothWarning);
    row("all four, duplicated", {"embedding", "tools", "thinking", "vision", "tools"}, "vision thinking embedding",
        R"(["embedding", "tools", "thinking", "vision", "tools"])", bothWarning);
    row("exact, case-sensitive, whole elements", {"Vision", "TOOLS", "think", "vision "}, "",
        R"(["Vision", "TOOLS", "think", "vision "])", noSpecial);
    row("quotes and backslashes escaped", {"a\"b", "c\\d", "caf\xC3\xA9"}, "",
        R"(["a\"b", "c\\d", "caf)" "\xC3\xA9\"]", noSpecial);
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
    QCOMPARE(capture.stop(), output);
    QStringList set;
    for (auto [on, name] : {std::pair{c.supportsTools, "tools"}, {c.supportsVision, "vision"},
                            {c.supportsThinking, "thinking"}, {c.supportsEmbedding, "embedding"}})
        on ? set.append(QLatin1String(name)) : void();
    QCOMPARE(set.join(QLatin1Char(' ')), flags);
}

void TestCatalogue::exchanges_data()
{
    QTest::addColumn<QString>("reply"); // a status, or how the server misbehaves
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("failure"); // empty: the body is the reply

    // No status is examined: an error status with a body is a reply.
    for (const char *status : {"200", "400", "404", "503"})
        QTest::addRow("%s JSON", status) << status << QByteArray(R"({"error":"model 'x' not found"})") << "";
    QTest::newRow("502 text") << "502" << QByteArray("Bad Gateway") << "";
    QTest::newRow("exactly the size limit") << "200" << QByteArray(1024, 'x') << "";
    QTest::newRow("one byte over the limit") << "200" << QByteArray(1025, 'x')
                                             << "The server's reply is larger than 1024 bytes and was refused.";
    QTest::newRow("silent server") << "stall" << QByteArray() << "The server did not answer in time (nothing arrived for 300 ms).";
}

void TestCatalogue::exchanges()
{
    QFETCH(QString, reply);
    QFETCH(QByteArray, body);
    QFETCH(QString, failure);

    FakeOllamaServer server;
    Reply scripted = Reply::json(body.toStdString(), reply.toInt() ? reply.toInt() : 200);
    scripted.stall = reply == QLatin1String("stall");
    server.setRoute("POST", "/api/show", scripted);
    HttpClient http;
    http.setTransferTimeout(300ms);
    http.setMaxReplyBytes(1024);
    Outcome outcome;
    http.postJSON(QUrl(server.baseURL() + QLatin1String("/api/show")), "{}", this, outcome.callback());
    QVERIFY(outcome.wait() && outcome.onMainThread);
    server.releaseStalled();
    QCOMPARE(outcome.error(), failure);
    if (failure.isEmpty())
        QCOMPARE(outcome.result->value(), body);
    else
        QCOMPARE(outcome.result->error().domain, QLatin1String(body.size() > 1024 ? "Reply too large" : "QNetworkReply"));
}

void TestCatalogue::followsRedirects_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("location"); // where /api/show sends the POST
    QTest::addColumn<QString>("method");   // as it arrives at /api/tags; empty: a failure
    QTest::addColumn<QString>("failure");
    QTest::newRow("307 keeps the POST") << 307 << "/api/tags" << "POST" << "";
    QTest::newRow("308 keeps the POST") << 308 << "/api/tags" << "POST" << "";
    QTest::newRow("303 turns it into a GET") << 303 << "/api/tags" << "GET" << "";
    QTest::newRow("301 turns it into a GET") << 301 << "/api/tags" << "GET" << "";
    QTest::newRow("a loop") << 307 << "/api/show" << "" << "The server redirected too many times.";
}

// Each redirect is followed as a request of its own, by the rules browsers
// and Qt follow.
void TestCatalogue::followsRedirects()
{
    QFETCH(int, status);
    QFETCH(QString, location);
    QFETCH(QString, method);
    QFETCH(QString, failure);

    FakeOllamaServer server;
    Reply moved = Reply::text(status, "");
    moved.headers.emplace("Location", location.toStdString());
    server.setRoute("POST", "/api/show", moved);
    server.setRoute(method.isEmpty() ? "POST" : method.toStdString(), "/api/tags", Reply::json(R"({"models":[]})"));
    HttpClient http;
    Outcome outcome;
    http.postJSON(QUrl(server.baseURL() + QLatin1String("/api/show")), R"({"model":"m"})", this, outcome.callback());
    QVERIFY(outcome.wait());
    QCOMPARE(outcome.error(), failure);
    const auto arrived = server.requests("/api/tags");
    QCOMPARE(arrived.size(), size_t(method.isEmpty() ? 0 : 1));
    if (!method.isEmpty()) {
        QCOMPARE(QString::fromStdString(arrived[0].method), method);
        QCOMPARE(arrived[0].body, std::string(method == QLatin1String("POST") ? R"({"model":"m"})" : ""));
    }
}

void TestCatalogue::queuedRequestOfGoneReceiverIsNeverSent()
{
    FakeOllamaServer server;
    auto gate = ReplyGate::make();
    GateOpener opener{gate};
    server.setHandler(ReplyGate::holding(gate));
    HttpClient http;
    http.setMaxConnectionsPerHost(1);
    // The second request waits in the queue for the only connection, and its
    // receiver goes meanwhile.
    Outcome first, dropped, third;
    auto receiver = std::make_unique<QObject>();
    for (auto [outcome, context] : {std::pair{&first, static_cast<QObject *>(this)}, {&dropped, receiver.get()}, {&third, this}})
        http.get(QUrl(server.baseURL() + QLatin1String("/api/tags")), context, outcome->callback());
    QCOMPARE(http.queuedRequests(), 2);
    receiver.reset();
    gate->open();
    QVERIFY(first.wait() && third.wait());
    QVERIFY(!dropped.result);
    QCOMPARE(server.requestCount(), size_t(2));
}

void TestCatalogue::publishesFetchedList()
{
    Rig rig;
    rig.server.setModels({model("llama:latest", {{"completion", "tools"}}), model("nomic:latest", {{"embedding"}}),
                          model("gone"), model("odd"), model("cut")});
    // A failed capability request keeps its entry with all flags false, and
    // writes one line.
    rig.server.setHandler([](const Request &request) -> std::optional<Reply> {
        const std::string name = requestedName(request);
        Reply reply = Reply::json(name == "gone" ? R"({"error":"model 'gone' not found"})" : R"({"capabilities":"x"})",
                                  name == "gone" ? 404 : 200);
        reply.closeMidBody = name == "cut";
        return name == "gone" || name == "odd" || name == "cut" ? std::optional(reply) : std::nullopt;
    });
    QList<QByteArray> lines = rig.fetch().split('\n');

    // Loading first; at the end the list, then the cleared error, then the flag.
    QCOMPARE(rig.events.size(), 8);
    rig.events[3].truncate(7); // the list itself is checked below
    QCOMPARE(rig.events, QStringList({"willChange", "loading=1", "willChange", "models=", "willChange", "error=absent",
                                      "willChange", "loading=0"}));
    QStringList flags;
    for (const OllamaModel &m : rig.service->availableModels())
        flags.append(m.name + QLatin1Char(' ') + QString::number(m.capabilities.supportsTools) + QString::number(m.capabilities.supportsVision)
                     + QString::number(m.capabilities.supportsThinking) + QString::number(m.capabilities.supportsEmbedding));
    flags.sort();
    QCOMPARE(flags, QStringList({"cut 0000", "gone 0000", "llama:latest 1000", "nomic:latest 0001", "odd 0000"}));
    std::sort(lines.begin(), lines.end());
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines.mid(0, 3), QList<QByteArray>({"", "Capabilities from API: [\"completion\", \"tools\"]",
                                                 "Capabilities from API: [\"embedding\"]"}));
    QVERIFY2(lines[3].startsWith("Failed to fetch capabilities for cut: ") && lines[3].size() > 38, lines[3].constData());
    QCOMPARE(lines[4], "Failed to fetch capabilities for odd: The server's reply could not be read: reply.capabilities "
                       "should be a list but is string");
    QCOMPARE(lines[5], noArray.chopped(1));

    // The list with no header of its own, then one show request per model.
    std::multiset<std::string> sent;
    for (const Request &request : rig.server.requests())
        sent.insert(request.method + " " + request.path + " " + request.header("Content-Type") + " " + request.body);
    const std::string show = "POST /api/show application/json {\"name\":";
    QCOMPARE(sent, (std::multiset<std::string>{"GET /api/tags  ", show + "\"llama:latest\"}", show + "\"nomic:latest\"}",
                                                show + "\"gone\"}", show + "\"odd\"}", show + "\"cut\"}"}));

    // An empty list is published like any other, and asks about no model.
    rig.server.setRoute("GET", "/api/tags", Reply::json(R"({"models":[]})"));
    QCOMPARE(rig.fetch(), QByteArray());
    QCOMPARE(rig.events[3], QStringLiteral("models="));
    QCOMPARE(rig.server.requestCount(), size_t(7));
}

void TestCatalogue::failedFetchKeepsList()
{
    // A refused URL sends nothing; a list that cannot be read has its
    // reader's words. The list fetched before stays.
    for (const auto &[url, error] : {std::pair{"localhost:11434", "Invalid URL"},
                                     {"", "Failed to fetch models: The server's reply could not be read: reply.models is missing"}}) {
        Rig rig;
        rig.server.setModels({model("llama3.2:latest", {{"tools"}})});
        rig.fetch();
        const QList<OllamaModel> before = rig.service->availableModels();
        rig.server.clearRequests();
        rig.server.enqueue("GET", "/api/tags", Reply::json(R"({"models":null})", 404));
        if (*url)
            rig.prefs.settings().setOllamaURL(QLatin1String(url));
        QCOMPARE(rig.fetch(), QByteArray());
        QCOMPARE(rig.events, QStringList({"willChange", "loading=1", "willChange", QStringLiteral("error=") + error,
                                          "willChange", "loading=0"}));
        QCOMPARE(rig.service->availableModels(), before);
        QCOMPARE(rig.server.requestCount(), size_t(*url ? 0 : 1));

        // The next fetch reads the URL saved meanwhile, and its success clears the error.
        FakeOllamaServer other;
        other.setModels({model("elsewhere:latest")});
        rig.prefs.settings().setOllamaURL(other.baseURL());
        rig.fetch();
        QCOMPARE(rig.names(), QStringList{QStringLiteral("elsewhere:latest")});
        QCOMPARE(rig.events[5], QStringLiteral("error=absent"));
    }
}

void TestCatalogue::publishesInCompletionOrder()
{
    Rig rig;
    rig.server.setModels({model("first", {{"vision"}}), model("second", {{"tools"}}), model("third", {{"embedding"}})});
    std::map<std::string, std::shared_ptr<ReplyGate>> gates{
        {"first", ReplyGate::make()}, {"second", ReplyGate::make()}, {"third", ReplyGate::make()}};
    GateOpener first{gates["first"]}, second{gates["second"]}, third{gates["third"]};
    rig.server.setHandler([gates](const Request &request) -> std::optional<Reply> {
        if (const auto it = gates.find(requestedName(request)); it != gates.end())
            it->second->wait();
        return std::nullopt;
    });

    // Every show request is sent before any is answered; they are answered
    // third, first, second, each once the previous answer has been taken in.
    StdoutCapture capture;
    const auto answered = [&capture](int count) {
        return QTest::qWaitFor([&] { return capture.text().count("Capabilities from API") == count; }, waitLimit);
    };
    rig.service->fetchModels();
    const bool allSent = QTest::qWaitFor([&] { return rig.server.requests("/api/show").size() == 3; }, waitLimit);
    gates["third"]->open();
    const bool thirdTaken = answered(1);
    gates["first"]->open();
    const bool firstTaken = answered(2);
    gates["second"]->open();
    const bool ended = QTest::qWaitFor([&] { return !rig.service->isLoadingModels(); }, waitLimit);
    capture.stop();
    QVERIFY(allSent);
    QVERIFY(thirdTaken && firstTaken && ended);
    QCOMPARE(rig.names(), QStringList({"third", "first", "second"}));
    QVERIFY(rig.service->availableModels().at(1).capabilities.supportsVision);
}

void TestCatalogue::overlappingFetchesEachPublish()
{
    Rig rig;
    rig.server.setModels({model("a", {{"tools"}}), model("b")});
    auto gate = ReplyGate::make();
    GateOpener opener{gate};
    auto lists = std::make_shared<std::atomic<int>>(0);
    rig.server.setHandler([gate, lists](const Request &request) -> std::optional<Reply> {
        if (request.path != "/api/tags" || ++*lists > 1)
            return std::nullopt;
        gate->wait(); // the first fetch's list arrives only when the test says so
        return Reply::json(FakeOllamaServer::tagsBody({model("a")}));
    });

    StdoutCapture capture;
    rig.service->fetchModels();
    const bool firstHeld = QTest::qWaitFor([&] { return gate->arrivals() == 1; }, waitLimit);
    rig.service->fetchModels();
    // The second fetch ends first and clears the flag, though the first runs on.
    const bool secondEnded = QTest::qWaitFor([&] { return rig.names().size() == 2; }, waitLimit);
    const bool loadingAfterSecond = rig.service->isLoadingModels();
    gate->open();
    // The fetch that ends last decides the list.
    const bool firstEnded = QTest::qWaitFor([&] { return rig.names().size() == 1; }, waitLimit);
    capture.stop();
    QVERIFY(firstHeld && secondEnded);
    QVERIFY(!loadingAfterSecond);
    QVERIFY(firstEnded);
    QVERIFY(rig.service->availableModels().first().capabilities.supportsTools);
    QCOMPARE(rig.events.filter(QStringLiteral("loading=")), QStringList({"loading=1", "loading=1", "loading=0", "loading=0"}));
}

void TestCatalogue::destroyedServiceIgnoresLateReplies()
{
    Rig rig;
    rig.server.setModels({model("slow", {{"tools"}})});
    auto gate = ReplyGate::make();
    GateOpener opener{gate};
    rig.server.setHandler(ReplyGate::holding(gate, "/api/show"));
    StdoutCapture capture;
    rig.service->fetchModels();
    const bool held = QTest::qWaitFor([&] { return gate->arrivals() == 1; }, waitLimit);
    rig.service.reset();
    gate->open();
    // Both replies end and are freed; nothing reaches the gone service.
    const bool ended = QTest::qWaitFor([&] { return HttpClient::shared().requestsInFlight() == 0; }, waitLimit);
    QCoreApplication::processEvents();
    QCOMPARE(capture.stop(), QByteArray());
    QVERIFY(held && ended);
}

int main(int argc, char **argv)
{
    // The per-user configuration points at a folder of our own before anything
    // opens a QSettings, so the user's preferences are never touched.
    QTemporaryDir configHome;
    if (!configHome.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    // Nor does the machine's system-wide file reach the tests.
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(configHome.filePath(QStringLiteral("system"))));
    bool sharedClientDestroyed = false;
    int status = 0;
    {
        QCoreApplication app(argc, argv);
        QObject::connect(&HttpClient::shared(), &QObject::destroyed, [&] { sharedClientDestroyed = true; });
        TestCatalogue test(configHome.path());
        status = QTest::qExec(&test, argc, argv);
    }
    // The process's shared HTTP client goes with the application object,
    // rather than leaking or outliving it.
    if (!sharedClientDestroyed) {
        std::fprintf(stderr, "FAIL: the shared HTTP client outlived the application object\n");
        return 1;
    }
    return status;
}

#include "tst_catalogue.moc"
