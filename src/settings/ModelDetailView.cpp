#include "ModelDetailView.h"

#include "FormStyle.h"
#include "widgets/CapabilityBadge.h"
#include "widgets/TextStyles.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

QList<ModelDetailView::Badge> ModelDetailView::badges(const ModelCapabilities &capabilities)
{
    QList<Badge> out;
    if (capabilities.supportsEmbedding)
        out.append({tr("Embedding"), NamedColor::Blue});
    if (capabilities.supportsTools)
        out.append({tr("Tools"), NamedColor::Purple});
    if (capabilities.supportsVision)
        out.append({tr("Vision"), NamedColor::Green});
    if (capabilities.supportsThinking)
        out.append({tr("Thinking"), NamedColor::Orange});
    return out;
}

ModelDetailView::ModelDetailView(const OllamaModel &model, QWidget *parent)
    : RoundedPanel(parent)
    , m_model(model)
    , m_rows(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("modelDetail"));
    setAccessibleName(tr("Details of %1").arg(model.name));
    setRadius(8);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    m_rows->setContentsMargins(8, 8, 8, 8);
    m_rows->setSpacing(6);

    if (const auto &details = model.details) {
        if (details->family)
            addValueRow(tr("Family:"), *details->family, QStringLiteral("family"));
        if (details->parameterSize)
            addValueRow(tr("Parameters:"), *details->parameterSize, QStringLiteral("parameters"));
        if (details->format)
            addValueRow(tr("Format:"), *details->format, QStringLiteral("format"));
    }

    auto *capabilities = new QHBoxLayout;
    capabilities->setSpacing(8);
    capabilities->addWidget(
        FormStyle::label(tr("Capabilities:"), TextStyle::Caption2, QStringLiteral("capabilitiesLabel"), this),
        0, Qt::AlignVCenter);
    for (const Badge &badge : badges(model.capabilities)) {
        auto *widget = new CapabilityBadge(badge.text, NamedColors::color(badge.color, palette()), this);
        widget->setObjectName(QStringLiteral("badge") + badge.text);
        capabilities->addWidget(widget, 0, Qt::AlignVCenter);
        m_badges.append({widget, badge.color});
    }
    capabilities->addStretch(1);
    m_rows->addLayout(capabilities);
    applyColors();
}

void ModelDetailView::addValueRow(const QString &label, const QString &value, const QString &name)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(FormStyle::label(label, TextStyle::Caption2, name + QStringLiteral("Label"), this));
    auto *valueLabel = new QLabel(value, this);
    valueLabel->setObjectName(name + QStringLiteral("Value"));
    valueLabel->setAccessibleName(label + QLatin1Char(' ') + value);
    valueLabel->setTextFormat(Qt::PlainText);
    valueLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    TextStyles::applyMonospaced(valueLabel, TextStyle::Caption2);
    row->addWidget(valueLabel);
    row->addStretch(1);
    m_rows->addLayout(row);
}

void ModelDetailView::changeEvent(QEvent *event)
{
    RoundedPanel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

void ModelDetailView::applyColors()
{
    setFillColor(NamedColors::color(NamedColor::Gray, 0.10, palette()));
    const QColor secondary = NamedColors::secondaryText(palette());
    for (QLabel *label : findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (label->objectName().endsWith(QLatin1String("Label")))
            FormStyle::setTextColor(label, secondary);
    }
    // The named colours have their own tones for light and dark palettes.
    for (const auto &[badge, color] : std::as_const(m_badges))
        badge->setColor(NamedColors::color(color, palette()));
}
