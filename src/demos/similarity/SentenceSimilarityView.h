#pragma once

#include "SimilarityReading.h"
#include "demos/DemoScreen.h"

#include <QString>
#include <QStringList>

#include <optional>

class CircularProgressGauge;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class RoundedPanel;
class SimilarityDetailsPanel;

// The Sentence Similarity demo: the user types two sentences, the selected
// embedding model turns each into a vector, and their cosine similarity is
// shown on a circular gauge with a description.
//
// The screen keeps its state in plain members and derives everything visible
// from them and from the settings in render(). It reads the selected
// embedding model from the settings and never writes to them.
//
// Under a result, "How was this computed?" opens a panel with both vectors
// and every step from them to the gauge's percentage. Every calculation that
// ends, with a result or an error, is added to the session history.
class SentenceSimilarityView : public DemoScreen
{
    Q_OBJECT

public:
    // Requests go through HttpClient::shared(). Finished calculations are
    // added to `history` when there is one.
    SentenceSimilarityView(OllamaService &service, AppSettings &settings, SessionHistory *history,
                           QWidget *parent = nullptr);
    // Requests go through the given client (tests pass one of their own).
    SentenceSimilarityView(OllamaService &service, AppSettings &settings, HttpClient &http,
                           SessionHistory *history = nullptr, QWidget *parent = nullptr);
    ~SentenceSimilarityView() override;

    // The screen's state.
    const QString &sentence1() const { return m_sentence1; }
    const QString &sentence2() const { return m_sentence2; }
    float similarity() const { return m_similarity; }
    bool isCalculating() const { return m_isCalculating; }
    const std::optional<QString> &errorMessage() const { return m_errorMessage; }
    bool hasCalculated() const { return m_hasCalculated; }
    // Both vectors and the arithmetic of the shown similarity; present
    // exactly while a result is shown.
    const std::optional<SimilarityReading> &reading() const { return m_reading; }

    // Replaces both editors' texts, as if the user had typed them (the
    // result and error line stay until the next calculation).
    void setSentences(const QString &first, const QString &second);

    // Whether the button (and Ctrl+Return) would start a calculation now.
    bool canCalculate() const;

    // The button's action. Without a selected embedding model it only sets the
    // error line; when either sentence is empty once trimmed it does nothing.
    void calculateSimilarity();

    // A similarity as stored for display: within 0...1 (the minimum with 1
    // first, then the maximum with 0). Absent for a value that is not finite:
    // it measures nothing and must not be shown as a percentage.
    static std::optional<float> clampedSimilarity(float value);

Q_SIGNALS:
    // "Compare more sentences" was chosen; carries both editors' texts.
    void sentenceMapRequested(const QStringList &sentences);

protected:
    bool canStart() const override { return canCalculate(); }
    void start() override { calculateSimilarity(); }
    void render() override;
    void retranslate() override;

private:
    void buildInputs();
    void buildResult();

    QString m_sentence1;
    QString m_sentence2;
    float m_similarity = 0;
    bool m_isCalculating = false;
    std::optional<QString> m_errorMessage;
    bool m_hasCalculated = false;
    std::optional<SimilarityReading> m_reading;

    QLabel *const m_sentence1Label;
    RoundedPanel *const m_editor1Panel;
    QPlainTextEdit *const m_editor1;
    QLabel *const m_hint1Label;
    QLabel *const m_sentence2Label;
    RoundedPanel *const m_editor2Panel;
    QPlainTextEdit *const m_editor2;
    QLabel *const m_hint2Label;
    CircularProgressGauge *const m_gauge;
    QLabel *const m_descriptionLabel;
    SimilarityDetailsPanel *const m_detailsPanel;
    QPushButton *m_mapLink = nullptr;
};
