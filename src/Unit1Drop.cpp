// TForm1's handling of files dropped onto the window.
#include "Unit1.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>

void TForm1::dragEnterEvent(QDragEnterEvent*) {}

void TForm1::dragMoveEvent(QDragMoveEvent*) {}

void TForm1::dropEvent(QDropEvent*) {}

void TForm1::WMDropFiles(const QList<QUrl>&, QPoint) {}
