#pragma once
// Drops onto the window as another program makes them, and reading a list view back.

#include <QByteArray>
#include <QPoint>
#include <QStringList>

class QTableView;
class TForm1;

namespace ui_test {

// Drops paths (local file URLs) onto the window at the global point, as a file manager
// would. Returns whether the window took the drop; its handling is queued.
bool SendDrop(TForm1& form, const QStringList& paths, QPoint global);

// SendDrop, then waits until the window's queued drop handling has ended (HandledAfter).
bool DropFiles(TForm1& form, const QStringList& paths, QPoint global);

// Drops exactly this text/uri-list, as another program may send it, and waits until the
// window's queued drop handling has ended. Returns whether the window took the drop.
bool DropUriList(TForm1& form, const QByteArray& uriList, QPoint global);

// The first global point of the lower drop area: the window frame's top + Panel1's
// height + 40 (the point one pixel above it is in the upper area).
[[nodiscard]] QPoint LowerAreaTop(const TForm1& form);

// The column's texts of every row, top to bottom.
[[nodiscard]] QStringList ColumnTexts(const QTableView* view, int column);

// Selects exactly the given rows of view.
void SelectOnly(QTableView* view, const QList<int>& rows);

} // namespace ui_test
