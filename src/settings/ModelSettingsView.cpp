#include "ModelSettingsView.h"

#include "FormSection.h"
#include "FormStyle.h"
#include "ModelChoices.h"
#include "ModelDetailView.h"
#include "ModelPicker.h"
#include "StatusRow.h"
#include "catalogue/AppSettings.h"
#include "catalogue/OllamaService.h"
#include "widgets/NamedColors.h"
#include "widgets/Retranslate.h"
#include "widgets/Symbols.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>

ModelSettingsView::ModelSettingsView(QWidget *parent)
    : ModelSettingsView(AppSettings::shared(), nullptr, parent)
{
}

ModelSettingsView::ModelSettingsView(AppSettings &settings, QWidget *parent)
    : ModelSettingsView(settings, nullptr, parent)
{
}

ModelSettingsView::ModelSettingsView(AppSettings &settings, OllamaService *service, QWidget *parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_service(service ? service : new OllamaService(settings, this))
    , m_scrollArea(new QScrollArea(this))
    , m_form(new QWidget)
    , m_statusSection(new FormSection(12))
    , m_statusRow(new StatusRow(TextStyle::Headline, StatusRow::Tone::Primary))
    , m_errorRow(new StatusRow(TextStyle::Caption, StatusRow::Tone::Secondary))
    , m_refreshButton(new QPushButton)
    , m_embedding(buildModelSection(QStringLiteral("embedding")))
    , m_llm(buildModelSection(QStringLiteral("llm")))
    , m_saveSection(new FormSection(12))
    , m_configuredRow(new StatusRow(TextStyle::Caption, StatusRow::Tone::Secondary))
    , m_saveButton(new QPushButton)
{
    setObjectName(QStringLiteral("modelSettings"));
    m_service->setObjectName(QStringLiteral("modelSettingsService"));
    m_scrollArea->setObjectName(QStringLiteral("scrollArea"));
    m_form->setObjectName(QStringLiteral("form"));

    m_statusSection->setObjectName(QStringLiteral("statusSection"));
    m_statusRow->setObjectName(QStringLiteral("statusRow"));
    m_errorRow->setObjectName(QStringLiteral("errorRow"));
    m_errorRow->setSymbol(QStringLiteral("exclamationmark.triangle.fill"), NamedColor::Orange);
    m_errorRow->setVerticalPadding(4);
    m_refreshButton->setObjectName(QStringLiteral("refreshButton"));
    m_refreshButton->setAutoDefault(false);
    m_statusSection->stack()->addWidget(m_statusRow);
    m_statusSection->stack()->addWidget(m_errorRow);
    m_statusSection->stack()->addWidget(m_refreshButton, 0, Qt::AlignLeading);

    m_saveSection->setObjectName(QStringLiteral("saveSection"));
    m_configuredRow->setObjectName(QStringLiteral("configuredRow"));
    m_saveButton->setObjectName(QStringLiteral("saveSelectionButton"));
    m_saveButton->setAutoDefault(false);
    m_saveSection->stack()->addWidget(m_configuredRow);
    auto *saveRow = new QHBoxLayout;
    saveRow->addStretch(1);
    saveRow->addWidget(m_saveButton);
    m_saveSection->stack()->addLayout(saveRow);

    auto *form = new QVBoxLayout(m_form);
    form->setContentsMargins(20, 20, 20, 20);
    form->setSpacing(14);
    form->addWidget(m_statusSection);
    form->addWidget(m_embedding.panel);
    form->addWidget(m_llm.panel);
    form->addWidget(m_saveSection);
    form->addStretch(1);

    Retranslate::texts(this, [this] { retranslate(); });
    for (QLabel *title : {m_embedding.pickerTitle, m_llm.pickerTitle})
        title->installEventFilter(this);

    // The form scrolls when the detail panels make it taller than the window.
    m_scrollArea->setWidget(m_form);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setBackgroundRole(QPalette::Window);
    m_scrollArea->viewport()->setAutoFillBackground(false);
    m_form->setAutoFillBackground(false);
    // An explicit minimum lets the scroll area size the form by its height for
    // the actual width; the minimum height that wrapped labels report on their
    // own is for a much narrower form and would always scroll.
    m_form->setMinimumHeight(1);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scrollArea);

    connect(m_refreshButton, &QPushButton::clicked, m_service, &OllamaService::fetchModels);
    connect(m_saveButton, &QPushButton::clicked, this, &ModelSettingsView::saveSelection);
    connect(m_embedding.picker, &ModelPicker::valueChanged, this, [this] {
        m_selectedEmbeddingModel = m_embedding.picker->value();
        render();
    });
    connect(m_llm.picker, &ModelPicker::valueChanged, this, [this] {
        m_selectedLLMModel = m_llm.picker->value();
        render();
    });
    connect(m_service, &OllamaService::availableModelsChanged, this, &ModelSettingsView::render);
    connect(m_service, &OllamaService::isLoadingModelsChanged, this, &ModelSettingsView::render);
    connect(m_service, &OllamaService::modelErrorChanged, this, &ModelSettingsView::render);
    connect(&m_settings, &AppSettings::selectedEmbeddingModelChanged, this, &ModelSettingsView::render);
    connect(&m_settings, &AppSettings::selectedLLMModelChanged, this, &ModelSettingsView::render);

    render();
}

