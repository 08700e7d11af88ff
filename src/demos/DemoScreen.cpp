#include "DemoScreen.h"

#include "catalogue/AppSettings.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/DisclosureButton.h"
#include "history/SessionHistory.h"
#include "widgets/Labels.h"
#include "widgets/NamedColors.h"
#include "widgets/ProminentButton.h"
#include "widgets/RoundedPanel.h"
#include "widgets/SymbolView.h"
#include "widgets/TextStyles.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QShortcut>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Lengths in device-independent pixels.
constexpr int defaultInset = 16;
constexpr int columnSpacing = 20;
constexpr int groupSpacing = 8;
constexpr int cardSpacing = 16;
constexpr int editorMargin = 8;

// Looked up with tr() where the button is made.
constexpr const char *detailsTitle = QT_TRANSLATE_NOOP("DemoScreen", "How was this computed?");

} // namespace

QString typedText(const QPlainTextEdit *editor)
{
    // The raw text holds each character as typed; the document keeps a
    // typed paragraph separator as a paragraph break like any other, so
    // every U+2029 in it is a break between paragraphs.
    QString text = editor->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

DemoScreen::DemoScreen(OllamaService &service, AppSettings &settings, HttpClient &http, SessionHistory *history,
                       std::function<Texts()> texts, QWidget *parent)
    : QWidget(parent)
    , m_service(service)
    , m_settings(settings)
    , m_http(http)
    , m_history(history)
    , m_textsSource(std::move(texts))
    , m_texts(m_textsSource())
    , m_scrollArea(new QScrollArea(this))
    , m_content(new QWidget)
    , m_column(new QVBoxLayout(m_content))
    , m_titleLabel(makeLabel(QStringLiteral("titleLabel"), QString(), TextStyle::Title2, QFont::DemiBold))
    , m_introLabel(makeLabel(QStringLiteral("introLabel"), QString(), TextStyle::Body))
    , m_button(new ProminentButton)
    , m_resultCard(new RoundedPanel)
    , m_resultLayout(new QVBoxLayout(m_resultCard))
    , m_resultTitleLabel(makeLabel(QStringLiteral("resultTitleLabel"), QString(), TextStyle::Headline))
    , m_detailsGroup(new QWidget)
    , m_detailsToggle(new DisclosureButton(QString()))
    , m_guideLink(new QLabel)
    , m_errorLabel(makeLabel(QStringLiteral("errorLabel"), QString(), TextStyle::Caption))
    , m_warningCard(new RoundedPanel)
    , m_warningSymbol(new SymbolView(QStringLiteral("exclamationmark.triangle.fill"),
                                     TextStyles::unzoomedLineHeight(TextStyle::Title), QColor()))
    , m_warningTitleLabel(makeLabel(QStringLiteral("warningTitleLabel"), QString(), TextStyle::Headline))
    , m_warningTextLabel(makeLabel(QStringLiteral("warningTextLabel"), QString(), TextStyle::Caption))
    , m_focusKeeper(m_content)
{
    setObjectName(m_texts.objectName);
    buildColumn();
    buildResultCard();
    buildDetailsGroup();
    buildWarningCard();
    connectActions();
    setSharedTexts();
}

void DemoScreen::setSharedTexts()
{
    m_titleLabel->setText(m_texts.title);
    m_introLabel->setText(m_texts.intro);
    // The column holds the keyboard focus while the main button works: a
    // screen reader then names the screen rather than an unnamed pane.
    m_content->setAccessibleName(m_texts.title);
    m_resultTitleLabel->setText(m_texts.resultTitle);
    m_detailsToggle->setText(tr(detailsTitle));
    m_detailsToggle->setAccessibleDescription(m_texts.detailsDescription);
    m_warningSymbol->setAccessibleName(tr("Warning"));
    m_warningTitleLabel->setText(m_texts.warningTitle);
    m_warningTextLabel->setText(m_texts.warningText);
    for (const Editor &editor : std::as_const(m_editors))
        editor.editor->setAccessibleName(editor.label->text());
    if (!m_texts.guideSection.isEmpty()) {
        const QString title = tr("Read more in the Quillmere Guide");
        m_guideLink->setText(QStringLiteral("<a href=\"quillmere-guide:%1\">%2</a>")
                                 .arg(m_texts.guideSection, title.toHtmlEscaped()));
        m_guideLink->setAccessibleName(title);
    }
}

DemoScreen::~DemoScreen() = default;

void DemoScreen::buildColumn()
{
    // The whole column scrolls when the window is shorter than it.
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scrollArea);
    m_scrollArea->setObjectName(QStringLiteral("scrollArea"));
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setFocusPolicy(Qt::NoFocus);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scrollArea->viewport()->setAutoFillBackground(false);
    m_content->setObjectName(QStringLiteral("content"));
    m_content->setAutoFillBackground(false);
    m_column->setContentsMargins(defaultInset, defaultInset, defaultInset, defaultInset);
    m_column->setSpacing(columnSpacing);

    auto *header = new QWidget;
    header->setObjectName(QStringLiteral("header"));
    auto *headerLayout = new QVBoxLayout(header);
    headerLayout->setContentsMargins(0, defaultInset, 0, defaultInset);
    headerLayout->setSpacing(groupSpacing);
    headerLayout->addWidget(m_titleLabel);
    headerLayout->addWidget(m_introLabel);
    m_column->addWidget(header);

    // The screen's inputs go here, between the header and the button.
    m_button->setObjectName(m_texts.buttonObjectName);
    m_column->addWidget(m_button, 0, Qt::AlignHCenter);
    m_column->addWidget(m_resultCard);
    m_column->addWidget(m_detailsGroup);
    m_errorLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_column->addWidget(m_errorLabel);
    m_column->addWidget(m_warningCard);
}

