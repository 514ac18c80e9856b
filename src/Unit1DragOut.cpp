// TForm1's drag-out of the well through the drag handle.
#include "Unit1.h"

#include "DragHandle.h"
#include "DragOutButtons.h"
#include "core/DragOut.h"

#include <QByteArray>
#include <QDrag>
#include <QMimeData>
#include <QTimer>

namespace {

// The URL of a path given as the file system's bytes: bytes that are not valid UTF-8
// stay percent-encoded, so the receiver gets the original name.
QUrl FileUrl(const std::string& path) {
    return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"),
                             QUrl::StrictMode);
}

class QtDragOut final : public DragOutSeam {
public:
    void RunCopyDrag(QWidget* source, const std::vector<std::string>& paths) override {
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
};

} // namespace

std::unique_ptr<DragOutSeam> MakeQtDragOut() {
    return std::make_unique<QtDragOut>();
}

void TForm1::Image1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int X, int Y) {
    if (button != Qt::LeftButton)
        return;
    FDragStartPos = QPoint(X, Y);
}

void TForm1::Image1MouseMove(Qt::KeyboardModifiers, int X, int Y) {
    if (m_ws.well.Size() == 0 || !Image1->IsPressed())
        return;
    if (!ketrilo::DragThresholdReached({FDragStartPos.x(), FDragStartPos.y()}, {X, Y}))
        return;
    // One drag (or one error) per press: further moves with the button held do nothing.
    Image1->EndPress();
    const std::vector<std::string> paths = ketrilo::DragPathList(m_ws.well);
    ketrilo::CheckDragPaths(paths);
    ketrilo::BeginDragOut(m_ws);
    m_dragOut->RunCopyDrag(Image1, paths);
    // A drop of this drag onto the window is handled queued, after the drag has let go;
    // the flag is cleared behind it, so that drop is still refused and the next is not.
    QTimer::singleShot(0, this, [this] { ketrilo::EndDragOut(m_ws); });
}
