#pragma once

#include "widgets/FocusKeeper.h"

#include <QAccessible>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

#include <optional>

class AppSettings;
class DisclosureButton;
class HttpClient;
class OllamaService;
class ProminentButton;
class QLabel;
class QPlainTextEdit;
class QScrollArea;
class QVBoxLayout;
class RoundedPanel;
class SessionHistory;
class SymbolView;

// The text of a plain-text editor exactly as typed. QPlainTextEdit's
// toPlainText() turns no-break spaces into plain spaces and line separators
// (U+2028) into line feeds; this keeps them and turns only the breaks between
// the editor's paragraphs into line feeds.
QString typedText(const QPlainTextEdit *editor);

// What the two demo screens have in common: a vertically scrolling column
// with a header, the screen's own inputs, the main button, a result card with
// "How was this computed?" and its panel under it, an error line and a
// warning for a missing model. The main button and Ctrl+Return start the
// screen's work; the screen redraws when the settings or the service change.
//
// A screen adds its inputs, the content of its result card and its details
// panel, and keeps its own state. Its render() draws its own parts and ends
// with renderShared(), which draws the common ones from the state the screen
// passes in.
class DemoScreen : public QWidget
{
    Q_OBJECT

public:
    ~DemoScreen() override;

    // Whether the details panel is open (when there is a result to explain).
    // The choice lasts as long as the screen.
    bool isShowingDetails() const { return m_isShowingDetails; }
    void setShowingDetails(bool showing);

protected:
    // The screen's fixed texts and names.
    struct Texts
    {
        QString objectName;
        QString title;
        QString intro;
        QString buttonObjectName;
        QString buttonTitle;
        QString busyButtonTitle;
        QString resultTitle;
        QString detailsDescription;
        QString warningTitle;
        QString warningText;
        // The guide's section on what the details panel shows; the panel
        // links to it when set.
        QString guideSection;
    };

    // The state of the common parts, as the screen's render() sees it.
    struct SharedState
    {
        bool isBusy = false;
        bool canStart = false;
        bool showsResult = false;
        // A result whose details can be shown.
        bool canExplain = false;
        std::optional<QString> errorMessage;
        bool hasModel = false;
        // Announced once when a new result appears.
        QWidget *resultWidget = nullptr;
        QString resultSummary;
    };

    // Requests go through `http`; finished work is recorded in `history`
    // when there is one.
    // `texts` gives the screen's fixed texts in the current language; it is
    // asked again whenever the language changes.
    DemoScreen(OllamaService &service, AppSettings &settings, HttpClient &http, SessionHistory *history,
               std::function<Texts()> texts, QWidget *parent);

    // Steps of a screen's construction, in this order.
    // Puts the inputs between the header and the button; `stretch` lets
    // them take the height the column has to spare.
    void setInputs(QWidget *inputs, int stretch);
    // Gives an editor its rounded field, at least `minimumHeight` tall for
    // the text itself, named after the label above it.
    void setUpEditor(RoundedPanel *field, QPlainTextEdit *editor, QLabel *label, int minimumHeight);
    // The panel that "How was this computed?" opens.
    void setDetailsPanel(QWidget *panel);
    // Puts a widget at the foot of the column, centred, below the warning.
    void addFooter(QWidget *widget);
    // The last step of a screen's constructor: Tab goes through the editors,
    // then the button and the details toggle; the first state is drawn and
    // the column handed to the scroll area.
    void finish();

    // The result card's column, below its title.
    QVBoxLayout *resultLayout() const { return m_resultLayout; }
    RoundedPanel *resultCard() const { return m_resultCard; }

    // Whether the button (and Ctrl+Return) would start the screen's work now.
    virtual bool canStart() const = 0;
    // The button's action.
    virtual void start() = 0;
    virtual void render() = 0;
    // Sets the screen's own fixed texts (labels, placeholders, accessible
    // names) in the current language; runs when the language changes,
    // before render().
    virtual void retranslate() {}
    void renderShared(const SharedState &state);
    // Enables or disables a control that disables itself while its work
    // runs, keeping the focus in the screen (see FocusKeeper): otherwise it
    // would pass to the demo switch, and the next Space would throw the
    // typed text away.
    void setEnabledKeepingFocus(QWidget *control, bool enabled) { m_focusKeeper.setEnabled(control, enabled); }

    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    OllamaService &m_service;
    AppSettings &m_settings;
    HttpClient &m_http;
    QPointer<SessionHistory> m_history;

private:
    void buildColumn();
    void buildResultCard();
    void buildDetailsGroup();
    void buildWarningCard();
    void connectActions();
    // The shared fixed texts in the current language.
    void setSharedTexts();
    // Tells assistive technology (when one is listening) about a change.
    static void announce(QWidget *widget, QAccessible::Event type);

    const std::function<Texts()> m_textsSource;
    Texts m_texts;
    bool m_isShowingDetails = false;
    // What was last announced to assistive technology, so that each new
    // result or error is announced once.
    QString m_announced;
    struct Editor
    {
        RoundedPanel *field;
        QPlainTextEdit *editor;
        QLabel *label; // names the editor for screen readers
    };
    QList<Editor> m_editors;
    QWidget *m_detailsPanel = nullptr;

    QScrollArea *const m_scrollArea;
    QWidget *const m_content;
    QVBoxLayout *const m_column;
    QLabel *const m_titleLabel;
    QLabel *const m_introLabel;
    ProminentButton *const m_button;
    RoundedPanel *const m_resultCard;
    QVBoxLayout *const m_resultLayout;
    QLabel *const m_resultTitleLabel;
    QWidget *const m_detailsGroup;
    DisclosureButton *const m_detailsToggle;
    QLabel *const m_guideLink;
    QLabel *const m_errorLabel;
    RoundedPanel *const m_warningCard;
    SymbolView *const m_warningSymbol;
    QLabel *const m_warningTitleLabel;
    QLabel *const m_warningTextLabel;
    // Holds the focus on the column while a control is disabled.
    FocusKeeper m_focusKeeper;
};