void DemoScreen::buildResultCard()
{
    m_resultCard->setObjectName(QStringLiteral("resultCard"));
    m_resultLayout->setContentsMargins(defaultInset, defaultInset, defaultInset, defaultInset);
    m_resultLayout->setSpacing(cardSpacing);
    m_resultTitleLabel->setAlignment(Qt::AlignHCenter);
    m_resultLayout->addWidget(m_resultTitleLabel);
}

void DemoScreen::buildDetailsGroup()
{
    // Under the card: "How was this computed?" and the panel it opens. The
    // group shows only with a result, so without one the column is as it
    // would be without the group.
    m_detailsGroup->setObjectName(QStringLiteral("detailsGroup"));
    auto *layout = new QVBoxLayout(m_detailsGroup);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(groupSpacing);
    m_detailsToggle->setObjectName(QStringLiteral("detailsToggle"));
    TextStyles::apply(m_detailsToggle, TextStyle::Subheadline);
    layout->addWidget(m_detailsToggle, 0, Qt::AlignLeft);
}

void DemoScreen::buildWarningCard()
{
    m_warningCard->setObjectName(QStringLiteral("warningCard"));
    auto *layout = new QVBoxLayout(m_warningCard);
    layout->setContentsMargins(defaultInset, defaultInset, defaultInset, defaultInset);
    layout->setSpacing(groupSpacing);
    m_warningSymbol->setObjectName(QStringLiteral("warningSymbol"));
    layout->addWidget(m_warningSymbol, 0, Qt::AlignHCenter);
    m_warningTitleLabel->setAlignment(Qt::AlignHCenter);
    layout->addWidget(m_warningTitleLabel);
    m_warningTextLabel->setAlignment(Qt::AlignHCenter);
    layout->addWidget(m_warningTextLabel);
}

void DemoScreen::connectActions()
{
    connect(m_button, &QPushButton::clicked, this, [this] { start(); });
    connect(m_detailsToggle, &DisclosureButton::toggled, this, &DemoScreen::setShowingDetails);
    for (const QKeySequence &keys : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (canStart())
                start();
        });
    }

    const auto redraw = [this] { render(); };
    connect(&m_settings, &AppSettings::selectedLLMModelChanged, this, redraw);
    connect(&m_settings, &AppSettings::selectedEmbeddingModelChanged, this, redraw);
    connect(&m_settings, &AppSettings::ollamaURLChanged, this, redraw);
    connect(&m_service, &OllamaService::availableModelsChanged, this, redraw);
    connect(&m_service, &OllamaService::isLoadingModelsChanged, this, redraw);
    connect(&m_service, &OllamaService::modelErrorChanged, this, redraw);
}

void DemoScreen::setInputs(QWidget *inputs, int stretch)
{
    m_column->insertWidget(1, inputs, stretch);
}

void DemoScreen::setUpEditor(RoundedPanel *field, QPlainTextEdit *editor, QLabel *label, int minimumHeight)
{
    auto *layout = new QVBoxLayout(field);
    layout->setContentsMargins(editorMargin, editorMargin, editorMargin, editorMargin);
    layout->addWidget(editor);
    // The field asks for no more than the editor's minimum and takes what
    // the column has to spare. The editor's own (larger) preferred height is
    // ignored; its minimum still counts, so a short window scrolls the column
    // instead of clipping the text area. (An ignored height on the field
    // itself would count as nothing in the column's height-for-width.)
    field->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    QSizePolicy editorPolicy = editor->sizePolicy();
    editorPolicy.setVerticalPolicy(QSizePolicy::Ignored);
    editor->setSizePolicy(editorPolicy);
    editor->setMinimumHeight(minimumHeight);
    editor->setFrameShape(QFrame::NoFrame);
    editor->setTabChangesFocus(true);
    // The text wraps at the editor's width; a horizontal bar would only
    // flicker in when the column narrows by a few pixels.
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->document()->setDocumentMargin(0);
    editor->viewport()->setAutoFillBackground(false);
    TextStyles::apply(editor, TextStyle::Body);
    editor->setAccessibleName(label->text());
    label->setBuddy(editor);
    // The field's outline shows whether the editor has the keyboard focus.
    editor->installEventFilter(this);
    m_editors.append({field, editor, label});
}

