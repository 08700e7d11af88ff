#include "Labels.h"

#include <QEvent>
#include <QLabel>
#include <QPalette>

#include <array>

namespace {

// A word-wrapped label that remembers its height for the last few widths.
// A box layout asks each wrapped label for its height several times per
// pass (preferred and minimum, for every width it tries), and QLabel lays
// the text out afresh each time; the answer only changes with the text, the
// font, the margins or the style.
class WrappingLabel : public QLabel
{
public:
    using QLabel::QLabel;

    int heightForWidth(int width) const override
    {
        const Layout now{text(), contentsMargins(), margin(), indent(), wordWrap()};
        if (!(now == m_layout)) {
            m_layout = now;
            clearHeights();
        }
        for (const Height &h : m_heights) {
            if (h.width == width)
                return h.height;
        }
        const int height = QLabel::heightForWidth(width);
        m_heights[m_next] = {width, height};
        m_next = (m_next + 1) % m_heights.size();
        return height;
    }

protected:
    void changeEvent(QEvent *event) override
    {
        // Font, style, screen and every other change that may move the text.
        clearHeights();
        QLabel::changeEvent(event);
    }

private:
    struct Height
    {
        int width = -1;
        int height = 0;
    };

    void clearHeights() const { m_heights.fill(Height{}); }

    // What the heights were measured with, beside what changeEvent() sees.
    struct Layout
    {
        QString text;
        QMargins margins;
        int margin = 0;
        int indent = -1;
        bool wordWrap = false;
        bool operator==(const Layout &) const = default;
    };

    mutable Layout m_layout;
    mutable std::array<Height, 4> m_heights{};
    mutable size_t m_next = 0;
};

} // namespace

QLabel *makeLabel(const QString &objectName, const QString &text, TextStyle style,
                  std::optional<QFont::Weight> weight)
{
    auto *label = new WrappingLabel(text);
    label->setObjectName(objectName);
    if (weight)
        TextStyles::apply(label, style, *weight);
    else
        TextStyles::apply(label, style);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel *makeValueLabel(const QString &objectName, TextStyle style)
{
    auto *label = new QLabel;
    label->setObjectName(objectName);
    TextStyles::applyMonospaced(label, style);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void setForeground(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}
