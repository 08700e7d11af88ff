#include "ModelPicker.h"

#include "ModelChoices.h"
#include "widgets/NamedColors.h"
#include "widgets/TextStyles.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QStylePainter>
#include <QWheelEvent>

namespace {

// Draws "name (size)" with the size in the caption style and a dimmed colour,
// for both the open list and the closed picker.
void drawChoice(QPainter *painter, const QRect &rect, const QString &name, const QString &size, const QFont &font,
                const QColor &textColor, const QColor &sizeColor)
{
    painter->save();
    painter->setClipRect(rect);
    QFontMetrics nameMetrics(font);
    const QString shownName = nameMetrics.elidedText(name, Qt::ElideRight, rect.width());
    painter->setFont(font);
    painter->setPen(textColor);
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownName);

    const int used = nameMetrics.horizontalAdvance(shownName);
    if (!size.isEmpty() && shownName == name && used < rect.width()) {
        const QFont caption = TextStyles::font(TextStyle::Caption, font);
        QRect sizeRect = rect;
        sizeRect.setLeft(rect.left() + used + nameMetrics.horizontalAdvance(QLatin1Char(' ')));
        // Share the name's baseline so the smaller text sits on the same line.
        const QFontMetrics captionMetrics(caption);
        const int baseline = rect.top() + (rect.height() - nameMetrics.height()) / 2 + nameMetrics.ascent();
        painter->setFont(caption);
        painter->setPen(sizeColor);
        painter->drawText(QPoint(sizeRect.left(), baseline),
                          captionMetrics.elidedText(size, Qt::ElideRight, qMax(0, sizeRect.width())));
    }
    painter->restore();
}

class ChoiceDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString name = opt.text;
        opt.text.clear();
        const QWidget *widget = opt.widget;
        QStyle *style = widget ? widget->style() : nullptr;
        if (style)
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        const bool selected = opt.state & QStyle::State_Selected;
        const QPalette::ColorGroup group = (opt.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
        const QColor text = opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
        QColor dim = text;
        if (!selected)
            dim = NamedColors::secondaryText(opt.palette);
        else
            dim.setAlphaF(0.75f);
        // Inset like the entries of a menu.
        const QRect textRect = (style ? style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget) : opt.rect)
                                   .adjusted(6, 0, -6, 0);
        drawChoice(painter, textRect, name, index.data(ModelPicker::SizeTextRole).toString(), opt.font, text, dim);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize hint = QStyledItemDelegate::sizeHint(option, index);
        const QString size = index.data(ModelPicker::SizeTextRole).toString();
        if (!size.isEmpty()) {
            const QFont caption = TextStyles::font(TextStyle::Caption, option.font);
            hint.rwidth() += QFontMetrics(option.font).horizontalAdvance(QLatin1Char(' '))
                             + QFontMetrics(caption).horizontalAdvance(size);
        }
        // A little air between the rows of the open list.
        hint.rwidth() += 12;
        hint.setHeight(qMax(hint.height(), QFontMetrics(option.font).height() + 8));
        return hint;
    }
};

} // namespace

ModelPicker::ModelPicker(QWidget *parent)
    : QComboBox(parent)
{
    setItemDelegate(new ChoiceDelegate(this));
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    setMinimumContentsLength(16);
    // Focus comes from Tab or a click, not from the wheel passing over it.
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QComboBox::currentIndexChanged, this, &ModelPicker::userChoseIndex);
    setModels({});
}

QString ModelPicker::sizeText(const OllamaModel &model, const QLocale &locale)
{
    if (!model.size)
        return QString();
    return QLatin1Char('(') + ModelChoices::formattedModelSize(*model.size, locale) + QLatin1Char(')');
}

void ModelPicker::setModels(const QList<OllamaModel> &models)
{
    if (count() > 0 && models == m_models)
        return;
    const QScopedValueRollback guard(m_updating, true);
    m_models = models;
    clear();
    addItem(tr(placeholderText));
    setItemData(0, false, IsModelRole);
    for (const OllamaModel &model : models) {
        const int index = count();
        addItem(model.name);
        setItemData(index, true, IsModelRole);
        setItemData(index, sizeText(model, locale()), SizeTextRole);
        const QString size = sizeText(model, locale());
        setItemData(index, size.isEmpty() ? model.name : model.name + QLatin1Char(' ') + size, Qt::AccessibleTextRole);
    }
    selectValue();
    updateGeometry();
}

void ModelPicker::setValue(const std::optional<QString> &value)
{
    m_value = value;
    selectValue();
}

void ModelPicker::selectValue()
{
    const QScopedValueRollback guard(m_updating, true);
    if (!m_value) {
        setCurrentIndex(0);
        return;
    }
    // The first choice with this name; none (a blank picker) when the name is
    // not among the choices.
    for (int i = 1; i < count(); ++i) {
        if (itemText(i) == *m_value && itemData(i, IsModelRole).toBool()) {
            setCurrentIndex(i);
            return;
        }
    }
    setCurrentIndex(-1);
}

void ModelPicker::userChoseIndex(int index)
{
    if (m_updating || index < 0)
        return;
    const std::optional<QString> chosen =
        itemData(index, IsModelRole).toBool() ? std::optional<QString>(itemText(index)) : std::nullopt;
    m_value = chosen;
    Q_EMIT valueChanged();
}

QSize ModelPicker::sizeHint() const
{
    QSize hint = QComboBox::sizeHint();
    // Room for the widest name with its size, which the base class does not
    // know about.
    const QFont caption = TextStyles::font(TextStyle::Caption, font());
    const QFontMetrics metrics(font());
    int widest = 0;
    for (int i = 0; i < count(); ++i) {
        const QString size = itemData(i, SizeTextRole).toString();
        int width = metrics.horizontalAdvance(itemText(i));
        if (!size.isEmpty())
            width += metrics.horizontalAdvance(QLatin1Char(' ')) + QFontMetrics(caption).horizontalAdvance(size);
        widest = qMax(widest, width);
    }
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    const QSize contents(widest, metrics.height());
    const QSize full = style()->sizeFromContents(QStyle::CT_ComboBox, &opt, contents, this);
    hint.setWidth(qMax(hint.width(), full.width() + 8));
    return hint;
}

QSize ModelPicker::minimumSizeHint() const
{
    return QComboBox::minimumSizeHint();
}

void ModelPicker::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    const QString name = opt.currentText;
    opt.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, opt);

    const int index = currentIndex();
    if (index < 0)
        return;
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Normal : QPalette::Disabled;
    const QColor text = palette().color(group, QPalette::ButtonText);
    drawChoice(&painter, field.adjusted(2, 0, -2, 0), name, itemData(index, SizeTextRole).toString(), font(), text,
               NamedColors::secondaryText(palette()));
}

void ModelPicker::wheelEvent(QWheelEvent *event)
{
    event->ignore();
}

void ModelPicker::changeEvent(QEvent *event)
{
    QComboBox::changeEvent(event);
    // A new language brings its own number format and placeholder.
    if (event->type() == QEvent::LanguageChange && locale() != QLocale())
        setLocale(QLocale());
    if (event->type() == QEvent::LocaleChange || event->type() == QEvent::LanguageChange) {
        // Size texts follow the locale.
        const QList<OllamaModel> models = m_models;
        m_models.clear();
        setModels(models);
    }
}
