#include "catalogue/ModelRecords.h"

#include <QObject>
#include <QSet>
#include <QTest>

#include <nlohmann/json.hpp>

namespace {

// A description a person can read: not empty, no raw control characters and
// none of the JSON library's internal exception tags.
bool isReadableDescription(const QString &text)
{
    if (text.trimmed().isEmpty() || text.contains(QLatin1String("[json.exception")))
        return false;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

QByteArray modelsWith(const QByteArray &entry)
{
    return QByteArrayLiteral("{\"models\":[") + entry + QByteArrayLiteral("]}");
}

} // namespace

class TestModelRecords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsModelList_data();
    void readsModelList();
    void readsSize_data();
    void readsSize();
    void readsEntryFields();
    void readsShowReply_data();
    void readsShowReply();
    void writesShowRequest_data();
    void writesShowRequest();
    void modelIdentityAndEquality();
    void capabilitiesEqualityAndHash();
};

void TestModelRecords::readsModelList_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("names");

    const QByteArray good = R"({"name":"llama3.2:latest"})";

    QTest::newRow("empty list") << QByteArray(R"({"models":[]})") << true << QStringList();
    QTest::newRow("server order kept")
        << modelsWith(R"({"name":"b"},{"name":"a"},{"name":"c"})") << true
        << QStringList{QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c")};
    QTest::newRow("unknown members ignored")
        << modelsWith(R"({"name":"a","model":"a","digest":"x","extra":{"deep":[1,null]},"capabilities":["vision"]})")
        << true << QStringList{QStringLiteral("a")};
    QTest::newRow("unknown top-level members ignored")
        << QByteArray(R"({"models":[{"name":"a"}],"next":null,"total":1})") << true << QStringList{QStringLiteral("a")};
    QTest::newRow("details null is absent") << modelsWith(R"({"name":"a","details":null})") << true
                                            << QStringList{QStringLiteral("a")};
    QTest::newRow("details with unknown members")
        << modelsWith(R"({"name":"a","details":{"parent_model":"","families":null,"context_length":4096}})") << true
        << QStringList{QStringLiteral("a")};
    QTest::newRow("empty name is a name") << modelsWith(R"({"name":""})") << true << QStringList{QString()};

    QTest::newRow("models missing") << QByteArray("{}") << false << QStringList();
    QTest::newRow("models null") << QByteArray(R"({"models":null})") << false << QStringList();
    QTest::newRow("models an object") << QByteArray(R"({"models":{}})") << false << QStringList();
    QTest::newRow("models a string") << QByteArray(R"({"models":"a"})") << false << QStringList();
    QTest::newRow("top level an array") << QByteArray(R"([{"name":"a"}])") << false << QStringList();
    QTest::newRow("top level a string") << QByteArray(R"("models")") << false << QStringList();
    QTest::newRow("entry without name, others fine") << modelsWith(good + R"(,{"size":1},)" + good) << false
                                                     << QStringList();
    QTest::newRow("name null") << modelsWith(good + R"(,{"name":null})") << false << QStringList();
    QTest::newRow("name a number") << modelsWith(R"({"name":7})") << false << QStringList();
    QTest::newRow("entry null") << modelsWith(good + ",null") << false << QStringList();
    QTest::newRow("entry a string") << modelsWith(R"("llama3.2")") << false << QStringList();
    QTest::newRow("modified_at a number") << modelsWith(R"({"name":"a","modified_at":1714000000})") << false
                                          << QStringList();
    QTest::newRow("details a string") << modelsWith(R"({"name":"a","details":"gguf"})") << false << QStringList();
    QTest::newRow("details.family a number") << modelsWith(R"({"name":"a","details":{"family":1}})") << false
                                             << QStringList();
    QTest::newRow("details.parameter_size a number")
        << modelsWith(R"({"name":"a","details":{"parameter_size":3.2}})") << false << QStringList();
    QTest::newRow("details.format an array") << modelsWith(R"({"name":"a","details":{"format":["gguf"]}})") << false
                                             << QStringList();
    QTest::newRow("not JSON") << QByteArray("404 page not found") << false << QStringList();
    QTest::newRow("empty body") << QByteArray() << false << QStringList();
    QTest::newRow("trailing garbage") << QByteArray(R"({"models":[]} x)") << false << QStringList();
    QTest::newRow("truncated") << QByteArray(R"({"models":[{"name":"a")") << false << QStringList();
    QTest::newRow("invalid UTF-8 in a name") << QByteArray("{\"models\":[{\"name\":\"\xff\"}]}") << false
                                             << QStringList();
}

