#pragma once
// The spanning plan shown: one row per disc (items, clusters, image sectors, fill), the
// selected disc's items below, and the button that takes that disc into the well.

#include "core/plan/SpanningPlan.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

class PlanDialog : public QDialog {
    Q_OBJECT

public:
    // load runs with the selected disc when the user takes it into the well.
    PlanDialog(ketrilo::SpanningPlan plan, std::function<void(const ketrilo::PlannedDisc&)> load,
               QWidget* parent);

    QTableWidget* Discs = nullptr;
    QTableWidget* Items = nullptr;
    QPushButton* LoadButton = nullptr;
    QLabel* Summary = nullptr;
    QLabel* StaleNote = nullptr; // shown once the plan no longer holds

    // The well, a name in it or the disc changed since the plan was made: the dialog says
    // so and no disc of it can be taken into the well any more.
    void MarkStale();
    [[nodiscard]] bool Stale() const;
    [[nodiscard]] int64_t PlannedCapacity() const { return m_plan.capacity; }

private:
    void ShowItemsOfSelectedDisc();

    ketrilo::SpanningPlan m_plan;
    std::function<void(const ketrilo::PlannedDisc&)> m_load;
};
