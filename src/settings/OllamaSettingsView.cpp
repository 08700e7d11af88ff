#include "OllamaSettingsView.h"

#include "FormSection.h"
#include "FormStyle.h"
#include "LanguageSection.h"
#include "StatusRow.h"
#include "catalogue/AppSettings.h"
#include "catalogue/ServerEndpoint.h"
#include "catalogue/TextTrimming.h"
#include "widgets/NamedColors.h"
#include "widgets/Retranslate.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {

struct URLExample
{
    // English; looked up with tr() where it is shown.
    const char *title;
    QString url;
};

const URLExample examples[] = {
    {QT_TRANSLATE_NOOP("OllamaSettingsView", "Local (default)"), QStringLiteral("http://localhost:11434")},
    {QT_TRANSLATE_NOOP("OllamaSettingsView", "Custom port"), QStringLiteral("http://localhost:8080")},
    {QT_TRANSLATE_NOOP("OllamaSettingsView", "Remote server"), QStringLiteral("http://192.168.1.100:11434")},
};

void runAfterDelay(std::chrono::milliseconds delay, QObject *context, std::function<void()> action)
{
    QTimer::singleShot(delay, context, std::move(action));
}

} // namespace

OllamaSettingsView::OllamaSettingsView(QWidget *parent)
    : OllamaSettingsView(AppSettings::shared(), parent)
{
}

OllamaSettingsView::OllamaSettingsView(AppSettings &settings, QWidget *parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_scheduler(runAfterDelay)
    , m_urlSection(new FormSection(12, this))
    , m_title(FormStyle::label(QString(), TextStyle::Headline, QStringLiteral("urlTitle")))
    , m_explanation(FormStyle::label(QString(), TextStyle::Caption, QStringLiteral("urlExplanation")))
    , m_urlField(new QLineEdit)
    , m_resetButton(new QPushButton)
    , m_errorRow(new StatusRow(TextStyle::Caption, StatusRow::Tone::Secondary))
    , m_confirmationRow(new StatusRow(TextStyle::Caption, StatusRow::Tone::Secondary))
    , m_lockedRow(new StatusRow(TextStyle::Caption, StatusRow::Tone::Secondary))
    , m_saveButton(new QPushButton)
    , m_examplesSection(new FormSection(8, this))
{
    setObjectName(QStringLiteral("ollamaSettings"));
    m_urlSection->setObjectName(QStringLiteral("urlSection"));
    m_examplesSection->setObjectName(QStringLiteral("examplesSection"));

    m_explanation->setWordWrap(true);
    m_urlField->setObjectName(QStringLiteral("urlField"));
    m_urlField->setPlaceholderText(m_settings.defaultURL());
    m_urlField->setClearButtonEnabled(false);
    m_resetButton->setObjectName(QStringLiteral("resetButton"));
    m_resetButton->setAutoDefault(false);
    m_errorRow->setObjectName(QStringLiteral("errorRow"));
    m_errorRow->setSymbol(QStringLiteral("exclamationmark.triangle.fill"), NamedColor::Orange);
    m_errorRow->setVerticalPadding(4);
    m_confirmationRow->setObjectName(QStringLiteral("confirmationRow"));
    m_confirmationRow->setSymbol(QStringLiteral("checkmark.circle.fill"), NamedColor::Green);
    m_confirmationRow->setVerticalPadding(4);
    m_lockedRow->setObjectName(QStringLiteral("lockedRow"));
    m_lockedRow->setSymbol(QStringLiteral("info.circle"), NamedColor::Blue);
    m_lockedRow->setVerticalPadding(4);
    m_saveButton->setObjectName(QStringLiteral("saveButton"));
    // Return in the field ends editing; it never presses Save.
    m_saveButton->setAutoDefault(false);
    m_saveButton->setMinimumWidth(80);

    QVBoxLayout *stack = m_urlSection->stack();
    stack->addWidget(m_title);
    stack->addWidget(m_explanation);
    auto *fieldRow = new QHBoxLayout;
    fieldRow->setSpacing(8);
    fieldRow->addWidget(m_urlField, 1, Qt::AlignVCenter);
    fieldRow->addWidget(m_resetButton, 0, Qt::AlignVCenter);
    stack->addLayout(fieldRow);
    stack->addWidget(m_errorRow);
    stack->addWidget(m_confirmationRow);
    stack->addWidget(m_lockedRow);
    auto *saveRow = new QHBoxLayout;
    saveRow->addStretch(1);
    saveRow->addWidget(m_saveButton);
    stack->addLayout(saveRow);

    QVBoxLayout *examples = m_examplesSection->stack();
    QLabel *examplesTitle = FormStyle::label(QString(), TextStyle::Headline, QStringLiteral("examplesTitle"));
    examples->addWidget(examplesTitle);
    // The titles share a column as wide as the widest of them at the
    // current font; the URLs line up after it.
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(examples->spacing());
    grid->setColumnStretch(2, 1);
    int index = 0;
    for (const URLExample &example : ::examples) {
        const int rowIndex = index;
        const QString suffix = QString::number(index++);
        QLabel *title = FormStyle::label(QString(), TextStyle::Caption, QStringLiteral("exampleTitle") + suffix);
        title->setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
        QLabel *url = FormStyle::label(example.url, TextStyle::Caption, QStringLiteral("exampleURL") + suffix);
        TextStyles::applyMonospaced(url, TextStyle::Caption);
        grid->addWidget(title, rowIndex, 0, Qt::AlignVCenter);
        grid->addWidget(url, rowIndex, 1, Qt::AlignVCenter);
        m_exampleLabels << title << url;
    }
    examples->addLayout(grid);

    auto *form = new QVBoxLayout(this);
    form->setContentsMargins(20, 20, 20, 20);
    form->setSpacing(14);
    form->addWidget(m_urlSection);
    form->addWidget(m_examplesSection);
    form->addWidget(new LanguageSection(m_settings, this));
    form->addStretch(1);

    connect(m_urlField, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_urlText = text;
        render();
    });
    connect(m_resetButton, &QPushButton::clicked, this, &OllamaSettingsView::reset);
    connect(m_saveButton, &QPushButton::clicked, this, &OllamaSettingsView::save);
    connect(&m_settings, &AppSettings::ollamaURLChanged, this, &OllamaSettingsView::render);

    Retranslate::texts(this, [this, examplesTitle] {
        m_title->setText(tr("Ollama Server URL"));
        m_explanation->setText(tr("Enter the URL where your Ollama server is running"));
        m_urlField->setAccessibleName(tr("Ollama Server URL"));
        m_resetButton->setText(tr("Reset"));
        m_resetButton->setAccessibleDescription(tr("Puts the default URL into the field"));
        m_confirmationRow->setText(tr(confirmationText));
        m_lockedRow->setText(tr(lockedText));
        m_saveButton->setText(tr("Save"));
        m_saveButton->setAccessibleDescription(tr("Stores the server URL"));
        examplesTitle->setText(tr("Examples"));
        for (int i = 0; i < int(std::size(::examples)); ++i) {
            m_exampleLabels[2 * i]->setText(tr(::examples[i].title));
            m_exampleLabels[2 * i + 1]->setAccessibleName(tr("%1: %2").arg(tr(::examples[i].title), ::examples[i].url));
        }
        render();
    });
}

