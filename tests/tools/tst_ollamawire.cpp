#include "OllamaWire.h"

#include <QObject>
#include <QTest>

#include <nlohmann/json.hpp>

using nlohmann::json;

// JSON values compare through their compact text, which also reads well in a
// failure message.
#define QCOMPARE_JSON(actual, expected) \
    QCOMPARE(QString::fromStdString(json(actual).dump()), QString::fromStdString(json(expected).dump()))

// The reply shapes and routing rules that the stand-in and the tests' fake
// server share.
class TestOllamaWire : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void routesMethodsAndPaths_data();
    void routesMethodsAndPaths();
    void redirectsDoubledSlashes();
    void describesSyntaxErrorsLikeTheServer_data();
    void describesSyntaxErrorsLikeTheServer();
    void readsRequestObjects_data();
    void readsRequestObjects();
    void addsTheDefaultTag_data();
    void addsTheDefaultTag();
    void buildsTagsAndShowBodies();
    void buildsGenerateBodies();
    void buildsEmbedBodies();
};

void TestOllamaWire::routesMethodsAndPaths_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("route");

    using OllamaWire::Route;
    QTest::newRow("tags") << "GET" << "/api/tags" << int(Route::Tags);
    QTest::newRow("tags head") << "HEAD" << "/api/tags" << int(Route::Tags);
    QTest::newRow("tags post") << "POST" << "/api/tags" << int(Route::MethodNotAllowed);
    QTest::newRow("show") << "POST" << "/api/show" << int(Route::Show);
    QTest::newRow("show get") << "GET" << "/api/show" << int(Route::MethodNotAllowed);
    QTest::newRow("generate") << "POST" << "/api/generate" << int(Route::Generate);
    QTest::newRow("generate put") << "PUT" << "/api/generate" << int(Route::MethodNotAllowed);
    QTest::newRow("embed") << "POST" << "/api/embed" << int(Route::Embed);
    QTest::newRow("embed delete") << "DELETE" << "/api/embed" << int(Route::MethodNotAllowed);
    QTest::newRow("root") << "GET" << "/" << int(Route::Root);
    QTest::newRow("old embeddings path") << "POST" << "/api/embeddings" << int(Route::NotFound);
    QTest::newRow("trailing slash") << "GET" << "/api/tags/" << int(Route::NotFound);
    QTest::newRow("case matters") << "GET" << "/API/TAGS" << int(Route::NotFound);
    QTest::newRow("doubled slash") << "GET" << "//api/tags" << int(Route::DoubledSlash);
    QTest::newRow("doubled slash post") << "POST" << "/api//show" << int(Route::DoubledSlash);
}

void TestOllamaWire::routesMethodsAndPaths()
{
    QFETCH(QString, method);
    QFETCH(QString, path);
    QFETCH(int, route);
    QCOMPARE(int(OllamaWire::route(method.toStdString(), path.toStdString())), route);
}

void TestOllamaWire::redirectsDoubledSlashes()
{
    const OllamaWire::Reply get = OllamaWire::redirectReply("GET", "//api//tags");
    QCOMPARE(get.status, 301);
    QCOMPARE(get.headers.size(), size_t(1));
    QCOMPARE(get.headers[0].first, std::string("Location"));
    QCOMPARE(get.headers[0].second, std::string("/api/tags"));
    QVERIFY(get.body.find("/api/tags") != std::string::npos);

    // Other methods are answered with an empty body.
    const OllamaWire::Reply post = OllamaWire::redirectReply("POST", "//api/show");
    QCOMPARE(post.status, 301);
    QCOMPARE(post.headers[0].second, std::string("/api/show"));
    QVERIFY(post.body.empty());
}

