#include "SentimentDetailsPanel.h"

#include "DisclosureButton.h"
#include "SentimentScore.h"
#include "TokenProbabilitiesSection.h"
#include "widgets/Labels.h"
#include "widgets/NamedColors.h"
#include "widgets/Retranslate.h"
#include "widgets/TextStyles.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>
#include <QtMath>
#include <QTextEdit>
#include <QVBoxLayout>

#include <optional>

namespace {

constexpr int inset = 16;
constexpr int sectionSpacing = 14;
constexpr int captionSpacing = 6;
constexpr int boxMargin = 8;

// A caption and the widgets under it, `captionSpacing` apart.
QWidget *section(const QString &objectName, const QList<QWidget *> &items)
{
    auto *box = new QWidget;
    box->setObjectName(objectName);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(captionSpacing);
    for (QWidget *item : items)
        layout->addWidget(item);
    return box;
}

} // namespace

// Read-only, selectable text in a monospaced face that grows with its text up
// to a number of lines and scrolls beyond that. Tab moves on instead of
// being typed, so the box is a stop on the way through the panel.
class SentimentDetailsPanel::TextBox : public QTextEdit
{
public:
    explicit TextBox(int maxLines, QWidget *parent = nullptr)
        : QTextEdit(parent)
        , m_maxLines(maxLines)
    {
        setReadOnly(true);
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        setFocusPolicy(Qt::StrongFocus);
        setTabChangesFocus(true);
        setAcceptRichText(false);
        setFrameShape(QFrame::NoFrame);
        setLineWrapMode(QTextEdit::WidgetWidth);
        setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        TextStyles::applyMonospaced(this, TextStyle::Caption);
        document()->setDocumentMargin(0);
        viewport()->setAutoFillBackground(false);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
                &TextBox::fitHeight);
        fitHeight();
    }

private:
    void fitHeight()
    {
        const int lineHeight = fontMetrics().lineSpacing();
        const int content = qCeil(document()->documentLayout()->documentSize().height());
        const int height = qBound(lineHeight, content, lineHeight * m_maxLines) + 2 * frameWidth();
        if (height != this->height() || minimumHeight() != height)
            setFixedHeight(height);
    }

    const int m_maxLines;
};

