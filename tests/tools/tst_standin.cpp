#include "SenseEmbedder.h"
#include "StandinServer.h"
#include "WordNet.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using nlohmann::json;

// The offline stand-in answers like an Ollama server: the shapes the app
// reads, the errors a real server gives, and ratings that make the demo
// meaningful.
class TestStandin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersLikeOllama_data();
    void answersLikeOllama();
    void ratesLikeAModel();
    void readsWordNetFiles_data();
    void readsWordNetFiles();
    void findsBaseForms_data();
    void findsBaseForms();
    void embedsByMeaning_data();
    void embedsByMeaning();
};

namespace {

using PartOfSpeech = WordNet::PartOfSpeech;

PartOfSpeech partOfSpeech(const QString &letter)
{
    return letter == QLatin1String("n") ? PartOfSpeech::Noun
        : letter == QLatin1String("v")  ? PartOfSpeech::Verb
        : letter == QLatin1String("a")  ? PartOfSpeech::Adjective
                                        : PartOfSpeech::Adverb;
}

// A small WordNet in the documented file format. Data lines start with their
// synset's name and point to others by name ("{n:cat}"); every name becomes
// the byte offset of its line (8 digits), as in the real files.
struct SmallWordNet
{
    QTemporaryDir directory;
    QHash<QString, quint32> offsets; // "n:cat" -> offset
    QHash<quint32, QString> names;   // offset -> "cat"

    SmallWordNet()
    {
        const QString header = QStringLiteral("  1 A small test database, not WordNet's own text.\n");
        const QStringList data[] = {
            {QStringLiteral("{n:entity} 03 n 01 entity 0 001 ~ {n:animal} n 0000 | that which is perceived"),
             QStringLiteral("{n:animal} 03 n 01 animal 0 002 @ {n:entity} n 0000 ~ {n:feline} n 0000 | an organism"),
             QStringLiteral("{n:feline} 05 n 01 feline 0 001 @ {n:animal} n 0000 | lithe-bodied mammals"),
             QStringLiteral("{n:cat} 05 n 02 cat 0 true_cat 0 001 @ {n:feline} n 0000 | feline mammal with soft fur; "
                            "\"domestic cats\"")},
            {QStringLiteral("{v:be} 42 v 0a a 0 b 0 c 0 d 0 e 0 f 0 g 0 h 0 i 0 j 0 000 | ten words")},
            {QStringLiteral("{a:large} 00 a 01 large 0 000 | above average in size"),
             QStringLiteral("{a:big} 00 s 01 big(a) 0 001 & {a:large} a 0000 | significant in size")},
            {},
        };
        // Offsets first (with every name as long as its 8 digits), then the
        // files.
        for (const QStringList &lines : data) {
            quint32 offset = quint32(header.size());
            for (const QString &line : lines) {
                const QString name = line.section(QLatin1Char(' '), 0, 0).mid(1).chopped(1);
                offsets.insert(name, offset);
                names.insert(offset, name.mid(2));
                offset += quint32(QString(line).replace(reference(), QStringLiteral("00000000")).size() + 1);
            }
        }
        const char *files[] = {"noun", "verb", "adj", "adv"};
        for (int i = 0; i < 4; ++i)
            write(QStringLiteral("data.") + QLatin1String(files[i]), header + resolve(data[i].join(QLatin1Char('\n')))
                      + (data[i].isEmpty() ? "" : "\n"));
        // Index lines: lemma pos synset_cnt p_cnt [ptr...] sense_cnt tagsense_cnt offsets...
        write(QStringLiteral("index.noun"),
              header + resolve(QStringLiteral("animal n 1 2 @ ~ 1 1 {n:animal}\ncat n 2 1 @ 2 1 {n:cat} {n:feline}\n"
                                              "entity n 1 1 ~ 1 0 {n:entity}\nfeline n 1 1 @ 1 0 {n:feline}\n"
                                              "true_cat n 1 1 @ 1 0 {n:cat}\n")));
        write(QStringLiteral("index.verb"), header + resolve(QStringLiteral("be v 1 0 1 1 {v:be}\n")));
        write(QStringLiteral("index.adj"),
              header + resolve(QStringLiteral("big a 1 1 & 1 1 {a:big}\nlarge a 1 0 1 1 {a:large}\n")));
        write(QStringLiteral("index.adv"), header);
        write(QStringLiteral("noun.exc"), QStringLiteral("kitties cat\n"));
        write(QStringLiteral("cntlist.rev"), QStringLiteral("cat%1:05:00:: 1 18\ncat%1:18:00:: 2 3\ncat%2:35:00:: 1 4\n"
                                                           "cat_burglar%1:18:00:: 1 7\ncatamaran%1:06:00:: 1 2\n"));
    }