ModelSettingsView::~ModelSettingsView()
{
    // A service of the tab's own outlives it while a fetch runs, so that the
    // fetch still ends and writes its diagnostic lines.
    if (m_service->parent() == this) {
        disconnect(m_service, nullptr, this, nullptr);
        m_service->releaseWhenIdle();
    }
}

void ModelSettingsView::retranslate()
{
    m_refreshButton->setText(tr("Refresh Models"));
    m_saveButton->setText(tr("Save Selection"));
    m_saveButton->setAccessibleDescription(tr("Stores both chosen models"));
    setSectionTexts(m_embedding, tr("Embedding Model"),
                    tr("Select a model that supports embeddings (text to vector conversion)"),
                    tr("No embedding models available. Please install an embedding model (e.g., nomic-embed-text, "
                       "mxbai-embed-large)"),
                    tr("Embedding Model"));
    setSectionTexts(m_llm, tr("Language Model (LLM)"),
                    tr("Select a text-only language model (without vision or embedding capabilities)"),
                    tr("No compatible LLM models available. Please install a text-only model (e.g., llama3.2, "
                       "mistral, qwen2.5)"),
                    tr("LLM Model"));
    alignPickerTitles();
    // The detail panels are made again in the new language.
    for (ModelSection *section : {&m_embedding, &m_llm}) {
        delete section->detail;
        section->detail = nullptr;
    }
    render();
}

void ModelSettingsView::setSectionTexts(ModelSection &section, const QString &heading, const QString &explanation,
                                        const QString &emptyNotice, const QString &pickerTitle)
{
    section.heading->setText(heading);
    section.explanation->setText(explanation);
    section.emptyNotice->setText(emptyNotice);
    section.pickerTitle->setText(pickerTitle);
    section.picker->setAccessibleName(pickerTitle);
}

ModelSettingsView::ModelSection ModelSettingsView::buildModelSection(const QString &objectPrefix)
{
    ModelSection section;
    section.panel = new FormSection(12);
    section.panel->setObjectName(objectPrefix + QStringLiteral("Section"));
    QVBoxLayout *stack = section.panel->stack();

    section.heading = FormStyle::label(QString(), TextStyle::Headline, objectPrefix + QStringLiteral("Heading"));
    stack->addWidget(section.heading);
    section.explanation = FormStyle::label(QString(), TextStyle::Caption, objectPrefix + QStringLiteral("Explanation"));
    section.explanation->setWordWrap(true);
    stack->addWidget(section.explanation);

    section.emptyNotice = new StatusRow(TextStyle::Caption, StatusRow::Tone::Secondary);
    section.emptyNotice->setObjectName(objectPrefix + QStringLiteral("EmptyNotice"));
    section.emptyNotice->setSymbol(QStringLiteral("info.circle"), NamedColor::Orange);
    section.emptyNotice->setVerticalPadding(8);
    stack->addWidget(section.emptyNotice);

    section.pickerRow = new QWidget;
    section.pickerRow->setObjectName(objectPrefix + QStringLiteral("PickerRow"));
    auto *row = new QHBoxLayout(section.pickerRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    QLabel *title = FormStyle::label(QString(), TextStyle::Body, objectPrefix + QStringLiteral("PickerTitle"));
    section.picker = new ModelPicker;
    section.picker->setObjectName(objectPrefix + QStringLiteral("Picker"));
    title->setBuddy(section.picker);
    section.pickerTitle = title;
    row->addWidget(title, 0, Qt::AlignVCenter);
    row->addWidget(section.picker, 1, Qt::AlignVCenter);
    stack->addWidget(section.pickerRow);

    section.detailSlot = new QVBoxLayout;
    section.detailSlot->setContentsMargins(0, 0, 0, 0);
    stack->addLayout(section.detailSlot);
    return section;
}

void ModelSettingsView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A window coming back from being minimised is no new appearance.
    if (event->spontaneous())
        return;
    m_selectedEmbeddingModel = m_settings.selectedEmbeddingModel();
    m_selectedLLMModel = m_settings.selectedLLMModel();
    render();
    // Every appearance fetches again, even while an earlier fetch still runs.
    m_service->fetchModels();
}