void TestModelRecords::readsModelList()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, ok);
    QFETCH(QStringList, names);

    const auto result = ModelRecords::readModelsResponse(body);
    QCOMPARE(result.ok(), ok);
    if (!ok) {
        QCOMPARE(result.error().domain, ModelRecords::jsonDomain);
        QVERIFY2(isReadableDescription(result.error().description), qPrintable(result.error().description));
        return;
    }
    QStringList read;
    for (const OllamaModel &model : result.value().models) {
        read.append(model.name);
        // Capabilities are never taken from the list, even when an entry
        // carries a list of its own.
        QCOMPARE(model.capabilities, ModelCapabilities{});
    }
    QCOMPARE(read, names);
}

void TestModelRecords::readsSize_data()
{
    QTest::addColumn<QByteArray>("member");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("present");
    QTest::addColumn<qint64>("size");

    QTest::newRow("missing") << QByteArray() << true << false << qint64(0);
    QTest::newRow("null") << QByteArray(R"(,"size":null)") << true << false << qint64(0);
    QTest::newRow("zero") << QByteArray(R"(,"size":0)") << true << true << qint64(0);
    QTest::newRow("beyond 32 bits") << QByteArray(R"(,"size":132912472044)") << true << true
                                    << qint64(132912472044LL);
    QTest::newRow("-1") << QByteArray(R"(,"size":-1)") << true << true << qint64(-1);
    QTest::newRow("2^63-1") << QByteArray(R"(,"size":9223372036854775807)") << true << true
                            << std::numeric_limits<qint64>::max();
    QTest::newRow("-2^63") << QByteArray(R"(,"size":-9223372036854775808)") << true << true
                           << std::numeric_limits<qint64>::min();

    QTest::newRow("1.0") << QByteArray(R"(,"size":1.0)") << false << false << qint64(0);
    QTest::newRow("1e3") << QByteArray(R"(,"size":1e3)") << false << false << qint64(0);
    QTest::newRow("fraction") << QByteArray(R"(,"size":2019393189.5)") << false << false << qint64(0);
    QTest::newRow("string") << QByteArray(R"(,"size":"12")") << false << false << qint64(0);
    QTest::newRow("bool") << QByteArray(R"(,"size":true)") << false << false << qint64(0);
    QTest::newRow("2^63") << QByteArray(R"(,"size":9223372036854775808)") << false << false << qint64(0);
    QTest::newRow("2^64") << QByteArray(R"(,"size":18446744073709551616)") << false << false << qint64(0);
    QTest::newRow("-2^63-1") << QByteArray(R"(,"size":-9223372036854775809)") << false << false << qint64(0);
}

void TestModelRecords::readsSize()
{
    QFETCH(QByteArray, member);
    QFETCH(bool, ok);
    QFETCH(bool, present);
    QFETCH(qint64, size);

    const auto result = ModelRecords::readModelsResponse(modelsWith(R"({"name":"a")" + member + "}"));
    QCOMPARE(result.ok(), ok);
    if (!ok)
        return;
    QCOMPARE(result.value().models.size(), 1);
    const auto &read = result.value().models.first().size;
    QCOMPARE(read.has_value(), present);
    if (present)
        QCOMPARE(*read, size);
}

void TestModelRecords::readsEntryFields()
{
    const QByteArray body = R"({"models":[
        {"name":"llama3.2:latest","model":"llama3.2:latest","modified_at":"2025-05-04T17:37:44.706015396-07:00",
         "size":2019393189,"digest":"a80c","details":{"parent_model":"","format":"gguf","family":"llama",
         "families":["llama"],"parameter_size":"3.2B","quantization_level":"Q4_K_M"}},
        {"name":"nomic-embed-text","details":{"format":"","family":null}}]})";

    const auto result = ModelRecords::readModelsResponse(body);
    QVERIFY(result.ok());
    const QList<OllamaModel> &models = result.value().models;
    QCOMPARE(models.size(), 2);

    OllamaModel first;
    first.name = QStringLiteral("llama3.2:latest");
    first.modifiedAt = QStringLiteral("2025-05-04T17:37:44.706015396-07:00");
    first.size = 2019393189;
    first.details = ModelDetails{QStringLiteral("llama"), QStringLiteral("gguf"), QStringLiteral("3.2B")};
    QCOMPARE(models[0], first);

    OllamaModel second;
    second.name = QStringLiteral("nomic-embed-text");
    // An empty text stays an empty text; null is absent.
    second.details = ModelDetails{std::nullopt, QString(QLatin1String("")), std::nullopt};
    QCOMPARE(models[1], second);
    QVERIFY(models[1].details->format.has_value());
    QVERIFY(models[1].details->format->isEmpty());
}

