#pragma once

#include "SentimentReading.h"
#include "widgets/RoundedPanel.h"

#include <utility>

class DisclosureButton;
class QLabel;
class QTextEdit;
class TokenProbabilitiesSection;

// The answer to "How was this computed?" for one sentiment score: the model,
// the exact prompt with the user's text highlighted, the reasoning of a
// thinking model (collapsed until asked for), the model's raw answer,
// the reading of that answer step by step and the server's timing.
//
// Everything shown comes from the reading handed to setReading(); render()
// derives the texts and colours from it and from the palette.
class SentimentDetailsPanel : public RoundedPanel
{
    Q_OBJECT

public:
    explicit SentimentDetailsPanel(QWidget *parent = nullptr);
    ~SentimentDetailsPanel() override;

    const SentimentReading &reading() const { return m_reading; }
    // Whether the reasoning of a thinking model is open; a new reading
    // closes it again.
    bool isShowingThinking() const { return m_isShowingThinking; }
    void setReading(const SentimentReading &reading);

    // Where the user's text sits inside the prompt: start and length.
    static std::pair<qsizetype, qsizetype> textSpan(const SentimentReading &reading);

    // A step's value as shown: between curly quotes, so that spaces at its
    // ends stay visible, or "(empty)".
    static QString quoted(const QString &value);

    // "How sure was the model?", which asks for the rating's token
    // probabilities on request.
    TokenProbabilitiesSection *probabilitiesSection() const { return m_probabilitiesSection; }

protected:
    void changeEvent(QEvent *event) override;

private:
    class TextBox;

    void render();

    SentimentReading m_reading;
    bool m_isShowingThinking = false;

    QLabel *const m_modelCaption;
    QLabel *const m_modelValue;
    QLabel *const m_promptCaption;
    QLabel *const m_promptNote;
    RoundedPanel *const m_promptFrame;
    TextBox *const m_promptBox;
    DisclosureButton *const m_thinkingToggle;
    QLabel *const m_thinkingNote;
    RoundedPanel *const m_thinkingFrame;
    TextBox *const m_thinkingBox;
    QWidget *m_thinkingSection = nullptr;
    QLabel *const m_answerCaption;
    RoundedPanel *const m_answerFrame;
    TextBox *const m_answerBox;
    QLabel *const m_stepsCaption;
    QLabel *const m_firstLineCaption;
    QLabel *const m_firstLineValue;
    QLabel *const m_strippedCaption;
    QLabel *const m_strippedValue;
    QLabel *const m_outcomeCaption;
    QLabel *const m_outcomeValue;
    QLabel *const m_timingCaption;
    QLabel *const m_timingValue;
    QWidget *m_timingSection = nullptr;
    TokenProbabilitiesSection *const m_probabilitiesSection;
};
