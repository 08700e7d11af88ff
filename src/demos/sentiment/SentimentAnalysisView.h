#pragma once

#include "SentimentReading.h"
#include "widgets/NamedColors.h"

#include <QAccessible>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

class AppSettings;
class HttpClient;
class OllamaService;
class QLabel;
class QPlainTextEdit;
class DisclosureButton;
class QScrollArea;
class ProminentButton;
class RoundedPanel;
class SentimentDetailsPanel;
class SessionHistory;
class SymbolView;

// The Sentiment Analysis demo: the user types a text, the selected language
// model rates it from 1 to 5, and the score is shown as five stars with a
// coloured label and a description.
//
// The screen keeps its state in plain members and derives everything visible
// from them and from the settings in render(). It reads the selected language
// model from the settings and never writes to them.
class SentimentAnalysisView : public QWidget
{
    Q_OBJECT

public:
    // Requests go through HttpClient::shared().
    SentimentAnalysisView(OllamaService &service, AppSettings &settings, QWidget *parent = nullptr);
    // Requests go through the given client (tests pass one of their own).
    SentimentAnalysisView(OllamaService &service, AppSettings &settings, HttpClient &http,
                          QWidget *parent = nullptr);
    ~SentimentAnalysisView() override;

    // The colour of a score: 1 red, 2 orange, 3 blue, 4 and 5 green, any other
    // value gray.
    static NamedColor sentimentColor(int score);

    // The screen's state.
    const QString &inputText() const { return m_inputText; }
    int sentimentScore() const { return m_sentimentScore; }
    bool isAnalyzing() const { return m_isAnalyzing; }
    const std::optional<QString> &errorMessage() const { return m_errorMessage; }
    // How the shown score came about; present exactly while a result is shown.
    const std::optional<SentimentReading> &reading() const { return m_reading; }

    // Whether the details panel is open (when there is a result to explain).
    // The choice lasts as long as the screen.
    bool isShowingDetails() const { return m_isShowingDetails; }
    void setShowingDetails(bool showing);

    // Replaces the editor's text, as if the user had typed it (the result
    // and error line stay until the next analysis).
    void setInputText(const QString &text);

    // Where finished analyses are recorded; SessionHistory::shared() unless
    // set otherwise.
    void setHistory(SessionHistory *history);

    // Whether the button (and Ctrl+Return) would start an analysis now.
    bool canAnalyze() const;

    // The button's action. Without a selected language model it only sets the
    // error line; with a text that is empty once trimmed it does nothing.
    void analyzeSentiment();

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:

    void render();
    // Tells assistive technology (when one is listening) about a change.
    static void announce(QWidget *widget, QAccessible::Event type);

    OllamaService &m_service;
    AppSettings &m_settings;
    HttpClient &m_http;

    QString m_inputText;
    int m_sentimentScore = 0;
    bool m_isAnalyzing = false;
    std::optional<QString> m_errorMessage;
    std::optional<SentimentReading> m_reading;
    bool m_isShowingDetails = false;
    QPointer<SessionHistory> m_history;

    // What was last announced to assistive technology, so that each new
    // result or error is announced once.
    QString m_announced;

    QScrollArea *const m_scrollArea;
    QWidget *const m_content;
    QLabel *const m_titleLabel;
    QLabel *const m_introLabel;
    QLabel *const m_promptLabel;
    RoundedPanel *const m_editorPanel;
    QPlainTextEdit *const m_editor;
    QLabel *const m_hintLabel;
    ProminentButton *const m_button;
    RoundedPanel *const m_resultCard;
    QLabel *const m_resultTitleLabel;
    QWidget *const m_starRow;
    QList<SymbolView *> m_stars;
    QLabel *const m_scoreLabel;
    QLabel *const m_descriptionLabel;
    QWidget *const m_detailsGroup;
    DisclosureButton *const m_detailsToggle;
    SentimentDetailsPanel *const m_detailsPanel;
    QLabel *const m_errorLabel;
    RoundedPanel *const m_warningCard;
    SymbolView *const m_warningSymbol;
    QLabel *const m_warningTitleLabel;
    QLabel *const m_warningTextLabel;
};