    static const QRegularExpression &reference()
    {
        static const QRegularExpression pattern(QStringLiteral("\\{(\\w:\\w+)\\}"));
        return pattern;
    }

    QString resolve(QString text) const
    {
        for (const auto &match : reference().globalMatch(text))
            text.replace(match.captured(0), QStringLiteral("%1").arg(offsets.value(match.captured(1)), 8, 10,
                                                                      QLatin1Char('0')));
        return text;
    }

    void write(const QString &name, const QString &text)
    {
        QFile file(directory.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }

    QString describe(const WordNet &wordNet, const QString &query) const
    {
        const QStringList parts = query.split(QLatin1Char(' '));
        const PartOfSpeech kind = partOfSpeech(parts.value(1));
        const std::string word = parts.value(2).toStdString();
        QStringList out;
        if (parts[0] == QLatin1String("lookup")) {
            const auto entry = wordNet.lookup(word, kind);
            if (!entry)
                return QStringLiteral("none");
            for (std::uint32_t offset : entry->senses)
                out << names.value(offset);
            out << QStringLiteral("tagged %1").arg(entry->taggedSenses);
        } else if (parts[0] == QLatin1String("synset")) {
            const quint32 shift = parts.value(3).toUInt();
            const auto synset = wordNet.synset(kind, offsets.value(parts[1] + QLatin1Char(':') + parts[2]) + shift);
            if (!synset)
                return QStringLiteral("none");
            for (const std::string &w : synset->words)
                out << QString::fromStdString(w);
            for (const WordNet::Pointer &pointer : synset->hypernyms())
                out << QStringLiteral("up ") + names.value(pointer.offset);
            if (synset->satellite)
                out << QStringLiteral("satellite");
            out << QStringLiteral("pointers %1 kind %2").arg(synset->pointers.size()).arg(synset->lexicographerFile)
                << QString::fromStdString(synset->gloss);
        } else if (parts[0] == QLatin1String("base")) {
            for (const std::string &form : wordNet.baseForms(word, kind))
                out << QString::fromStdString(form);
        } else if (parts[0] == QLatin1String("specificity")) {
            const quint32 offset = offsets.value(parts[1] + QLatin1Char(':') + parts[2], 7);
            out << QString::number(wordNet.specificity(kind, offset), 'f', 2);
        } else if (parts[0] == QLatin1String("concepts")) {
            // The synsets an embedding of the word stands for (kinds left out).
            for (const auto &[name, weight] : SenseEmbedder(&wordNet).features(word)) {
                if (name.size() > 2 && name[1] == ':' && name[0] != 'l')
                    out << names.value(QString::fromStdString(name.substr(2)).toUInt(), QString::fromStdString(name));
            }
        } else if (parts.size() > 2) {
            out << QString::number(wordNet.taggedCount(parts[2].toStdString(), kind));
        } else {
            out << QString::number(wordNet.taggedCount(parts.value(1).toStdString()));
        }
        return out.join(QLatin1String(", "));
    }
};

} // namespace

void TestStandin::answersLikeOllama_data()
{
    QTest::addColumn<QString>("request"); // method, path and body
    QTest::addColumn<int>("status");
    // The members of a JSON reply (sorted), its error text, or a text body.
    QTest::addColumn<QString>("reply");

    QTest::newRow("generate, not streamed")
        << R"(POST /api/generate {"model":"standin-sentiment","prompt":"Hi","stream":false})" << 200
        << "created_at done done_reason eval_count eval_duration model prompt_eval_count response total_duration";
    QTest::newRow("embed one input") << R"(POST /api/embed {"model":"standin-embedding","input":"a cat"})" << 200
                                     << "embeddings model prompt_eval_count total_duration";
    QTest::newRow("show") << R"(POST /api/show {"name":"standin-vision"})" << 200
                          << "capabilities details license model_info modelfile modified_at template";
    QTest::newRow("show unknown model") << R"(POST /api/show {"name":"nope"})" << 404 << "model 'nope:latest' not found";
    QTest::newRow("generate unknown model") << R"(POST /api/generate {"model":"nope","prompt":"hi"})" << 404
                                            << "model 'nope' not found";
    QTest::newRow("embed unknown model") << R"(POST /api/embed {"model":"nope","input":"x"})" << 404
                                         << "model \"nope\" not found, try pulling it first";
    QTest::newRow("embedding model asked to generate")
        << R"(POST /api/generate {"model":"standin-embedding:latest","prompt":"hi"})" << 400
        << "\"standin-embedding:latest\" does not support generate";
    QTest::newRow("body not JSON") << "POST /api/generate hello" << 400
                                   << "invalid character 'h' looking for beginning of value";
    QTest::newRow("body an array") << "POST /api/generate []" << 400
                                   << "json: cannot unmarshal array into Go value of type api.GenerateRequest";
    QTest::newRow("unknown path") << "GET /api/nothing " << 404 << "404 page not found";
    QTest::newRow("wrong method") << "GET /api/generate " << 405 << "405 method not allowed";
    QTest::newRow("doubled slash") << "POST //api/show {}" << 301 << "";
}

void TestStandin::answersLikeOllama()
{
    QFETCH(QString, request);
    QFETCH(int, status);
    QFETCH(QString, reply);

    const QStringList parts = request.split(QLatin1Char(' '));
    const std::string body = request.section(QLatin1Char(' '), 2).toStdString();
    const OllamaWire::Reply answer = StandinServer::answer(parts[0].toStdString(), parts[1].toStdString(), body);
    QCOMPARE(answer.status, status);
    const json parsed = json::parse(answer.body, nullptr, false);
    if (!parsed.is_object()) {
        QCOMPARE(QString::fromStdString(answer.body), reply);
        return;
    }
    if (status != 200) {
        QCOMPARE(parsed.size(), size_t(1));
        QCOMPARE(QString::fromStdString(parsed.at("error").get<std::string>()), reply);
        return;
    }
    // Exactly the members a real server sends; none that is zero ("model
    // load 0 ns" would be a made-up figure).
    QStringList members;
    for (const auto &[key, value] : parsed.items()) {
        members.append(QString::fromStdString(key));
        QVERIFY2(!(value.is_number() && value == 0), key.c_str());
    }
    QCOMPARE(members.join(QLatin1Char(' ')), reply);
}

void TestStandin::ratesLikeAModel()
{
    // The app's own prompt, with one text of each kind.
    const std::string opening =
        "Analyze the sentiment of the following text and respond with ONLY A SINGLE NUMBER from 1 to 5:\n\n"
        "1 = Very Negative\n2 = Negative\n3 = Neutral\n4 = Positive\n5 = Very Positive\n\n"
        "Do not include any explanation, justification, or additional text. Respond with just the number.\n\nText: \"";
    const QList<std::pair<const char *, std::string>> texts{
        {"This was a terrible, awful experience. I hated it.", "1"},
        {"The train leaves at nine from platform two.", "3"},
        {"What a \"wonderful\" day,\nI love it!", "5"},
    };
    for (const auto &[text, rating] : texts) {
        const json request = {{"model", "standin-sentiment"}, {"prompt", opening + text + "\"\n\nRating:"}, {"stream", false}};
        const OllamaWire::Reply reply = StandinServer::answer("POST", "/api/generate", request.dump());
        QCOMPARE(json::parse(reply.body).value("response", std::string()), rating);
    }
}

void TestStandin::readsWordNetFiles_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("expected");