void ModelSettingsView::alignPickerTitles()
{
    for (QLabel *title : {m_embedding.pickerTitle, m_llm.pickerTitle})
        title->setMinimumWidth(0);
    const int width = qMax(m_embedding.pickerTitle->sizeHint().width(), m_llm.pickerTitle->sizeHint().width());
    m_embedding.pickerTitle->setMinimumWidth(width);
    m_llm.pickerTitle->setMinimumWidth(width);
}

bool ModelSettingsView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FontChange
        && (watched == m_embedding.pickerTitle || watched == m_llm.pickerTitle))
        alignPickerTitles();
    return QWidget::eventFilter(watched, event);
}

void ModelSettingsView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        render();
}

void ModelSettingsView::saveSelection()
{
    if (!m_selectedEmbeddingModel || !m_selectedLLMModel)
        return;
    // Copies: each assignment redraws the screen, which reads the members.
    const std::optional<QString> embedding = m_selectedEmbeddingModel;
    const std::optional<QString> llm = m_selectedLLMModel;
    m_settings.setSelectedEmbeddingModel(embedding);
    m_settings.setSelectedLLMModel(llm);
}

void ModelSettingsView::renderModelSection(ModelSection &section, const QList<OllamaModel> &models,
                                           const std::optional<QString> &selection)
{
    const bool empty = models.isEmpty();
    section.emptyNotice->setVisible(empty);
    section.pickerRow->setVisible(!empty);
    section.picker->setModels(models);
    section.picker->setValue(selection);
    FormStyle::setTextColor(section.explanation, NamedColors::secondaryText(palette()));

    // The detail panel of the chosen model; none when nothing is chosen or
    // the choice names no model of the list.
    const OllamaModel *chosen = (!empty && selection) ? ModelChoices::findModel(models, *selection) : nullptr;
    if (section.detail && (!chosen || section.detail->model() != *chosen)) {
        delete section.detail;
        section.detail = nullptr;
    }
    if (chosen && !section.detail) {
        section.detail = new ModelDetailView(*chosen);
        section.detailSlot->addWidget(section.detail);
    }
}

void ModelSettingsView::render()
{
    const bool loading = m_service->isLoadingModels();
    const std::optional<QString> &error = m_service->modelError();
    if (loading) {
        m_statusRow->setSymbol(QStringLiteral("arrow.clockwise"), NamedColor::Blue);
        m_statusRow->setText(tr("Loading models..."));
    } else if (error) {
        // A failed fetch is not reported as loaded; the row below says why.
        m_statusRow->setSymbol(QStringLiteral("exclamationmark.triangle.fill"), NamedColor::Orange);
        m_statusRow->setText(tr("Models not loaded"));
    } else {
        m_statusRow->setSymbol(QStringLiteral("checkmark.circle.fill"), NamedColor::Green);
        m_statusRow->setText(tr("Models loaded"));
    }
    m_statusRow->setSpinning(loading);

    m_errorRow->setVisible(error.has_value());
    m_errorRow->setText(error.value_or(QString()));
    m_refreshButton->setEnabled(!loading);
    const QColor iconColor = palette().color(QPalette::ButtonText);
    if (iconColor != m_refreshIconColor) {
        m_refreshIconColor = iconColor;
        m_refreshButton->setIcon(Symbols::icon(QStringLiteral("arrow.clockwise"), iconColor));
    }

    const QList<OllamaModel> &available = m_service->availableModels();
    renderModelSection(m_embedding, ModelChoices::embeddingModels(available), m_selectedEmbeddingModel);
    renderModelSection(m_llm, ModelChoices::llmModels(available), m_selectedLLMModel);

    // Follows the stored choices, not the pickers.
    if (m_settings.isConfigured()) {
        m_configuredRow->setSymbol(QStringLiteral("checkmark.circle.fill"), NamedColor::Green);
        m_configuredRow->setText(tr("Both models configured"));
    } else {
        m_configuredRow->setSymbol(QStringLiteral("exclamationmark.triangle.fill"), NamedColor::Orange);
        m_configuredRow->setText(tr("Please select both models to use the app"));
    }
    m_saveButton->setEnabled(m_selectedEmbeddingModel.has_value() && m_selectedLLMModel.has_value());
    FormStyle::makeProminent(m_saveButton);
}
