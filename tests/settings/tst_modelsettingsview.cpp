#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "catalogue/OllamaService.h"
#include "settings/ModelDetailView.h"
#include "settings/ModelPicker.h"
#include "settings/ModelSettingsView.h"
#include "settings/StatusRow.h"

#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>
#include <optional>

namespace {

using Model = FakeOllamaServer::Model;
using Caps = std::optional<std::vector<std::string>>;

Model serverModel(const std::string &name, Caps capabilities, std::optional<long long> size = 2019393189LL)
{
    Model m;
    m.name = name;
    m.capabilities = std::move(capabilities);
    m.size = size;
    return m;
}

// A server with one embedding model, one language model and one vision model.
std::vector<Model> standardModels()
{
    Model embed = serverModel("nomic-embed-text", Caps({"embedding"}), 274'300'000);
    embed.family = "nomic-bert";
    embed.parameterSize = "137M";
    Model llm = serverModel("llama3.2", Caps({"completion", "tools"}));
    Model vision = serverModel("llava", Caps({"completion", "vision"}), 4'661'000'000);
    return {embed, llm, vision};
}

// One server for the whole run: stopping a server waits for its idle
// connections, which would add seconds to every case.
FakeOllamaServer *sharedServer = nullptr;

struct Screen
{
    explicit Screen(std::optional<QString> embedding = std::nullopt, std::optional<QString> llm = std::nullopt)
        : server(*sharedServer)
    {
        server.setModels(standardModels());
        server.setHandler(nullptr);
        server.clearRequests();
        if (embedding)
            prefs.store().setValue(AppSettings::selectedEmbeddingModelKey, *embedding);
        if (llm)
            prefs.store().setValue(AppSettings::selectedLLMModelKey, *llm);
        prefs.settings().setOllamaURL(server.baseURL());
        view = std::make_unique<ModelSettingsView>(prefs.settings());
        view->resize(600, 460);
        status = child<StatusRow>("statusRow");
        errorRow = child<StatusRow>("errorRow");
        refresh = child<QPushButton>("refreshButton");
        configured = child<StatusRow>("configuredRow");
        save = child<QPushButton>("saveSelectionButton");
        embeddingPicker = child<ModelPicker>("embeddingPicker");
        llmPicker = child<ModelPicker>("llmPicker");
    }

    template <typename T>
    T *child(const char *name) const
    {
        T *found = view->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no child %s", name);
        return found;
    }

    OllamaService &service() const { return view->ollamaService(); }

    // Shows the screen and waits for the fetch its appearance starts.
    bool showAndLoad()
    {
        view->show();
        return QTest::qWaitFor([this] { return !service().isLoadingModels(); });
    }

    bool shown(const char *name) const { return child<QWidget>(name)->isVisibleTo(view.get()); }

    // The detail panel under a section's picker, if any.
    ModelDetailView *detail(const char *section) const
    {
        const auto panels = child<QWidget>(section)->findChildren<ModelDetailView *>();
        return panels.isEmpty() ? nullptr : panels.first();
    }

    // Chooses an entry of a picker as the user would.
    static void choose(ModelPicker *picker, const QString &text)
    {
        const int index = text.isNull() ? 0 : picker->findText(text);
        QVERIFY2(index >= 0, qPrintable(text));
        picker->setCurrentIndex(index);
    }

    // The model names a picker offers (without "Select a model..."), sorted:
    // the catalogue publishes entries in the order their details arrive.
    static QStringList offered(const ModelPicker *picker)
    {
        QStringList names;
        for (int i = 1; i < picker->count(); ++i)
            names << picker->itemText(i);
        names.sort();
        return names;
    }

    FakeOllamaServer &server;
    TestSettings prefs;
    std::unique_ptr<ModelSettingsView> view;
    StatusRow *status = nullptr;
    StatusRow *errorRow = nullptr;
    QPushButton *refresh = nullptr;
    StatusRow *configured = nullptr;
    QPushButton *save = nullptr;
    ModelPicker *embeddingPicker = nullptr;
    ModelPicker *llmPicker = nullptr;
};

const QString embeddingNotice = QStringLiteral(
    "No embedding models available. Please install an embedding model (e.g., nomic-embed-text, mxbai-embed-large)");
const QString llmNotice = QStringLiteral(
    "No compatible LLM models available. Please install a text-only model (e.g., llama3.2, mistral, qwen2.5)");

} // namespace

class TestModelSettingsView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_server = std::make_unique<FakeOllamaServer>();
        sharedServer = m_server.get();
    }
    void cleanupTestCase()
    {
        sharedServer = nullptr;
        m_server.reset();
    }

    void pickersOfferModelsByCapability_data();
    void pickersOfferModelsByCapability();
    void choicesShowNameAndSize();
    void firstAppearanceShowsLoadingAndEmptyNotices();
    void refreshDisabledWhileLoadingAndAfterFailureKeepsList();
    void placeholderDisablesSaveAndRemovesDetail();
    void statusFollowsStoredChoicesNotPickers();
    void storedNameMissingFromListIsKept();
    void newFetchKeepsUnsavedChoices();

