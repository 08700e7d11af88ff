#pragma once

#include "SentenceMapMath.h"
#include "history/SessionHistory.h"

#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

class AppSettings;
class HttpClient;
class ProminentButton;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class RoundedPanel;
class SentenceMapPlot;
class SimilarityLegend;
class SimilarityMatrixModel;
class SimilarityMatrixView;
class SymbolView;

// Many sentences at once: the user types 3 to 16 sentences, one per line,
// and presses "Map Sentences"; the selected embedding model turns all of them
// into vectors in one request. The window shows every pair's similarity as a
// coloured grid, the vectors laid out flat along their two main directions,
// and each sentence's nearest neighbour as a plain list (which is also the
// text alternative to both pictures). The grid exports as CSV, the map as PNG.
//
// Like the demo screens it keeps its state in plain members and derives
// everything visible from them in render().
class SentenceMapWindow : public QWidget
{
    Q_OBJECT

public:
    struct MapResult
    {
        QString model;
        QStringList sentences;
        SentenceMap::Layout layout;
    };

    // Requests go through HttpClient::shared().
    explicit SentenceMapWindow(AppSettings &settings, QWidget *parent = nullptr);
    SentenceMapWindow(AppSettings &settings, HttpClient &http, QWidget *parent = nullptr);
    ~SentenceMapWindow() override;

    // The editor's text, as typed.
    const QString &text() const { return m_text; }
    // Replaces the editor's text with the sentences, one per line.
    void setSentences(const QStringList &sentences);
    // The sentences that a press would send.
    QStringList sentences() const;

    bool isMapping() const { return m_isMapping; }
    const std::optional<QString> &errorMessage() const { return m_errorMessage; }
    const std::optional<MapResult> &result() const { return m_result; }

    // Whether the button (and Ctrl+Return) would start now.
    bool canMap() const;
    // The button's action.
    void mapSentences();

    // Write the shown result; false (with the reason in the status line)
    // when the file could not be written or there is nothing to write.
    bool exportMatrixTo(const QString &path);
    bool exportMapTo(const QString &path);

    // The size of a grid cell drawn in `font`, whose style keeps
    // `textMargin` clear on each side of the text: room for the widest
    // figure, "100 %".
    static QSize matrixCellSize(const QFont &font, int textMargin);

Q_SIGNALS:
    // A run has ended, with a map or an error: its entry for the session
    // history.
    void runFinished(const HistoryEntry &entry);

protected:
    void changeEvent(QEvent *event) override;

private:
    // Everything the window shows of a result, worked out on the worker
    // thread: the grid's cells and the texts of the lists, so that the main
    // thread only hands them to the widgets.
    struct Presentation;
    static std::shared_ptr<const Presentation> present(const QString &model, const QStringList &sentences,
                                                       const SentenceMap::Layout &layout);
    // The result reaches the screen in parts, each in its own turn of the
    // event loop (and so its own frame), so that no single turn both lays
    // out and paints much. While the results area is still hidden, the
    // grid takes the new cells, then the lists their texts, measured; then
    // the area is shown and the column makes room for it; then the area is
    // laid out once, in full; nothing in it is drawn until its background is
    // (with the map placed, undrawn); then its frame (headings, hints,
    // buttons), then the grid, the map and each list. The run counts as
    // mapping until the last part is drawn.
    enum class Revealed { nothing, arrived, cells, measured, shown, laidOut, background, frame, grid, map, key, lists };
    void showPresentation(std::shared_ptr<const Presentation> presentation);
    void revealNext();
    QWidget *buildInputs();
    void buildWarning();
    void buildResults();
    QVBoxLayout *buildMatrixBox();
    void connectActions();
    void render();
    void sizeMatrix();
    void layOutColumn();
    // The window's fixed texts in the current language, then render().
    void retranslate();
    void exportWithDialog(bool matrix);
    void setExportStatus(bool ok, const QString &message);

    AppSettings &m_settings;
    HttpClient &m_http;

    QString m_text;
    bool m_isMapping = false;
    std::optional<QString> m_errorMessage;
    std::optional<MapResult> m_result;
    std::shared_ptr<const Presentation> m_presentation;
    Revealed m_revealed = Revealed::nothing;
    QTimer m_revealTimer;
    struct ExportStatus
    {
        bool ok = false;
        QString message;
    };
    std::optional<ExportStatus> m_exportStatus;

    QScrollArea *const m_scrollArea;
    QLabel *const m_titleLabel;
    QLabel *const m_introLabel;
    QLabel *const m_standinNoteLabel;
    RoundedPanel *const m_editorPanel;
    QPlainTextEdit *const m_editor;
    QLabel *const m_countLabel;
    ProminentButton *const m_button;
    QLabel *const m_errorLabel;
    RoundedPanel *const m_warningCard;
    QLabel *const m_placeholderLabel;
    QWidget *const m_results;
    SimilarityMatrixModel *const m_matrixModel;
    SimilarityMatrixView *const m_matrix;
    SimilarityLegend *const m_legend;
    QLabel *const m_matrixHintLabel;
    SentenceMapPlot *const m_plot;
    QLabel *const m_spreadLabel;
    QLabel *const m_mapHintLabel;
    QLabel *const m_keyLabel;
    QLabel *const m_neighboursLabel;
    QPushButton *const m_exportMatrixButton;
    QPushButton *const m_exportMapButton;
    QWidget *const m_statusRow;
    SymbolView *const m_statusSymbol;
    QLabel *const m_statusLabel;
};
