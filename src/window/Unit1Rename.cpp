// TForm1's rename editor for the long-name list.
#include "window/Unit1.h"

#include "core/text/NameRules.h"
#include "core/workspace/Rename.h"
#include "window/PathText.h"
#include "window/widgets/AnchoredPanel.h"
#include "window/widgets/ListViews.h"
#include "window/work/DiscImageWatcher.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

namespace {

const QColor OverLimitColour(224, 96, 96);

} // namespace

void TForm1::ListView2DblClick() {
    // With no row selected there is no name to edit: the editor stays as it is.
    const std::vector<size_t> selected = SelectedRows(ListView2);
    if (selected.empty())
        return;
    Panel2->show();
    // A byte that is not UTF-8 is edited as a character of its own that keeps the byte.
    Edit2->setText(EditableTextOfBytes(m_ws.longNames.At(selected.front()).name));
    Edit2->setFocus();
    Edit2->setCursorPosition(static_cast<int>(Edit2->text().size()));
}

void TForm1::Edit2Change() {
    // UTF-16 units of the text, the same count NameLength gives for its UTF-8 form.
    const auto length = static_cast<uint32_t>(Edit2->text().size());
    QPalette colours = Edit2->palette();
    colours.setColor(QPalette::Base, ketrilo::IsNameWithinLimit(length)
                                         ? QApplication::palette(Edit2).color(QPalette::Base)
                                         : OverLimitColour);
    Edit2->setPalette(colours);
    Label3->setText(QString::number(length));
}

void TForm1::Edit2KeyDown(int key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Escape) {
        Panel2->hide();
        return;
    }
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    const std::vector<size_t> selected = SelectedRows(ListView2);
    if (selected.empty())
        return;
    const size_t row = selected.front();
    const ketrilo::LongNameRow entry = m_ws.longNames.At(row);
    const std::string newName = BytesOfEditableText(Edit2->text());
    if (!ketrilo::RenameOnDisk(entry.folder, entry.name, newName)) {
        m_reporter.ShowInfo(QStringLiteral("リネームに失敗しました"));
        return;
    }
    // An entry under a well item has a new name on disk.
    m_discImageWatcher->ForgetEntry(entry.FullPath());
    Edit2->clear();
    Panel2->hide();
    ShowChanges(ketrilo::ApplyRename(m_ws, row, newName));
}
