#include "SentenceSimilarityView.h"

#include "catalogue/AppSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"

#include <algorithm>
#include <cmath>

SentenceSimilarityView::SentenceSimilarityView(OllamaService &service, AppSettings &settings, QWidget *parent)
    : SentenceSimilarityView(service, settings, HttpClient::shared(), parent)
{
}

SentenceSimilarityView::SentenceSimilarityView(OllamaService &service, AppSettings &settings, HttpClient &http,
                                               QWidget *parent)
    : QWidget(parent)
    , m_service(service)
    , m_settings(settings)
    , m_http(http)
{
    setObjectName(QStringLiteral("sentenceSimilarityView"));
    render();
}

SentenceSimilarityView::~SentenceSimilarityView() = default;

bool SentenceSimilarityView::canCalculate() const
{
    return false;
}

void SentenceSimilarityView::calculateSimilarity()
{
}

std::optional<float> SentenceSimilarityView::clampedSimilarity(float value)
{
    if (std::isnan(value))
        return std::nullopt;
    return std::max(std::min(value, 1.0f), 0.0f);
}

void SentenceSimilarityView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
}

bool SentenceSimilarityView::eventFilter(QObject *watched, QEvent *event)
{
    return QWidget::eventFilter(watched, event);
}

void SentenceSimilarityView::render()
{
}

void SentenceSimilarityView::announce(QWidget *, int)
{
}
