#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWidget>
#include <QWindow>

// Accessibility for a painted chart whose rows (bars) are not widgets: the
// chart is a QAccessible::Chart with one static-text child per row, named
// and placed by the chart, so that a screen reader can read each bar.
// `Chart` is a QWidget with
//   int accessibleRowCount() const;
//   QString accessibleRowName(int row) const;
//   QRect rowRect(int row) const;   // in the chart's coordinates
namespace ChartAccessibility {

template<typename Chart>
class Row : public QAccessibleInterface
{
public:
    Row(Chart *chart, int index)
        : m_chart(chart)
        , m_index(index)
    {
    }

    bool isValid() const override { return m_chart && m_index < m_chart->accessibleRowCount(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_chart ? m_chart->window()->windowHandle() : nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_chart); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text type) const override
    {
        return type == QAccessible::Name && isValid() ? m_chart->accessibleRowName(m_index) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect row = m_chart->rowRect(m_index);
        return QRect(m_chart->mapToGlobal(row.topLeft()), row.size());
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = !m_chart || !m_chart->isVisible();
        return state;
    }

private:
    QPointer<Chart> m_chart;
    const int m_index;
};

// The chart itself. The rows' interfaces are registered with the
// accessibility cache once and removed with the chart's interface.
template<typename Chart>
class Whole : public QAccessibleWidget
{
public:
    explicit Whole(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::Chart)
    {
    }
    ~Whole() override
    {
        for (QAccessible::Id id : std::as_const(m_children))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return chart()->accessibleRowCount(); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        while (m_children.size() <= index)
            m_children.append(QAccessible::registerAccessibleInterface(new Row<Chart>(chart(), int(m_children.size()))));
        return QAccessible::accessibleInterface(m_children.at(index));
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (qsizetype i = 0; i < m_children.size(); ++i) {
            if (QAccessible::accessibleInterface(m_children.at(i)) == child)
                return i < childCount() ? int(i) : -1;
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i) {
            if (QAccessibleInterface *row = child(i); row->rect().contains(x, y))
                return row;
        }
        return nullptr;
    }

private:
    Chart *chart() const { return static_cast<Chart *>(widget()); }

    mutable QList<QAccessible::Id> m_children;
};

// Installs, once per chart class, the factory that gives every `Chart`
// these interfaces. Call it from the chart's constructor.
template<typename Chart>
void install()
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString &className, QObject *object) -> QAccessibleInterface * {
            if (className == QLatin1String(Chart::staticMetaObject.className()) && object && object->isWidgetType())
                return new Whole<Chart>(static_cast<QWidget *>(object));
            return nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace ChartAccessibility