void TestModelRecords::readsShowReply_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("hasCapabilities");
    QTest::addColumn<QStringList>("capabilities");
    QTest::addColumn<bool>("hasModelInfo");
    QTest::addColumn<bool>("hasDetails");

    const QStringList none;
    QTest::newRow("empty object") << QByteArray("{}") << true << false << none << false << false;
    QTest::newRow("empty capabilities") << QByteArray(R"({"capabilities":[]})") << true << true << none << false
                                        << false;
    QTest::newRow("capabilities in server order")
        << QByteArray(R"({"capabilities":["completion","vision","tools"]})") << true << true
        << QStringList{QStringLiteral("completion"), QStringLiteral("vision"), QStringLiteral("tools")} << false
        << false;
    QTest::newRow("capabilities null") << QByteArray(R"({"capabilities":null})") << true << false << none << false
                                       << false;
    QTest::newRow("error reply") << QByteArray(R"({"error":"model 'x:latest' not found"})") << true << false << none
                                 << false << false;
    QTest::newRow("model_info object") << QByteArray(R"({"model_info":{"llama.context_length":131072,"t":null}})")
                                       << true << false << none << true << false;
    QTest::newRow("model_info empty object") << QByteArray(R"({"model_info":{}})") << true << false << none << true
                                             << false;
    QTest::newRow("model_info string") << QByteArray(R"({"model_info":"x"})") << true << false << none << true
                                       << false;
    QTest::newRow("model_info number") << QByteArray(R"({"model_info":3.5})") << true << false << none << true
                                       << false;
    QTest::newRow("model_info array") << QByteArray(R"({"model_info":[1,"a",null]})") << true << false << none
                                      << true << false;
    QTest::newRow("model_info false") << QByteArray(R"({"model_info":false})") << true << false << none << true
                                      << false;
    QTest::newRow("model_info null") << QByteArray(R"({"model_info":null})") << true << false << none << false
                                     << false;
    QTest::newRow("details with families")
        << QByteArray(R"({"details":{"format":"gguf","families":["llama","clip"],"quantization_level":"Q4_K_M"}})")
        << true << false << none << false << true;
    QTest::newRow("families null") << QByteArray(R"({"details":{"families":null}})") << true << false << none
                                   << false << true;
    QTest::newRow("unknown members ignored")
        << QByteArray(R"({"license":"L","system":"S","tensors":[{"name":"t","shape":[1,2]}],"modified_at":"x"})")
        << true << false << none << false << false;

    QTest::newRow("capabilities a string") << QByteArray(R"({"capabilities":"vision"})") << false << false << none
                                           << false << false;
    QTest::newRow("capabilities holding a number") << QByteArray(R"({"capabilities":["vision",1]})") << false
                                                   << false << none << false << false;
    QTest::newRow("capabilities holding null") << QByteArray(R"({"capabilities":[null]})") << false << false << none
                                               << false << false;
    QTest::newRow("families a string") << QByteArray(R"({"details":{"families":"llama"},"capabilities":[]})")
                                       << false << false << none << false << false;
    QTest::newRow("families holding a number") << QByteArray(R"({"details":{"families":[1]}})") << false << false
                                               << none << false << false;
    QTest::newRow("details a string") << QByteArray(R"({"details":"gguf"})") << false << false << none << false
                                      << false;
    QTest::newRow("details.format a number") << QByteArray(R"({"details":{"format":1}})") << false << false << none
                                             << false << false;
    QTest::newRow("modelfile a number") << QByteArray(R"({"modelfile":1})") << false << false << none << false
                                        << false;
    QTest::newRow("parameters a bool") << QByteArray(R"({"parameters":true})") << false << false << none << false
                                       << false;
    QTest::newRow("template an object") << QByteArray(R"({"template":{}})") << false << false << none << false
                                        << false;
    QTest::newRow("top level an array") << QByteArray(R"([])") << false << false << none << false << false;
    QTest::newRow("top level null") << QByteArray("null") << false << false << none << false << false;
    QTest::newRow("not JSON") << QByteArray("<html>Bad Gateway</html>") << false << false << none << false << false;
}