void TestOllamaWire::describesSyntaxErrorsLikeTheServer_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("message");

    QTest::newRow("word") << QByteArray("hello") << "invalid character 'h' looking for beginning of value";
    QTest::newRow("leading space") << QByteArray("  \n xyz") << "invalid character 'x' looking for beginning of value";
    QTest::newRow("apostrophe") << QByteArray("'a'") << "invalid character '\\'' looking for beginning of value";
    QTest::newRow("control byte") << QByteArray("\x01") << "invalid character '\\x01' looking for beginning of value";
    QTest::newRow("cut short") << QByteArray("{\"model\":") << "unexpected EOF";
    QTest::newRow("open string") << QByteArray("{\"model\":\"ab") << "unexpected EOF";
    QTest::newRow("spaces only") << QByteArray("   ") << "unexpected EOF";
    QTest::newRow("trailing text") << QByteArray("{} x") << "invalid character 'x' after top-level value";
    QTest::newRow("bad value") << QByteArray("{\"a\":?}") << "invalid character '?' looking for beginning of value";
    QTest::newRow("valid") << QByteArray("{\"a\":1}") << QString();
}

void TestOllamaWire::describesSyntaxErrorsLikeTheServer()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, message);
    QCOMPARE(QString::fromStdString(OllamaWire::jsonSyntaxMessage(body.toStdString())), message);
}

void TestOllamaWire::readsRequestObjects_data()
{
    QTest::addColumn<QByteArray>("body");
    // Empty: the body is accepted.
    QTest::addColumn<QString>("error");

    QTest::newRow("object") << QByteArray("{\"model\":\"m\"}") << QString();
    QTest::newRow("null is an empty record") << QByteArray("null") << QString();
    QTest::newRow("empty") << QByteArray() << "missing request body";
    QTest::newRow("white space") << QByteArray(" \r\n") << "missing request body";
    QTest::newRow("not json") << QByteArray("model=m") << "invalid character 'm' looking for beginning of value";
    QTest::newRow("array") << QByteArray("[1]") << "json: cannot unmarshal array into Go value of type api.X";
    QTest::newRow("string") << QByteArray("\"m\"") << "json: cannot unmarshal string into Go value of type api.X";
    QTest::newRow("number") << QByteArray("4") << "json: cannot unmarshal number into Go value of type api.X";
    QTest::newRow("bool") << QByteArray("true") << "json: cannot unmarshal bool into Go value of type api.X";
}

void TestOllamaWire::readsRequestObjects()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, error);

    const auto read = OllamaWire::readRequestObject(body.toStdString(), "api.X");
    if (error.isEmpty()) {
        QVERIFY(std::holds_alternative<json>(read));
        QVERIFY(std::get<json>(read).is_object());
        return;
    }
    QVERIFY(std::holds_alternative<OllamaWire::Reply>(read));
    const OllamaWire::Reply &reply = std::get<OllamaWire::Reply>(read);
    QCOMPARE(reply.status, 400);
    QCOMPARE(QString::fromStdString(json::parse(reply.body).at("error").get<std::string>()), error);
}

void TestOllamaWire::addsTheDefaultTag_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tagged");

    QTest::newRow("bare") << "llama3.2" << "llama3.2:latest";
    QTest::newRow("tagged") << "llama3.2:1b" << "llama3.2:1b";
    QTest::newRow("namespace") << "library/llama3.2" << "library/llama3.2:latest";
    QTest::newRow("registry port, no tag") << "host:5000/m" << "host:5000/m:latest";
    QTest::newRow("registry port and tag") << "host:5000/m:q4" << "host:5000/m:q4";
}

void TestOllamaWire::addsTheDefaultTag()
{
    QFETCH(QString, name);
    QFETCH(QString, tagged);
    QCOMPARE(QString::fromStdString(OllamaWire::withDefaultTag(name.toStdString())), tagged);
}

