#include "RowTableModel.h"

#include "ImageList.h"
#include "core/NameRules.h"

RowTableModel::RowTableModel(std::vector<ColumnSpec> columns, const ImageList& icons,
                             QObject* parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns)), m_icons(icons) {}

void RowTableModel::Reset() {
    beginResetModel();
    endResetModel();
}

int RowTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant RowTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto row = static_cast<size_t>(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return CellText(row, index.column());
    case Qt::DecorationRole:
        return index.column() == 0 ? QVariant(m_icons.Icon(RowIcon(row))) : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant(m_columns[index.column()].alignment | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        return CellBackground(row, index.column());
    default:
        return {};
    }
}

QVariant RowTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns[section].caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant(m_columns[section].alignment | Qt::AlignVCenter);
    return {};
}

QString RowTableModel::BytesText(int64_t bytes) {
    return QString::fromStdString(ketrilo::FormatPadded(bytes, 12));
}

QString RowTableModel::ClustersText(int64_t clusters) {
    return QString::fromStdString(ketrilo::FormatPadded(clusters, 6));
}

QString RowTableModel::LengthText(int32_t length) {
    return QString::fromStdString(ketrilo::FormatPadded(length, 3));
}
