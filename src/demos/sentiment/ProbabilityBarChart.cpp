#include "ProbabilityBarChart.h"

#include "SentimentAnalysisView.h"
#include "widgets/ChartAccessibility.h"
#include "widgets/NamedColors.h"
#include "widgets/RoundedPanel.h"
#include "widgets/TextStyles.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

namespace {

// Looked up with tr() where it is shown.
constexpr const char *otherLabel = QT_TRANSLATE_NOOP("ProbabilityBarChart", "something else");
constexpr int columnGap = 10;
constexpr int preferredTrackWidth = 260;
constexpr int minimumTrackWidth = 80;

} // namespace

ProbabilityBarChart::ProbabilityBarChart(QWidget *parent)
    : QWidget(parent)
{
    ChartAccessibility::install<ProbabilityBarChart>();
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    TextStyles::apply(this, TextStyle::Body);
}

void ProbabilityBarChart::setProbabilities(const TokenProbabilities &probabilities)
{
    m_bars = barsFor(probabilities);
    updateGeometry();
    update();
}

QList<ProbabilityBarChart::Bar> ProbabilityBarChart::barsFor(const TokenProbabilities &probabilities)
{
    QList<Bar> bars;
    for (int rating = 1; rating <= 5; ++rating)
        bars.append({QString::number(rating), probabilities.ratings[size_t(rating - 1)], rating});
    bars.append({ProbabilityBarChart::tr(otherLabel), probabilities.otherMass(), 0});
    return bars;
}

QString ProbabilityBarChart::accessibleBarName(const Bar &bar)
{
    const QString what = bar.rating > 0 ? tr("Rating %1").arg(bar.rating) : tr("Something else");
    return tr("%1: %2").arg(what, TokenProbabilityText::percentSpoken(bar.probability));
}

QString ProbabilityBarChart::barName(int index) const
{
    return index >= 0 && index < m_bars.size() ? accessibleBarName(m_bars.at(index)) : QString();
}

int ProbabilityBarChart::rowHeight() const
{
    return fontMetrics().height() + 10;
}

int ProbabilityBarChart::labelWidth() const
{
    return fontMetrics().horizontalAdvance(tr(otherLabel)) + columnGap;
}

int ProbabilityBarChart::percentWidth() const
{
    return fontMetrics().horizontalAdvance(QStringLiteral(">99 %")) + columnGap;
}

QRect ProbabilityBarChart::rowRect(int index) const
{
    return QRect(0, index * rowHeight(), width(), rowHeight());
}

QSize ProbabilityBarChart::sizeHint() const
{
    return {labelWidth() + preferredTrackWidth + percentWidth(), int(std::max<qsizetype>(m_bars.size(), 6)) * rowHeight()};
}

QSize ProbabilityBarChart::minimumSizeHint() const
{
    return {labelWidth() + minimumTrackWidth + percentWidth(), sizeHint().height()};
}

void ProbabilityBarChart::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        updateGeometry();
}

void ProbabilityBarChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    const QColor text = pal.color(QPalette::WindowText);
    const QColor secondary = NamedColors::secondaryText(pal);
    const QColor track = NamedColors::withOpacity(text, NamedColors::isDark(pal) ? 0.12 : 0.07);

    const int labels = labelWidth();
    const int trackWidth = std::max(width() - labels - percentWidth(), 1);
    const qreal barHeight = std::max(rowHeight() - 12, 6);

    for (int i = 0; i < m_bars.size(); ++i) {
        const Bar &bar = m_bars.at(i);
        const QRect row = rowRect(i);

        painter.setPen(bar.rating > 0 ? text : secondary);
        painter.drawText(QRect(row.left(), row.top(), labels - columnGap, row.height()),
                         Qt::AlignRight | Qt::AlignVCenter, bar.label);

        const QRectF trackRect(labels, row.center().y() + 1 - barHeight / 2, trackWidth, barHeight);
        painter.setPen(Qt::NoPen);
        painter.setBrush(track);
        painter.drawPath(RoundedPanel::continuousRoundedRect(trackRect, barHeight / 3));
        const qreal filled = trackRect.width() * std::clamp(bar.probability, 0.0, 1.0);
        if (filled >= 1.0) {
            const NamedColor tone = bar.rating > 0 ? SentimentAnalysisView::sentimentColor(bar.rating) : NamedColor::Gray;
            painter.setBrush(NamedColors::color(tone, pal));
            painter.drawPath(RoundedPanel::continuousRoundedRect(
                QRectF(trackRect.topLeft(), QSizeF(filled, trackRect.height())), std::min(barHeight / 3, filled / 2)));
        }

        painter.setPen(text);
        painter.drawText(QRect(labels + trackWidth + columnGap, row.top(), percentWidth() - columnGap, row.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, TokenProbabilityText::percent(bar.probability));
    }
}
