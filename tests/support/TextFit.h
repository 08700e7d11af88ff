#pragma once

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QWidget>

// Finds texts that the current font and layout cut: a label, button, check
// box, radio button, group box title, tab or line edit whose text needs more
// room than its widget has, or whose widget reaches outside the part of the
// window that shows it (a scroll area's content may, it can be scrolled to).
// Call it on a shown window after its layout has been activated.
namespace TextFit {

namespace detail {

inline QString named(const QWidget *w, const QString &text)
{
    const QString name = w->objectName().isEmpty() ? QString() : QLatin1Char(' ') + w->objectName();
    return QStringLiteral("%1%2 \"%3\"").arg(QString::fromLatin1(w->metaObject()->className()), name, text);
}

inline QString describe(const QWidget *w, const QString &text, QSize need, QSize has)
{
    return QStringLiteral("%1: needs %2x%3, has %4x%5")
        .arg(named(w, text))
        .arg(need.width())
        .arg(need.height())
        .arg(has.width())
        .arg(has.height());
}

// The text as drawn: without the '&' that marks a mnemonic.
inline QString shown(QString text)
{
    text.replace(QLatin1String("&&"), QChar(0xE000));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(0xE000), QLatin1Char('&'));
    return text;
}

inline QSize textSize(const QFontMetrics &fm, const QString &text)
{
    int width = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines)
        width = qMax(width, fm.horizontalAdvance(line));
    return {width, fm.height() * int(lines.size())};
}

// Whether the widget's whole rect shows: inside every ancestor up to the
// root, unless an ancestor is the content of a scroll area.
inline bool insideWindow(const QWidget *w, const QWidget *root)
{
    QRect r = w->rect();
    for (const QWidget *p = w; p != root && p->parentWidget(); p = p->parentWidget()) {
        const QWidget *parent = p->parentWidget();
        if (const auto *area = qobject_cast<const QAbstractScrollArea *>(parent->parentWidget());
            area && area->viewport() == parent)
            return true;
        r.translate(p->pos());
        if (!parent->rect().contains(r))
            return false;
    }
    return true;
}

inline void checkLabel(const QLabel *label, QStringList &out)
{
    if (label->text().isEmpty())
        return;
    const QString text = label->textFormat() == Qt::PlainText ? label->text() : label->text().simplified();
    if (label->wordWrap()) {
        const int need = label->heightForWidth(label->width());
        if (need > label->height())
            out << describe(label, text, {label->width(), need}, label->size());
        return;
    }
    const QSize need = label->sizeHint();
    if (need.width() > label->width() || need.height() > label->height())
        out << describe(label, text, need, label->size());
}

inline void checkButton(const QAbstractButton *button, QStringList &out)
{
    const QString text = shown(button->text());
    if (text.isEmpty())
        return;
    const QStyle *style = button->style();
    QStyleOptionButton option;
    option.initFrom(button);
    QRect room;
    if (qobject_cast<const QCheckBox *>(button))
        room = style->subElementRect(QStyle::SE_CheckBoxContents, &option, button);
    else if (qobject_cast<const QRadioButton *>(button))
        room = style->subElementRect(QStyle::SE_RadioButtonContents, &option, button);
    else
        room = button->rect().adjusted(style->pixelMetric(QStyle::PM_ButtonMargin, &option, button) / 2, 0,
                                       -style->pixelMetric(QStyle::PM_ButtonMargin, &option, button) / 2, 0);
    QSize need = textSize(button->fontMetrics(), text);
    if (!button->icon().isNull())
        need.rwidth() += button->iconSize().width() + 4;
    if (need.width() > room.width() || need.height() > room.height())
        out << describe(button, text, need, room.size());
}

inline void checkGroupBox(const QGroupBox *box, QStringList &out)
{
    if (box->title().isEmpty())
        return;
    // The box's own minimum already holds its title (and its indicator).
    const QSize need = box->minimumSizeHint();
    if (need.width() > box->width())
        out << describe(box, shown(box->title()), need, box->size());
}

inline void checkTabs(const QTabBar *bar, QStringList &out)
{
    const int space = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
    for (int i = 0; i < bar->count(); ++i) {
        if (!bar->isTabVisible(i))
            continue;
        const QString text = shown(bar->tabText(i));
        const QRect tab = bar->tabRect(i);
        QSize need = textSize(bar->fontMetrics(), text);
        need.rwidth() += space;
        if (!bar->tabIcon(i).isNull())
            need.rwidth() += bar->iconSize().width() + 4;
        if (need.width() > tab.width() || need.height() > tab.height() || !bar->rect().contains(tab))
            out << describe(bar, text, need, tab.size());
    }
}

inline void checkLineEdit(const QLineEdit *edit, QStringList &out)
{
    const QString text = edit->text().isEmpty() ? edit->placeholderText() : edit->displayText();
    if (text.isEmpty())
        return;
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    const QMargins margins = edit->textMargins();
    // QLineEdit keeps two pixels free on either side of its text.
    const QRect room = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                           .marginsRemoved(margins)
                           .adjusted(2, 0, -2, 0);
    const QSize need = textSize(edit->fontMetrics(), text);
    if (need.width() > room.width() || need.height() > room.height())
        out << describe(edit, text, need, room.size());
}

} // namespace detail

// One readable line per text under root (root included) that does not fit;
// empty when every text fits.
inline QStringList cutTexts(QWidget *root)
{
    QStringList out;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (const QWidget *w : std::as_const(widgets)) {
        if (!w->isVisibleTo(root) && w != root)
            continue;
        const int before = int(out.size());
        QString text;
        if (const auto *label = qobject_cast<const QLabel *>(w)) {
            detail::checkLabel(label, out);
            text = label->text();
        } else if (const auto *button = qobject_cast<const QAbstractButton *>(w)) {
            detail::checkButton(button, out);
            text = button->text();
        } else if (const auto *box = qobject_cast<const QGroupBox *>(w)) {
            detail::checkGroupBox(box, out);
            text = box->title();
        } else if (const auto *bar = qobject_cast<const QTabBar *>(w)) {
            detail::checkTabs(bar, out);
            text = bar->count() > 0 ? bar->tabText(0) : QString();
        } else if (const auto *edit = qobject_cast<const QLineEdit *>(w)) {
            detail::checkLineEdit(edit, out);
            text = edit->text().isEmpty() ? edit->placeholderText() : edit->text();
        }
        if (int(out.size()) == before && !text.isEmpty() && !detail::insideWindow(w, root))
            out << detail::named(w, detail::shown(text)) + QStringLiteral(": reaches outside the window");
    }
    return out;
}

} // namespace TextFit