private:
    std::unique_ptr<FakeOllamaServer> m_server;
};

void TestModelSettingsView::pickersOfferModelsByCapability_data()
{
    // Each model: "name" (no capabilities member), "name=" (empty list),
    // "name=a,b", or "broken-..." (a show reply that cannot be read).
    QTest::addColumn<QStringList>("models");
    QTest::addColumn<QStringList>("embedding");
    QTest::addColumn<QStringList>("llm");

    QTest::newRow("embedding only") << QStringList{"e=embedding"} << QStringList{"e"} << QStringList();
    QTest::newRow("vision without embedding") << QStringList{"v=completion,vision"} << QStringList() << QStringList();
    QTest::newRow("embedding and vision") << QStringList{"ev=embedding,vision"} << QStringList{"ev"} << QStringList();
    QTest::newRow("tools and thinking") << QStringList{"tt=tools,thinking"} << QStringList() << QStringList{"tt"};
    QTest::newRow("all flags false") << QStringList{"plain=completion"} << QStringList() << QStringList{"plain"};
    QTest::newRow("empty capability list") << QStringList{"bare="} << QStringList() << QStringList{"bare"};
    QTest::newRow("no capabilities member") << QStringList{"old"} << QStringList() << QStringList{"old"};
    QTest::newRow("details request failed") << QStringList{"broken-1"} << QStringList() << QStringList{"broken-1"};
    QTest::newRow("capitalised flag not recognised") << QStringList{"cap=Embedding"} << QStringList()
                                                     << QStringList{"cap"};
    QTest::newRow("mixed list") << QStringList{"b-embed=embedding", "llava=vision,tools", "a-embed=embedding,tools",
                                               "qwen=completion,tools,thinking", "mistral"}
                                << QStringList{"a-embed", "b-embed"} << QStringList{"mistral", "qwen"};
}

void TestModelSettingsView::pickersOfferModelsByCapability()
{
    QFETCH(QStringList, models);
    QFETCH(QStringList, embedding);
    QFETCH(QStringList, llm);

    Screen screen;
    std::vector<Model> list;
    for (const QString &spec : models) {
        const QString name = spec.section(QLatin1Char('='), 0, 0);
        Caps caps;
        if (spec.contains(QLatin1Char('='))) {
            caps.emplace();
            const QString flags = spec.section(QLatin1Char('='), 1);
            for (const QString &flag : flags.split(QLatin1Char(','), Qt::SkipEmptyParts))
                caps->push_back(flag.toStdString());
        }
        list.push_back(serverModel(name.toStdString(), caps));
    }
    screen.server.setModels(list);
    screen.server.setHandler([](const FakeOllamaServer::Request &request) -> std::optional<FakeOllamaServer::Reply> {
        if (request.path == "/api/show" && request.body.find("broken") != std::string::npos)
            return FakeOllamaServer::Reply::text(500, "Internal Server Error");
        return std::nullopt;
    });
    QVERIFY(screen.showAndLoad());
    QCOMPARE(screen.service().availableModels().size(), models.size());

    QCOMPARE(screen.shown("embeddingEmptyNotice"), embedding.isEmpty());
    QCOMPARE(screen.shown("embeddingPickerRow"), !embedding.isEmpty());
    QCOMPARE(screen.shown("llmEmptyNotice"), llm.isEmpty());
    QCOMPARE(screen.shown("llmPickerRow"), !llm.isEmpty());
    if (!embedding.isEmpty())
        QCOMPARE(Screen::offered(screen.embeddingPicker), embedding);
    if (!llm.isEmpty())
        QCOMPARE(Screen::offered(screen.llmPicker), llm);
}

