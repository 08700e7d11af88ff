#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "catalogue/OllamaService.h"
#include "settings/ModelDetailView.h"
#include "settings/ModelPicker.h"
#include "settings/ModelSettingsView.h"
#include "settings/OllamaSettingsView.h"
#include "settings/SettingsView.h"
#include "settings/StatusRow.h"
#include "widgets/CapabilityBadge.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <memory>

namespace {

using namespace std::chrono_literals;
using Model = FakeOllamaServer::Model;
using Caps = std::vector<std::string>;

Model serverModel(const std::string &name, Caps capabilities, std::optional<long long> size = std::nullopt)
{
    return Model{name, size, std::move(capabilities)};
}

// One model for each way the capability flags sort models into the pickers.
std::vector<Model> standardModels()
{
    return {serverModel("nomic-embed-text", {"embedding"}, 274'300'000),
            serverModel("clip-embed", {"embedding", "vision"}),
            serverModel("llama3.2", {"completion", "tools"}, 4'661'000'000),
            serverModel("llava", {"completion", "vision"}, 4'661'000'000),
            serverModel("qwen3", {"tools", "thinking"}),
            serverModel("phi", {"completion"})};
}

// One server for the whole run: stopping a server waits for its idle connections.
FakeOllamaServer *server = nullptr;

// The text a widget shows: a label's or a button's, a field's placeholder, a
// status row's, a picker's first choice.
QString shownText(const QWidget *w)
{
    if (auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text();
    if (auto *field = qobject_cast<const QLineEdit *>(w))
        return field->placeholderText();
    if (auto *row = qobject_cast<const StatusRow *>(w))
        return row->text();
    if (auto *picker = qobject_cast<const QComboBox *>(w))
        return picker->itemText(0);
    return QStringLiteral("<no text>");
}

const QMap<NamedColor, QString> colourNames{
    {NamedColor::Blue, "blue"}, {NamedColor::Purple, "purple"},
    {NamedColor::Green, "green"}, {NamedColor::Orange, "orange"}};

// A status row's symbol and its colour, "info.circle orange".
QString symbolOf(const StatusRow *row)
{
    return row->symbolName() + ' ' + colourNames.value(row->symbolColor());
}

// Rows named after the object that shows the text.
void addTextRows(std::initializer_list<std::pair<const char *, const char *>> rows)
{
    QTest::addColumn<QString>("text");
    for (const auto &[object, text] : rows)
        QTest::newRow(object) << QString::fromUtf8(text);
}

void checkText(const QWidget &root)
{
    QFETCH(QString, text);
    const auto *w = root.findChild<QWidget *>(QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(shownText(w), text);
}

struct Screen
{
    template <typename T = QWidget> T *get(const char *name) const { return view->findChild<T *>(QLatin1String(name)); }
    bool shown(const char *name) const { return get(name)->isVisibleTo(view.get()); }
    void click(const char *name) const { QTest::mouseClick(get<QAbstractButton>(name), Qt::LeftButton); }
    QString stored(const QString &key) { return prefs.store().value(key).toString(); }
    void reappear() const { view->hide(); view->show(); }

    TestSettings prefs;
    std::unique_ptr<QWidget> view;
};

// The "General" tab, its confirmation hides collected rather than timed.
struct General : Screen
{
    explicit General(const QString &stored = {}, const SystemSettings &system = {})
    {
        prefs.setSystem(system);
        if (!stored.isNull())
            prefs.store().setValue(AppSettings::ollamaURLKey, stored);
        auto *general = new OllamaSettingsView(prefs.settings());
        general->setScheduler([this](std::chrono::milliseconds delay, QObject *, std::function<void()> action) {
            delays.push_back(delay);
            hides.push_back(std::move(action));
        });
        view.reset(general);
        view->show();
    }
    QLineEdit *field() const { return get<QLineEdit>("urlField"); }
    void type(const QString &text) const { field()->setText(text); Q_EMIT field()->textEdited(text); }
    QString error() const { return shown("errorRow") ? get<StatusRow>("errorRow")->text() : QString(); }

    std::vector<std::chrono::milliseconds> delays;
    std::vector<std::function<void()>> hides;
};

// The "Model" tab over the shared server.
struct Models : Screen
{
    explicit Models(const QString &embedding = {}, const QString &llm = {})
    {
        server->setModels(standardModels());
        server->clearRequests();
        if (!embedding.isNull())
            prefs.store().setValue(AppSettings::selectedEmbeddingModelKey, embedding);
        if (!llm.isNull())
            prefs.store().setValue(AppSettings::selectedLLMModelKey, llm);
        prefs.settings().setOllamaURL(server->baseURL());
        view.reset(models = new ModelSettingsView(prefs.settings()));
        embeddingPicker = get<ModelPicker>("embeddingPicker");
        llmPicker = get<ModelPicker>("llmPicker");
    }
    bool loaded() const { return !models->ollamaService().isLoadingModels(); }
    // Generous waits: a loaded machine under a sanitizer is slow.
    bool waitLoaded() const { return QTest::qWaitFor([this] { return loaded(); }, 30'000); }
    bool showAndLoad() const { view->show(); return waitLoaded(); }
    bool canSave() const { return get("saveSelectionButton")->isEnabled(); }
    QString configured() const { return get<StatusRow>("configuredRow")->text(); }
    QString detail(const char *section) const
    {
        const auto panels = get(section)->findChildren<ModelDetailView *>();
        return panels.isEmpty() ? QString() : panels.first()->model().name;
    }
    static void choose(ModelPicker *p, const QString &model) { p->setCurrentIndex(p->findText(model)); }
    // "name (size)" of every model choice, sorted: the catalogue lists models
    // in the order their details arrive.
    static QStringList offered(const ModelPicker *picker)
    {
        QStringList out;
        for (int i = 1; i < picker->count(); ++i)
            out << (picker->itemText(i) + ' ' + picker->itemData(i, ModelPicker::SizeTextRole).toString()).trimmed();
        out.sort();
        return out;
    }

    ModelSettingsView *models = nullptr;
    ModelPicker *embeddingPicker = nullptr;
    ModelPicker *llmPicker = nullptr;
};

} // namespace

class TestSettingsScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_server = std::make_unique<FakeOllamaServer>();
        server = m_server.get();
    }
    void cleanupTestCase() { server = nullptr; }

    void generalTexts_data()
    {
        addTextRows({{"urlTitle", "Ollama Server URL"},
                     {"urlExplanation", "Enter the URL where your Ollama server is running"},
                     {"urlField", "http://localhost:11434"},
                     {"resetButton", "Reset"}, {"saveButton", "Save"},
                     {"confirmationRow", "Settings saved! Restart the app to apply changes."},
                     {"examplesTitle", "Examples"},
                     {"exampleTitle0", "Local (default)"}, {"exampleURL0", "http://localhost:11434"},
                     {"exampleTitle1", "Custom port"}, {"exampleURL1", "http://localhost:8080"},
                     {"exampleTitle2", "Remote server"}, {"exampleURL2", "http://192.168.1.100:11434"}});
    }
    void generalTexts() { checkText(*General().view); }

    void modelTexts_data()
    {
        addTextRows({{"statusRow", "Models loaded"},
                     {"refreshButton", "Refresh Models"},
                     {"embeddingHeading", "Embedding Model"},
                     {"embeddingExplanation", "Select a model that supports embeddings (text to vector conversion)"},
                     {"embeddingEmptyNotice", "No embedding models available. Please install an embedding model "
                                              "(e.g., nomic-embed-text, mxbai-embed-large)"},
                     {"embeddingPickerTitle", "Embedding Model"}, {"embeddingPicker", "Select a model..."},
                     {"llmHeading", "Language Model (LLM)"},
                     {"llmExplanation", "Select a text-only language model (without vision or embedding capabilities)"},
                     {"llmEmptyNotice", "No compatible LLM models available. Please install a text-only model "
                                        "(e.g., llama3.2, mistral, qwen2.5)"},
                     {"llmPickerTitle", "LLM Model"}, {"llmPicker", "Select a model..."},
                     {"configuredRow", "Please select both models to use the app"},
                     {"saveSelectionButton", "Save Selection"}});
    }
    void modelTexts() { checkText(*Models().view); } // not shown, so nothing is fetched

    void saveValidatesInOrder_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // null: refused (or Save disabled, when there is no error either)
        QTest::addColumn<QString>("error");
        const QString scheme = QStringLiteral("URL must start with http:// or https://");
        const QString invalid = QStringLiteral("Invalid URL format");
        QTest::newRow("spaces around") << "  http://localhost:8080  " << "http://localhost:8080" << QString();
        QTest::newRow("tab and no-break space")
            << QStringLiteral("\thttps://example.org:11434\u00A0") << "https://example.org:11434" << QString();
        QTest::newRow("remote with path") << "http://10.0.0.2:11434/x" << "http://10.0.0.2:11434/x" << QString();
        QTest::newRow("capitalised scheme") << "HTTP://localhost:11434" << QString() << scheme;
        QTest::newRow("no scheme") << "localhost:11434" << QString() << scheme;
        QTest::newRow("scheme alone") << "http://" << QString() << invalid;
        QTest::newRow("space inside") << "http://local host:11434" << QString() << invalid;
        QTest::newRow("port out of range") << "http://localhost:99999" << QString() << invalid;
        QTest::newRow("line break is not trimmed") << "http://localhost:11434\n" << QString() << invalid;
        QTest::newRow("blank: Save disabled") << QStringLiteral(" \t\u00A0\u2003") << QString() << QString();
    }
    void saveValidatesInOrder()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, error);
        General screen(QStringLiteral("http://previous:1"));
        QSignalSpy writes(&screen.prefs.settings(), &AppSettings::ollamaURLChanged);
        screen.type(typed);
        QCOMPARE(screen.get("saveButton")->isEnabled(), !stored.isNull() || !error.isNull());
        screen.click("saveButton");
        QCOMPARE(screen.error(), error);
        QCOMPARE(screen.shown("confirmationRow"), !stored.isNull());
        QCOMPARE(writes.size(), stored.isNull() ? 0 : 1);
        QCOMPARE(screen.hides.size(), size_t(writes.size()));
        const QString now = stored.isNull() ? QStringLiteral("http://previous:1") : stored;
        QCOMPARE(screen.stored(AppSettings::ollamaURLKey), now);
        // The field keeps what was typed until the screen appears again.
        QCOMPARE(screen.field()->text(), typed);
        screen.reappear();
        QCOMPARE(screen.field()->text(), now);
    }

    void messagesAndTheirHide()
    {
        General screen(QStringLiteral("http://localhost:8080"));
        QCOMPARE(symbolOf(screen.get<StatusRow>("confirmationRow")), QStringLiteral("checkmark.circle.fill green"));
        // Saving the stored URL still writes it; every save schedules its own
        // hide 3 seconds later, and none is cancelled.
        QSignalSpy writes(&screen.prefs.settings(), &AppSettings::ollamaURLChanged);
        screen.click("saveButton");
        screen.type(QStringLiteral("http://second:2"));
        screen.click("saveButton");
        QCOMPARE(writes.size(), 2);
        QCOMPARE(screen.delays, (std::vector<std::chrono::milliseconds>{3000ms, 3000ms}));
        screen.hides.at(0)();
        QVERIFY(!screen.shown("confirmationRow"));

        // A failed save hides a confirmation at once. The error stays while
        // typing and when the screen appears again, which reloads the field.
        screen.click("saveButton");
        screen.type(QStringLiteral("localhost"));
        screen.click("saveButton");
        QVERIFY(!screen.shown("confirmationRow"));
        QCOMPARE(symbolOf(screen.get<StatusRow>("errorRow")), QStringLiteral("exclamationmark.triangle.fill orange"));
        screen.type(QStringLiteral("http://unsaved:1"));
        screen.reappear();
        QCOMPARE(screen.field()->text(), QStringLiteral("http://second:2"));
        QCOMPARE(screen.error(), QStringLiteral("URL must start with http:// or https://"));
        screen.click("saveButton");
        QVERIFY(!screen.shown("errorRow") && screen.shown("confirmationRow"));
    }

    void schoolLockMakesTheURLReadOnly_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::newRow("a school default only") << false;
        QTest::newRow("locked by the school") << true;
    }
    void schoolLockMakesTheURLReadOnly()
    {
        QFETCH(bool, locked);
        SystemSettings system;
        system.ollamaURL = QStringLiteral("http://school:11434");
        system.lockServer = locked;
        General screen(QStringLiteral("http://own:2"), system);
        // As assistive technology finds the field.
        QAccessibleInterface *field = QAccessible::queryAccessibleInterface(screen.field());
        QVERIFY(field);
        QCOMPARE(field->state().readOnly, locked);
        QCOMPARE(field->text(QAccessible::Value), locked ? system.ollamaURL.value() : QStringLiteral("http://own:2"));
        QCOMPARE(screen.shown("lockedRow"), locked);
        QCOMPARE(screen.get<StatusRow>("lockedRow")->text(), QStringLiteral("Set by your school's administrator."));
        QCOMPARE(screen.shown("saveButton"), !locked);
        QTest::keyClicks(screen.field(), QStringLiteral("9"));
        QCOMPARE(screen.field()->text().endsWith(QLatin1Char('9')), !locked);
        // Reset offers the school's URL, not the built-in one.
        if (!locked) {
            screen.click("resetButton");
            QCOMPARE(screen.field()->text(), system.ollamaURL.value());
        }
    }

