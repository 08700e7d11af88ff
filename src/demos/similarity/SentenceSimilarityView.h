#pragma once

#include "SimilarityReading.h"

#include <QAccessible>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>

class AppSettings;
class CircularProgressGauge;
class HttpClient;
class OllamaService;
class QLabel;
class QPlainTextEdit;
class DisclosureButton;
class QScrollArea;
class ProminentButton;
class RoundedPanel;
class SessionHistory;
class SimilarityDetailsPanel;
class SymbolView;

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
class SentenceSimilarityView : public QWidget
{
    Q_OBJECT

public:
    // Requests go through HttpClient::shared().
    SentenceSimilarityView(OllamaService &service, AppSettings &settings, QWidget *parent = nullptr);
    // Requests go through the given client (tests pass one of their own).
    SentenceSimilarityView(OllamaService &service, AppSettings &settings, HttpClient &http,
                           QWidget *parent = nullptr);
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

    // Whether the details panel is open (when there is a result to explain).
    // The choice lasts as long as the screen.
    bool isShowingDetails() const { return m_isShowingDetails; }
    void setShowingDetails(bool showing);

    // Replaces both editors' texts, as if the user had typed them (the
    // result and error line stay until the next calculation).
    void setSentences(const QString &first, const QString &second);

    // Where finished calculations are recorded; SessionHistory::shared()
    // unless set otherwise.
    void setHistory(SessionHistory *history);

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
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:

    void render();
    // Tells assistive technology (when one is listening) about a change.
    static void announce(QWidget *widget, QAccessible::Event type);

    OllamaService &m_service;
    AppSettings &m_settings;
    HttpClient &m_http;

    QString m_sentence1;
    QString m_sentence2;
    float m_similarity = 0;
    bool m_isCalculating = false;
    std::optional<QString> m_errorMessage;
    bool m_hasCalculated = false;
    std::optional<SimilarityReading> m_reading;
    bool m_isShowingDetails = false;
    QPointer<SessionHistory> m_history;

    // What was last announced to assistive technology, so that each new
    // result or error is announced once.
    QString m_announced;

    QScrollArea *const m_scrollArea;
    QWidget *const m_content;
    QLabel *const m_titleLabel;
    QLabel *const m_introLabel;
    QLabel *const m_sentence1Label;
    RoundedPanel *const m_editor1Panel;
    QPlainTextEdit *const m_editor1;
    QLabel *const m_hint1Label;
    QLabel *const m_sentence2Label;
    RoundedPanel *const m_editor2Panel;
    QPlainTextEdit *const m_editor2;
    QLabel *const m_hint2Label;
    ProminentButton *const m_button;
    RoundedPanel *const m_resultCard;
    QLabel *const m_resultTitleLabel;
    CircularProgressGauge *const m_gauge;
    QLabel *const m_descriptionLabel;
    QWidget *const m_detailsGroup;
    DisclosureButton *const m_detailsToggle;
    SimilarityDetailsPanel *const m_detailsPanel;
    QLabel *const m_errorLabel;
    RoundedPanel *const m_warningCard;
    SymbolView *const m_warningSymbol;
    QLabel *const m_warningTitleLabel;
    QLabel *const m_warningTextLabel;
};
