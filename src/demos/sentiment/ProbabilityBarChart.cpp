#include "ProbabilityBarChart.h"

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

const QString otherLabel = QStringLiteral("something else");
constexpr int columnGap = 10;
constexpr int preferredTrackWidth = 260;
constexpr int minimumTrackWidth = 80;

// One bar as seen by assistive technology: a piece of text with a place on
// the screen, belonging to the chart.
class BarAccessible : public QAccessibleInterface
{
public:
    BarAccessible(ProbabilityBarChart *chart, int index)
        : m_chart(chart)
        , m_index(index)
    {
    }

    bool isValid() const override { return m_chart && m_index < m_chart->bars().size(); }
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
        return type == QAccessible::Name && isValid() ? m_chart->barName(m_index) : QString();
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
    QPointer<ProbabilityBarChart> m_chart;
    const int m_index;
};

// The chart itself: a chart with one child per bar. The children's
// interfaces are registered with the accessibility cache once and removed
// with the chart's interface.
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

    int childCount() const override { return int(chart()->bars().size()); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        while (m_children.size() <= index) {
            auto *bar = new BarAccessible(chart(), int(m_children.size()));
            m_children.append(QAccessible::registerAccessibleInterface(bar));
        }
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
            if (QAccessibleInterface *bar = child(i); bar->rect().contains(x, y))
                return bar;
        }
        return nullptr;
    }

private:
    ProbabilityBarChart *chart() const { return static_cast<ProbabilityBarChart *>(widget()); }

    mutable QList<QAccessible::Id> m_children;
};

QAccessibleInterface *chartAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("ProbabilityBarChart") && object && object->isWidgetType())
        return new ChartAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

ProbabilityBarChart::ProbabilityBarChart(QWidget *parent)
    : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(chartAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
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
    bars.append({otherLabel, probabilities.otherMass(), 0});
    return bars;
}

QString ProbabilityBarChart::accessibleBarName(const Bar &bar)
{
    const QString what = bar.rating > 0 ? QStringLiteral("Rating %1").arg(bar.rating) : QStringLiteral("Something else");
    return what + QStringLiteral(": ") + TokenProbabilityText::percentSpoken(bar.probability);
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
    return fontMetrics().horizontalAdvance(otherLabel) + columnGap;
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
