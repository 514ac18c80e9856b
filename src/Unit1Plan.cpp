// TForm1's spanning plan: computed on a worker thread behind a progress display, shown
// in the plan dialog, and one disc at a time taken into the well.
#include "Unit1.h"

#include "PlanDialog.h"
#include "core/PlannedDiscLoad.h"
#include "image/IsoDiscImage.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <exception>
#include <optional>

namespace {

// Runs work on a worker thread while a window-modal progress display shows its counts;
// the display's cancel asks the work to stop. Rethrows what the work threw, including
// WorkCancelled.
void RunWithProgress(QWidget* parent, const QString& label,
                     const std::function<void(ketrilo::WorkProgress&)>& work) {
    ketrilo::WorkProgress progress;
    std::exception_ptr error;
    QThread* worker = QThread::create([&] {
        try {
            work(progress);
        } catch (...) {
            error = std::current_exception();
        }
    });
    QProgressDialog display(label, QStringLiteral("キャンセル"), 0, 0, parent);
    display.setWindowModality(Qt::WindowModal);
    // Short work ends before the display would only flash.
    QTimer::singleShot(300, &display, &QProgressDialog::show);
    QObject::connect(&display, &QProgressDialog::canceled, &display, [&] { progress.Cancel(); });
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &display, [&] {
        const ketrilo::WorkProgress::Snapshot now = progress.Read();
        display.setLabelText(
            label +
            QStringLiteral("\nファイル %1 個、フォルダ %2 個").arg(now.files).arg(now.folders));
    });
    QEventLoop loop;
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    ticker.start(200);
    loop.exec();
    worker->wait();
    delete worker;
    if (error)
        std::rethrow_exception(error);
}

} // namespace

void TForm1::PlanDiscs1Click() {
    std::vector<std::string> paths;
    for (const ketrilo::WellRow& row : m_ws.well.Rows())
        paths.push_back(row.FullPath());
    const int64_t capacity = m_ws.capacity.DiscCapacityClusters;
    if (m_planImage == nullptr)
        m_planImage = std::make_unique<ketrilo::IsoDiscImage>();
    std::optional<ketrilo::SpanningPlan> plan;
    try {
        RunWithProgress(this, QStringLiteral("ディスクに分けています…"),
                        [&](ketrilo::WorkProgress& progress) {
                            plan = ketrilo::PlanDiscs(paths, capacity, *m_planImage, &progress);
                        });
    } catch (const ketrilo::WorkCancelled&) {
        return; // nothing changes
    }
    if (m_planDialog != nullptr)
        m_planDialog->close();
    m_planDialog = new PlanDialog(
        std::move(*plan),
        [this](const ketrilo::PlannedDisc& disc) {
            Run([this, &disc] { LoadPlannedDiscClick(disc); });
        },
        this);
    m_planDialog->setAttribute(Qt::WA_DeleteOnClose);
    m_planDialog->show();
    // End-to-end tests find the dialog's controls once it is on screen.
    QTimer::singleShot(0, this, [this] { WriteStateDump(); });
}

void TForm1::LoadPlannedDiscClick(const ketrilo::PlannedDisc& disc) {
    ketrilo::LoadPlannedDisc(m_ws, disc, ImageList1);
    RefreshWell();
    RefreshLongNames();
    UpdateCapacityStatus();
}

void TForm1::SetPlanImage(std::unique_ptr<ketrilo::DiscImage> image) {
    m_planImage = std::move(image);
}
