#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "app/ContentView.h"
#include "app/Examples.h"
#include "app/MainWindow.h"
#include "app/QuillmereApp.h"
#include "catalogue/BackgroundWork.h"
#include "catalogue/HttpClient.h"
#include "demos/sentencemap/SentenceEmbeddings.h"
#include "demos/sentencemap/SentenceMapMath.h"
#include "demos/sentencemap/SentenceMapPlot.h"
#include "demos/sentencemap/SentenceMapWindow.h"
#include "demos/similarity/SimilarityClient.h"
#include "history/HistoryCsv.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QPointer>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSemaphore>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

#include <nlohmann/json.hpp>

using Reply = FakeOllamaServer::Reply;

namespace {

const QString model = QStringLiteral("nomic-embed-text");

// A window against the fake server, with a model selected.
struct Rig
{
    FakeOllamaServer server;
    TestSettings prefs;
    HttpClient http;
    SentenceMapWindow window{prefs.settings(), http};

    Rig()
    {
        prefs.settings().setOllamaURL(server.baseURL());
        prefs.settings().setSelectedEmbeddingModel(model);
    }

    // Types the text, presses the button and waits for the outcome.
    bool map(const QString &text)
    {
        window.setSentences({text});
        window.mapSentences();
        return window.isMapping() && QTest::qWaitFor([this] { return !window.isMapping(); }, 15000);
    }
};

// Three unit vectors whose cosines are 0.6 (1, 2), -0.6 (1, 3) and -0.36 (2, 3).
const QString third = QStringLiteral("three %1 \"quoted\", %2");
void setThreeVectors(FakeOllamaServer &server)
{
    server.setEmbedding("one", {1, 0, 0});
    server.setEmbedding("two", {0.6, 0.8, 0});
    server.setEmbedding(third.toStdString(), {-0.6, 0, 0.8});
}

} // namespace

class TestSentenceMap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttonNeedsThreeToSixteenSentencesAndAModel();
    void requestCarriesTheTrimmedSentences();
    void replyReading_data();
    void replyReading();
    void failingRepliesShowAnErrorAndNoResult_data();
    void failingRepliesShowAnErrorAndNoResult();
    void matrixIsTheDemosCosineWithNeighbours();
    void projectionIsTheSameInAnyOrder();
    void workRunsOffTheMainThreadAndIsDroppedForAGoneContext();
    void cellTextsFitAtAnyFontSize_data();
    void cellTextsFitAtAnyFontSize();
    void projectionSeparatesClustersAndMeasuresSpread();
    void mapKeepsOneScaleAndLabelsApart();
    void exportsRoundTrip();
    void menuExamplesAndTheSimilarityDemoOpenOneWindow();
};

void TestSentenceMap::buttonNeedsThreeToSixteenSentencesAndAModel()
{
    Rig rig;
    QStringList lines;
    for (int i = 1; i <= 17; ++i)
        lines.append(QString::number(i));
    for (const int count : {2, 3, 16, 17}) {
        rig.window.setSentences(lines.mid(0, count) + QStringList{QStringLiteral(" \t")});
        QCOMPARE(rig.window.canMap(), count >= 3 && count <= 16);
    }
    rig.window.setSentences(lines.mid(0, 3));
    // Only the offline stand-in's vectors come with a note on what they know.
    const auto *standinNote = rig.window.findChild<QLabel *>(QStringLiteral("standinNoteLabel"));
    QVERIFY(standinNote && standinNote->isHidden());
    rig.prefs.settings().setSelectedEmbeddingModel(QStringLiteral("standin-embedding:latest"));
    QVERIFY(!standinNote->isHidden());
    rig.prefs.settings().setSelectedEmbeddingModel(std::nullopt);
    QVERIFY(!rig.window.canMap());
    QVERIFY(standinNote->isHidden());
}

void TestSentenceMap::requestCarriesTheTrimmedSentences()
{
    Rig rig;
    QVERIFY(rig.map(QStringLiteral("  The cat sat.\n\nA dog\u00a0ran. \r\n\tBirds sing\u2028")));
    const auto requests = rig.server.requests("/api/embed");
    QCOMPARE(requests.size(), size_t(1));
    QCOMPARE(requests[0].method, std::string("POST"));
    QCOMPARE(requests[0].header("Content-Type"), std::string("application/json"));
    const nlohmann::json expected = {{"model", "nomic-embed-text"},
                                     {"input", {"The cat sat.", "A dog\u00a0ran.", "Birds sing"}}};
    QVERIFY2(nlohmann::json::parse(requests[0].body) == expected, requests[0].body.c_str());
    QVERIFY(rig.window.result().has_value());
}

