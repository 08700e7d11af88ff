#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "catalogue/OllamaService.h"
#include "settings/ModelPicker.h"
#include "settings/ModelSettingsView.h"
#include "settings/OllamaSettingsView.h"
#include "settings/SettingsView.h"

#include <QLineEdit>
#include <QObject>
#include <QTest>

class TestSettingsView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void modelTabFetchesEachTimeItIsChosen();
    void switchingTabsReloadsStoredValues();

private:
    std::unique_ptr<FakeOllamaServer> m_server;
};

void TestSettingsView::initTestCase()
{
    m_server = std::make_unique<FakeOllamaServer>();
    FakeOllamaServer::Model embed;
    embed.name = "nomic-embed-text";
    embed.capabilities = std::vector<std::string>{"embedding"};
    FakeOllamaServer::Model llm;
    llm.name = "llama3.2";
    llm.capabilities = std::vector<std::string>{"completion", "tools"};
    FakeOllamaServer::Model other = llm;
    other.name = "mistral";
    m_server->setModels({embed, llm, other});
}

void TestSettingsView::cleanupTestCase()
{
    m_server.reset();
}

void TestSettingsView::modelTabFetchesEachTimeItIsChosen()
{
    m_server->clearRequests();
    TestSettings prefs;
    prefs.settings().setOllamaURL(m_server->baseURL());
    SettingsView view(prefs.settings());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    // The window opens on "General"; the model tab has not appeared yet.
    QCOMPARE(view.currentWidget(), view.generalTab());
    QCOMPARE(view.tabText(0), QStringLiteral("General"));
    QCOMPARE(view.tabText(1), QStringLiteral("Model"));
    QVERIFY(!view.modelTab()->ollamaService().isLoadingModels());
    QCOMPARE(m_server->requests("/api/tags").size(), size_t(0));

    view.setCurrentIndex(1);
    QVERIFY(view.modelTab()->ollamaService().isLoadingModels());
    QTRY_COMPARE(view.modelTab()->ollamaService().availableModels().size(), 3);
    QTRY_VERIFY(!view.modelTab()->ollamaService().isLoadingModels());
    // Details make the form taller than the window; the window keeps its size.
    QCOMPARE(view.size(), QSize(600, 500));

    view.setCurrentIndex(0);
    view.setCurrentIndex(1);
    QTRY_COMPARE(m_server->requests("/api/tags").size(), size_t(2));
    QTRY_VERIFY(!view.modelTab()->ollamaService().isLoadingModels());
}

void TestSettingsView::switchingTabsReloadsStoredValues()
{
    TestSettings prefs;
    prefs.store().setValue(AppSettings::selectedLLMModelKey, QStringLiteral("llama3.2"));
    prefs.settings().setOllamaURL(m_server->baseURL());
    SettingsView view(prefs.settings());
    view.show();

    auto *field = view.generalTab()->findChild<QLineEdit *>(QStringLiteral("urlField"));
    QCOMPARE(field->text(), m_server->baseURL());
    field->selectAll();
    field->insert(QStringLiteral("http://unsaved:1"));

    view.setCurrentIndex(1);
    auto *llmPicker = view.modelTab()->findChild<ModelPicker *>(QStringLiteral("llmPicker"));
    QTRY_VERIFY(!view.modelTab()->ollamaService().isLoadingModels());
    QCOMPARE(llmPicker->currentText(), QStringLiteral("llama3.2"));
    llmPicker->setCurrentIndex(llmPicker->findText(QStringLiteral("mistral")));
    QCOMPARE(view.modelTab()->selectedLLMModel(), QStringLiteral("mistral"));

    view.setCurrentIndex(0);
    QCOMPARE(field->text(), m_server->baseURL());
    view.setCurrentIndex(1);
    QCOMPARE(view.modelTab()->selectedLLMModel(), QStringLiteral("llama3.2"));
    QCOMPARE(llmPicker->currentText(), QStringLiteral("llama3.2"));
    QTRY_VERIFY(!view.modelTab()->ollamaService().isLoadingModels());
    QCOMPARE(prefs.settings().selectedLLMModel(), QStringLiteral("llama3.2"));
}

QTEST_MAIN(TestSettingsView)
#include "tst_settingsview.moc"
