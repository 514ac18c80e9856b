#include "StateDump.h"

#include "core/Workspace.h"

#include <QSaveFile>
#include <QWidget>

namespace {

QString Line(const QStringList& fields) {
    return fields.join(QLatin1Char('\t')) + '\n';
}

QString Num(int64_t value) {
    return QString::number(value);
}

} // namespace

QString StateDumpText(const QString& folderText, const ketrilo::Workspace& ws,
                      const QString& statusLine, const QStringList& messages) {
    QString text = Line({QStringLiteral("folder"), folderText});
    for (const ketrilo::FolderRow& r : ws.folderList.rows)
        text +=
            Line({QStringLiteral("row"), Num(r.clusters), Num(r.bytes), QString::fromUtf8(r.name)});
    for (const ketrilo::WellRow& r : ws.well.Rows())
        text += Line({QStringLiteral("well"), Num(r.clusters), Num(r.bytes),
                      QString::fromUtf8(r.FullPath())});
    for (const ketrilo::LongNameRow& r : ws.longNames.Rows())
        text += Line({QStringLiteral("long"), Num(r.length), QString::fromUtf8(r.FullPath())});
    text += Line({QStringLiteral("status"), statusLine});
    for (const QString& m : messages)
        text += Line({QStringLiteral("message"), m});
    return text;
}

QString WidgetPlacesText(const QList<const QWidget*>& widgets) {
    QString text;
    for (const QWidget* w : widgets) {
        if (!w->isVisible())
            continue;
        const QPoint topLeft = w->mapToGlobal(QPoint(0, 0));
        text += Line({QStringLiteral("geom"), w->objectName(), Num(topLeft.x()), Num(topLeft.y()),
                      Num(w->width()), Num(w->height())});
    }
    return text;
}

QString StateDumpPath() {
    return qEnvironmentVariable("KETRILO_STATE_OUT");
}

void WriteStateDumpFile(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(text.toUtf8());
    file.commit();
}
