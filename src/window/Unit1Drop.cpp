// TForm1's handling of files dropped onto the window.
#include "window/Unit1.h"

#include "core/text/Numbers.h"
#include "core/workspace/Registration.h"
#include "window/DroppedPaths.h"
#include "window/icons/DeferredIcons.h"
#include "window/widgets/AnchoredPanel.h"
#include "window/work/WalkResult.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// Takes the drop as a copy when it carries local files only; returns their paths.
template <class Event> std::optional<std::vector<std::string>> TakeAsCopy(Event* event) {
    std::optional<std::vector<std::string>> paths = DroppedPaths(event->mimeData());
    if (!paths) {
        event->ignore();
        return paths;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return paths;
}

// Gives the rows of list from first on the icons the worker left to the window's thread.
template <class List>
void ResolveIcons(List& list, size_t first, DeferredIcons& icons, ImageList& images) {
    for (size_t i = first; i < list.Size(); ++i) {
        auto row = list.At(i);
        row.icon = icons.Resolve(row.icon, images);
        list.ReplaceAt(i, std::move(row));
    }
}

} // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    TakeAsCopy(event);
}

void TForm1::dragMoveEvent(QDragMoveEvent* event) {
    TakeAsCopy(event);
}

void TForm1::dropEvent(QDropEvent* event) {
    std::optional<std::vector<std::string>> taken = TakeAsCopy(event);
    if (!taken)
        return;
    const QPoint cursor = mapToGlobal(event->position().toPoint());
    // The drop is handled once the drag has let go, so that its message boxes are
    // ordinary modal boxes and the program that dragged is not kept waiting.
    QTimer::singleShot(0, this, [this, paths = std::move(*taken), cursor] {
        Run([&] { WMDropFiles(paths, cursor); });
    });
}

void TForm1::TakeWellAndLongNames(ketrilo::Workspace& fresh, DeferredIcons& icons,
                                  size_t firstNewRow, size_t firstNewLongName) {
    ResolveIcons(fresh.well, firstNewRow, icons, ImageList1);
    ResolveIcons(fresh.longNames, firstNewLongName, icons, ImageList1);
    m_ws.well = std::move(fresh.well);
    m_ws.longNames = std::move(fresh.longNames);
    m_ws.capacity = fresh.capacity;
}

void TForm1::WMDropFiles(const std::vector<std::string>& paths, QPoint cursorGlobal) {
    if (ketrilo::TakeDraggingFromSelf(m_ws)) {
        m_reporter.ShowInfo(QStringLiteral("自フォームへのドロップはできません"));
        return;
    }

    // The walks run on a worker into lists of their own, taken only when they finished.
    if (ketrilo::IsUpperDropArea(cursorGlobal.y(), frameGeometry().top(), Panel1->height())) {
        auto run = std::make_shared<WalkResult>();
        run->fresh.walkWitness = m_ws.walkWitness;
        RunLong(
            [run, folder = paths.front()](ketrilo::WorkProgress& progress) {
                run->changes =
                    ketrilo::ListDroppedFolder(run->fresh, folder, run->icons, &progress);
            },
            [this, run] {
                if (run->changes.folderList.replaced)
                    TakeListing(*run);
            });
        return;
    }

    struct Registration : WalkResult {
        std::vector<std::string> duplicates;
    };
    auto run = std::make_shared<Registration>();
    run->fresh.well = m_ws.well;
    run->fresh.longNames = m_ws.longNames;
    run->fresh.capacity = m_ws.capacity;
    run->fresh.walkWitness = m_ws.walkWitness;
    RunLong(
        [run, paths](ketrilo::WorkProgress& progress) {
            run->changes = ketrilo::RegisterDroppedPaths(
                run->fresh, paths, run->icons,
                [&](const std::string& path) { run->duplicates.push_back(path); }, &progress);
        },
        [this, run] {
            TakeWellAndLongNames(run->fresh, run->icons, m_ws.well.Size(), m_ws.longNames.Size());
            ShowRegistered(run->changes, run->duplicates.size());
        });
}

void TForm1::ShowRegistered(ketrilo::Changes registered, size_t duplicates) {
    // One box for the first duplicate and one that counts the rest: a drop of many copies
    // must not ask for a box per copy. They come once the walks are done, with the drop's
    // rows behind them and before the status, as in the drop's own order.
    const bool capacityTouched = std::exchange(registered.capacity, false);
    ShowChanges(registered);
    if (duplicates > 0)
        m_reporter.ShowInfo(QStringLiteral("重複しています"));
    ketrilo::Changes status;
    status.capacity = capacityTouched;
    ShowChanges(status);
    if (duplicates > 1)
        m_reporter.ShowInfo(QStringLiteral("ほかにも重複が %1 件ありました")
                                .arg(QString::fromStdString(ketrilo::FormatThousands(
                                    static_cast<int64_t>(duplicates - 1)))));
}

void TForm1::DropsRefusedWhileBusy(const QString& firstPath, qsizetype items) {
    const QString what = items > 1
                             ? QStringLiteral("%1 ほか %2 項目")
                                   .arg(firstPath, QString::fromStdString(ketrilo::FormatThousands(
                                                       static_cast<int64_t>(items - 1))))
                             : firstPath;
    m_reporter.ShowInfo(QStringLiteral("処理中だったため、ドロップされた %1 は受け付けていません。"
                                       "処理が終わったので、もう一度ドロップしてください")
                            .arg(what));
}