SentimentDetailsPanel::SentimentDetailsPanel(QWidget *parent)
    : RoundedPanel(parent)
    , m_modelCaption(makeLabel(QStringLiteral("detailsModelCaption"), QString(),
                               TextStyle::Subheadline, QFont::DemiBold))
    , m_modelValue(makeValueLabel(QStringLiteral("detailsModel")))
    , m_promptCaption(makeLabel(QStringLiteral("detailsPromptCaption"), QString(),
                                TextStyle::Subheadline, QFont::DemiBold))
    , m_promptNote(makeLabel(QStringLiteral("detailsPromptNote"),
                             QString(),
                             TextStyle::Caption))
    , m_promptFrame(new RoundedPanel)
    , m_promptBox(new TextBox(18))
    , m_thinkingToggle(new DisclosureButton(QString()))
    , m_thinkingNote(makeLabel(QStringLiteral("detailsThinkingNote"),
                               QString(),
                               TextStyle::Caption))
    , m_thinkingFrame(new RoundedPanel)
    , m_thinkingBox(new TextBox(12))
    , m_answerCaption(makeLabel(QStringLiteral("detailsAnswerCaption"),
                                QString(), TextStyle::Subheadline,
                                QFont::DemiBold))
    , m_answerFrame(new RoundedPanel)
    , m_answerBox(new TextBox(8))
    , m_stepsCaption(makeLabel(QStringLiteral("detailsStepsCaption"), QString(),
                               TextStyle::Subheadline, QFont::DemiBold))
    , m_firstLineCaption(makeLabel(QStringLiteral("detailsFirstLineCaption"),
                                   QString(), TextStyle::Caption))
    , m_firstLineValue(makeValueLabel(QStringLiteral("detailsFirstLine")))
    , m_strippedCaption(makeLabel(QStringLiteral("detailsStrippedCaption"),
                                  QString(),
                                  TextStyle::Caption))
    , m_strippedValue(makeValueLabel(QStringLiteral("detailsStripped")))
    , m_outcomeCaption(makeLabel(QStringLiteral("detailsOutcomeCaption"), QString(),
                                 TextStyle::Caption))
    , m_outcomeValue(makeLabel(QStringLiteral("detailsOutcome"), QString(), TextStyle::Body))
    , m_timingCaption(makeLabel(QStringLiteral("detailsTimingCaption"), QString(),
                                TextStyle::Subheadline, QFont::DemiBold))
    , m_timingValue(makeLabel(QStringLiteral("detailsTiming"), QString(), TextStyle::Body))
    , m_probabilitiesSection(new TokenProbabilitiesSection)
{
    Retranslate::texts(this, [this] {
        m_modelCaption->setText(tr("Model"));
        m_promptCaption->setText(tr("Prompt sent to the model"));
        m_promptNote->setText(tr("Your text is highlighted; everything around it is the same for every analysis."));
        m_thinkingToggle->setText(tr("The model's reasoning"));
        m_thinkingNote->setText(tr("The model reasoned before it answered; writing that reasoning is why a thinking model takes longer."));
        m_answerCaption->setText(tr("The model's answer, exactly as received"));
        m_stepsCaption->setText(tr("Reading the answer"));
        m_firstLineCaption->setText(tr("1. First line, trimmed"));
        m_strippedCaption->setText(tr("2. Stripped of . ! ? , \" ' and spaces at both ends"));
        m_outcomeCaption->setText(tr("3. Score"));
        m_timingCaption->setText(tr("Server timing"));
        setAccessibleName(tr("How the score was computed"));
        m_answerBox->setPlaceholderText(tr("(empty answer)"));
    });
    setObjectName(QStringLiteral("detailsPanel"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(inset, inset, inset, inset);
    layout->setSpacing(sectionSpacing);

    // The children are created and laid out in reading order, which is also
    // the order in which assistive technology and Tab visit them.
    Retranslate::texts(m_modelValue, [this] { m_modelValue->setAccessibleName(m_modelCaption->text()); });
    layout->addWidget(section(QStringLiteral("detailsModelSection"), {m_modelCaption, m_modelValue}));

    const auto frame = [](RoundedPanel *panel, QWidget *content, const QString &name) {
        panel->setObjectName(name);
        auto *frameLayout = new QVBoxLayout(panel);
        frameLayout->setContentsMargins(boxMargin, boxMargin, boxMargin, boxMargin);
        frameLayout->addWidget(content);
        return panel;
    };
    m_promptBox->setObjectName(QStringLiteral("detailsPrompt"));
    Retranslate::texts(m_promptBox, [this] { m_promptBox->setAccessibleName(m_promptCaption->text()); });
    Retranslate::texts(m_promptBox, [this] { m_promptBox->setAccessibleDescription(m_promptNote->text()); });
    m_promptCaption->setBuddy(m_promptBox);
    layout->addWidget(section(QStringLiteral("detailsPromptSection"),
                              {m_promptCaption, m_promptNote,
                               frame(m_promptFrame, m_promptBox, QStringLiteral("detailsPromptFrame"))}));

    // A thinking model's reasoning came before its answer, so it is shown
    // before it; plain text, selectable, closed until asked for.
    m_thinkingToggle->setObjectName(QStringLiteral("detailsThinkingToggle"));
    Retranslate::texts(m_thinkingToggle, [this] { m_thinkingToggle->setAccessibleDescription(m_thinkingNote->text()); });
    TextStyles::apply(m_thinkingToggle, TextStyle::Subheadline);
    m_thinkingBox->setObjectName(QStringLiteral("detailsThinking"));
    Retranslate::texts(m_thinkingBox, [this] { m_thinkingBox->setAccessibleName(m_thinkingToggle->text()); });
    m_thinkingSection = section(QStringLiteral("detailsThinkingSection"),
                                {m_thinkingToggle, m_thinkingNote,
                                 frame(m_thinkingFrame, m_thinkingBox, QStringLiteral("detailsThinkingFrame"))});
    layout->addWidget(m_thinkingSection);
    connect(m_thinkingToggle, &DisclosureButton::toggled, this, [this](bool open) {
        m_isShowingThinking = open;
        render();
    });

    m_answerBox->setObjectName(QStringLiteral("detailsRawResponse"));
    Retranslate::texts(m_answerBox, [this] { m_answerBox->setAccessibleName(m_answerCaption->text()); });
    m_answerCaption->setBuddy(m_answerBox);
    layout->addWidget(section(QStringLiteral("detailsAnswerSection"),
                              {m_answerCaption, frame(m_answerFrame, m_answerBox,
                                                      QStringLiteral("detailsRawResponseFrame"))}));

    auto *steps = new QWidget;
    steps->setObjectName(QStringLiteral("detailsSteps"));
    auto *grid = new QGridLayout(steps);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(captionSpacing);
    grid->setColumnStretch(1, 1);
    int row = 0;
    for (const auto &[caption, value] : {std::pair{m_firstLineCaption, m_firstLineValue},
                                         std::pair{m_strippedCaption, m_strippedValue},
                                         std::pair{m_outcomeCaption, m_outcomeValue}}) {
        caption->setWordWrap(false);
        Retranslate::texts(value, [caption, value] { value->setAccessibleName(caption->text()); });
        grid->addWidget(caption, row, 0, Qt::AlignLeft | Qt::AlignTop);
        grid->addWidget(value, row, 1, Qt::AlignTop);
        ++row;
    }
    layout->addWidget(section(QStringLiteral("detailsStepsSection"), {m_stepsCaption, steps}));

    Retranslate::texts(m_timingValue, [this] { m_timingValue->setAccessibleName(m_timingCaption->text()); });
    m_timingSection = section(QStringLiteral("detailsTimingSection"), {m_timingCaption, m_timingValue});
    layout->addWidget(m_timingSection);
    layout->addWidget(m_probabilitiesSection);

    setFocusProxy(m_promptBox);
    QWidget::setTabOrder(m_promptBox, m_thinkingToggle);
    QWidget::setTabOrder(m_thinkingToggle, m_thinkingBox);
    QWidget::setTabOrder(m_thinkingBox, m_answerBox);

    render();
}

SentimentDetailsPanel::~SentimentDetailsPanel() = default;

void SentimentDetailsPanel::setReading(const SentimentReading &reading)
{
    if (reading == m_reading)
        return;
    m_reading = reading;
    // The boxes are refilled only when the reading changes, so that a
    // selection the user made survives a palette change.
    m_promptBox->setPlainText(m_reading.prompt);
    m_answerBox->setPlainText(m_reading.rawResponse);
    m_thinkingBox->setPlainText(m_reading.thinking);
    m_isShowingThinking = false;
    m_promptBox->verticalScrollBar()->setValue(0);
    m_probabilitiesSection->setSubject(m_reading.text, m_reading.model);
    render();
}

std::pair<qsizetype, qsizetype> SentimentDetailsPanel::textSpan(const SentimentReading &reading)
{
    const qsizetype start = SentimentScore::promptOpening.size();
    if (!reading.prompt.startsWith(SentimentScore::promptOpening) || reading.prompt.size() < start + reading.text.size())
        return {0, 0};
    return {start, reading.text.size()};
}

QString SentimentDetailsPanel::quoted(const QString &value)
{
    if (value.isEmpty())
        return tr("(empty)");
    return tr("“%1”").arg(value);
}

void SentimentDetailsPanel::changeEvent(QEvent *event)
{
    RoundedPanel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange
        || event->type() == QEvent::LanguageChange)
        render();
}

void SentimentDetailsPanel::render()
{
    const QPalette &pal = palette();
    const QColor secondary = NamedColors::secondaryText(pal);

    setFillColor(NamedColors::withOpacity(pal.color(QPalette::WindowText), 0.04));
    setBorderColor(NamedColors::withOpacity(secondary, 0.25));
    for (RoundedPanel *frame : {m_promptFrame, m_thinkingFrame, m_answerFrame}) {
        frame->setFillColor(pal.color(QPalette::Base));
        frame->setBorderColor(NamedColors::withOpacity(secondary, 0.3));
    }
    for (QLabel *label : {m_promptNote, m_thinkingNote, m_firstLineCaption, m_strippedCaption, m_outcomeCaption})
        setForeground(label, secondary);

    m_modelValue->setText(m_reading.model);

    // Only a thinking model's reply carries reasoning.
    m_thinkingSection->setVisible(!m_reading.thinking.isEmpty());
    if (m_thinkingToggle->isChecked() != m_isShowingThinking)
        m_thinkingToggle->setChecked(m_isShowingThinking);
    m_thinkingFrame->setVisible(m_isShowingThinking);

    // The user's text in the prompt, marked with a pale yellow ground.
    const auto [start, length] = textSpan(m_reading);
    QList<QTextEdit::ExtraSelection> marks;
    if (length > 0) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(m_promptBox->document());
        mark.cursor.setPosition(int(start));
        mark.cursor.setPosition(int(start + length), QTextCursor::KeepAnchor);
        mark.format.setBackground(NamedColors::color(NamedColor::Yellow, NamedColors::isDark(pal) ? 0.3 : 0.22, pal));
        marks.append(mark);
    }
    m_promptBox->setExtraSelections(marks);

    m_firstLineValue->setText(quoted(m_reading.firstLine));
    m_strippedValue->setText(quoted(m_reading.stripped));
    SentimentSteps steps;
    steps.firstLine = m_reading.firstLine;
    steps.stripped = m_reading.stripped;
    steps.score = m_reading.score;
    steps.usedFallback = m_reading.usedFallback;
    const QString outcome = SentimentReadingText::outcome(steps);
    m_outcomeValue->setText(outcome.left(1).toUpper() + outcome.mid(1) + QLatin1Char('.'));
    setForeground(m_outcomeValue, m_reading.usedFallback ? NamedColors::color(NamedColor::Orange, pal)
                                                         : pal.color(QPalette::WindowText));

    // Shown only when the reply carried any of the server's figures.
    const QString timing = SentimentReadingText::serverTiming(m_reading);
    m_timingSection->setVisible(!timing.isEmpty());
    m_timingValue->setText(timing);
}