void TestSentenceMap::replyReading_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("error"); // empty: the three vectors below
    const auto row = [](const char *name, const QByteArray &b, const QString &e) { QTest::newRow(name) << b << e; };
    const QString invalid = "The operation could not be completed. (Invalid response from Ollama error -1.)";
    const QString notJSON = QStringLiteral("The server's reply is not valid JSON: ");
    const QByteArray good = R"("embeddings":[[1,0.5],[-0.0025,3],[0,1]])";
    // Integers are floats; of a repeated key the last counts; nested "embeddings" are skipped.
    row("integers, other members, repeated key", R"( { "embeddings":[[9]], "o":[true,null,{"a":-1e5,"embeddings":
        [[9]]}], "embeddings": [ [1.0, 5e-1] , [-2.5E-3,3], [-0 , 1] ] , "model":"n\u00e9\"x" } )", {});
    row("deep nesting elsewhere", "{\"o\":" + QByteArray(100000, '[') + QByteArray(100000, ']') + ',' + good + '}', {});
    row("trailing text", "{" + good + "}}", notJSON + "parse error at line 1, column 43: syntax error while "
                                                      "parsing value - unexpected '}'; expected end of input");
    // Each vector is judged whole, in order, before the next.
    row("beyond float, first fault counts", R"({"embeddings":[[1e39,"x"],[1,2],[3]]})",
        invalid + " The vector of sentence 1 holds a value that is not a finite 32-bit number.");
    row("lengths differ", R"({"embeddings":[[1,0],[0,1],[1,1,1]]})",
        invalid + " The vectors differ in length (2 for sentence 1, 3 for sentence 3).");
    row("more vectors than sentences", R"({"embeddings":[[1],[2],[3],[4]]})",
        invalid + " The server sent 4 vectors for 3 sentences.");
    row("empty vector", R"({"embeddings":[[1],[],[1]]})", invalid + " The vector of sentence 2 is empty.");
    row("not a number", R"({"embeddings":[[1],[[2]],[1]]})", invalid);
    row("top level array", "[[1],[1],[1]]", invalid);
    row("top level string", R"("x")", "The server's reply is not a JSON object or array (its top level is string).");
}

void TestSentenceMap::replyReading()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, error);
    const auto read = SentenceEmbeddings::readReply(body, 3);
    QCOMPARE(read.ok() ? QString() : read.error().description, error);
    if (read.ok())
        QCOMPARE(read.value(), (QList<EmbeddingVector>{{1, 0.5f}, {-0.0025f, 3}, {0, 1}}));
}

void TestSentenceMap::failingRepliesShowAnErrorAndNoResult_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fewer vectors") << 200 << "{\"embeddings\":[[1,0],[0,1]]}" << "sent 2 vectors for 3 sentences.";
    QTest::newRow("more vectors") << 200 << "{\"embeddings\":[[1],[0],[1],[1]]}" << "sent 4 vectors for 3 sentences.";
    QTest::newRow("server error") << 404 << "{\"error\":\"model \\\"x\\\" not found, try pulling it first\"}"
                                  << "The server said: model \"x\" not found, try pulling it first";
    QTest::newRow("connection closed mid-reply") << -1 << "" << "Error: ";
}

void TestSentenceMap::failingRepliesShowAnErrorAndNoResult()
{
    QFETCH(int, status);
    QFETCH(QString, body);
    QFETCH(QString, expected);
    Rig rig;
    // A result from before must not survive a failed run.
    QVERIFY(rig.map(QStringLiteral("a\nb\nc")));
    QVERIFY(rig.window.result().has_value());

    Reply reply = Reply::json(body.toStdString(), status < 0 ? 200 : status);
    if (status < 0) {
        reply.body = std::string(4096, ' ');
        reply.closeMidBody = true;
    }
    rig.server.enqueue("POST", "/api/embed", reply);
    QVERIFY(rig.map(QStringLiteral("a\nb\nc")));
    QVERIFY(!rig.window.result().has_value());
    const QString shown = rig.window.findChild<QLabel *>(QStringLiteral("errorLabel"))->text();
    QCOMPARE(shown, rig.window.errorMessage().value_or(QString()));
    QVERIFY2(shown.startsWith(QStringLiteral("Error: ")) && shown.contains(expected), qPrintable(shown));
}