void TestModelRecords::readsShowReply()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, ok);
    QFETCH(bool, hasCapabilities);
    QFETCH(QStringList, capabilities);
    QFETCH(bool, hasModelInfo);
    QFETCH(bool, hasDetails);

    const auto result = ModelRecords::readShowResponse(body);
    QCOMPARE(result.ok(), ok);
    if (!ok) {
        QCOMPARE(result.error().domain, ModelRecords::jsonDomain);
        QVERIFY2(isReadableDescription(result.error().description), qPrintable(result.error().description));
        return;
    }
    const OllamaShowResponse &show = result.value();
    QCOMPARE(show.capabilities.has_value(), hasCapabilities);
    if (hasCapabilities)
        QCOMPARE(*show.capabilities, capabilities);
    QCOMPARE(show.modelInfo.has_value(), hasModelInfo);
    QCOMPARE(show.details.has_value(), hasDetails);
}

void TestModelRecords::writesShowRequest_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("plain") << QStringLiteral("m") << QByteArray(R"({"name":"m"})");
    QTest::newRow("tag and slash") << QStringLiteral("library/llama3.2:latest")
                                   << QByteArray(R"({"name":"library/llama3.2:latest"})");
    QTest::newRow("quotes and backslash") << QStringLiteral("a\"b\\c") << QByteArray(R"({"name":"a\"b\\c"})");
    QTest::newRow("line feed") << QStringLiteral("a\nb") << QByteArray(R"({"name":"a\nb"})");
    QTest::newRow("non-ASCII") << QStringLiteral("caf\u00E9-\U0001F999") << QByteArray("{\"name\":\"caf\xC3\xA9-\xF0\x9F\xA6\x99\"}");
    QTest::newRow("empty") << QString() << QByteArray(R"({"name":""})");
}

void TestModelRecords::writesShowRequest()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, body);

    const QByteArray written = ModelRecords::writeShowRequest(OllamaShowRequest{name});
    QCOMPARE(written, body);

    const auto parsed = nlohmann::json::parse(written.toStdString());
    QCOMPARE(parsed.size(), size_t(1));
    QCOMPARE(QString::fromStdString(parsed.at("name").get<std::string>()), name);
}

void TestModelRecords::modelIdentityAndEquality()
{
    OllamaModel plain;
    plain.name = QStringLiteral("llava:latest");
    plain.size = 4'700'000'000LL;
    plain.details = ModelDetails{QStringLiteral("llama"), QStringLiteral("gguf"), QStringLiteral("7B")};

    ModelCapabilities vision;
    vision.supportsVision = true;
    const OllamaModel withVision = plain.withCapabilities(vision);

    // The copy differs only in its flags; the original is untouched.
    QCOMPARE(withVision.capabilities, vision);
    QCOMPARE(plain.capabilities, ModelCapabilities{});
    QCOMPARE(withVision.name, plain.name);
    QCOMPARE(withVision.size, plain.size);
    QCOMPARE(withVision.details, plain.details);

    // Same identity, different values.
    QCOMPARE(withVision.id(), plain.id());
    QVERIFY(withVision != plain);
    QCOMPARE(QSet<OllamaModel>({plain, withVision, plain.withCapabilities(vision)}).size(), 2);

    OllamaModel copy = plain;
    QVERIFY(copy == plain);
    QCOMPARE(qHash(copy), qHash(plain));

    copy.details->parameterSize = QStringLiteral("13B");
    QVERIFY(copy != plain);
    copy = plain;
    copy.details = std::nullopt;
    QVERIFY(copy != plain);
    copy = plain;
    copy.size = std::nullopt;
    QVERIFY(copy != plain);
    copy = plain;
    copy.modifiedAt = QString();
    // An empty timestamp is present, not the same as none.
    QVERIFY(copy != plain);
}

void TestModelRecords::capabilitiesEqualityAndHash()
{
    // Each flag on its own makes a distinct value.
    QList<ModelCapabilities> singles(4);
    singles[0].supportsTools = true;
    singles[1].supportsVision = true;
    singles[2].supportsThinking = true;
    singles[3].supportsEmbedding = true;
    QSet<ModelCapabilities> set{ModelCapabilities{}};
    for (const ModelCapabilities &c : singles)
        set.insert(c);
    QCOMPARE(set.size(), 5);
    for (int i = 0; i < singles.size(); ++i) {
        for (int j = 0; j < singles.size(); ++j)
            QCOMPARE(singles[i] == singles[j], i == j);
        ModelCapabilities same = singles[i];
        QCOMPARE(qHash(same), qHash(singles[i]));
    }
}

QTEST_GUILESS_MAIN(TestModelRecords)
#include "tst_modelrecords.moc"
