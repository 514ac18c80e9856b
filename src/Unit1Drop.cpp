// TForm1's handling of files dropped onto the window.
#include "Unit1.h"

#include "AnchoredPanel.h"
#include "core/Numbers.h"
#include "core/Registration.h"
#include "core/UriList.h"

#include <QByteArray>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The local paths that a drop carries; nullopt when the drop is not files of this machine.
std::optional<std::vector<std::string>> DroppedPaths(const QMimeData* data) {
    const QByteArray list = data->data(QStringLiteral("text/uri-list"));
    return ketrilo::LocalPathsFromUriList(std::string_view(list.constData(), size_t(list.size())));
}

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

void TForm1::WMDropFiles(const std::vector<std::string>& paths, QPoint cursorGlobal) {
    if (ketrilo::RefuseSelfDrop(m_ws)) {
        m_reporter.ShowInfo(QStringLiteral("自フォームへのドロップはできません"));
        return;
    }

    if (ketrilo::IsUpperDropArea(cursorGlobal.y(), frameGeometry().top(), Panel1->height())) {
        const std::string shown = ketrilo::ShowDroppedFolder(m_ws, paths.front(), ImageList1);
        if (shown.empty())
            return;
        Edit1->setText(QString::fromUtf8(shown));
        RefreshFolderList();
        UpdateCapacityStatus();
        return;
    }

    // One box for the first duplicate and one that counts the rest: a drop of many copies
    // must not ask for a box per copy.
    int64_t moreDuplicates = -1;
    ketrilo::RegisterDroppedPaths(m_ws, paths, ImageList1, [&](const std::string&) {
        if (++moreDuplicates > 0)
            return;
        // What was registered so far shows behind the box.
        RefreshWell(RowChange::Kept);
        RefreshLongNames(RowChange::Kept);
        m_reporter.ShowInfo(QStringLiteral("重複しています"));
    });
    RefreshWell(RowChange::Kept);
    RefreshLongNames(RowChange::Kept);
    UpdateCapacityStatus();
    if (moreDuplicates > 0)
        m_reporter.ShowInfo(
            QStringLiteral("ほかにも重複が %1 件ありました")
                .arg(QString::fromStdString(ketrilo::FormatThousands(moreDuplicates))));
}