void TestSentenceMap::matrixIsTheDemosCosineWithNeighbours()
{
    Rig rig;
    setThreeVectors(rig.server);
    QVERIFY(rig.map(QStringLiteral("one\ntwo\n") + third));
    const SentenceMap::Matrix &matrix = rig.window.result()->layout.matrix;
    QVERIFY(std::abs(matrix[0][1] - 0.6f) < 1e-6f && std::abs(matrix[2][1] + 0.36f) < 1e-6f);

    // Every cell is exactly the demo's cosine for that pair, and shows the
    // figure the demo shows: a negative cosine as 0 %, within the legend.
    const QStringList texts = rig.window.result()->sentences;
    for (int i = 0; i < 3; ++i) {
        for (int j = i + 1; j < 3; ++j) {
            std::optional<Result<float>> demo;
            QObject context;
            computeSimilarity(texts[i], texts[j], model, &context, [&](const Result<float> &r) { demo = r; },
                              rig.prefs.settings(), rig.http);
            QVERIFY(QTest::qWaitFor([&] { return demo.has_value(); }, 15000));
            QCOMPARE(matrix[i][j], demo->value());
        }
    }
    auto *table = rig.window.findChild<QTableView *>(QStringLiteral("similarityMatrix"));
    QAccessibleTableInterface *cells = QAccessible::queryAccessibleInterface(table)->tableInterface();
    QTemporaryDir dir;
    QVERIFY(rig.window.exportMatrixTo(dir.filePath("matrix.csv")));
    QFile file(dir.filePath("matrix.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QStringList> csv = HistoryCsv::read(file.readAll());
    const QStringList shown[3] = {{"100 %", "60 %", "0 %"}, {"60 %", "100 %", "0 %"}, {"0 %", "0 %", "100 %"}};
    const QStringList written[3] = {{"1", "0.6", "0"}, {"0.6", "1", "0"}, {"0", "0", "1"}};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            QCOMPARE(table->model()->index(i, j).data().toString(), shown[i][j]);
            QCOMPARE(csv[i + 1][j + 2].toFloat(), written[i][j].toFloat());
        }
    }
    // Built in one step, so the sentence's own "%1" and "%2" stay as typed.
    // What a screen reader reads for a cell.
    QCOMPARE(cells->cellAt(1, 2)->text(QAccessible::Name),
             QStringLiteral("Sentence 2, \"two\", and sentence 3, \"three %1 \"quoted\", %2\": 0 %"));
    QCOMPARE(table->model()->index(2, 0).data(Qt::ToolTipRole).toString(),
             QStringLiteral("3 and 1: 0 %\n3: three %1 \"quoted\", %2\n1: one"));
    QCOMPARE(table->model()->headerData(2, Qt::Vertical, Qt::ToolTipRole).toString(), QStringLiteral("3: ") + third);

    // The list in words, which is also the pictures' text alternative.
    const QString lines = QStringLiteral("1 is closest to 2, 60 %\n2 is closest to 1, 60 %\n3 is closest to 2, 0 %");
    QCOMPARE(rig.window.findChild<QLabel *>(QStringLiteral("neighboursLabel"))->text(), lines);
    const QString alternative = QStringLiteral("Nearest neighbours: ") + QString(lines).replace('\n', "; ");
    QCOMPARE(table->accessibleDescription(), alternative);
    QCOMPARE(rig.window.findChild<SentenceMapPlot *>()->accessibleDescription(), alternative);
    QCOMPARE(rig.window.findChild<SentenceMapPlot *>()->markers().at(2)->accessibleName(), QStringLiteral("3: ") + third);

    // The cells are drawn in their colours once the result is shown.
    const QImage grid = table->viewport()->grab().toImage();
    for (const auto &[row, column] : {std::pair{0, 0}, {0, 1}, {2, 0}}) {
        const QPoint corner = table->visualRect(table->model()->index(row, column)).topLeft() + QPoint(2, 2);
        QCOMPARE(grid.pixel(corner * grid.devicePixelRatio()),
                 table->model()->index(row, column).data(Qt::BackgroundRole).value<QColor>().rgb());
    }
}

