#pragma once

#include "catalogue/ModelRecords.h"
#include "widgets/NamedColors.h"
#include "widgets/RoundedPanel.h"

#include <QList>
#include <QString>

class CapabilityBadge;
class QHBoxLayout;
class QVBoxLayout;

// The small panel under a model picker: the chosen model's family, parameter
// size and format as the server reported them, and one coloured badge per
// capability. It only displays values.
class ModelDetailView : public RoundedPanel
{
    Q_OBJECT

public:
    struct Badge
    {
        QString text;
        NamedColor color;

        bool operator==(const Badge &) const = default;
    };

    // The badges for a model's flags, in the order they are shown: Embedding
    // (blue), Tools (purple), Vision (green), Thinking (orange).
    static QList<Badge> badges(const ModelCapabilities &capabilities);

    explicit ModelDetailView(const OllamaModel &model, QWidget *parent = nullptr);

    const OllamaModel &model() const { return m_model; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void addValueRow(const QString &label, const QString &value, const QString &name);
    void applyColors();

    const OllamaModel m_model;
    QVBoxLayout *const m_rows;
    // Each badge with the named colour it is drawn in.
    QList<QPair<CapabilityBadge *, NamedColor>> m_badges;
};
