#include "SegmentedControl.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int horizontalPadding = 18;
constexpr int verticalPadding = 7;
// Gap between the track's edge and the filled, chosen segment.
constexpr qreal inset = 2.0;

// `base` moved towards `toward` by `amount` (0 to 1): shades that follow the
// palette, darker on light themes and lighter on dark ones.
QColor mix(const QColor &base, const QColor &toward, qreal amount)
{
    return QColor::fromRgbF(float(base.redF() + (toward.redF() - base.redF()) * amount),
                            float(base.greenF() + (toward.greenF() - base.greenF()) * amount),
                            float(base.blueF() + (toward.blueF() - base.blueF()) * amount));
}

QFont segmentFont(const QFont &base, bool chosen)
{
    QFont f = base;
    f.setWeight(chosen ? QFont::DemiBold : QFont::Normal);
    return f;
}

// The control as a whole is a named grouping around its radio buttons, which
// is how screen readers announce a set of exclusive choices.
class SegmentedControlAccessible : public QAccessibleWidget
{
public:
    explicit SegmentedControlAccessible(QWidget *control)
        : QAccessibleWidget(control, QAccessible::Grouping)
    {
    }
};

QAccessibleInterface *accessibleSegmentedControl(const QString &className, QObject *object)
{
    if (className == QLatin1String("SegmentedControl") && object && object->isWidgetType())
        return new SegmentedControlAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

Segment::Segment(const QString &title, QWidget *parent)
    : QAbstractButton(parent)
{
    setText(title);
    setAccessibleName(title);
    setCheckable(true);
    // Exclusive choices: accessibility presents each segment as a radio
    // button, whose toggle action checks it like a click (the control's
    // button group already keeps exactly one checked).
    setAutoExclusive(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize Segment::sizeHint() const
{
    // Measured in the chosen segment's heavier weight, so that choosing does
    // not change the size.
    const QFontMetrics fm(segmentFont(font(), true));
    return {fm.horizontalAdvance(text()) + 2 * horizontalPadding, fm.height() + 2 * verticalPadding};
}

QSize Segment::minimumSizeHint() const
{
    return sizeHint();
}

void Segment::focusInEvent(QFocusEvent *event)
{
    m_showsFocusRing = event->reason() != Qt::MouseFocusReason;
    QAbstractButton::focusInEvent(event);
}

void Segment::focusOutEvent(QFocusEvent *event)
{
    m_showsFocusRing = false;
    QAbstractButton::focusOutEvent(event);
}

void Segment::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    const QColor window = pal.color(QPalette::Window);
    const QColor textColor = pal.color(QPalette::WindowText);
    const QColor accent = pal.color(QPalette::Highlight);

    const QRectF pill = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    const qreal radius = pill.height() / 2;

    QColor fill;
    if (isChecked()) {
        fill = accent;
        if (isDown())
            fill = accent.darker(115);
        else if (underMouse() && isEnabled())
            fill = accent.lighter(108);
        if (!isEnabled())
            fill = mix(window, accent, 0.45);
    } else if (isDown()) {
        fill = mix(window, textColor, 0.16);
    } else if (underMouse() && isEnabled()) {
        fill = mix(window, textColor, 0.09);
    }
    if (fill.isValid()) {
        if (isChecked()) {
            // A faint drop under the chosen segment lifts it off the track.
            QPainterPath shadow;
            shadow.addRoundedRect(pill.translated(0, 0.75), radius, radius);
            p.fillPath(shadow, QColor(0, 0, 0, 28));
        }
        QPainterPath path;
        path.addRoundedRect(pill, radius, radius);
        p.fillPath(path, fill);
    }

    if (hasFocus() && m_showsFocusRing) {
        // On the filled segment the ring is drawn inside the fill in the text
        // colour; elsewhere it is an accent outline.
        p.setBrush(Qt::NoBrush);
        if (isChecked()) {
            QColor ring = pal.color(QPalette::HighlightedText);
            ring.setAlphaF(0.8f);
            p.setPen(QPen(ring, 1.5));
            const QRectF inner = pill.adjusted(2, 2, -2, -2);
            p.drawRoundedRect(inner, inner.height() / 2, inner.height() / 2);
        } else {
            p.setPen(QPen(accent, 2));
            const QRectF outline = QRectF(rect()).adjusted(1, 1, -1, -1);
            p.drawRoundedRect(outline, outline.height() / 2, outline.height() / 2);
        }
    }

    QColor ink = isChecked() ? pal.color(QPalette::HighlightedText) : textColor;
    if (!isEnabled())
        ink = pal.color(QPalette::Disabled, QPalette::WindowText);
    p.setPen(ink);
    p.setFont(segmentFont(font(), isChecked()));
    p.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}

SegmentedControl::SegmentedControl(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QHBoxLayout(this))
    , m_group(new QButtonGroup(this))
{
    static const bool accessibleFactoryInstalled = [] {
        QAccessible::installFactory(accessibleSegmentedControl);
        return true;
    }();
    Q_UNUSED(accessibleFactoryInstalled);

    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_group->setExclusive(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // The check state is the one source of the choice: a click, a key, an
    // accessibility action and a call all end in a segment being checked.
    connect(m_group, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        // The chosen segment repaints itself; the separators between the
        // others belong to the track and follow the choice too.
        update();
        if (checked)
            Q_EMIT currentIndexChanged(index);
    });
}

int SegmentedControl::addSegment(const QString &title)
{
    const int index = int(m_segments.size());
    auto *segment = new Segment(title, this);
    segment->setObjectName(QStringLiteral("segment%1").arg(index));
    segment->installEventFilter(this);
    m_group->addButton(segment, index);
    m_layout->addWidget(segment);
    m_segments.append(segment);
    equaliseWidths();
    return index;
}

int SegmentedControl::currentIndex() const
{
    return m_group->checkedId();
}

void SegmentedControl::setCurrentIndex(int index)
{
    if (Segment *s = segment(index))
        s->setChecked(true);
}

void SegmentedControl::equaliseWidths()
{
    int widest = 0;
    for (const Segment *s : std::as_const(m_segments))
        widest = qMax(widest, s->sizeHint().width());
    for (Segment *s : std::as_const(m_segments))
        s->setMinimumWidth(widest);
    updateGeometry();
}

void SegmentedControl::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The segments have their new font already: a widget passes a font on to
    // its children before it hears of the change itself.
    // Segments get their new texts before the control hears of a change of
    // language (from the view that owns it).
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange
        || event->type() == QEvent::LanguageChange)
        equaliseWidths();
}

