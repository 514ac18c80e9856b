// TForm1's handling of files dropped onto the window.
#include "Unit1.h"

#include "AnchoredPanel.h"
#include "core/Registration.h"

#include <QByteArray>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>

#include <string>
#include <vector>

namespace {

bool CarriesLocalFilesOnly(const QMimeData* data) {
    if (!data->hasUrls() || data->urls().isEmpty())
        return false;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return false;
    }
    return true;
}

// The file system's bytes of a local file URL, whole whatever its length; a name that
// is not valid UTF-8 keeps its bytes through the URL's percent-encoding.
std::string LocalPathBytes(const QUrl& url) {
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

template <class Event> void TakeAsCopy(Event* event) {
    if (!CarriesLocalFilesOnly(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

} // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    TakeAsCopy(event);
}

void TForm1::dragMoveEvent(QDragMoveEvent* event) {
    TakeAsCopy(event);
}

void TForm1::dropEvent(QDropEvent* event) {
    TakeAsCopy(event);
    if (!event->isAccepted())
        return;
    const QList<QUrl> urls = event->mimeData()->urls();
    const QPoint cursor = mapToGlobal(event->position().toPoint());
    // The drop is handled once the drag has let go, so that its message boxes are
    // ordinary modal boxes and the program that dragged is not kept waiting.
    QTimer::singleShot(0, this, [this, urls, cursor] { Run([&] { WMDropFiles(urls, cursor); }); });
}

void TForm1::WMDropFiles(const QList<QUrl>& urls, QPoint cursorGlobal) {
    if (ketrilo::RefuseSelfDrop(m_ws)) {
        m_reporter.ShowInfo(QStringLiteral("自フォームへのドロップはできません"));
        return;
    }
    std::vector<std::string> paths;
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            paths.push_back(LocalPathBytes(url));
    }
    if (paths.empty())
        return;

    if (ketrilo::IsUpperDropArea(cursorGlobal.y(), frameGeometry().top(), Panel1->height())) {
        const std::string shown = ketrilo::ShowDroppedFolder(m_ws, paths.front(), ImageList1);
        if (shown.empty())
            return;
        Edit1->setText(QString::fromUtf8(shown));
        RefreshFolderList();
        UpdateCapacityStatus();
        return;
    }

    ketrilo::RegisterDroppedPaths(m_ws, paths, ImageList1, [this](const std::string&) {
        // What was registered so far shows behind the box.
        RefreshWell(RowChange::Kept);
        RefreshLongNames(RowChange::Kept);
        m_reporter.ShowInfo(QStringLiteral("重複しています"));
    });
    RefreshWell(RowChange::Kept);
    RefreshLongNames(RowChange::Kept);
    UpdateCapacityStatus();
}
