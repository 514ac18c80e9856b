// TForm1's folder commands: choose a folder and list it, rescan the folder box.
#include "window/Unit1.h"

#include "core/text/Paths.h"
#include "core/workspace/Registration.h"
#include "window/PathText.h"
#include "window/icons/DeferredIcons.h"
#include "window/work/LongWork.h"

#include <QLineEdit>

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
    DeferredIcons icons;
    ketrilo::Workspace fresh;
    ketrilo::Changes listed;
    if (!m_longWork->Run([&](ketrilo::WorkProgress& progress) {
            listed = ketrilo::ListFolderAnew(fresh, folderText, icons, &progress);
        }))
        return;
    TakeFolderList(fresh.folderList, icons);
    ShowChanges(listed);
}

void TForm1::TakeFolderList(ketrilo::FolderList& listed, DeferredIcons& icons) {
    for (ketrilo::FolderRow& row : listed.rows)
        row.icon = icons.Resolve(row.icon, ImageList1);
    m_ws.folderList = std::move(listed);
}