void TestSentenceMap::projectionIsTheSameInAnyOrder()
{
    // Centred pairs whose largest coordinates along both axes tie with
    // opposite signs, plus a set without ties: every order of the vectors
    // must put each vector at the same place.
    const QList<QList<EmbeddingVector>> sets = {
        {{1, 0, 0}, {-1, 0, 0}, {0, 0.5f, 0}, {0, -0.5f, 0}},
        {{0.9f, 0.1f, 0.2f}, {0.1f, 0.8f, 0.3f}, {0.2f, 0.2f, 0.9f}, {0.5f, 0.5f, 0.1f}},
    };
    for (const QList<EmbeddingVector> &vectors : sets) {
        const SentenceMap::Projection reference = SentenceMap::principalProjection(vectors);
        QList<int> order = {0, 1, 2, 3};
        while (std::next_permutation(order.begin(), order.end())) {
            QList<EmbeddingVector> shuffled;
            for (const int i : order)
                shuffled.append(vectors[i]);
            const SentenceMap::Projection p = SentenceMap::principalProjection(shuffled);
            for (int k = 0; k < 4; ++k) {
                const QPointF d = p.points[k] - reference.points[order[k]];
                QVERIFY2(std::abs(d.x()) < 1e-9 && std::abs(d.y()) < 1e-9, "the map mirrored with the order");
            }
        }
    }
}

