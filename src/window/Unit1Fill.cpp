// TForm1's fill: what else of the folder list fits the disc, found on a worker thread
// behind the progress display, shown in the fill dialog, and registered as the register
// button registers rows.
#include "window/Unit1.h"

#include "core/image/DiscImageStatus.h"
#include "core/plan/FillSearch.h"
#include "core/workspace/Registration.h"
#include "image/IsoDiscImage.h"
#include "window/dialogs/FillDialog.h"

#include <memory>
#include <optional>

void TForm1::FillDisc1Click() {
    // The candidates: the listed rows the well does not hold, in the list's order.
    const ketrilo::FolderList& list = m_ws.folderList;
    std::vector<size_t> rows;
    std::vector<std::string> paths;
    for (size_t i = 0; !list.folder.empty() && i < list.rows.size(); ++i) {
        const std::string path = list.folder + list.rows[i].name;
        if (m_ws.well.WellIndexOf(path) < 0) {
            rows.push_back(i);
            paths.push_back(path);
        }
    }
    const int64_t capacity = m_ws.capacity.DiscCapacityClusters;
    if (m_planImage == nullptr)
        m_planImage = std::make_unique<ketrilo::IsoDiscImage>();
    auto fill = std::make_shared<std::optional<ketrilo::DiscFill>>();
    // Shown once it is found; a cancelled fill changes nothing.
    RunLong(
        [fill, onDisc = ketrilo::ImageItemsOf(m_ws.well), paths = std::move(paths), capacity,
         image = m_planImage.get()](ketrilo::WorkProgress& progress) {
            *fill = ketrilo::FillDisc(onDisc, paths, capacity, *image, &progress);
        },
        [this, fill, rows = std::move(rows)] { ShowFill(**fill, rows); });
}

void TForm1::ShowFill(const ketrilo::DiscFill& fill, const std::vector<size_t>& rows) {
    const ketrilo::FolderList& list = m_ws.folderList;
    std::vector<size_t> chosenRows;
    std::vector<ketrilo::FolderRow> chosen;
    for (size_t i : fill.chosen) {
        chosenRows.push_back(rows[i]);
        chosen.push_back(list.rows[rows[i]]);
    }
    FillDialog dialog(fill, chosen, this);
    TellWatcherSoon(&dialog);
    // Modal: the folder list the rows point into stays as it is until the dialog closes.
    if (dialog.exec() == QDialog::Accepted)
        ShowChanges(ketrilo::RegisterFolderRows(m_ws, chosenRows));
}
