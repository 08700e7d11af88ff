#include "SentimentAnalysisView.h"

#include "catalogue/AppSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"

SentimentAnalysisView::SentimentAnalysisView(OllamaService &service, AppSettings &settings, QWidget *parent)
    : SentimentAnalysisView(service, settings, HttpClient::shared(), parent)
{
}

SentimentAnalysisView::SentimentAnalysisView(OllamaService &service, AppSettings &settings, HttpClient &http,
                                             QWidget *parent)
    : QWidget(parent)
    , m_service(service)
    , m_settings(settings)
    , m_http(http)
{
    setObjectName(QStringLiteral("sentimentAnalysisView"));
    render();
}

SentimentAnalysisView::~SentimentAnalysisView() = default;

NamedColor SentimentAnalysisView::sentimentColor(int score)
{
    switch (score) {
    case 1: return NamedColor::Red;
    case 2: return NamedColor::Orange;
    case 3: return NamedColor::Blue;
    case 4:
    case 5: return NamedColor::Green;
    default: return NamedColor::Gray;
    }
}

bool SentimentAnalysisView::canAnalyze() const
{
    return false;
}

void SentimentAnalysisView::analyzeSentiment()
{
}

void SentimentAnalysisView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
}

bool SentimentAnalysisView::eventFilter(QObject *watched, QEvent *event)
{
    return QWidget::eventFilter(watched, event);
}

void SentimentAnalysisView::render()
{
}

void SentimentAnalysisView::announce(QWidget *, int)
{
}
