// A stand-in for the programs Ketrilo meets on the desktop, for the end-to-end tests:
//   e2e_peer source FILE...  a file manager: pressing and moving the mouse on its window
//                            drags the files' URLs (copy or move, copy proposed)
//   e2e_peer target OUTFILE  a burning program: every file drop on its window appends
//                            the URLs, one a line, then "action\t<a>" and "possible\t<list>"
// Both windows stand at (0, 0), 300 x 200, titled "e2e-peer-source" / "e2e-peer-target".

#include <QApplication>
#include <QByteArray>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

QString ActionName(Qt::DropAction action) {
    switch (action) {
    case Qt::CopyAction:
        return QStringLiteral("copy");
    case Qt::MoveAction:
        return QStringLiteral("move");
    case Qt::LinkAction:
        return QStringLiteral("link");
    default:
        return QStringLiteral("none");
    }
}

QString ActionList(Qt::DropActions actions) {
    QStringList names;
    for (Qt::DropAction a : {Qt::CopyAction, Qt::MoveAction, Qt::LinkAction}) {
        if (actions & a)
            names << ActionName(a);
    }
    return names.join(QLatin1Char(','));
}

void PlacePeerWindow(QWidget& window, const QString& title) {
    window.setWindowTitle(title);
    window.setFixedSize(300, 200);
    window.move(0, 0);
}

class DragSource : public QLabel {
public:
    // files: absolute paths as the file system's bytes; a name that is not valid UTF-8
    // keeps its bytes through the URL's percent-encoding, as file managers do.
    explicit DragSource(const QList<QByteArray>& files) {
        for (const QByteArray& f : files)
            m_urls << QUrl::fromEncoded("file://" + f.toPercentEncoding("/"), QUrl::StrictMode);
        setText(QStringLiteral("drag me"));
        setAlignment(Qt::AlignCenter);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) {
            m_pressPos = e->position().toPoint();
            m_pressed = true;
        }
    }
    void mouseReleaseEvent(QMouseEvent*) override { m_pressed = false; }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!m_pressed || (e->position().toPoint() - m_pressPos).manhattanLength() <
                              QApplication::startDragDistance())
            return;
        m_pressed = false;
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls(m_urls);
        drag->setMimeData(data);
        const Qt::DropAction result = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
        std::printf("drag-ended\t%s\n", qPrintable(ActionName(result)));
        std::fflush(stdout);
    }

private:
    QList<QUrl> m_urls;
    QPoint m_pressPos;
    bool m_pressed = false;
};

class DropTarget : public QLabel {
public:
    explicit DropTarget(QString outFile) : m_outFile(std::move(outFile)) {
        setAcceptDrops(true);
        setText(QStringLiteral("drop here"));
        setAlignment(Qt::AlignCenter);
    }

protected:
    void dragEnterEvent(QDragEnterEvent* e) override {
        if (e->mimeData()->hasUrls())
            e->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent* e) override {
        if (e->mimeData()->hasUrls())
            e->acceptProposedAction();
    }
    void dropEvent(QDropEvent* e) override {
        e->acceptProposedAction();
        QFile out(m_outFile);
        if (!out.open(QIODevice::Append))
            return;
        // The URL's encoded form keeps names that are not valid UTF-8 byte for byte.
        for (const QUrl& url : e->mimeData()->urls())
            out.write(url.toEncoded() + '\n');
        out.write(("action\t" + ActionName(e->dropAction()) + "\n").toUtf8());
        out.write(("possible\t" + ActionList(e->possibleActions()) + "\n").toUtf8());
    }

private:
    QString m_outFile;
};

int Usage() {
    std::fprintf(stderr, "usage: e2e_peer source FILE... | e2e_peer target OUTFILE\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return Usage();

    if (args[0] == QLatin1String("source")) {
        // QApplication's arguments are decoded text; names are taken from argv as bytes.
        QList<QByteArray> files;
        for (int i = 2; i < argc; ++i)
            files << QByteArray(argv[i]);
        DragSource window(files);
        PlacePeerWindow(window, QStringLiteral("e2e-peer-source"));
        window.show();
        return app.exec();
    }
    if (args[0] == QLatin1String("target") && args.size() == 2) {
        DropTarget window(args[1]);
        PlacePeerWindow(window, QStringLiteral("e2e-peer-target"));
        window.show();
        return app.exec();
    }
    return Usage();
}
