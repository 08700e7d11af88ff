#pragma once

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QLabel>
#include <QStringList>
#include <QWidget>

// Which texts a window cuts: one line per visible label or button that is
// narrower or lower than its text needs, or that lies partly outside the
// window without a scroll area to reach it. Empty when every text fits.
namespace TextFit {

inline QStringList cutTexts(QWidget *root)
{
    QStringList cut;
    const QList<QWidget *> widgets = root->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!widget->isVisibleTo(root))
            continue;
        auto *label = qobject_cast<QLabel *>(widget);
        auto *button = qobject_cast<QAbstractButton *>(widget);
        if ((!label || label->text().isEmpty()) && (!button || button->text().isEmpty()))
            continue;
        const QString text = label ? label->text() : button->text();
        QSize needed = widget->minimumSizeHint();
        if (label && label->wordWrap())
            needed.setHeight(label->heightForWidth(label->width()));
        else if (label)
            needed = label->sizeHint();
        const QString name = widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                                             : widget->objectName();
        if (widget->width() < needed.width() || widget->height() < needed.height()) {
            cut << QStringLiteral("%1 \"%2\": %3x%4, needs %5x%6")
                       .arg(name, text.left(40))
                       .arg(widget->width())
                       .arg(widget->height())
                       .arg(needed.width())
                       .arg(needed.height());
            continue;
        }
        // Outside the window and not inside anything that scrolls to it.
        bool scrolls = false;
        for (QWidget *parent = widget->parentWidget(); parent && parent != root; parent = parent->parentWidget())
            scrolls = scrolls || qobject_cast<QAbstractScrollArea *>(parent);
        const QRect inRoot(widget->mapTo(root, QPoint(0, 0)), widget->size());
        if (!scrolls && !root->rect().contains(inRoot))
            cut << QStringLiteral("%1 \"%2\": outside the window").arg(name, text.left(40));
    }
    return cut;
}

} // namespace TextFit
