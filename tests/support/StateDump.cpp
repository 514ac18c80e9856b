#include "StateDump.h"

#include "core/workspace/Workspace.h"
#include "window/Unit1.h"
#include "window/dialogs/DiscCheckDialog.h"
#include "window/dialogs/PlanDialog.h"
#include "window/widgets/AnchoredPanel.h"
#include "window/widgets/DragHandle.h"
#include "window/work/DiscImageWatcher.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>

namespace {

QString Line(const QStringList& fields) {
    return fields.join(QLatin1Char('\t')) + '\n';
}

QString Num(int64_t value) {
    return QString::number(value);
}

// Where the panel's image figure stands: "computing" until the quick measure has given it,
// then "quick" until the judge has measured the same well, then "confirmed" or "replaced".
QString ImageFigureWord(const DiscImageWatcher& image) {
    if (image.Computing())
        return QStringLiteral("computing");
    switch (image.JudgeVerdict()) {
    case DiscImageWatcher::Verdict::Pending:
        return QStringLiteral("quick");
    case DiscImageWatcher::Verdict::Confirmed:
        return QStringLiteral("confirmed");
    case DiscImageWatcher::Verdict::Replaced:
        return QStringLiteral("replaced");
    }
    return {};
}

// "geom" lines: each shown widget's object name and rectangle in screen coordinates,
// so that end-to-end tests know where to press and drop.
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

// One line per row of table: kind, then the cells as shown.
QString TableRowsText(const QString& kind, const QTableWidget* table) {
    QString text;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList fields{kind};
        for (int column = 0; column < table->columnCount(); ++column)
            fields << table->item(row, column)->text();
        text += Line(fields);
    }
    return text;
}

// "checks" (the summary) and "check" lines of the disc check dialog, while it is open: it
// is the window's child then.
QString DiscCheckText(const TForm1& form) {
    const auto* dialog = form.findChild<const DiscCheckDialog*>();
    if (dialog == nullptr)
        return {};
    const auto* summary = dialog->findChild<const QLabel*>(QStringLiteral("DiscCheckSummary"));
    return Line({QStringLiteral("checks"), summary->text()}) +
           TableRowsText(QStringLiteral("check"),
                         dialog->findChild<const QTableWidget*>(QStringLiteral("DiscCheckList")));
}

// Replaces the file's content at once (written beside it, then renamed over it).
void WriteWhole(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(text.toUtf8());
    file.commit();
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

StateDump::StateDump(TForm1& form, QString path) : m_form(form), m_path(std::move(path)) {
    m_form.SetWatcher([this] { Write(); });
    m_form.Reporter().SetAfterMessage([this](const QString& text) {
        m_messages.append(text);
        Write();
    });
    Write();
}

StateDump::~StateDump() {
    m_form.SetWatcher({});
    m_form.Reporter().SetAfterMessage({});
}

void StateDump::Write() {
    const TForm1& f = m_form;
    QList<const QWidget*> places = {f.Image1, f.ListView1, f.ListView3, f.Panel1, f.ToolButton3};
    ++m_writes;
    QString plan = Line({QStringLiteral("seq"), Num(m_writes)}) +
                   Line({QStringLiteral("handled"), Num(f.HandlersEnded())}) +
                   Line({QStringLiteral("gauge"), Num(f.ProgressBar1->value())});
    const PlanDialog* planDialog = f.CurrentPlanDialog();
    if (planDialog != nullptr && planDialog->isVisible()) {
        places << planDialog->Discs << planDialog->LoadButton;
        plan += TableRowsText(QStringLiteral("plan"), planDialog->Discs);
    }
    WriteWhole(
        m_path,
        StateDumpText(f.Edit1->text(), f.Workspace(), f.StatusLabel->text(), m_messages) + plan +
            WidgetPlacesText(places) + Line({QStringLiteral("image"), f.ImageStatusLabel->text()}) +
            Line({QStringLiteral("image-figure"), ImageFigureWord(f.Image())}) + DiscCheckText(f));
}
