#include "FolderListModel.h"

#include "Colours.h"
#include "core/Workspace.h"

FolderListModel::FolderListModel(const ketrilo::Workspace& ws, const ImageList& icons,
                                 QObject* parent)
    : RowTableModel({{QStringLiteral("ファイル"), 400, Qt::AlignLeft},
                     {QStringLiteral("拡張子"), 50, Qt::AlignLeft},
                     {QStringLiteral("サイズ"), 80, Qt::AlignRight, BytesDigits},
                     {QStringLiteral("クラスタ"), 60, Qt::AlignRight, ClustersDigits},
                     {QStringLiteral("長さ"), 40, Qt::AlignRight},
                     {QStringLiteral("最終更新日"), 150, Qt::AlignLeft}},
                    icons, parent),
      m_ws(ws) {}

size_t FolderListModel::CoreRowCount() const {
    return m_ws.folderList.rows.size();
}

void FolderListModel::TintsChanged() {
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole});
}

QString FolderListModel::CellText(size_t row, int column) const {
    const ketrilo::FolderRow& r = m_ws.folderList.rows[row];
    switch (column) {
    case ketrilo::FolderColumnLength:
        return LengthText(r.length);
    case ketrilo::FolderColumnTimestamp:
        return QString::fromStdString(r.lastModified);
    default:
        return SharedCellText(r, column);
    }
}

int32_t FolderListModel::RowIcon(size_t row) const {
    return m_ws.folderList.rows[row].icon;
}

QVariant FolderListModel::CellBackground(size_t row, int column) const {
    const ketrilo::FolderRow& r = m_ws.folderList.rows[row];
    const std::optional<uint32_t> tint =
        column == ketrilo::FolderColumnName
            ? ketrilo::NameCellTint(r)
            : ketrilo::OtherCellTint(r, m_ws.capacity.RemainingBytes);
    return tint ? QVariant(FromBgr(*tint)) : QVariant();
}