void TestOllamaWire::buildsTagsAndShowBodies()
{
    OllamaWire::TagsEntry entry;
    entry.name = "m:latest";
    entry.modifiedAt = "2025-05-04T17:37:44Z";
    entry.size = 132912472044LL; // beyond 32 bits
    entry.digest = "abc";
    entry.details.family = "llama";
    entry.details.parameterSize = "3.2B";

    OllamaWire::TagsEntry unsized = entry;
    unsized.name = "n:latest";
    unsized.size.reset();
    unsized.details.families.reset();

    const json tags = json::parse(OllamaWire::tagsBody({entry, unsized}));
    QCOMPARE(tags.at("models").size(), size_t(2));
    const json &first = tags["models"][0];
    QCOMPARE_JSON(first.at("name"), json("m:latest"));
    QCOMPARE_JSON(first.at("model"), json("m:latest"));
    QCOMPARE(first.at("size").get<std::int64_t>(), 132912472044LL);
    for (const char *key : {"parent_model", "format", "family", "families", "parameter_size", "quantization_level"})
        QVERIFY2(first.at("details").contains(key), key);
    QVERIFY(tags["models"][1].at("size").is_null());
    QVERIFY(tags["models"][1].at("details").at("families").is_null());
    QCOMPARE_JSON(json::parse(OllamaWire::tagsBody({})), json::parse(R"({"models":[]})"));

    OllamaWire::ShowReply show;
    show.license = "L";
    show.templateText = "{{ .Prompt }}";
    show.modifiedAt = entry.modifiedAt;
    const json withoutCapabilities = json::parse(OllamaWire::showBody(show));
    QVERIFY(!withoutCapabilities.contains("capabilities"));
    // Empty texts are left out, as a real server leaves them out.
    QVERIFY(!withoutCapabilities.contains("system"));
    QVERIFY(!withoutCapabilities.contains("parameters"));
    QCOMPARE_JSON(withoutCapabilities.at("template"), json("{{ .Prompt }}"));
    QVERIFY(withoutCapabilities.at("model_info").is_object());

    show.capabilities = std::vector<std::string>{};
    const json emptyCapabilities = json::parse(OllamaWire::showBody(show));
    QVERIFY(emptyCapabilities.at("capabilities").is_array());
    QVERIFY(emptyCapabilities.at("capabilities").empty());
}

void TestOllamaWire::buildsGenerateBodies()
{
    OllamaWire::GenerateReply reply;
    reply.model = "m";
    reply.createdAt = "2023-08-04T19:22:45.499127Z";
    reply.response = "4";
    reply.durations = {10, 1, 2, 26, 7, 1};

    const json body = json::parse(OllamaWire::generateBody(reply));
    QCOMPARE_JSON(body.at("response"), json("4"));
    QCOMPARE_JSON(body.at("done"), json(true));
    QCOMPARE_JSON(body.at("done_reason"), json("stop"));
    QCOMPARE_JSON(body.at("total_duration"), json(10));
    QCOMPARE_JSON(body.at("prompt_eval_count"), json(26));
    QCOMPARE_JSON(body.at("eval_count"), json(1));

    // A stream is one JSON object per line, the last one done and empty.
    const std::string stream = OllamaWire::generateStreamBody(reply);
    std::vector<json> lines;
    size_t from = 0;
    for (size_t end = stream.find('\n'); end != std::string::npos; end = stream.find('\n', from)) {
        lines.push_back(json::parse(stream.substr(from, end - from)));
        from = end + 1;
    }
    QCOMPARE(from, stream.size());
    QCOMPARE(lines.size(), size_t(2));
    QCOMPARE_JSON(lines[0].at("response"), json("4"));
    QCOMPARE_JSON(lines[0].at("done"), json(false));
    QCOMPARE_JSON(lines[1].at("response"), json(""));
    QCOMPARE_JSON(lines[1].at("done"), json(true));

    // A load-only reply carries no evaluation figures.
    reply.response.clear();
    reply.doneReason = "load";
    const json load = json::parse(OllamaWire::generateBody(reply));
    QCOMPARE_JSON(load.at("done_reason"), json("load"));
    QVERIFY(!load.contains("eval_count"));
}

void TestOllamaWire::buildsEmbedBodies()
{
    const json one = json::parse(OllamaWire::embedBody("e", {{0.6, 0.8}}));
    QCOMPARE_JSON(one.at("model"), json("e"));
    QCOMPARE_JSON(one.at("embeddings"), json::parse("[[0.6,0.8]]"));

    const json none = json::parse(OllamaWire::embedBody("e", {}));
    QVERIFY(none.at("embeddings").is_array());
    QVERIFY(none.at("embeddings").empty());
}

QTEST_GUILESS_MAIN(TestOllamaWire)
#include "tst_ollamawire.moc"
