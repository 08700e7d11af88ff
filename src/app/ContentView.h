#pragma once

#include "DemoType.h"

#include <QWidget>

class AppSettings;
class OllamaService;
class QFrame;
class QLabel;
class QVBoxLayout;
class SegmentedControl;
class SessionHistory;

// The main window's content: the title, the "Demo Type" switch, a divider and
// the chosen demo's screen below. The view owns one OllamaService, lent to the
// screen it shows; its first appearance starts one fetch of the model list,
// which runs to its end even if the view goes first.
//
// Every switch builds a fresh screen and deletes the one before, so a
// screen's texts and results are not kept.
class ContentView : public QWidget
{
    Q_OBJECT

public:
    // Uses AppSettings::shared().
    explicit ContentView(QWidget *parent = nullptr);
    // The demo screens add their results to `history` when there is one.
    explicit ContentView(AppSettings &settings, SessionHistory *history = nullptr, QWidget *parent = nullptr);
    ~ContentView() override;

    DemoType selectedDemo() const { return m_selectedDemo; }
    void setSelectedDemo(DemoType demo);

    // Shows the demo (switching to it if needed, which starts a fresh
    // screen) and puts the texts into its editors: the first text for the
    // sentiment demo, the first two for the similarity demo (missing ones
    // count as empty). Nothing is started; the user presses the button.
    void useTexts(DemoType demo, const QStringList &texts);

    // The demo screen now shown; never null.
    QWidget *currentScreen() const { return m_screen; }
    OllamaService &service() const { return *m_service; }
    AppSettings &settings() const { return m_settings; }

Q_SIGNALS:
    void selectedDemoChanged(DemoType demo);
    // The similarity screen asked for the sentence map, with its sentences.
    void sentenceMapRequested(const QStringList &sentences);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void render();
    QWidget *makeScreen(DemoType demo);

    AppSettings &m_settings;
    SessionHistory *const m_history;
    // Released by the destructor: deleted at once, or when its running
    // fetch ends.
    OllamaService *const m_service;
    DemoType m_selectedDemo = DemoType::sentimentAnalysis;
    bool m_hasStartedFetch = false;

    QWidget *const m_header;
    QLabel *const m_title;
    SegmentedControl *const m_demoPicker;
    QFrame *const m_divider;
    QWidget *const m_demoArea;
    QVBoxLayout *const m_demoLayout;
    QWidget *m_screen = nullptr;
    DemoType m_screenDemo = DemoType::sentimentAnalysis;
};
