// TForm1's folder commands: choose a folder and list it, rescan the folder box.
#include "Unit1.h"

#include "core/Paths.h"
#include "core/Registration.h"

#include <QFile>
#include <QLineEdit>

namespace {

std::string PathBytes(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

} // namespace

std::string TForm1::FolderBoxPath() const {
    // A folder whose name is not valid UTF-8 shows with U+FFFD; keep its real bytes.
    const std::string& listed = m_ws.folderList.folder;
    if (!listed.empty() && Edit1->text() == QString::fromUtf8(listed))
        return listed;
    return PathBytes(Edit1->text());
}

void TForm1::ToolButton2Click() {
    ShowChosenFolder(m_chooseFolder());
}

void TForm1::ShowChosenFolder(const QString& chosen) {
    if (chosen.isEmpty()) {
        Edit1->clear();
        return;
    }
    Edit1->setText(QString::fromStdString(ketrilo::WithTrailingBackslash(PathBytes(chosen))));
    ListFolderInBox();
}

void TForm1::ToolButton3Click() {
    ListFolderInBox();
}

void TForm1::ListFolderInBox() {
    const std::string listed = ketrilo::ShowFolder(m_ws, FolderBoxPath(), ImageList1);
    if (!listed.empty())
        Edit1->setText(QString::fromUtf8(listed));
    RefreshFolderList();
}
