#pragma once
// The spanning plan shown: one row per disc (items, clusters, image sectors, fill), the
// selected disc's items below, and the button that takes that disc into the well.

#include "core/SpanningPlan.h"

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

private:
    void ShowItemsOfSelectedDisc();

    ketrilo::SpanningPlan m_plan;
    std::function<void(const ketrilo::PlannedDisc&)> m_load;
};
