#include "DropHelpers.h"
#include "WindowFixture.h"

#include "window/Unit1.h"
#include "window/widgets/AnchoredPanel.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QTableView>
#include <QUrl>

namespace ui_test {

namespace {

bool SendMimeData(TForm1& form, const QMimeData& data, QPoint global) {
    const QPoint local = form.mapFromGlobal(global);
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(local, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(local), offered, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &drop);
    return drop.isAccepted();
}

} // namespace

bool SendDrop(TForm1& form, const QStringList& paths, QPoint global) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    return SendMimeData(form, data, global);
}

bool DropUriList(TForm1& form, const QByteArray& uriList, QPoint global) {
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"), uriList);
    const int64_t before = form.HandlersEnded();
    return SendMimeData(form, data, global) && HandledAfter(form, before);
}

bool DropFiles(TForm1& form, const QStringList& paths, QPoint global) {
    const int64_t before = form.HandlersEnded();
    return SendDrop(form, paths, global) && HandledAfter(form, before);
}

QPoint LowerAreaTop(const TForm1& form) {
    const QRect frame = form.frameGeometry();
    return QPoint(frame.center().x(), frame.top() + form.Panel1->height() + 40);
}

QStringList ColumnTexts(const QTableView* view, int column) {
    QStringList texts;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        texts << view->model()->index(row, column).data().toString();
    return texts;
}

void SelectOnly(QTableView* view, const QList<int>& rows) {
    view->clearSelection();
    for (int row : rows)
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

} // namespace ui_test
