#include "SamplingChart.h"

#include "SentimentAnalysisView.h"
#include "widgets/NamedColors.h"
#include "widgets/RoundedPanel.h"
#include "widgets/TextStyles.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QWindow>

#include <algorithm>

namespace {

constexpr int columnGap = 10;
constexpr int preferredTrackWidth = 180;
constexpr int minimumTrackWidth = 60;

// One bar as seen by assistive technology: a piece of text with a place on
// the screen, belonging to the chart.
class RowAccessible : public QAccessibleInterface
{
public:
    RowAccessible(SamplingChart *chart, int index)
        : m_chart(chart)
        , m_index(index)
    {
    }

    bool isValid() const override { return m_chart && m_index < m_chart->rows().size(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_chart ? m_chart->window()->windowHandle() : nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_chart); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text type) const override
    {
        return type == QAccessible::Name && isValid() ? m_chart->rows().at(m_index).spokenName : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect row = m_chart->rowRect(m_index);
        return QRect(m_chart->mapToGlobal(row.topLeft()), row.size());
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = !m_chart || !m_chart->isVisible();
        return state;
    }

private:
    QPointer<SamplingChart> m_chart;
    const int m_index;
};

// The chart with one child per row; the children's interfaces are
// registered once and removed with the chart's.
class ChartAccessible : public QAccessibleWidget
{
public:
    explicit ChartAccessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::Chart)
    {
    }
    ~ChartAccessible() override
    {
        for (QAccessible::Id id : std::as_const(m_children))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return int(chart()->rows().size()); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        while (m_children.size() <= index)
            m_children.append(QAccessible::registerAccessibleInterface(new RowAccessible(chart(), int(m_children.size()))));
        return QAccessible::accessibleInterface(m_children.at(index));
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (qsizetype i = 0; i < m_children.size(); ++i) {
            if (QAccessible::accessibleInterface(m_children.at(i)) == child)
                return i < childCount() ? int(i) : -1;
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i) {
            if (QAccessibleInterface *row = child(i); row->rect().contains(x, y))
                return row;
        }
        return nullptr;
    }

private:
    SamplingChart *chart() const { return static_cast<SamplingChart *>(widget()); }

    mutable QList<QAccessible::Id> m_children;
};

QAccessibleInterface *chartAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("SamplingChart") && object && object->isWidgetType())
        return new ChartAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

SamplingChart::SamplingChart(QWidget *parent)
    : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(chartAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFont(TextStyles::font(TextStyle::Body));
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
