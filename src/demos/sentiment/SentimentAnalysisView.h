#pragma once

#include "SentimentReading.h"
#include "demos/DemoScreen.h"
#include "widgets/NamedColors.h"

#include <QString>

#include <optional>

class QLabel;
class QPlainTextEdit;
class RoundedPanel;
class SentimentDetailsPanel;
class SymbolView;

// The Sentiment Analysis demo: the user types a text, the selected language
// model rates it from 1 to 5, and the score is shown as five stars with a
// coloured label and a description.
//
// The screen keeps its state in plain members and derives everything visible
// from them and from the settings in render(). It reads the selected language
// model from the settings and never writes to them.
class SentimentAnalysisView : public DemoScreen
{
    Q_OBJECT

public:
    // Requests go through HttpClient::shared(). Finished analyses are added
    // to `history` when there is one.
    SentimentAnalysisView(OllamaService &service, AppSettings &settings, SessionHistory *history,
                          QWidget *parent = nullptr);
    // Requests go through the given client (tests pass one of their own).
    SentimentAnalysisView(OllamaService &service, AppSettings &settings, HttpClient &http,
                          SessionHistory *history = nullptr, QWidget *parent = nullptr);
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

    // Replaces the editor's text, as if the user had typed it (the result
    // and error line stay until the next analysis).
    void setInputText(const QString &text);

    // Whether the button (and Ctrl+Return) would start an analysis now.
    bool canAnalyze() const;

    // The button's action. Without a selected language model it only sets the
    // error line; with a text that is empty once trimmed it does nothing.
    void analyzeSentiment();

protected:
    bool canStart() const override { return canAnalyze(); }
    void start() override { analyzeSentiment(); }
    void render() override;
    void retranslate() override;

private:
    void buildInput();
    void buildResult();

    QString m_inputText;
    int m_sentimentScore = 0;
    bool m_isAnalyzing = false;
    std::optional<QString> m_errorMessage;
    std::optional<SentimentReading> m_reading;

    QLabel *const m_promptLabel;
    RoundedPanel *const m_editorPanel;
    QPlainTextEdit *const m_editor;
    QLabel *const m_hintLabel;
    QWidget *const m_starRow;
    QList<SymbolView *> m_stars;
    QLabel *const m_scoreLabel;
    QLabel *const m_descriptionLabel;
    SentimentDetailsPanel *const m_detailsPanel;
};
