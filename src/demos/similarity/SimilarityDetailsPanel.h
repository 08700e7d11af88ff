#pragma once

#include "SimilarityReading.h"
#include "widgets/RoundedPanel.h"

class QLabel;
class VectorStripView;

// The answer to "How was this computed?" for one similarity: the model, each
// vector's length and first components, a picture of both vectors, and the
// arithmetic from the norms to the two percentages that the gauge and the
// description use.
//
// Everything shown comes from the reading and the stored (clamped)
// similarity handed to setReading(); render() derives the texts from them.
class SimilarityDetailsPanel : public RoundedPanel
{
    Q_OBJECT

public:
    explicit SimilarityDetailsPanel(QWidget *parent = nullptr);
    ~SimilarityDetailsPanel() override;

    const SimilarityReading &reading() const { return m_reading; }
    float clampedSimilarity() const { return m_clamped; }
    void setReading(const SimilarityReading &reading, float clampedSimilarity);

protected:
    void changeEvent(QEvent *event) override;

private:
    void render();

    SimilarityReading m_reading;
    float m_clamped = 0;

    QLabel *const m_modelCaption;
    QLabel *const m_modelValue;
    QLabel *const m_vectorsCaption;
    QLabel *const m_firstCaption;
    QLabel *const m_firstDimensions;
    QLabel *const m_firstComponents;
    QLabel *const m_secondCaption;
    QLabel *const m_secondDimensions;
    QLabel *const m_secondComponents;
    VectorStripView *const m_strips;
    QLabel *const m_arithmeticCaption;
    QLabel *const m_normACaption;
    QLabel *const m_normAValue;
    QLabel *const m_normBCaption;
    QLabel *const m_normBValue;
    QLabel *const m_dotCaption;
    QLabel *const m_dotValue;
    QLabel *const m_cosineCaption;
    QLabel *const m_cosineValue;
    QLabel *const m_guardNote;
    QLabel *const m_clampedCaption;
    QLabel *const m_clampedValue;
    QLabel *const m_truncatedCaption;
    QLabel *const m_truncatedValue;
    QLabel *const m_roundedCaption;
    QLabel *const m_roundedValue;
    QLabel *const m_percentageNote;
};