void DemoScreen::setDetailsPanel(QWidget *panel)
{
    m_detailsPanel = panel;
    m_detailsGroup->layout()->addWidget(panel);
    if (m_texts.guideSection.isEmpty())
        return;
    // A link under the panel to the guide's section on it, followed with
    // Tab and Enter as well as the mouse; the application opens the guide.
    m_guideLink->setObjectName(QStringLiteral("guideLink"));
    setSharedTexts();
    m_guideLink->setTextFormat(Qt::RichText);
    m_guideLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    m_guideLink->setFocusPolicy(Qt::StrongFocus);
    m_guideLink->setOpenExternalLinks(true);
    TextStyles::apply(m_guideLink, TextStyle::Subheadline);
    m_detailsGroup->layout()->addWidget(m_guideLink);
}

void DemoScreen::addFooter(QWidget *widget)
{
    m_column->addWidget(widget, 0, Qt::AlignHCenter);
}

void DemoScreen::finish()
{
    if (!m_editors.isEmpty()) {
        setFocusProxy(m_editors.first().editor);
        for (qsizetype i = 1; i < m_editors.size(); ++i)
            QWidget::setTabOrder(m_editors.at(i - 1).editor, m_editors.at(i).editor);
        QWidget::setTabOrder(m_editors.last().editor, m_button);
    }
    QWidget::setTabOrder(m_button, m_detailsToggle);

    render();
    // Only now, with the empty cards hidden, does the scroll area take the
    // column: it measures its widget at once, and hidden widgets cost nothing.
    m_scrollArea->setWidget(m_content);
}

void DemoScreen::setShowingDetails(bool showing)
{
    if (showing == m_isShowingDetails)
        return;
    m_isShowingDetails = showing;
    render();
    if (showing && m_detailsPanel && m_detailsPanel->isVisibleTo(this)) {
        // Once the column has made room for the panel, scroll it into view.
        QMetaObject::invokeMethod(this, [this] {
            if (m_detailsPanel->isVisibleTo(this))
                m_scrollArea->ensureWidgetVisible(m_detailsPanel, 0, 0);
        }, Qt::QueuedConnection);
    }
}

void DemoScreen::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        m_texts = m_textsSource();
        retranslate();
        setSharedTexts();
        render();
    }
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        render();
}

bool DemoScreen::eventFilter(QObject *watched, QEvent *event)
{
    if ((event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        && std::any_of(m_editors.cbegin(), m_editors.cend(), [watched](const auto &e) { return e.editor == watched; }))
        render();
    return QWidget::eventFilter(watched, event);
}

void DemoScreen::renderShared(const SharedState &state)
{
    const QPalette &pal = palette();
    const QColor secondary = NamedColors::secondaryText(pal);

    setForeground(m_introLabel, secondary);
    for (const auto &[field, editor, label] : std::as_const(m_editors)) {
        field->setFillColor(pal.color(QPalette::Base));
        field->setBorderColor(editor->hasFocus() ? pal.color(QPalette::Highlight)
                                                 : NamedColors::withOpacity(secondary, 0.3));
    }

    const QString buttonTitle = state.isBusy ? m_texts.busyButtonTitle : m_texts.buttonTitle;
    m_button->setText(buttonTitle);
    m_button->setAccessibleName(buttonTitle);
    setEnabledKeepingFocus(m_button, state.canStart);
    m_button->setBusy(state.isBusy);

    m_resultCard->setVisible(state.showsResult);

    // "How was this computed?" goes with the result card; its panel opens
    // only on request.
    const bool canExplain = state.showsResult && state.canExplain;
    m_detailsGroup->setVisible(canExplain);
    if (m_detailsToggle->isChecked() != m_isShowingDetails)
        m_detailsToggle->setChecked(m_isShowingDetails);
    if (m_detailsPanel)
        m_detailsPanel->setVisible(canExplain && m_isShowingDetails);
    m_guideLink->setVisible(canExplain && m_isShowingDetails && !m_texts.guideSection.isEmpty());

    m_errorLabel->setVisible(state.errorMessage.has_value());
    m_errorLabel->setText(state.errorMessage.value_or(QString()));
    setForeground(m_errorLabel, NamedColors::color(NamedColor::Red, pal));

    m_warningCard->setVisible(!state.hasModel);
    m_warningCard->setFillColor(NamedColors::color(NamedColor::Orange, 0.1, pal));
    m_warningSymbol->setColor(NamedColors::color(NamedColor::Orange, pal));
    setForeground(m_warningTextLabel, secondary);

    // A new result or error is announced once.
    const QString announcement = state.errorMessage ? *state.errorMessage
                                 : state.showsResult ? state.resultSummary
                                                     : QString();
    if (announcement != m_announced) {
        m_announced = announcement;
        if (state.errorMessage)
            announce(m_errorLabel, QAccessible::Alert);
        else if (state.showsResult && state.resultWidget)
            announce(state.resultWidget, QAccessible::NameChanged);
    }
}

void DemoScreen::announce(QWidget *widget, QAccessible::Event type)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(widget, type);
    QAccessible::updateAccessibility(&event);
}
