#include "SimilarityDetailsPanel.h"

#include "VectorStripView.h"
#include "app/Languages.h"
#include "widgets/Labels.h"
#include "widgets/NamedColors.h"
#include "widgets/Retranslate.h"
#include "widgets/TextStyles.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <optional>

namespace {

constexpr int inset = 16;
constexpr int sectionSpacing = 14;
constexpr int captionSpacing = 6;

QLabel *makeCaption(const QString &objectName, const QString &text)
{
    return makeLabel(objectName, text, TextStyle::Subheadline, QFont::DemiBold);
}

QGridLayout *makeGrid(QWidget *owner)
{
    auto *grid = new QGridLayout(owner);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(captionSpacing);
    grid->setColumnStretch(1, 1);
    return grid;
}

} // namespace

SimilarityDetailsPanel::SimilarityDetailsPanel(QWidget *parent)
    : RoundedPanel(parent)
    , m_modelCaption(makeCaption(QStringLiteral("detailsModelCaption"), QString()))
    , m_modelValue(makeValueLabel(QStringLiteral("detailsModel")))
    , m_vectorsCaption(makeCaption(QStringLiteral("detailsVectorsCaption"), QString()))
    , m_firstCaption(makeLabel(QStringLiteral("detailsFirstCaption"), QString(),
                               TextStyle::Caption))
    , m_firstDimensions(makeLabel(QStringLiteral("detailsFirstDimensions"), QString(), TextStyle::Body))
    , m_firstComponents(makeValueLabel(QStringLiteral("detailsFirstComponents"), TextStyle::Caption))
    , m_secondCaption(makeLabel(QStringLiteral("detailsSecondCaption"), QString(),
                                TextStyle::Caption))
    , m_secondDimensions(makeLabel(QStringLiteral("detailsSecondDimensions"), QString(), TextStyle::Body))
    , m_secondComponents(makeValueLabel(QStringLiteral("detailsSecondComponents"), TextStyle::Caption))
    , m_strips(new VectorStripView)
    , m_arithmeticCaption(makeCaption(QStringLiteral("detailsArithmeticCaption"), QString()))
    , m_normACaption(makeLabel(QStringLiteral("detailsNormACaption"), QString(),
                               TextStyle::Caption))
    , m_normAValue(makeValueLabel(QStringLiteral("detailsNormA")))
    , m_normBCaption(makeLabel(QStringLiteral("detailsNormBCaption"), QString(),
                               TextStyle::Caption))
    , m_normBValue(makeValueLabel(QStringLiteral("detailsNormB")))
    , m_dotCaption(makeLabel(QStringLiteral("detailsDotCaption"), QString(),
                             TextStyle::Caption))
    , m_dotValue(makeValueLabel(QStringLiteral("detailsDot")))
    , m_cosineCaption(makeLabel(QStringLiteral("detailsCosineCaption"),
                                QString(), TextStyle::Caption))
    , m_cosineValue(makeValueLabel(QStringLiteral("detailsCosine")))
    , m_guardNote(makeLabel(QStringLiteral("detailsGuardNote"), QString(), TextStyle::Caption))
    , m_clampedCaption(makeLabel(QStringLiteral("detailsClampedCaption"), QString(),
                                 TextStyle::Caption))
    , m_clampedValue(makeValueLabel(QStringLiteral("detailsClamped")))
    , m_truncatedCaption(makeLabel(QStringLiteral("detailsTruncatedCaption"),
                                   QString(),
                                   TextStyle::Caption))
    , m_truncatedValue(makeValueLabel(QStringLiteral("detailsTruncated")))
    , m_roundedCaption(makeLabel(QStringLiteral("detailsRoundedCaption"),
                                 QString(), TextStyle::Caption))
    , m_roundedValue(makeValueLabel(QStringLiteral("detailsRounded")))
    , m_percentageNote(makeLabel(QStringLiteral("detailsPercentageNote"), QString(), TextStyle::Caption))
{
    Retranslate::texts(this, [this] {
        m_modelCaption->setText(tr("Model"));
        m_vectorsCaption->setText(tr("The two vectors"));
        m_firstCaption->setText(tr("First sentence, a"));
        m_secondCaption->setText(tr("Second sentence, b"));
        m_arithmeticCaption->setText(tr("The arithmetic"));
        m_normACaption->setText(tr("Length of a, ‖a‖"));
        m_normBCaption->setText(tr("Length of b, ‖b‖"));
        m_dotCaption->setText(tr("Dot product, a · b"));
        m_cosineCaption->setText(tr("Cosine, a · b ÷ (‖a‖ × ‖b‖)"));
        m_clampedCaption->setText(tr("Kept within 0 to 1"));
        m_truncatedCaption->setText(tr("Percentage, cut off (picks the description)"));
        m_roundedCaption->setText(tr("Percentage, rounded (shown on the gauge)"));
        setAccessibleName(tr("How the similarity was computed"));
    });
    setObjectName(QStringLiteral("detailsPanel"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(inset, inset, inset, inset);
    layout->setSpacing(sectionSpacing);

    // Created and laid out in reading order, which is also the order in
    // which assistive technology visits them.
    auto *modelSection = new QWidget;
    modelSection->setObjectName(QStringLiteral("detailsModelSection"));
    auto *modelLayout = new QVBoxLayout(modelSection);
    modelLayout->setContentsMargins(0, 0, 0, 0);
    modelLayout->setSpacing(captionSpacing);
    modelLayout->addWidget(m_modelCaption);
    modelLayout->addWidget(m_modelValue);
    Retranslate::texts(m_modelValue, [this] { m_modelValue->setAccessibleName(m_modelCaption->text()); });
    layout->addWidget(modelSection);

    auto *vectors = new QWidget;
    vectors->setObjectName(QStringLiteral("detailsVectorsSection"));
    QGridLayout *vectorGrid = makeGrid(vectors);
    vectorGrid->addWidget(m_vectorsCaption, 0, 0, 1, 2);
    int row = 1;
    for (const auto &[caption, dimensions, components] :
         {std::tuple{m_firstCaption, m_firstDimensions, m_firstComponents},
          std::tuple{m_secondCaption, m_secondDimensions, m_secondComponents}}) {
        caption->setWordWrap(false);
        Retranslate::texts(dimensions, [caption, dimensions] { dimensions->setAccessibleName(caption->text()); });
        Retranslate::texts(components, [caption, components] { components->setAccessibleName(tr("%1, leading components").arg(caption->text())); });
        vectorGrid->addWidget(caption, row, 0, Qt::AlignLeft | Qt::AlignTop);
        vectorGrid->addWidget(dimensions, row, 1);
        vectorGrid->addWidget(components, row + 1, 1);
        row += 2;
    }
    m_strips->setObjectName(QStringLiteral("detailsStrips"));
    vectorGrid->addWidget(m_strips, row, 0, 1, 2);
    layout->addWidget(vectors);

    auto *arithmetic = new QWidget;
    arithmetic->setObjectName(QStringLiteral("detailsArithmeticSection"));
    QGridLayout *grid = makeGrid(arithmetic);
    grid->addWidget(m_arithmeticCaption, 0, 0, 1, 2);
    row = 1;
    const auto addRow = [&](QLabel *caption, QLabel *value) {
        caption->setWordWrap(false);
        Retranslate::texts(value, [caption, value] { value->setAccessibleName(caption->text()); });
        grid->addWidget(caption, row, 0, Qt::AlignLeft | Qt::AlignTop);
        grid->addWidget(value, row, 1, Qt::AlignTop);
        ++row;
    };
    addRow(m_normACaption, m_normAValue);
    addRow(m_normBCaption, m_normBValue);
    addRow(m_dotCaption, m_dotValue);
    addRow(m_cosineCaption, m_cosineValue);
    grid->addWidget(m_guardNote, row++, 0, 1, 2);
    addRow(m_clampedCaption, m_clampedValue);
    addRow(m_truncatedCaption, m_truncatedValue);
    addRow(m_roundedCaption, m_roundedValue);
    grid->addWidget(m_percentageNote, row++, 0, 1, 2);
    layout->addWidget(arithmetic);

    render();
}

SimilarityDetailsPanel::~SimilarityDetailsPanel() = default;

void SimilarityDetailsPanel::setReading(const SimilarityReading &reading, float clampedSimilarity)
{
    if (reading == m_reading && clampedSimilarity == m_clamped)
        return;
    m_reading = reading;
    m_clamped = clampedSimilarity;
    m_strips->setVectors(m_reading.first, m_reading.second);
    render();
}

void SimilarityDetailsPanel::changeEvent(QEvent *event)
{
    RoundedPanel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange
        || event->type() == QEvent::LanguageChange)
        render();
}

void SimilarityDetailsPanel::render()
{
    using namespace SimilarityReadingText;
    const QPalette &pal = palette();
    const QColor secondary = NamedColors::secondaryText(pal);
    const SimilarityArithmetic &steps = m_reading.arithmetic;

    setFillColor(NamedColors::withOpacity(pal.color(QPalette::WindowText), 0.04));
    setBorderColor(NamedColors::withOpacity(secondary, 0.25));
    for (QLabel *label : {m_firstCaption, m_secondCaption, m_firstComponents, m_secondComponents, m_normACaption,
                          m_normBCaption, m_dotCaption, m_cosineCaption, m_clampedCaption, m_truncatedCaption,
                          m_roundedCaption, m_percentageNote})
        setForeground(label, secondary);

    m_modelValue->setText(m_reading.model);
    m_firstDimensions->setText(dimensions(m_reading.first.size()));
    m_firstComponents->setText(leadingComponents(m_reading.first));
    m_secondDimensions->setText(dimensions(m_reading.second.size()));
    m_secondComponents->setText(leadingComponents(m_reading.second));

    const bool lengthsDiffer = steps.guard == SimilarityArithmetic::Guard::lengthsDiffer;
    const auto shown = [](auto value) { return Languages::localizedNumber(number(value)); };
    m_normAValue->setText(shown(steps.normA));
    m_normBValue->setText(shown(steps.normB));
    m_dotValue->setText(lengthsDiffer ? tr("not taken") : shown(steps.dot));
    m_cosineValue->setText(shown(steps.cosine));
    const QString guard = guardNote(steps, m_reading.first.size(), m_reading.second.size());
    m_guardNote->setVisible(!guard.isEmpty());
    m_guardNote->setText(guard);
    setForeground(m_guardNote, NamedColors::color(NamedColor::Orange, pal));

    m_clampedValue->setText(shown(m_clamped));
    const int truncated = truncatedPercentage(m_clamped);
    m_truncatedValue->setText(QStringLiteral("%1 → %2").arg(truncated).arg(similarityDescription(m_clamped)));
    const int rounded = gaugePercentage(m_clamped);
    m_roundedValue->setText(Languages::percent(rounded));
    m_percentageNote->setText(percentageNote(m_clamped, rounded));
}