    QTest::newRow("senses, most common first") << "lookup n cat" << "cat, feline, tagged 1";
    QTest::newRow("first lemma after the licence") << "lookup n animal" << "animal, tagged 1";
    QTest::newRow("last lemma of the file") << "lookup n true_cat" << "cat, tagged 0";
    QTest::newRow("prefix of a lemma") << "lookup n ca" << "none";
    QTest::newRow("beyond the last lemma") << "lookup n zebra" << "none";
    QTest::newRow("other part of speech") << "lookup v cat" << "none";
    QTest::newRow("empty index") << "lookup r fast" << "none";
    QTest::newRow("synset, gloss with an example")
        << "synset n cat"
        << "cat, true_cat, up feline, pointers 1 kind 5, feline mammal with soft fur; \"domestic cats\"";
    QTest::newRow("word count in hex")
        << "synset v be" << "a, b, c, d, e, f, g, h, i, j, pointers 0 kind 42, ten words";
    QTest::newRow("satellite adjective, marker dropped")
        << "synset a big" << "big, satellite, pointers 1 kind 0, significant in size";
    QTest::newRow("offset inside a line") << "synset n cat 3" << "none";
    QTest::newRow("counts of one lemma only") << "count cat" << "25";
    QTest::newRow("counts of one part of speech") << "count n cat" << "21";
    QTest::newRow("counts of a part never tagged") << "count a cat" << "0";
    // Four nouns in a chain: log(1 + descendants) / log(4) taken from 1.
    QTest::newRow("specificity of a leaf") << "specificity n cat" << "1.00";
    QTest::newRow("specificity in between") << "specificity n feline" << "0.50";
    QTest::newRow("specificity of the root") << "specificity n entity" << "0.00";
    QTest::newRow("specificity, not a synset") << "specificity n nothing" << "1.00";
    QTest::newRow("specificity of an adjective") << "specificity a large" << "1.00";
    // A satellite leads to its head; a head does not lead to its satellites.
    QTest::newRow("satellite stands for its head") << "concepts a big" << "large, big";
    QTest::newRow("head stands for itself") << "concepts a large" << "large";
    QTest::newRow("exception list") << "base n kitties" << "cat";
    QTest::newRow("suffix rule, only lemmas kept") << "base n felines" << "feline";
}

