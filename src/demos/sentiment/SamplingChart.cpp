#include "SamplingChart.h"

#include "SentimentAnalysisView.h"
#include "widgets/ChartAccessibility.h"
#include "widgets/NamedColors.h"
#include "widgets/RoundedPanel.h"
#include "widgets/TextStyles.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int columnGap = 10;
constexpr int preferredTrackWidth = 180;
constexpr int minimumTrackWidth = 60;

} // namespace

SamplingChart::SamplingChart(QWidget *parent)
    : QWidget(parent)
{
    ChartAccessibility::install<SamplingChart>();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    TextStyles::apply(this, TextStyle::Body);
}

void SamplingChart::setRows(const QList<Row> &rows)
{
    const bool reshaped = rows.size() != m_rows.size();
    m_rows = rows;
    if (reshaped)
        updateGeometry();
    update();
    // Screen readers hear the new figures.
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

bool SamplingChart::hasCompared() const
{
    return std::any_of(m_rows.begin(), m_rows.end(), [](const Row &row) { return row.compared.has_value(); });
}

int SamplingChart::rowHeight() const
{
    return fontMetrics().height() + (hasCompared() ? 16 : 10);
}

int SamplingChart::labelWidth() const
{
    int widest = 0;
    for (const Row &row : m_rows)
        widest = std::max(widest, fontMetrics().horizontalAdvance(row.label));
    return widest + columnGap;
}

int SamplingChart::figureWidth() const
{
    int widest = fontMetrics().horizontalAdvance(QStringLiteral(">99 %"));
    for (const Row &row : m_rows)
        widest = std::max(widest, fontMetrics().horizontalAdvance(row.figure));
    return widest + columnGap;
}

QRect SamplingChart::rowRect(int index) const
{
    return QRect(0, index * rowHeight(), width(), rowHeight());
}

QSize SamplingChart::sizeHint() const
{
    return {labelWidth() + preferredTrackWidth + figureWidth(), int(std::max<qsizetype>(m_rows.size(), 1)) * rowHeight()};
}

QSize SamplingChart::minimumSizeHint() const
{
    return {labelWidth() + minimumTrackWidth + figureWidth(), sizeHint().height()};
}

void SamplingChart::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        updateGeometry();
}

void SamplingChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    const QColor text = pal.color(QPalette::WindowText);
    const QColor secondary = NamedColors::secondaryText(pal);
    const QColor track = NamedColors::withOpacity(text, NamedColors::isDark(pal) ? 0.12 : 0.07);

    const int labels = labelWidth();
    const int figures = figureWidth();
    const int trackWidth = std::max(width() - labels - figures, 1);
    const bool compared = hasCompared();
    const qreal barHeight = std::max(fontMetrics().height() - 2 - (compared ? 4 : 0), 6);
    const qreal thinHeight = std::max(barHeight / 3, 3.0);

    const auto fill = [&](const QRectF &trackRect, double value, const QColor &color) {
        const qreal filled = trackRect.width() * std::clamp(value, 0.0, 1.0);
        if (filled < 1.0)
            return;
        painter.setBrush(color);
        painter.drawPath(RoundedPanel::continuousRoundedRect(QRectF(trackRect.topLeft(), QSizeF(filled, trackRect.height())),
                                                             std::min(trackRect.height() / 3, filled / 2)));
    };

    for (int i = 0; i < m_rows.size(); ++i) {
        const Row &row = m_rows.at(i);
        const QRect rect = rowRect(i);

        painter.setPen(row.rating > 0 ? text : secondary);
        painter.drawText(QRect(rect.left(), rect.top(), labels - columnGap, rect.height()),
                         Qt::AlignRight | Qt::AlignVCenter, row.label);

        const qreal total = barHeight + (compared ? thinHeight + 2 : 0);
        const qreal top = rect.center().y() + 1 - total / 2;
        const QRectF trackRect(labels, top, trackWidth, barHeight);
        painter.setPen(Qt::NoPen);
        painter.setBrush(track);
        painter.drawPath(RoundedPanel::continuousRoundedRect(trackRect, barHeight / 3));
        const QColor tone = NamedColors::color(
            row.rating > 0 ? SentimentAnalysisView::sentimentColor(row.rating) : NamedColor::Gray, pal);
        fill(trackRect, row.value, tone);
        if (row.compared) {
            // The odds under the count: thinner, in the same hue, faded.
            const QRectF thin(labels, top + barHeight + 2, trackWidth, thinHeight);
            painter.setBrush(track);
            painter.drawPath(RoundedPanel::continuousRoundedRect(thin, thinHeight / 2));
            fill(thin, *row.compared, NamedColors::withOpacity(tone, 0.55));
        }

        painter.setPen(text);
        painter.drawText(QRect(labels + trackWidth + columnGap, rect.top(), figures - columnGap, rect.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, row.figure);
    }
}
