#pragma once

#include "catalogue/ModelRecords.h"

#include <QColor>
#include <QWidget>

#include <optional>

class AppSettings;
class FormSection;
class ModelDetailView;
class ModelPicker;
class OllamaService;
class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class StatusRow;

// The "Model" tab of the Settings window: the state of the server's model
// list, one picker for the embedding model and one for the language model
// (each offering only suitable models, with a detail panel for the chosen
// one), and "Save Selection", which stores both choices.
//
// The tab owns its own catalogue service. Each time it appears, the pickers
// take the stored choices again (unsaved choices are dropped) and a new fetch
// of the model list starts. A fetch still running when the tab goes keeps
// its service until it ends.
class ModelSettingsView : public QWidget
{
    Q_OBJECT

public:
    // Uses AppSettings::shared().
    explicit ModelSettingsView(QWidget *parent = nullptr);
    explicit ModelSettingsView(AppSettings &settings, QWidget *parent = nullptr);
    // Uses the given service, or a new one of its own when it is null.
    ModelSettingsView(AppSettings &settings, OllamaService *service, QWidget *parent = nullptr);
    ~ModelSettingsView() override;

    OllamaService &ollamaService() const { return *m_service; }

    std::optional<QString> selectedEmbeddingModel() const { return m_selectedEmbeddingModel; }
    std::optional<QString> selectedLLMModel() const { return m_selectedLLMModel; }

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The widgets of one model section (embedding or language model).
    struct ModelSection
    {
        FormSection *panel = nullptr;
        QLabel *heading = nullptr;
        QLabel *explanation = nullptr;
        StatusRow *emptyNotice = nullptr;
        QWidget *pickerRow = nullptr;
        QLabel *pickerTitle = nullptr;
        ModelPicker *picker = nullptr;
        QVBoxLayout *detailSlot = nullptr;
        ModelDetailView *detail = nullptr;
    };

    static ModelSection buildModelSection(const QString &objectPrefix);
    static void setSectionTexts(ModelSection &section, const QString &heading, const QString &explanation,
                                const QString &emptyNotice, const QString &pickerTitle);
    // The tab's fixed texts in the current language.
    void retranslate();
    void renderModelSection(ModelSection &section, const QList<OllamaModel> &models,
                            const std::optional<QString> &selection);
    // Gives both pickers' titles the width of the wider one at the current
    // font, so that the two pickers line up.
    void alignPickerTitles();
    void saveSelection();
    void render();

    AppSettings &m_settings;
    OllamaService *const m_service;

    // Picker values, not yet saved.
    std::optional<QString> m_selectedEmbeddingModel;
    std::optional<QString> m_selectedLLMModel;

    QScrollArea *const m_scrollArea;
    QWidget *const m_form;
    FormSection *const m_statusSection;
    StatusRow *const m_statusRow;
    StatusRow *const m_errorRow;
    QPushButton *const m_refreshButton;
    ModelSection m_embedding;
    ModelSection m_llm;
    FormSection *const m_saveSection;
    StatusRow *const m_configuredRow;
    QPushButton *const m_saveButton;
    QColor m_refreshIconColor;
};
