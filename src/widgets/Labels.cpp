#include "Labels.h"

#include <QLabel>
#include <QPalette>

QLabel *makeLabel(const QString &objectName, const QString &text, TextStyle style,
                  std::optional<QFont::Weight> weight)
{
    auto *label = new QLabel(text);
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
    label->setFont(TextStyles::monospaced(style));
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
