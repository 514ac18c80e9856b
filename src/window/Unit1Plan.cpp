// TForm1's spanning plan: computed on a worker thread behind the progress display, shown
// in the plan dialog, and one disc at a time taken into the well.
#include "window/Unit1.h"

#include "core/plan/PlannedDiscLoad.h"
#include "image/IsoDiscImage.h"
#include "window/dialogs/PlanDialog.h"
#include "window/work/WalkResult.h"

#include <QScopeGuard>

#include <memory>
#include <optional>

void TForm1::PlanDiscs1Click() {
    std::vector<std::string> paths;
    for (const ketrilo::WellRow& row : m_ws.well.Rows())
        paths.push_back(row.FullPath());
    const int64_t capacity = m_ws.capacity.DiscCapacityClusters;
    if (m_planImage == nullptr)
        m_planImage = std::make_unique<ketrilo::IsoDiscImage>();
    auto plan = std::make_shared<std::optional<ketrilo::SpanningPlan>>();
    // Shown once it is computed; a cancelled plan changes nothing.
    RunLong(
        [plan, paths = std::move(paths), capacity,
         image = m_planImage.get()](ketrilo::WorkProgress& progress) {
            *plan = ketrilo::PlanDiscs(paths, capacity, *image, &progress);
        },
        [this, plan] { ShowPlan(std::move(**plan)); });
}

void TForm1::ShowPlan(ketrilo::SpanningPlan plan) {
    if (m_planDialog != nullptr)
        m_planDialog->close();
    m_planDialog = new PlanDialog(
        std::move(plan),
        [this](const ketrilo::PlannedDisc& disc) {
            Run([this, disc] {
                LoadPlannedDiscClick(disc);
            }); // a copy: the dialog may go meanwhile
        },
        this);
    m_planDialog->setAttribute(Qt::WA_DeleteOnClose);
    m_planDialog->show();
    // The dialog's controls are placed once it is on screen.
    TellWatcherSoon(this);
}

void TForm1::LoadPlannedDiscClick(const ketrilo::PlannedDisc& disc) {
    // The disc's folders are walked on a worker, as a drop's are.
    auto run = std::make_shared<WalkResult>();
    run->fresh.capacity = m_ws.capacity;
    RunLong(
        [run, disc](ketrilo::WorkProgress& progress) {
            run->changes = ketrilo::LoadPlannedDisc(run->fresh, disc, run->icons, &progress);
        },
        [this, run] {
            TakeWellAndLongNames(run->fresh, run->icons, 0, 0);
            m_loadingPlannedDisc = true;
            const auto loadedShown = qScopeGuard([this] { m_loadingPlannedDisc = false; });
            ShowChanges(run->changes);
        });
}

void TForm1::SetPlanImage(std::unique_ptr<ketrilo::DiscImage> image) {
    m_planImage = std::move(image);
}
