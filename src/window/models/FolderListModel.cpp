#include "window/models/FolderListModel.h"

#include "core/image/DiscImageStatus.h"
#include "core/workspace/Workspace.h"
#include "window/widgets/Colours.h"

FolderListModel::FolderListModel(const ketrilo::Workspace& ws, const ImageList& icons,
                                 QObject* parent)
    : RowListModel(
          {{QStringLiteral("ファイル"), 400, Qt::AlignLeft},
           {QStringLiteral("拡張子"), 50, Qt::AlignLeft},
           {QStringLiteral("サイズ"), 80, Qt::AlignRight, BytesDigits},
           {QStringLiteral("クラスタ"), 60, Qt::AlignRight, ClustersDigits},
           {QStringLiteral("長さ"), 40, Qt::AlignRight},
           {QStringLiteral("最終更新日"), 150, Qt::AlignLeft}},
          ws,
          [](const ketrilo::Workspace& w) -> const std::vector<ketrilo::FolderRow>& {
              return w.folderList.rows;
          },
          icons, parent) {}

void FolderListModel::TintsChanged() {
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole});
}

void FolderListModel::SetImageRemainingSectors(std::optional<int64_t> sectors) {
    if (sectors == m_imageRemainingSectors)
        return;
    m_imageRemainingSectors = sectors;
    TintsChanged();
}

QString FolderListModel::CellText(size_t row, int column) const {
    const ketrilo::FolderRow& r = At(row);
    switch (column) {
    case ketrilo::FolderColumnLength:
        return LengthText(r.length);
    case ketrilo::FolderColumnTimestamp:
        return QString::fromStdString(r.lastModified);
    default:
        return SharedCellText(r, column);
    }
}

QVariant FolderListModel::CellBackground(size_t row, int column) const {
    const ketrilo::FolderRow& r = At(row);
    const std::optional<uint32_t> tint =
        column == ketrilo::FolderColumnName
            ? ketrilo::NameCellTint(r)
            : ketrilo::OtherCellTint(r, ketrilo::TintRemainingBytes(Ws().capacity.RemainingBytes,
                                                                    m_imageRemainingSectors));
    return tint ? QVariant(FromBgr(*tint)) : QVariant();
}