void TestStandin::readsWordNetFiles()
{
    QFETCH(QString, query);
    QFETCH(QString, expected);

    const SmallWordNet files;
    std::string error;
    const auto wordNet = WordNet::open(files.directory.path().toStdString(), error);
    QVERIFY2(wordNet, error.c_str());
    QCOMPARE(files.describe(*wordNet, query), expected);
}

void TestStandin::findsBaseForms_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("partOfSpeech");
    QTest::addColumn<QString>("baseForms");

    QTest::newRow("plural") << "cats" << "n" << "cat";
    QTest::newRow("-ches") << "churches" << "n" << "church";
    QTest::newRow("-ies") << "berries" << "n" << "berry";
    QTest::newRow("-men") << "firemen" << "n" << "fireman";
    QTest::newRow("-ss is not a plural") << "glass" << "n" << "glass";
    QTest::newRow("irregular plural") << "mice" << "n" << "mouse";
    QTest::newRow("two bases") << "leaves" << "n" << "leaf leave";
    QTest::newRow("irregular past") << "sat" << "v" << "sit";
    QTest::newRow("-ed after e") << "baked" << "v" << "bake";
    QTest::newRow("doubled consonant") << "running" << "v" << "run";
    QTest::newRow("-ies verb") << "studies" << "v" << "study";
    QTest::newRow("comparative") << "happier" << "a" << "happy";
    QTest::newRow("form that is a lemma too") << "bigger" << "a" << "bigger big";
    QTest::newRow("-er after e") << "wider" << "a" << "wide";
    QTest::newRow("two-word noun") << "stock_markets" << "n" << "stock_market";
    QTest::newRow("unknown") << "glorpish" << "n" << "";
}