    void resetFollowsStoredURL()
    {
        General screen;
        screen.type(QStringLiteral("http://localhost:8080"));
        QVERIFY(!screen.shown("resetButton")); // only the stored URL counts
        screen.click("saveButton");
        QVERIFY(screen.shown("resetButton"));
        screen.click("resetButton");
        QCOMPARE(screen.field()->text(), QStringLiteral("http://localhost:11434"));
        QCOMPARE(screen.stored(AppSettings::ollamaURLKey), QStringLiteral("http://localhost:8080"));
        QVERIFY(screen.shown("resetButton") && screen.shown("confirmationRow"));
        screen.click("saveButton");
        QCOMPARE(screen.stored(AppSettings::ollamaURLKey), QStringLiteral("http://localhost:11434"));
        QVERIFY(!screen.shown("resetButton"));
    }

    void loadingFailingAndStoredNames()
    {
        // Stored: a removed model and a vision model, no choices of either picker.
        Models screen(QStringLiteral("removed-embed"), QStringLiteral("llava"));
        FakeOllamaServer::Reply stalled;
        stalled.stall = true;
        server->enqueue("GET", "/api/tags", stalled);
        auto *status = screen.get<StatusRow>("statusRow");
        screen.view->show();
        QCOMPARE(status->text(), QStringLiteral("Loading models..."));
        QCOMPARE(symbolOf(status), QStringLiteral("arrow.clockwise blue"));
        QVERIFY(status->isSpinning());
        QVERIFY(!screen.get("refreshButton")->isEnabled());
        QVERIFY(screen.shown("embeddingEmptyNotice") && screen.shown("llmEmptyNotice"));
        QVERIFY(!screen.shown("embeddingPickerRow") && !screen.shown("llmPickerRow"));
        QCOMPARE(symbolOf(screen.get<StatusRow>("llmEmptyNotice")), QStringLiteral("info.circle orange"));
        QVERIFY(screen.canSave()); // stored choices count before the list arrives
        QCOMPARE(screen.configured(), QStringLiteral("Both models configured"));
        QTRY_COMPARE_WITH_TIMEOUT(server->requests("/api/tags").size(), size_t(1), 30'000);
        server->releaseStalled();
        QVERIFY(screen.waitLoaded());
        // A failed fetch is not called loaded.
        QCOMPARE(status->text(), QStringLiteral("Models not loaded"));
        QCOMPARE(symbolOf(status), QStringLiteral("exclamationmark.triangle.fill orange"));
        QVERIFY(!status->isSpinning());
        QVERIFY(screen.get<StatusRow>("errorRow")->text().startsWith(QLatin1String("Failed to fetch models: ")));

        // A good fetch clears the error. Stored names outside the lists stay
        // chosen, without a detail panel, and saving writes them back.
        screen.click("refreshButton");
        QVERIFY(screen.waitLoaded());
        QVERIFY(!screen.shown("errorRow"));
        QCOMPARE(status->text(), QStringLiteral("Models loaded"));
        QCOMPARE(screen.embeddingPicker->currentIndex(), -1);
        QCOMPARE(screen.llmPicker->value(), QStringLiteral("llava"));
        QCOMPARE(screen.detail("embeddingSection") + screen.detail("llmSection"), QString());
        QSignalSpy writes(&screen.prefs.settings(), &AppSettings::selectedEmbeddingModelChanged);
        screen.click("saveSelectionButton");
        QCOMPARE(writes.size(), 1);
        QCOMPARE(screen.stored(AppSettings::selectedEmbeddingModelKey), QStringLiteral("removed-embed"));
        // A failed fetch keeps the list.
        server->enqueue("GET", "/api/tags", stalled);
        screen.click("refreshButton");
        QVERIFY(!screen.get("refreshButton")->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(server->requests("/api/tags").size(), size_t(3), 30'000);
        server->releaseStalled();
        QVERIFY(screen.waitLoaded());
        QVERIFY(screen.shown("errorRow") && screen.shown("llmPickerRow"));
        QCOMPARE(Models::offered(screen.llmPicker), (QStringList{"llama3.2 (4.66 GB)", "phi", "qwen3"}));
    }

    void pickersAndSave()
    {
        Models screen;
        QVERIFY(screen.showAndLoad());
        // Embedding models (vision or not) for one; text-only models, also
        // those without any flag, for the other.
        QCOMPARE(Models::offered(screen.embeddingPicker), (QStringList{"clip-embed", "nomic-embed-text (274.3 MB)"}));
        QCOMPARE(Models::offered(screen.llmPicker), (QStringList{"llama3.2 (4.66 GB)", "phi", "qwen3"}));
        QVERIFY(!screen.canSave());

        // Scrolling the page over a closed picker leaves its choice alone;
        // the keyboard still chooses.
        QSignalSpy changes(screen.llmPicker, &ModelPicker::valueChanged);
        for (int delta : {-120, 120, -120}) {
            QWheelEvent wheel(QPointF(5, 5), screen.llmPicker->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(screen.llmPicker, &wheel);
        }
        QCOMPARE(changes.size(), 0);
        QCOMPARE(screen.models->selectedLLMModel(), std::nullopt);
        QTest::keyClick(screen.llmPicker, Qt::Key_Down);
        QCOMPARE(changes.size(), 1);
        QVERIFY(screen.models->selectedLLMModel().has_value());
        Models::choose(screen.llmPicker, QStringLiteral("llama3.2"));
        QCOMPARE(screen.detail("llmSection"), QStringLiteral("llama3.2"));
        QVERIFY(!screen.canSave());
        Models::choose(screen.embeddingPicker, QStringLiteral("nomic-embed-text"));
        QVERIFY(screen.canSave());
        // Back to "Select a model...": no value, no panel, no saving.
        Models::choose(screen.embeddingPicker, QStringLiteral("Select a model..."));
        QCOMPARE(screen.models->selectedEmbeddingModel(), std::nullopt);
        QCOMPARE(screen.detail("embeddingSection"), QString());
        QVERIFY(!screen.canSave());
        Models::choose(screen.embeddingPicker, QStringLiteral("nomic-embed-text"));
        QCOMPARE(symbolOf(screen.get<StatusRow>("configuredRow")),
                 QStringLiteral("exclamationmark.triangle.fill orange"));
        screen.click("saveSelectionButton");
        QCOMPARE(screen.stored(AppSettings::selectedEmbeddingModelKey), QStringLiteral("nomic-embed-text"));
        QCOMPARE(screen.stored(AppSettings::selectedLLMModelKey), QStringLiteral("llama3.2"));
        QCOMPARE(screen.configured(), QStringLiteral("Both models configured"));
        QCOMPARE(symbolOf(screen.get<StatusRow>("configuredRow")), QStringLiteral("checkmark.circle.fill green"));
        QCOMPARE(screen.llmPicker->currentText(), QStringLiteral("llama3.2"));
        // Unsaved changes leave the status alone; appearing again drops them.
        Models::choose(screen.llmPicker, QStringLiteral("Select a model..."));
        QCOMPARE(screen.configured(), QStringLiteral("Both models configured"));
        server->clearRequests();
        screen.reappear();
        QCOMPARE(screen.llmPicker->currentText(), QStringLiteral("llama3.2"));
        QTRY_COMPARE_WITH_TIMEOUT(server->requests("/api/tags").size(), size_t(1), 30'000); // every appearance fetches
        QVERIFY(screen.waitLoaded());
        screen.prefs.settings().setSelectedLLMModel(std::nullopt);
        QCOMPARE(screen.configured(), QStringLiteral("Please select both models to use the app"));
    }

    void tabs()
    {
        TestSettings prefs;
        SettingsView view(prefs.settings());
        view.show();
        QCOMPARE((QStringList{view.tabText(0), view.tabText(1)}), (QStringList{"General", "Model"}));
        QCOMPARE(view.currentIndex(), 0);
        QCOMPARE(view.size(), QSize(600, 500));
    }

    // The detail panel's rows, "label=value", then its badges, "text:colour".
    void detailPanel_data()
    {
        QTest::addColumn<std::optional<ModelDetails>>("details");
        QTest::addColumn<ModelCapabilities>("capabilities"); // tools, vision, thinking, embedding
        QTest::addColumn<QStringList>("rows");
        using Text = std::optional<QString>;
        auto details = [](Text family, Text parameters, Text format) {
            return std::optional<ModelDetails>(ModelDetails{family, format, parameters});
        };
        QTest::newRow("no details, no flags")
            << std::optional<ModelDetails>() << ModelCapabilities{} << QStringList{"Capabilities:"};
        QTest::newRow("everything, as received")
            << details(QStringLiteral(" qwen2"), QStringLiteral("<b>7.6B</b>"), QStringLiteral("GGUF"))
            << ModelCapabilities{true, true, true, true}
            << QStringList{"Family:= qwen2", "Parameters:=<b>7.6B</b>", "Format:=GGUF", "Capabilities:",
                           "Embedding:blue", "Tools:purple", "Vision:green", "Thinking:orange"};
        QTest::newRow("empty family; embedding before thinking")
            << details(QString(), {}, {}) << ModelCapabilities{false, false, true, true}
            << QStringList{"Family:=", "Capabilities:", "Embedding:blue", "Thinking:orange"};
    }
    void detailPanel()
    {
        QFETCH(std::optional<ModelDetails>, details);
        QFETCH(ModelCapabilities, capabilities);
        QFETCH(QStringList, rows);
        OllamaModel model;
        model.details = details;
        model.capabilities = capabilities;
        ModelDetailView view(model);
        QStringList seen;
        for (const char *name : {"family", "parameters", "format"})
            if (const auto *value = view.findChild<QLabel *>(QLatin1String(name) + QLatin1String("Value")))
                seen << view.findChild<QLabel *>(QLatin1String(name) + QLatin1String("Label"))->text() + '='
                            + value->text();
        seen << view.findChild<QLabel *>(QStringLiteral("capabilitiesLabel"))->text();
        const QList<CapabilityBadge *> badges = view.findChildren<CapabilityBadge *>();
        const QList<ModelDetailView::Badge> kinds = ModelDetailView::badges(capabilities);
        QCOMPARE(badges.size(), kinds.size());
        for (qsizetype i = 0; i < badges.size(); ++i)
            seen << badges.at(i)->text() + ':' + colourNames.value(kinds.at(i).color);
        QCOMPARE(seen, rows);
    }

private:
    std::unique_ptr<FakeOllamaServer> m_server;
};

QTEST_MAIN(TestSettingsScreens)
#include "tst_settings.moc"
