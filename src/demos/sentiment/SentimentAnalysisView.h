#pragma once

#include "widgets/NamedColors.h"

#include <QString>
#include <QWidget>

#include <optional>

class AppSettings;
class HttpClient;
class OllamaService;
class QLabel;
class QPlainTextEdit;
class QScrollArea;
class RoundedPanel;
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
    void announce(QWidget *widget, int eventType);

    OllamaService &m_service;
    AppSettings &m_settings;
    HttpClient &m_http;

    QString m_inputText;
    int m_sentimentScore = 0;
    bool m_isAnalyzing = false;
    std::optional<QString> m_errorMessage;

    // What was last announced to assistive technology, so that each new
    // result or error is announced once.
    QString m_announced;
};