void TestStandin::findsBaseForms()
{
    QFETCH(QString, word);
    QFETCH(QString, partOfSpeech);
    QFETCH(QString, baseForms);

    const WordNet *wordNet = SenseEmbedder::shared().wordNet();
    QVERIFY2(wordNet, SenseEmbedder::sharedProblem().c_str());
    QStringList forms;
    for (const std::string &form : wordNet->baseForms(word.toStdString(), ::partOfSpeech(partOfSpeech)))
        forms << QString::fromStdString(form);
    QCOMPARE(forms.join(QLatin1Char(' ')), baseForms);
}

void TestStandin::embedsByMeaning_data()
{
    // Twelve sentences, four on each of three topics, in words the app's
    // examples do not use: pairs within a topic must be clearly closer than
    // pairs across.
    QTest::addColumn<QStringList>("sentences");
    QTest::addColumn<double>("separation");

    QTest::newRow("weather, clothes, tools")
        << QStringList{"Heavy snow covered the mountains overnight.",
                       "A thunderstorm brought hail and strong winds.",
                       "Fog drifted over the harbour at dawn.",
                       "The forecast promises sunshine and a warm breeze.",
                       "She wore a wool sweater and a scarf.",
                       "His jacket has leather buttons.",
                       "They bought new shoes and socks.",
                       "The dress had a silk collar.",
                       "He hammered nails into the wooden plank.",
                       "The carpenter sawed the beam in half.",
                       "Screws and bolts hold the shelf together.",
                       "She drilled a hole in the brick wall."}
        << 0.3;
    // Told apart by occupations, which WordNet files under one kind.
    QTest::newRow("music, sport, medicine")
        << QStringList{"The violinist tuned her instrument before the concert.",
                       "A drummer and a guitarist formed a rock band.",
                       "The orchestra rehearsed a symphony by Beethoven.",
                       "He sang a song while playing the piano.",
                       "The striker scored twice in the football match.",
                       "Our team won the tennis tournament.",
                       "She swam ten lengths of the pool.",
                       "The goalkeeper caught the ball with both hands.",
                       "The nurse gave the patient an injection.",
                       "A surgeon operated on his broken leg.",
                       "The physician prescribed antibiotics for the infection.",
                       "Hospitals need extra beds for sick children."}
        << 0.3;
}

void TestStandin::embedsByMeaning()
{
    QFETCH(QStringList, sentences);
    QFETCH(double, separation);

    const SenseEmbedder &embedder = SenseEmbedder::shared();
    QVERIFY2(embedder.wordNet(), SenseEmbedder::sharedProblem().c_str());
    const auto similarity = [&](const QString &a, const QString &b) {
        const std::vector<double> x = embedder.embed(a.toStdString()), y = embedder.embed(b.toStdString());
        double dot = 0;
        for (size_t i = 0; i < x.size(); ++i)
            dot += x[i] * y[i];
        return dot;
    };

    // Dense unit vectors, like a model's: no number left at zero.
    const std::vector<double> vector = embedder.embed("The cat sat on the mat");
    QCOMPARE(vector.size(), SenseEmbedder::dimensions);
    QVERIFY(std::none_of(vector.begin(), vector.end(), [](double x) { return x == 0; }));
    QVERIFY(std::abs(similarity("The cat sat on the mat", "The cat sat on the mat") - 1) < 1e-9);

    QVERIFY(similarity("The cat sat on the mat", "A feline rested on the rug") > 0.65);
    QVERIFY(similarity("The cat sat on the mat", "The stock market fell sharply this morning.") < 0.2);

    double within = 0, across = 0;
    int withinCount = 0, acrossCount = 0;
    for (int i = 0; i < sentences.size(); ++i) {
        for (int j = i + 1; j < sentences.size(); ++j) {
            const double s = similarity(sentences[i], sentences[j]);
            (i / 4 == j / 4 ? within : across) += s;
            ++(i / 4 == j / 4 ? withinCount : acrossCount);
        }
    }
    within /= withinCount;
    across /= acrossCount;
    QVERIFY2(within - across >= separation,
             qPrintable(QStringLiteral("within %1, across %2").arg(within).arg(across)));
}

QTEST_GUILESS_MAIN(TestStandin)
#include "tst_standin.moc"
