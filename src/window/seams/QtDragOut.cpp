#include "window/seams/QtDragOut.h"

#include "window/widgets/DragOutButtons.h"

#include <QByteArray>
#include <QDrag>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

// The URL of a path given as the file system's bytes: bytes that are not valid UTF-8
// stay percent-encoded, so the receiver gets the original name.
QUrl FileUrl(const std::string& path) {
    return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"),
                             QUrl::StrictMode);
}

} // namespace

void QtDragOut::RunCopyDrag(QWidget* source, const std::vector<std::string>& paths) {
    QList<QUrl> urls;
    urls.reserve(static_cast<qsizetype>(paths.size()));
    for (const std::string& path : paths)
        urls.append(FileUrl(path));
    auto* data = new QMimeData;
    data->setUrls(urls);
    auto* drag = new QDrag(source); // Qt deletes it when the drag is over
    drag->setMimeData(data);
    drag->setPixmap(source->grab());
    // The drag puts its own event filter in place once it runs; the buttons' rules
    // come in after it, from inside the drag's loop, so that they are asked first.
    DragOutButtons buttons;
    QTimer watch;
    watch.setSingleShot(true);
    QObject::connect(&watch, &QTimer::timeout, &buttons, &DragOutButtons::Watch);
    watch.start(0);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}