void TestModelSettingsView::choicesShowNameAndSize()
{
    Screen screen;
    screen.server.setModels({serverModel("sized", Caps({"completion"}), 4'661'000'000),
                             serverModel("unsized", Caps({"completion"}), std::nullopt),
                             serverModel("tiny", Caps({"completion"}), 999)});
    QVERIFY(screen.showAndLoad());

    QHash<QString, QString> sizes;
    for (int i = 1; i < screen.llmPicker->count(); ++i)
        sizes.insert(screen.llmPicker->itemText(i), screen.llmPicker->itemData(i, ModelPicker::SizeTextRole).toString());
    QCOMPARE(sizes.size(), 3);
    QCOMPARE(sizes.value(QStringLiteral("sized")), QStringLiteral("(4.66 GB)"));
    QCOMPARE(sizes.value(QStringLiteral("unsized")), QString());
    QCOMPARE(sizes.value(QStringLiteral("tiny")), QStringLiteral("(999 bytes)"));
}

void TestModelSettingsView::firstAppearanceShowsLoadingAndEmptyNotices()
{
    Screen screen(QStringLiteral("nomic-embed-text"), QStringLiteral("llama3.2"));
    FakeOllamaServer::Reply stalled;
    stalled.stall = true;
    screen.server.enqueue("GET", "/api/tags", stalled);

    QVERIFY(!screen.status->isSpinning());
    screen.view->show();
    QVERIFY(screen.service().isLoadingModels());
    QCOMPARE(screen.status->text(), QStringLiteral("Loading models..."));
    QCOMPARE(screen.status->symbolName(), QStringLiteral("arrow.clockwise"));
    QCOMPARE(screen.status->symbolColor(), NamedColor::Blue);
    QVERIFY(screen.status->isSpinning());
    QVERIFY(!screen.refresh->isEnabled());
    QVERIFY(!screen.shown("errorRow"));
    QVERIFY(screen.shown("embeddingEmptyNotice"));
    QVERIFY(screen.shown("llmEmptyNotice"));
    QCOMPARE(screen.child<StatusRow>("embeddingEmptyNotice")->text(), embeddingNotice);
    QCOMPARE(screen.child<StatusRow>("llmEmptyNotice")->text(), llmNotice);
    QVERIFY(!screen.shown("embeddingPickerRow"));
    QVERIFY(!screen.detail("embeddingSection"));
    // Stored choices count as chosen even before the list has arrived.
    QVERIFY(screen.save->isEnabled());
    QCOMPARE(screen.configured->text(), QStringLiteral("Both models configured"));
    QTRY_COMPARE(screen.server.requests("/api/tags").size(), size_t(1));

    screen.server.releaseStalled();
    QTRY_VERIFY(!screen.service().isLoadingModels());
    QCOMPARE(screen.status->text(), QStringLiteral("Models loaded"));
    QCOMPARE(screen.status->symbolName(), QStringLiteral("checkmark.circle.fill"));
    QCOMPARE(screen.status->symbolColor(), NamedColor::Green);
    QVERIFY(!screen.status->isSpinning());
    QVERIFY(screen.refresh->isEnabled());
    QVERIFY(screen.shown("errorRow"));
    QVERIFY2(screen.errorRow->text().startsWith(QLatin1String("Failed to fetch models: ")),
             qPrintable(screen.errorRow->text()));
    QVERIFY(screen.shown("llmEmptyNotice"));
}

void TestModelSettingsView::refreshDisabledWhileLoadingAndAfterFailureKeepsList()
{
    Screen screen;
    QVERIFY(screen.showAndLoad());
    QVERIFY(!screen.shown("errorRow"));
    QCOMPARE(Screen::offered(screen.llmPicker), QStringList{"llama3.2"});

    FakeOllamaServer::Reply stalled;
    stalled.stall = true;
    screen.server.enqueue("GET", "/api/tags", stalled);
    QTest::mouseClick(screen.refresh, Qt::LeftButton);
    QVERIFY(!screen.refresh->isEnabled());
    QVERIFY(screen.status->isSpinning());
    // The list fetched before stays offered while the new fetch runs.
    QVERIFY(screen.shown("llmPickerRow"));

    QTRY_COMPARE(screen.server.requests("/api/tags").size(), size_t(2));
    screen.server.releaseStalled();
    QTRY_VERIFY(screen.refresh->isEnabled());
    QVERIFY(!screen.status->isSpinning());
    QCOMPARE(screen.status->text(), QStringLiteral("Models loaded"));
    QVERIFY(screen.shown("errorRow"));
    QCOMPARE(screen.errorRow->symbolColor(), NamedColor::Orange);
    QVERIFY(screen.shown("llmPickerRow"));
    QCOMPARE(Screen::offered(screen.llmPicker), QStringList{"llama3.2"});
    QCOMPARE(Screen::offered(screen.embeddingPicker), QStringList{"nomic-embed-text"});

    // The next successful fetch clears the error row.
    QTest::mouseClick(screen.refresh, Qt::LeftButton);
    QVERIFY(!screen.refresh->isEnabled());
    QTRY_VERIFY(screen.refresh->isEnabled());
    QVERIFY(!screen.shown("errorRow"));
    QCOMPARE(screen.server.requests("/api/tags").size(), size_t(3));
}

void TestModelSettingsView::placeholderDisablesSaveAndRemovesDetail()
{
    Screen screen(QStringLiteral("nomic-embed-text"), QStringLiteral("llama3.2"));
    QVERIFY(screen.showAndLoad());
    QCOMPARE(screen.embeddingPicker->currentText(), QStringLiteral("nomic-embed-text"));
    QVERIFY(screen.save->isEnabled());
    ModelDetailView *embeddingDetail = screen.detail("embeddingSection");
    QVERIFY(embeddingDetail);
    QCOMPARE(embeddingDetail->model().name, QStringLiteral("nomic-embed-text"));
    QCOMPARE(embeddingDetail->findChild<QLabel *>(QStringLiteral("familyValue"))->text(), QStringLiteral("nomic-bert"));
    QVERIFY(screen.detail("llmSection"));
    QCOMPARE(screen.detail("llmSection")->model().name, QStringLiteral("llama3.2"));

    Screen::choose(screen.embeddingPicker, QString());
    QCOMPARE(screen.view->selectedEmbeddingModel(), std::nullopt);
    QVERIFY(!screen.save->isEnabled());
    QVERIFY(!screen.detail("embeddingSection"));
    QVERIFY(screen.detail("llmSection"));
    // Nothing is stored until "Save Selection".
    QCOMPARE(screen.prefs.settings().selectedEmbeddingModel(), QStringLiteral("nomic-embed-text"));
    QCOMPARE(screen.configured->text(), QStringLiteral("Both models configured"));

    Screen::choose(screen.embeddingPicker, QStringLiteral("nomic-embed-text"));
    QVERIFY(screen.save->isEnabled());
    QVERIFY(screen.detail("embeddingSection"));

    Screen::choose(screen.llmPicker, QString());
    QCOMPARE(screen.view->selectedLLMModel(), std::nullopt);
    QVERIFY(!screen.save->isEnabled());
    QVERIFY(!screen.detail("llmSection"));
}

void TestModelSettingsView::statusFollowsStoredChoicesNotPickers()
{
    Screen screen;
    QVERIFY(screen.showAndLoad());
    QCOMPARE(screen.configured->text(), QStringLiteral("Please select both models to use the app"));
    QCOMPARE(screen.configured->symbolName(), QStringLiteral("exclamationmark.triangle.fill"));
    QCOMPARE(screen.configured->symbolColor(), NamedColor::Orange);
    QVERIFY(!screen.save->isEnabled());

    Screen::choose(screen.embeddingPicker, QStringLiteral("nomic-embed-text"));
    QVERIFY(!screen.save->isEnabled());
    Screen::choose(screen.llmPicker, QStringLiteral("llama3.2"));
    QVERIFY(screen.save->isEnabled());
    QCOMPARE(screen.configured->text(), QStringLiteral("Please select both models to use the app"));

    QStringList writes;
    AppSettings &settings = screen.prefs.settings();
    connect(&settings, &AppSettings::selectedEmbeddingModelChanged, this,
            [&] { writes << QStringLiteral("embedding=") + settings.selectedEmbeddingModel().value_or(QString()); });
    connect(&settings, &AppSettings::selectedLLMModelChanged, this,
            [&] { writes << QStringLiteral("llm=") + settings.selectedLLMModel().value_or(QString()); });
    QTest::mouseClick(screen.save, Qt::LeftButton);
    QCOMPARE(writes, (QStringList{"embedding=nomic-embed-text", "llm=llama3.2"}));
    QCOMPARE(screen.prefs.store().value(AppSettings::selectedLLMModelKey).toString(), QStringLiteral("llama3.2"));
    QCOMPARE(screen.configured->text(), QStringLiteral("Both models configured"));
    QCOMPARE(screen.configured->symbolName(), QStringLiteral("checkmark.circle.fill"));
    QCOMPARE(screen.configured->symbolColor(), NamedColor::Green);
    // The pickers keep their values.
    QCOMPARE(screen.view->selectedEmbeddingModel(), QStringLiteral("nomic-embed-text"));
    QCOMPARE(screen.llmPicker->currentText(), QStringLiteral("llama3.2"));

    // A selection cleared elsewhere shows at once.
    settings.setSelectedLLMModel(std::nullopt);
    QCOMPARE(screen.configured->text(), QStringLiteral("Please select both models to use the app"));
}

void TestModelSettingsView::storedNameMissingFromListIsKept()
{
    Screen screen(QStringLiteral("removed-embed"), QStringLiteral("llama3.2"));
    QVERIFY(screen.showAndLoad());

    QVERIFY(screen.shown("embeddingPickerRow"));
    QCOMPARE(screen.embeddingPicker->value(), QStringLiteral("removed-embed"));
    QCOMPARE(screen.embeddingPicker->currentIndex(), -1);
    QVERIFY(!screen.detail("embeddingSection"));
    QVERIFY(screen.detail("llmSection"));
    QVERIFY(screen.save->isEnabled());
    QCOMPARE(screen.configured->text(), QStringLiteral("Both models configured"));

    // A stored vision model is no choice of the language-model picker either.
    Screen::choose(screen.llmPicker, QStringLiteral("llama3.2"));
    QSignalSpy embeddingWrites(&screen.prefs.settings(), &AppSettings::selectedEmbeddingModelChanged);
    QTest::mouseClick(screen.save, Qt::LeftButton);
    QCOMPARE(embeddingWrites.size(), 1);
    QCOMPARE(screen.prefs.settings().selectedEmbeddingModel(), QStringLiteral("removed-embed"));
    QCOMPARE(screen.prefs.store().value(AppSettings::selectedEmbeddingModelKey).toString(),
             QStringLiteral("removed-embed"));
    QCOMPARE(screen.embeddingPicker->value(), QStringLiteral("removed-embed"));
}

void TestModelSettingsView::newFetchKeepsUnsavedChoices()
{
    Screen screen;
    QVERIFY(screen.showAndLoad());
    Screen::choose(screen.embeddingPicker, QStringLiteral("nomic-embed-text"));
    QVERIFY(screen.detail("embeddingSection"));

    // The server now also offers a second embedding model; the list changes
    // under the unsaved choice.
    std::vector<Model> models = standardModels();
    models.push_back(serverModel("mxbai-embed-large", Caps({"embedding"})));
    screen.server.setModels(models);
    QTest::mouseClick(screen.refresh, Qt::LeftButton);
    QTRY_VERIFY(screen.refresh->isEnabled());

    QCOMPARE(Screen::offered(screen.embeddingPicker), (QStringList{"mxbai-embed-large", "nomic-embed-text"}));
    QCOMPARE(screen.view->selectedEmbeddingModel(), QStringLiteral("nomic-embed-text"));
    QCOMPARE(screen.embeddingPicker->currentText(), QStringLiteral("nomic-embed-text"));
    QVERIFY(screen.detail("embeddingSection"));
    QCOMPARE(screen.detail("embeddingSection")->model().name, QStringLiteral("nomic-embed-text"));

    // When the chosen model disappears, the choice stays without a panel.
    screen.server.setModels({serverModel("mxbai-embed-large", Caps({"embedding"}))});
    QTest::mouseClick(screen.refresh, Qt::LeftButton);
    QTRY_VERIFY(screen.refresh->isEnabled());
    QCOMPARE(screen.view->selectedEmbeddingModel(), QStringLiteral("nomic-embed-text"));
    QVERIFY(!screen.detail("embeddingSection"));
    QVERIFY(screen.shown("llmEmptyNotice"));
}

QTEST_MAIN(TestModelSettingsView)
#include "tst_modelsettingsview.moc"
