#include "SentenceMapPlot.h"

#include "app/Languages.h"
#include "widgets/NamedColors.h"
#include "widgets/Retranslate.h"
#include "widgets/TextStyles.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int markerSide = 16;
constexpr qreal pointRadius = 5;
constexpr int margin = 12;
constexpr int wordsInLabel = 4;
constexpr int labelCharacters = 26;

// One point of the map: it takes the keyboard focus, draws the ring that
// shows it, and names its sentence to the mouse (tool tip) and to assistive
// technology. The plot draws the dots, all with one painter.
class Marker : public QWidget
{
public:
    explicit Marker(QWidget *parent)
        : QWidget(parent)
    {
        setFocusPolicy(Qt::StrongFocus);
        const int side = TextStyles::scaled(markerSide);
        setFixedSize(side, side);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!hasFocus())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPointF centre(width() / 2.0, height() / 2.0);
        const qreal radius = pointRadius * TextStyles::zoomFactor();
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, radius + 2.5, radius + 2.5);
    }
};

qreal overlap(const QRectF &a, const QRectF &b)
{
    const QRectF common = a.intersected(b);
    return common.isEmpty() ? 0 : common.width() * common.height();
}

} // namespace

SentenceMapPlot::SentenceMapPlot(QWidget *parent)
    : QWidget(parent)
{
    Retranslate::texts(this, [this] {
        setAccessibleName(tr("Map of meaning"));
    });
    setObjectName(QStringLiteral("sentenceMapPlot"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void SentenceMapPlot::setMap(const QStringList &sentences, const SentenceMap::Projection &projection)
{
    m_sentences = sentences;
    m_projection = projection;
    m_focused = -1;
    // The points are kept for the next map and renamed: making and showing
    // sixteen widgets anew costs the main thread far more.
    QList<QWidget *> pool = m_markers + m_spareMarkers;
    m_markers.clear();
    m_spareMarkers.clear();
    for (qsizetype i = 0; i < sentences.size() && i < projection.points.size(); ++i) {
        QWidget *marker = pool.isEmpty() ? nullptr : pool.takeFirst();
        if (!marker) {
            marker = new Marker(this);
            marker->installEventFilter(this);
        }
        marker->setObjectName(QStringLiteral("mapPoint%1").arg(i + 1));
        const QString named = QStringLiteral("%1: %2").arg(i + 1).arg(sentences[i]);
        marker->setToolTip(named);
        marker->setAccessibleName(named);
        marker->show();
        if (marker->hasFocus())
            m_focused = int(i);
        if (!m_markers.isEmpty())
            QWidget::setTabOrder(m_markers.last(), marker);
        m_markers.append(marker);
    }
    for (QWidget *spare : std::as_const(pool)) {
        spare->hide();
        m_spareMarkers.append(spare);
    }
    layoutMarkers();
    update();
}

QList<QWidget *> SentenceMapPlot::markers() const
{
    return m_markers;
}

QString SentenceMapPlot::shortLabel(int index, const QString &sentence)
{
    const QStringList words = sentence.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString text = words.mid(0, wordsInLabel).join(QLatin1Char(' '));
    if (text.size() > labelCharacters)
        text = text.left(labelCharacters - 1).trimmed();
    if (text.size() < sentence.size())
        text += QStringLiteral("…");
    return QStringLiteral("%1 %2").arg(index + 1).arg(text);
}

QList<QPointF> SentenceMapPlot::placePoints(const QList<QPointF> &points, const QRectF &area)
{
    QList<QPointF> placed;
    if (points.isEmpty())
        return placed;
    qreal left = std::numeric_limits<qreal>::max(), right = std::numeric_limits<qreal>::lowest();
    qreal bottom = left, top = right;
    for (const QPointF &p : points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        bottom = std::min(bottom, p.y());
        top = std::max(top, p.y());
    }
    const qreal spanX = right - left;
    const qreal spanY = top - bottom;
    qreal scale = 0;
    if (spanX > 0 || spanY > 0)
        scale = std::min(spanX > 0 ? area.width() / spanX : std::numeric_limits<qreal>::max(),
                         spanY > 0 ? area.height() / spanY : std::numeric_limits<qreal>::max());
    const QPointF middle((left + right) / 2, (bottom + top) / 2);
    for (const QPointF &p : points)
        placed.append(area.center() + QPointF((p.x() - middle.x()) * scale, -(p.y() - middle.y()) * scale));
    return placed;
}

QList<QRectF> SentenceMapPlot::placeLabels(const QList<QPointF> &anchors, const QList<QSizeF> &sizes,
                                           const QRectF &bounds, qreal radius)
{
    QList<QRectF> dots;
    for (const QPointF &p : anchors)
        dots.append(QRectF(p.x() - radius, p.y() - radius, 2 * radius, 2 * radius));

    QList<QRectF> placed;
    for (qsizetype i = 0; i < anchors.size(); ++i) {
        const QPointF p = anchors[i];
        const QSizeF size = sizes.value(i);
        const qreal gap = radius + 3;
        QRectF best;
        qreal bestCost = std::numeric_limits<qreal>::max();
        // Right, left, above, below, then the corners, each a little further
        // out on every round.
        for (int round = 0; round < 4 && bestCost > 0; ++round) {
            const qreal out = round * size.height() * 0.8;
            const QList<QPointF> corners = {
                {p.x() + gap + out, p.y() - size.height() / 2},
                {p.x() - gap - out - size.width(), p.y() - size.height() / 2},
                {p.x() - size.width() / 2, p.y() - gap - out - size.height()},
                {p.x() - size.width() / 2, p.y() + gap + out},
                {p.x() + gap, p.y() - gap - out - size.height()},
                {p.x() + gap, p.y() + gap + out},
                {p.x() - gap - size.width(), p.y() - gap - out - size.height()},
                {p.x() - gap - size.width(), p.y() + gap + out},
            };
            for (const QPointF &corner : corners) {
                QRectF rect(corner, size);
                // Kept inside the bounds, sliding along the edge it met.
                rect.moveLeft(std::clamp(rect.left(), bounds.left(), std::max(bounds.left(), bounds.right() - size.width())));
                rect.moveTop(std::clamp(rect.top(), bounds.top(), std::max(bounds.top(), bounds.bottom() - size.height())));
                qreal cost = 0;
                for (const QRectF &other : std::as_const(placed))
                    cost += overlap(rect, other);
                for (qsizetype j = 0; j < dots.size(); ++j)
                    cost += overlap(rect, dots[j]) * 4;
                // A label pushed away from its point reads as another's.
                cost += QLineF(rect.center(), p).length() * 0.01;
                if (cost < bestCost - 1e-9) {
                    bestCost = cost;
                    best = rect;
                }
            }
            if (bestCost < 1.0)
                break;
        }
        placed.append(best);
    }
    return placed;
}

QSize SentenceMapPlot::sizeHint() const
{
    const int width = TextStyles::scaled(460);
    return {width, heightForWidth(width)};
}

QSize SentenceMapPlot::minimumSizeHint() const
{
    const int width = TextStyles::scaled(280);
    return {width, heightForWidth(width)};
}

int SentenceMapPlot::heightForWidth(int width) const
{
    // Square points area plus the caption strip under it.
    return width + QFontMetrics(TextStyles::font(TextStyle::Caption)).height() * 3;
}

QRectF SentenceMapPlot::captionArea() const
{
    const int line = QFontMetrics(TextStyles::font(TextStyle::Caption)).height();
    return QRectF(0, height() - 2 * line - 4, width(), 2 * line + 4);
}

QRectF SentenceMapPlot::plotArea() const
{
    const int line = QFontMetrics(TextStyles::font(TextStyle::Caption)).height();
    const QRectF frame(0, 0, width(), std::max(0.0, captionArea().top() - line - 4));
    return frame.adjusted(line + 4, 0, 0, 0);
}

void SentenceMapPlot::layoutMarkers()
{
    const QRectF frame = plotArea();
    // Room round the points for their labels.
    const QRectF area = frame.adjusted(margin + pointRadius, margin + pointRadius, -margin - pointRadius,
                                       -margin - pointRadius);
    m_placed = placePoints(m_projection.points.mid(0, m_markers.size()), area);
    const QFontMetricsF metrics(TextStyles::font(TextStyle::Caption2));
    QList<QSizeF> sizes;
    for (qsizetype i = 0; i < m_placed.size(); ++i) {
        const QString text = shortLabel(int(i), m_sentences.value(i));
        sizes.append(QSizeF(metrics.horizontalAdvance(text) + 4, metrics.height()));
    }
    m_labels = placeLabels(m_placed, sizes, frame.adjusted(2, 2, -2, -2), pointRadius);
    // The markers take the zoom's size here too, as the zoom reaches the
    // plot as a font change that lays them out again.
    const int side = TextStyles::scaled(markerSide);
    for (qsizetype i = 0; i < m_markers.size(); ++i) {
        m_markers[i]->setFixedSize(side, side);
        m_markers[i]->move((m_placed[i] - QPointF(side / 2.0, side / 2.0)).toPoint());
    }
}

void SentenceMapPlot::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutMarkers();
}

void SentenceMapPlot::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        layoutMarkers();
}

bool SentenceMapPlot::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const int index = int(m_markers.indexOf(static_cast<QWidget *>(watched)));
        if (event->type() == QEvent::FocusIn)
            m_focused = index;
        else if (m_focused == index)
            m_focused = -1;
        update();
    }
    return QWidget::eventFilter(watched, event);
}

void SentenceMapPlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    const QColor secondary = NamedColors::secondaryText(pal);
    const QRectF frame = plotArea();

    // The outline's colour, mixed with the window's behind it, fills the
    // whole frame, and the inside is filled over it: opaque fills, as a
    // translucent one (or a smoothed stroke) over this much area costs the
    // main thread ten times as much.
    const QColor behind = pal.color(QPalette::Window);
    const auto mixed = [&](qreal a, qreal b) { return a * 0.7 + b * 0.3; };
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(float(mixed(behind.redF(), secondary.redF())),
                                      float(mixed(behind.greenF(), secondary.greenF())),
                                      float(mixed(behind.blueF(), secondary.blueF()))));
    painter.drawRoundedRect(frame, 6, 6);
    painter.setBrush(pal.color(QPalette::Base));
    painter.drawRoundedRect(frame.adjusted(1, 1, -1, -1), 5, 5);
    if (m_placed.isEmpty())
        return;

    // The axes through the mean of the vectors.
    const QRectF area = frame.adjusted(margin + pointRadius, margin + pointRadius, -margin - pointRadius,
                                       -margin - pointRadius);
    const QList<QPointF> origin = placePoints(m_projection.points.mid(0, m_placed.size()) + QList<QPointF>{{0, 0}}, area);
    const QPointF o = origin.last();
    // Dashes of four pixels with gaps of two, as filled rectangles on whole
    // pixels: sharp, and a small fraction of what a dashed pen costs.
    const QColor axis = NamedColors::withOpacity(secondary, 0.35);
    const int x = qRound(o.x());
    const int y = qRound(o.y());
    const int left = qRound(frame.left() + 1), right = qRound(frame.right() - 1);
    const int top = qRound(frame.top() + 1), bottom = qRound(frame.bottom() - 1);
    if (left < x && x < right) {
        for (int from = top; from < bottom; from += 6)
            painter.fillRect(x, from, 1, std::min(4, bottom - from), axis);
    }
    if (top < y && y < bottom) {
        for (int from = left; from < right; from += 6)
            painter.fillRect(from, y, std::min(4, right - from), 1, axis);
    }

    // Axis captions: the share of the spread that each direction holds.
    const QFont caption = TextStyles::font(TextStyle::Caption);
    painter.setFont(caption);
    painter.setPen(secondary);
    const int line = QFontMetrics(caption).height();
    const auto share = [](double value) { return Languages::percent(std::lround(value * 100.0), QStringLiteral(" ")); };
    painter.drawText(QRectF(frame.left(), frame.bottom() + 2, frame.width(), line), Qt::AlignCenter,
                     tr("Direction 1 → (%1 of the spread)").arg(share(m_projection.firstShare)));
    painter.save();
    painter.translate(frame.left() - 4, frame.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-frame.height() / 2, -line, frame.height(), line), Qt::AlignCenter,
                     tr("Direction 2 → (%1 of the spread)").arg(share(m_projection.secondShare)));
    painter.restore();

    // Labels, each tied to its point by a short line when it had to move away.
    const QFont labelFont = TextStyles::font(TextStyle::Caption2);
    QFont focusedFont = labelFont;
    focusedFont.setBold(true);
    for (qsizetype i = 0; i < m_labels.size(); ++i) {
        const QRectF rect = m_labels[i];
        const QPointF p = m_placed[i];
        const QPointF nearest(std::clamp(p.x(), rect.left(), rect.right()), std::clamp(p.y(), rect.top(), rect.bottom()));
        if (QLineF(p, nearest).length() > pointRadius + 6) {
            painter.setPen(QPen(NamedColors::withOpacity(secondary, 0.6), 1));
            painter.drawLine(p, nearest);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(NamedColors::withOpacity(pal.color(QPalette::Base), 0.8));
        painter.drawRoundedRect(rect, 3, 3);
        painter.setFont(i == m_focused ? focusedFont : labelFont);
        painter.setPen(pal.color(QPalette::Text));
        painter.drawText(rect, Qt::AlignCenter, shortLabel(int(i), m_sentences.value(i)));
    }

    // The dots, over the labels, each at the middle of its point's widget.
    const qreal radius = pointRadius * TextStyles::zoomFactor();
    painter.setPen(QPen(pal.color(QPalette::Base), 1.5));
    painter.setBrush(NamedColors::color(NamedColor::Blue, pal));
    for (const QWidget *marker : std::as_const(m_markers))
        painter.drawEllipse(QRectF(marker->geometry()).center(), radius, radius);

    // The focused point's whole sentence, under the map.
    const QRectF captionRect = captionArea();
    painter.setFont(caption);
    painter.setPen(m_focused >= 0 ? pal.color(QPalette::Text) : secondary);
    const QString text = m_focused >= 0
        ? QStringLiteral("%1: %2").arg(m_focused + 1).arg(m_sentences.value(m_focused))
        : tr("Point at a dot, or Tab to it, to read its whole sentence.");
    painter.drawText(captionRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
}