bool SegmentedControl::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int from = int(m_segments.indexOf(static_cast<Segment *>(watched)));
    if (from < 0)
        return QWidget::eventFilter(watched, event);

    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return QWidget::eventFilter(watched, event);
    // Left and right follow the reading direction.
    const int forward = layoutDirection() == Qt::RightToLeft ? -1 : 1;
    switch (key->key()) {
    case Qt::Key_Left: step(from, -forward); return true;
    case Qt::Key_Right: step(from, forward); return true;
    case Qt::Key_Up: step(from, -1); return true;
    case Qt::Key_Down: step(from, 1); return true;
    default: return QWidget::eventFilter(watched, event);
    }
}

void SegmentedControl::step(int from, int step)
{
    Segment *target = segment(from + step);
    if (!target || !target->isEnabled())
        return;
    target->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    target->click();
}

QSize SegmentedControl::sizeHint() const
{
    int width = 0;
    int height = 0;
    for (const Segment *s : m_segments) {
        width += s->minimumWidth();
        height = qMax(height, s->sizeHint().height());
    }
    return {width, height};
}

QSize SegmentedControl::minimumSizeHint() const
{
    return sizeHint();
}

void SegmentedControl::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    const QColor window = pal.color(QPalette::Window);
    const QColor text = pal.color(QPalette::WindowText);

    // The track: one pill behind all segments.
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = track.height() / 2;
    p.setPen(QPen(mix(window, text, 0.16), 1));
    p.setBrush(mix(window, text, isEnabled() ? 0.06 : 0.03));
    p.drawRoundedRect(track, radius, radius);

    // Hairlines between neighbours that are both unchosen.
    p.setPen(QPen(mix(window, text, 0.2), 1));
    for (int i = 0; i + 1 < m_segments.size(); ++i) {
        if (m_segments[i]->isChecked() || m_segments[i + 1]->isChecked())
            continue;
        const qreal x = m_segments[i]->geometry().right() + 1;
        const qreal margin = track.height() * 0.28;
        p.drawLine(QPointF(x, track.top() + margin), QPointF(x, track.bottom() - margin));
    }
}