void OllamaSettingsView::setScheduler(Scheduler scheduler)
{
    m_scheduler = scheduler ? std::move(scheduler) : Scheduler(runAfterDelay);
}

void OllamaSettingsView::reset()
{
    // Only fills the field; the user still saves it.
    m_urlText = m_settings.defaultURL();
    render();
}

void OllamaSettingsView::save()
{
    if (m_settings.isServerLocked() || TextTrimming::trimmedWhitespace(m_urlText).isEmpty())
        return;
    const ServerEndpoint::URLCheck result = ServerEndpoint::checkServerURL(m_urlText);
    if (!result.url) {
        m_errorMessage = result.error;
        m_showingSaveConfirmation = false;
        render();
        return;
    }
    // The field keeps what the user typed, surrounding spaces included, until
    // the tab next appears.
    m_settings.setOllamaURL(*result.url);
    m_errorMessage.reset();
    m_showingSaveConfirmation = true;
    render();
    m_scheduler(confirmationDuration, this, [this] {
        m_showingSaveConfirmation = false;
        render();
    });
}

void OllamaSettingsView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A window coming back from being minimised is no new appearance.
    if (event->spontaneous())
        return;
    m_urlText = m_settings.ollamaURL();
    render();
}

void OllamaSettingsView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        render();
}

void OllamaSettingsView::render()
{
    if (m_urlField->text() != m_urlText)
        m_urlField->setText(m_urlText);
    // A URL set by the administrator can be read and copied, not changed.
    const bool locked = m_settings.isServerLocked();
    m_urlField->setReadOnly(locked);
    m_urlField->setAccessibleDescription(locked ? tr(lockedText) : QString());
    m_lockedRow->setVisible(locked);
    m_resetButton->setVisible(!locked && m_settings.ollamaURL() != m_settings.defaultURL());
    m_saveButton->setVisible(!locked);

    m_errorRow->setVisible(m_errorMessage.has_value());
    m_errorRow->setText(m_errorMessage.value_or(QString()));
    m_confirmationRow->setVisible(m_showingSaveConfirmation);

    m_saveButton->setEnabled(!TextTrimming::trimmedWhitespace(m_urlText).isEmpty());
    FormStyle::makeProminent(m_saveButton);

    const QColor secondary = NamedColors::secondaryText(palette());
    FormStyle::setTextColor(m_explanation, secondary);
    for (QLabel *label : std::as_const(m_exampleLabels))
        FormStyle::setTextColor(label, secondary);
}
