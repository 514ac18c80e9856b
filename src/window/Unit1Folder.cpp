// TForm1's folder commands: choose a folder and list it, rescan the folder box.
#include "window/Unit1.h"

#include "core/text/Paths.h"
#include "core/workspace/Registration.h"
#include "window/PathText.h"
#include "window/icons/DeferredIcons.h"
#include "window/work/WalkResult.h"

#include <QLineEdit>

#include <memory>

std::string TForm1::FolderBoxPath() const {
    // A folder whose name is not valid UTF-8 shows with U+FFFD; keep its real bytes.
    const std::string& listed = m_ws.folderList.folder;
    if (!listed.empty() && Edit1->text() == TextOfBytes(listed))
        return listed;
    return BytesOfText(Edit1->text());
}

void TForm1::ToolButton2Click() {
    ShowChosenFolder(m_chooseFolder());
}

void TForm1::ShowChosenFolder(const QString& chosen) {
    if (chosen.isEmpty()) {
        Edit1->clear();
        return;
    }
    ListFolderInBox(ketrilo::WithTrailingBackslash(BytesOfText(chosen)));
}

void TForm1::ToolButton3Click() {
    ListFolderInBox(FolderBoxPath());
}

// The listing runs on a worker into a list of its own; the folder list and Edit1 take it
// only when it finished, so a cancelled listing leaves them as they were.
void TForm1::ListFolderInBox(const std::string& folderText) {
    auto run = std::make_shared<WalkResult>();
    run->fresh.walkWitness = m_ws.walkWitness;
    RunLong(
        [run, folderText](ketrilo::WorkProgress& progress) {
            run->changes = ketrilo::ListFolderAnew(run->fresh, folderText, run->icons, &progress);
        },
        [this, run] { TakeListing(*run); });
}

void TForm1::TakeListing(WalkResult& listed) {
    TakeFolderList(listed.fresh.folderList, listed.icons);
    ShowChanges(listed.changes);
}

void TForm1::TakeFolderList(ketrilo::FolderList& listed, DeferredIcons& icons) {
    for (ketrilo::FolderRow& row : listed.rows)
        row.icon = icons.Resolve(row.icon, ImageList1);
    m_ws.folderList = std::move(listed);
}
