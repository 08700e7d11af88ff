#include "ContentView.h"

#include "SegmentedControl.h"
#include "catalogue/AppSettings.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "demos/similarity/SentenceSimilarityView.h"
#include "widgets/Retranslate.h"
#include "widgets/TextStyles.h"

#include <QFrame>
#include <QLabel>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

ContentView::ContentView(QWidget *parent)
    : ContentView(AppSettings::shared(), nullptr, parent)
{
}

ContentView::ContentView(AppSettings &settings, SessionHistory *history, QWidget *parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_history(history)
    , m_service(new OllamaService(settings, this))
    , m_header(new QWidget(this))
    , m_title(new QLabel(tr("Quillmere"), m_header))
    , m_demoPicker(new SegmentedControl(m_header))
    , m_divider(new QFrame(this))
    , m_demoArea(new QWidget(this))
    , m_demoLayout(new QVBoxLayout(m_demoArea))
{
    setObjectName(QStringLiteral("contentView"));
    m_service->setObjectName(QStringLiteral("ollamaService"));
    m_header->setObjectName(QStringLiteral("header"));
    m_title->setObjectName(QStringLiteral("titleLabel"));
    m_demoPicker->setObjectName(QStringLiteral("demoTypePicker"));
    m_divider->setObjectName(QStringLiteral("divider"));
    m_demoArea->setObjectName(QStringLiteral("demoArea"));

    TextStyles::apply(m_title, TextStyle::Title, QFont::Bold);
    m_title->setAlignment(Qt::AlignCenter);

    for (const DemoType demo : DemoTypes::allCases())
        m_demoPicker->addSegment(DemoTypes::displayTitle(demo));
    Retranslate::texts(this, [this] {
        m_demoPicker->setAccessibleName(tr("Demo Type"));
        m_demoPicker->setToolTip(tr("Demo Type"));
        const QList<DemoType> demos = DemoTypes::allCases();
        for (int i = 0; i < int(demos.size()); ++i)
        {
            m_demoPicker->segment(i)->setText(DemoTypes::displayTitle(demos[i]));
            m_demoPicker->segment(i)->setAccessibleName(DemoTypes::displayTitle(demos[i]));
        }
    });
    connect(m_demoPicker, &SegmentedControl::currentIndexChanged, this, [this](int index) {
        const QList<DemoType> demos = DemoTypes::allCases();
        if (index >= 0 && index < demos.size())
            setSelectedDemo(demos[index]);
    });

    // Header: a centred column with the platform's margins above and below,
    // and the same margins beside the switch.
    auto *headerLayout = new QVBoxLayout(m_header);
    const int hMargin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    const int vMargin = style()->pixelMetric(QStyle::PM_LayoutTopMargin);
    headerLayout->setContentsMargins(hMargin, vMargin, hMargin, vMargin);
    headerLayout->setSpacing(16);
    headerLayout->addWidget(m_title, 0, Qt::AlignHCenter);
    headerLayout->addWidget(m_demoPicker, 0, Qt::AlignHCenter);

    m_divider->setFrameShape(QFrame::HLine);
    m_divider->setFrameShadow(QFrame::Sunken);

    m_demoLayout->setContentsMargins(0, 0, 0, 0);
    m_demoLayout->setSpacing(0);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(m_divider);
    layout->addWidget(m_demoArea, 1);

    setMinimumSize(600, 500);
    render();
}

ContentView::~ContentView()
{
    // The screen goes first, as it uses the service. The service outlives
    // the view while its fetch runs, so that the fetch still ends and writes
    // its diagnostic lines.
    delete m_screen;
    m_screen = nullptr;
    disconnect(m_service, nullptr, this, nullptr);
    m_service->releaseWhenIdle();
}

void ContentView::setSelectedDemo(DemoType demo)
{
    if (demo == m_selectedDemo)
        return;
    m_selectedDemo = demo;
    render();
    Q_EMIT selectedDemoChanged(demo);
}

void ContentView::useTexts(DemoType demo, const QStringList &texts)
{
    setSelectedDemo(demo);
    if (auto *sentiment = qobject_cast<SentimentAnalysisView *>(m_screen))
        sentiment->setInputText(texts.value(0));
    else if (auto *similarity = qobject_cast<SentenceSimilarityView *>(m_screen))
        similarity->setSentences(texts.value(0), texts.value(1));
    m_screen->setFocus(Qt::OtherFocusReason);
}

void ContentView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Only the first appearance fetches; later ones (after hiding, or
    // restoring a minimised window) leave the list as it is.
    if (!m_hasStartedFetch) {
        m_hasStartedFetch = true;
        m_service->fetchModels();
    }
}

void ContentView::render()
{
    const int index = int(DemoTypes::allCases().indexOf(m_selectedDemo));
    if (m_demoPicker->currentIndex() != index)
        m_demoPicker->setCurrentIndex(index);

    if (m_screen && m_screenDemo == m_selectedDemo)
        return;
    // The old screen goes at once with all its state; a result that arrives
    // for it later is dropped by its own guards.
    delete m_screen;
    m_screen = makeScreen(m_selectedDemo);
    m_screenDemo = m_selectedDemo;
    m_demoLayout->addWidget(m_screen);
    m_screen->show();
}

QWidget *ContentView::makeScreen(DemoType demo)
{
    switch (demo) {
    case DemoType::sentenceSimilarity: {
        auto *view = new SentenceSimilarityView(*m_service, m_settings, m_history, m_demoArea);
        connect(view, &SentenceSimilarityView::sentenceMapRequested, this, &ContentView::sentenceMapRequested);
        return view;
    }
    case DemoType::sentimentAnalysis: break;
    }
    return new SentimentAnalysisView(*m_service, m_settings, m_history, m_demoArea);
}
