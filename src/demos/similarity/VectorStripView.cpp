#include "VectorStripView.h"

#include "SimilarityReading.h"
#include "widgets/NamedColors.h"
#include "widgets/Retranslate.h"
#include "widgets/RoundedPanel.h"
#include "widgets/TextStyles.h"

#include <QLinearGradient>
#include <QPainter>

#include <cmath>

namespace {

constexpr int stripHeight = 18;
constexpr int stripGap = 6;
constexpr int labelGap = 8;
constexpr int legendGap = 8;
constexpr int legendWidth = 96;
constexpr int legendHeight = 8;

// Looked up with tr() where they are drawn or read out.
constexpr const char *firstLabel = QT_TRANSLATE_NOOP("VectorStripView", "First");
constexpr const char *secondLabel = QT_TRANSLATE_NOOP("VectorStripView", "Second");

QColor mix(const QColor &from, const QColor &to, float amount)
{
    const auto lerp = [amount](float a, float b) { return a + (b - a) * amount; };
    return QColor::fromRgbF(lerp(from.redF(), to.redF()), lerp(from.greenF(), to.greenF()),
                            lerp(from.blueF(), to.blueF()), lerp(from.alphaF(), to.alphaF()));
}

} // namespace

VectorStripView::VectorStripView(QWidget *parent)
    : QWidget(parent)
{
    Retranslate::texts(this, [this] {
        setAccessibleName(tr("Color strips of the two vectors"));
        setAccessibleDescription(describe(m_first, m_second));
        update();
    });
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void VectorStripView::setVectors(const EmbeddingVector &first, const EmbeddingVector &second)
{
    m_first = first;
    m_second = second;
    setAccessibleDescription(describe(m_first, m_second));
    update();
}

float VectorStripView::scale(const EmbeddingVector &first, const EmbeddingVector &second)
{
    float largest = 0.0f;
    for (const EmbeddingVector *vector : {&first, &second}) {
        for (const float value : *vector) {
            if (std::isfinite(value))
                largest = std::max(largest, std::fabs(value));
        }
    }
    return largest;
}

QList<float> VectorStripView::columnValues(const EmbeddingVector &vector, int columns)
{
    const qsizetype n = vector.size();
    if (columns <= 0 || n == 0)
        return {};
    if (columns >= n)
        return vector;
    QList<float> values;
    values.reserve(columns);
    for (qsizetype j = 0; j < columns; ++j) {
        const qsizetype begin = j * n / columns;
        const qsizetype end = (j + 1) * n / columns;
        double sum = 0;
        for (qsizetype i = begin; i < end; ++i)
            sum += vector.at(i);
        values.append(float(sum / double(end - begin)));
    }
    return values;
}

QColor VectorStripView::divergingColor(float value, float scale, const QColor &negative, const QColor &middle,
                                       const QColor &positive)
{
    if (!std::isfinite(value) || !std::isfinite(scale) || !(scale > 0.0f))
        return middle;
    const float t = std::clamp(value / scale, -1.0f, 1.0f);
    if (t == 0.0f)
        return middle;
    return mix(middle, t < 0 ? negative : positive, std::fabs(t));
}

QString VectorStripView::describe(const EmbeddingVector &first, const EmbeddingVector &second)
{
    const auto one = [](const QString &name, const EmbeddingVector &vector) {
        if (vector.isEmpty())
            return tr("%1 vector: empty.").arg(name);
        const qsizetype shown = qMin<qsizetype>(vector.size(), SimilarityReadingText::shownComponents);
        const QString which = shown == vector.size() ? tr("components")
                                                     : tr("first %1 components").arg(shown);
        return tr("%1 vector, %2; %3: %4.")
            .arg(name, SimilarityReadingText::dimensions(vector.size()), which,
                 SimilarityReadingText::leadingComponents(vector));
    };
    return tr("%1 %2 Each cell is one dimension: blue below 0, red above 0, pale near 0.")
        .arg(one(tr(firstLabel), first), one(tr(secondLabel), second));
}

int VectorStripView::labelWidth() const
{
    const QFontMetrics metrics(TextStyles::font(TextStyle::Caption));
    return qMax(metrics.horizontalAdvance(tr(firstLabel)), metrics.horizontalAdvance(tr(secondLabel)));
}

QSize VectorStripView::sizeHint() const
{
    const QFontMetrics caption(TextStyles::font(TextStyle::Caption2));
    return {420, 2 * stripHeight + stripGap + legendGap + qMax(legendHeight, caption.height())};
}

QSize VectorStripView::minimumSizeHint() const
{
    return {labelWidth() + labelGap + 120, sizeHint().height()};
}

void VectorStripView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    const QColor negative = NamedColors::color(NamedColor::Blue, pal);
    const QColor positive = NamedColors::color(NamedColor::Red, pal);
    const QColor middle = pal.color(QPalette::Base);
    const QColor secondary = NamedColors::secondaryText(pal);
    const float fullScale = scale(m_first, m_second);

    const int left = labelWidth() + labelGap;
    const int stripWidth = qMax(1, width() - left);
    const QFont captionFont = TextStyles::font(TextStyle::Caption);

    const auto drawStrip = [&](const QString &label, const EmbeddingVector &vector, int top) {
        painter.setFont(captionFont);
        painter.setPen(secondary);
        painter.drawText(QRect(0, top, left - labelGap, stripHeight), Qt::AlignRight | Qt::AlignVCenter, label);

        const QRect strip(left, top, stripWidth, stripHeight);
        const QPainterPath shape = RoundedPanel::continuousRoundedRect(QRectF(strip).adjusted(0.5, 0.5, -0.5, -0.5), 3);
        painter.save();
        painter.setClipPath(shape);
        painter.fillRect(strip, middle);
        // Whole-pixel cell edges, so that neighbouring cells neither overlap
        // nor leave seams.
        const QList<float> values = columnValues(vector, stripWidth);
        const qsizetype columns = values.size();
        for (qsizetype j = 0; j < columns; ++j) {
            const int x0 = left + int(j * stripWidth / columns);
            const int x1 = left + int((j + 1) * stripWidth / columns);
            painter.fillRect(QRect(x0, top, x1 - x0, stripHeight),
                             divergingColor(values.at(j), fullScale, negative, middle, positive));
        }
        painter.restore();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(NamedColors::withOpacity(secondary, 0.35), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(shape);
        painter.setRenderHint(QPainter::Antialiasing, false);
    };
    drawStrip(tr(firstLabel), m_first, 0);
    drawStrip(tr(secondLabel), m_second, stripHeight + stripGap);

    // Legend: the scale's two ends and 0 around a small gradient.
    const int legendTop = 2 * stripHeight + stripGap + legendGap;
    const QFont legendFont = TextStyles::font(TextStyle::Caption2);
    const QFontMetrics legendMetrics(legendFont);
    const int rowHeight = qMax(legendHeight, legendMetrics.height());
    painter.setFont(legendFont);
    painter.setPen(secondary);
    const QString low = QStringLiteral("-") + SimilarityReadingText::component(fullScale);
    const QString high = QStringLiteral("+") + SimilarityReadingText::component(fullScale);
    int x = left;
    painter.drawText(QRect(x, legendTop, legendMetrics.horizontalAdvance(low), rowHeight), Qt::AlignVCenter, low);
    x += legendMetrics.horizontalAdvance(low) + 6;
    const QRect bar(x, legendTop + (rowHeight - legendHeight) / 2, legendWidth, legendHeight);
    QLinearGradient gradient(bar.topLeft(), bar.topRight());
    gradient.setColorAt(0, negative);
    gradient.setColorAt(0.5, middle);
    gradient.setColorAt(1, positive);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath barShape = RoundedPanel::continuousRoundedRect(QRectF(bar), legendHeight / 2.0);
    painter.fillPath(barShape, gradient);
    painter.setPen(QPen(NamedColors::withOpacity(secondary, 0.35), 1));
    painter.drawPath(barShape);
    painter.setPen(secondary);
    x += legendWidth + 6;
    painter.drawText(QRect(x, legendTop, legendMetrics.horizontalAdvance(high), rowHeight), Qt::AlignVCenter, high);
    x += legendMetrics.horizontalAdvance(high) + 12;
    painter.drawText(QRect(x, legendTop, qMax(0, width() - x), rowHeight), Qt::AlignVCenter,
                     legendMetrics.elidedText(tr("one cell per dimension, 0 in the middle"),
                                              Qt::ElideRight, qMax(0, width() - x)));
}