void TestSentenceMap::workRunsOffTheMainThreadAndIsDroppedForAGoneContext()
{
    // The work waits for a tick of the main thread's event loop: run on the
    // main thread, it would never see it.
    QSemaphore ticked;
    QTimer::singleShot(0, [&ticked] { ticked.release(); });
    std::optional<bool> delivered;
    QObject context;
    BackgroundWork::run(&context, [&ticked] { return ticked.tryAcquire(1, 20000); },
                        [&delivered](bool sawTick) { delivered = sawTick; });
    QVERIFY(!delivered.has_value()); // never before the event loop turns
    QTRY_VERIFY_WITH_TIMEOUT(delivered.has_value(), 25000);
    QVERIFY(*delivered);

    // A context gone before the result comes back: nothing is delivered,
    // while a later piece of work still is (the worker keeps the order).
    bool late = false, after = false;
    auto gone = std::make_unique<QObject>();
    BackgroundWork::run(gone.get(), [] { return 1; }, [&late](int) { late = true; });
    gone.reset();
    BackgroundWork::run(nullptr, [] { return 2; }, [&after](int) { after = true; });
    QTRY_VERIFY(after);
    QVERIFY(!late);

    // A window closed while its result is still being drawn, part by part
    // (its grid has just been filled): the rest is dropped with the window,
    // as a reply is that arrives after it closed.
    FakeOllamaServer server;
    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    prefs.settings().setSelectedEmbeddingModel(model);
    HttpClient http;
    QPointer<SentenceMapWindow> window = new SentenceMapWindow(prefs.settings(), http);
    window->show();
    int recorded = 0;
    bool mappingWhenFilled = false;
    bool emptyMapRefused = false;
    QTemporaryDir dir;
    connect(window, &SentenceMapWindow::runFinished, this, [&recorded] { ++recorded; });
    auto *grid = window->findChild<QTableView *>(QStringLiteral("similarityMatrix"));
    connect(grid->model(), &QAbstractItemModel::modelReset, this, [&] {
        mappingWhenFilled = window->isMapping() && window->result().has_value();
        // The map is not drawn yet: no empty picture is saved as the map.
        emptyMapRefused = !window->exportMapTo(dir.filePath("map.png")) && !QFile::exists(dir.filePath("map.png"));
        window->deleteLater();
    });
    window->setSentences({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    window->mapSentences();
    QTRY_VERIFY_WITH_TIMEOUT(!window, 15000);
    QTest::qWait(20);
    QVERIFY(mappingWhenFilled);
    QVERIFY(emptyMapRefused);
    QCOMPARE(recorded, 0);
}

void TestSentenceMap::cellTextsFitAtAnyFontSize_data()
{
    QTest::addColumn<int>("points");
    QTest::newRow("9 pt") << 9;
    QTest::newRow("14 pt") << 14;
}

void TestSentenceMap::cellTextsFitAtAnyFontSize()
{
    QFETCH(int, points);
    const QFont original = QApplication::font();
    QFont font = original;
    font.setPointSize(points);
    QApplication::setFont(font);
    const auto restore = qScopeGuard([&original] { QApplication::setFont(original); });

    Rig rig;
    QStringList lines;
    for (int i = 1; i <= 16; ++i)
        lines.append(QStringLiteral("Sentence %1").arg(i));
    // Long vectors, so that the reply arrives in many pieces.
    for (const QString &line : lines)
        rig.server.setEmbedding(line.toStdString(), std::vector<double>(4096, 0.25));
    QVERIFY(rig.map(lines.join('\n')));
    auto *table = rig.window.findChild<QTableView *>(QStringLiteral("similarityMatrix"));
    const int margin = table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
    const QFontMetrics metrics(table->font());
    QVERIFY(table->font().pointSizeF() >= points * 0.7);
    for (int i = 0; i < 16; ++i) {
        QCOMPARE(table->model()->index(i, i).data().toString(), QStringLiteral("100 %"));
        for (const int j : {i, (i + 1) % 16}) {
            const QString text = table->model()->index(i, j).data().toString();
            QVERIFY2(metrics.horizontalAdvance(text) + 2 * margin <= table->columnWidth(j)
                         && metrics.height() <= table->rowHeight(i),
                     qPrintable(text));
        }
        const QString header = table->model()->headerData(i, Qt::Horizontal).toString();
        QVERIFY(QFontMetrics(table->horizontalHeader()->font()).horizontalAdvance(header) + 2 * margin
                <= table->columnWidth(i));
    }
}

void TestSentenceMap::projectionSeparatesClustersAndMeasuresSpread()
{
    // Two pairs, already centred (their mean is 0):
    //   (1, 1, 0), (1, -1, 0)  and  (-1, 0, 0.5), (-1, 0, -0.5).
    // Scatter matrix Σ v vᵀ = diag(4, 2, 0.5) (the cross terms cancel), total
    // spread 6.5. The first direction is x with 4 / 6.5 = 0.615385, the
    // second y with 2 / 6.5 = 0.307692; together 6 / 6.5 = 92.3 %.
    // Coordinates along x: 1, 1, -1, -1; along y: 1, -1, 0, 0.
    const QList<EmbeddingVector> vectors = {{1, 1, 0}, {1, -1, 0}, {-1, 0, 0.5f}, {-1, 0, -0.5f}};
    const SentenceMap::Projection p = SentenceMap::principalProjection(vectors);
    QVERIFY(std::abs(p.firstShare - 0.615385) < 1e-5);
    QVERIFY(std::abs(p.secondShare - 0.307692) < 1e-5);
    QCOMPARE(SentenceMap::spreadLine(p), QStringLiteral("These two directions hold 92 % of the spread."));
    for (int i = 0; i < 4; ++i) {
        QVERIFY(std::abs(std::abs(p.points[i].x()) - 1) < 1e-9);
        QVERIFY(std::abs(std::abs(p.points[i].y()) - (i < 2 ? 1 : 0)) < 1e-9);
    }
    QVERIFY(p.points[0].x() * p.points[2].x() < 0); // the clusters land on opposite sides
    QVERIFY(std::abs(p.points[0].x() - p.points[1].x()) < 1e-9);
    QVERIFY(std::abs(p.points[2].x() - p.points[3].x()) < 1e-9);

    // Identical vectors do not spread: every point in the middle, no share.
    const SentenceMap::Projection same = SentenceMap::principalProjection({{0.6f, 0.8f}, {0.6f, 0.8f}, {0.6f, 0.8f}});
    QCOMPARE(same.explainedShare(), 0.0);
    QCOMPARE(same.points, (QList<QPointF>{{0, 0}, {0, 0}, {0, 0}}));
}

void TestSentenceMap::mapKeepsOneScaleAndLabelsApart()
{
    // A wide, flat set must not be stretched to fill the height.
    const QList<QPointF> placed =
        SentenceMapPlot::placePoints({{-2, 0}, {2, 0}, {0, 1}}, QRectF(0, 0, 400, 400));
    QCOMPARE(placed, (QList<QPointF>{{0, 250}, {400, 250}, {200, 150}}));

    // Six points huddled together still get labels that do not cover each
    // other or any point.
    QList<QPointF> anchors;
    QList<QSizeF> sizes;
    for (int i = 0; i < 6; ++i) {
        anchors.append(QPointF(200 + 6 * (i % 3), 200 + 6 * (i / 3)));
        sizes.append(QSizeF(90, 14));
    }
    const QList<QRectF> labels = SentenceMapPlot::placeLabels(anchors, sizes, QRectF(0, 0, 400, 400), 5);
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            QVERIFY((i == j || !labels[i].intersects(labels[j]))
                    && !labels[i].intersects(QRectF(anchors[j] - QPointF(5, 5), QSizeF(10, 10))));
}

void TestSentenceMap::exportsRoundTrip()
{
    Rig rig;
    setThreeVectors(rig.server);
    QTemporaryDir dir;
    // Tall enough for the column not to grow when the result comes.
    rig.window.resize(1280, 1200);
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    QVERIFY(rig.map(QStringLiteral("one\ntwo\n") + third));
    // Laid out, not piled up: the map beside the grid, the exports under
    // the lists.
    const auto place = [&](const char *name) {
        const auto *part = rig.window.findChild<QWidget *>(QLatin1String(name));
        return QRect(part->mapTo(&rig.window, QPoint()), part->size());
    };
    QVERIFY(place("sentenceMapPlot").left() > place("similarityMatrix").right());
    QVERIFY(place("exportMatrixButton").top() > place("neighboursLabel").bottom());
    // Mapping again keeps the room the result took until the next result is
    // drawn: what is below does not jump up and back.
    rig.window.resize(1280, 700);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QWidget *column = rig.window.findChild<QWidget *>(QStringLiteral("content"));
    const int height = column->height();
    rig.window.mapSentences();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QVERIFY(rig.window.isMapping() && !rig.window.result());
    QCOMPARE(column->height(), height);
    QVERIFY(QTest::qWaitFor([&] { return !rig.window.isMapping(); }, 15000));
    QCOMPARE(column->height(), height);

    QVERIFY(rig.window.exportMatrixTo(dir.filePath("matrix.csv")));
    QFile csv(dir.filePath("matrix.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QList<QStringList> rows = HistoryCsv::read(csv.readAll());
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[0], (QStringList{"#", "Sentence", "1", "2", "3"}));
    QCOMPARE(rows[1].mid(0, 2), (QStringList{"1", "one"}));
    QCOMPARE(rows[3].mid(0, 2), (QStringList{"3", third}));
    QCOMPARE(rows[1][3].toFloat(), rig.window.result()->layout.matrix[0][1]);
    QCOMPARE(rows[2][4], QStringLiteral("0"));

    QVERIFY(rig.window.exportMapTo(dir.filePath("map.png")));
    const QImage image(dir.filePath("map.png"));
    QVERIFY(!image.isNull() && image.width() > 100 && image.height() > 100);

    // A folder that does not exist: reported, not claimed as saved.
    QVERIFY(!rig.window.exportMatrixTo(dir.filePath("missing/matrix.csv")));
    QVERIFY(rig.window.findChild<QLabel *>("exportStatusLabel")->text().startsWith("Could not save matrix.csv"));
}

void TestSentenceMap::menuExamplesAndTheSimilarityDemoOpenOneWindow()
{
    QApplication::setQuitOnLastWindowClosed(false);
    TestSettings prefs;
    QuillmereApp app(prefs.settings());
    MainWindow *main = app.openMainWindow();
    main->contentView()->useTexts(DemoType::sentenceSimilarity, {QStringLiteral(" The cat sat. "), QString()});
    // The link follows from the keyboard, as a link does.
    auto *link = main->findChild<QPushButton *>(QStringLiteral("sentenceMapLink"));
    QCOMPARE(link->accessibleName(), QStringLiteral("Compare more sentences in the Sentence Map…"));
    link->setFocus();
    QTest::keyClick(link, Qt::Key_Return);
    SentenceMapWindow *window = app.sentenceMapWindow();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->sentences(), QStringList{QStringLiteral("The cat sat.")});

    // An example set replaces the text in the same window.
    app.sentenceSetActions().at(1)->trigger();
    QCOMPARE(app.sentenceMapWindow(), window);
    QCOMPARE(window->sentences(), Examples::sentenceSets().at(1).sentences);
}

QTEST_MAIN(TestSentenceMap)
#include "tst_sentencemap.moc"
