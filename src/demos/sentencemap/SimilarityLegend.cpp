#include "SimilarityLegend.h"

#include "app/Languages.h"
#include "widgets/NamedColors.h"
#include "widgets/Retranslate.h"
#include "widgets/TextStyles.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr std::array<QRgb, 5> stops = {0x440154, 0x3b528b, 0x21918c, 0x5ec962, 0xfde725};
constexpr int barHeight = 12;
constexpr int barWidth = 240;

} // namespace

SimilarityLegend::SimilarityLegend(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("similarityLegend"));
    Retranslate::texts(this, [this] {
        setAccessibleName(tr("Colour scale"));
        setAccessibleDescription(tr("From dark violet for 0 % or less, through teal, to yellow for 100 %"));
        update();
    });
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QColor SimilarityLegend::colorFor(float similarity)
{
    const float t = std::clamp(std::isnan(similarity) ? 0.0f : similarity, 0.0f, 1.0f) * float(stops.size() - 1);
    const int low = std::min(int(t), int(stops.size()) - 2);
    const float f = t - float(low);
    const QColor a(stops[low]);
    const QColor b(stops[low + 1]);
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * f, a.greenF() + (b.greenF() - a.greenF()) * f,
                            a.blueF() + (b.blueF() - a.blueF()) * f);
}

QColor SimilarityLegend::textColorOn(const QColor &background)
{
    const double luminance = 0.2126 * background.redF() + 0.7152 * background.greenF() + 0.0722 * background.blueF();
    return luminance > 0.45 ? QColor(Qt::black) : QColor(Qt::white);
}

QSize SimilarityLegend::sizeHint() const
{
    const QFontMetrics metrics(TextStyles::font(TextStyle::Caption2));
    return {barWidth + metrics.horizontalAdvance(QStringLiteral("100 %")), barHeight + 4 + metrics.height()};
}

void SimilarityLegend::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFont font = TextStyles::font(TextStyle::Caption2);
    const QFontMetrics metrics(font);
    const qreal inset = metrics.horizontalAdvance(QStringLiteral("100 %")) / 2.0;
    const QRectF bar(inset, 0, barWidth, barHeight);

    QLinearGradient gradient(bar.topLeft(), bar.topRight());
    for (size_t i = 0; i < stops.size(); ++i)
        gradient.setColorAt(qreal(i) / qreal(stops.size() - 1), QColor(stops[i]));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawRoundedRect(bar, 3, 3);

    painter.setFont(font);
    painter.setPen(NamedColors::secondaryText(palette()));
    for (int percent = 0; percent <= 100; percent += 25) {
        const QString text = Languages::percent(percent, QStringLiteral(" "));
        const qreal x = bar.left() + bar.width() * percent / 100.0;
        const qreal w = metrics.horizontalAdvance(text);
        painter.drawText(QRectF(x - w / 2, bar.bottom() + 4, w, metrics.height()), Qt::AlignCenter, text);
    }
}
