// The item model over a data table's rows: resets, inserts, relabels and sorts told to the
// view, persistent indexes (the selection) carried through a sort.
#include "ui/datatablemodel.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace {

// The header images of the sort column: a small filled triangle pointing up (ascending) or
// down (descending).
QIcon makeSortImage(bool ascending) {
    constexpr int kSize = 12;
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(80, 80, 80));
    const QPolygonF up{{1.5, 9.0}, {10.5, 9.0}, {6.0, 3.0}};
    const QPolygonF down{{1.5, 3.0}, {10.5, 3.0}, {6.0, 9.0}};
    painter.drawPolygon(ascending ? up : down);
    return QIcon(pixmap);
}

}  // namespace

DataTableModel::DataTableModel(DataSet& dataSet, const MessageTable& messages, QObject* parent)
    : QAbstractTableModel(parent),
      rows_(dataSet, messages),
      sortImages_{makeSortImage(true), makeSortImage(false)} {}

void DataTableModel::fill() {
    beginResetModel();
    rows_.fill();
    endResetModel();
}

void DataTableModel::clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void DataTableModel::appendNewest() {
    bool inserting = false;
    rows_.appendNewest([this, &inserting](int row) {
        beginInsertRows({}, row, row);
        inserting = true;
    });
    if (inserting) {
        endInsertRows();
    }
}

DataError DataTableModel::markExtremes() {
    const TableRows::Marking marking = rows_.markExtremes();
    for (const int row : marking.relabelled) {
        const QModelIndex cell = index(row, TableRows::RemarksColumn);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
    }
    if (marking.keysChanged) {
        sortRows();
    }
    return marking.error;
}

void DataTableModel::setSort(int column, TableRows::SortOrder order) {
    if (rows_.setSortKey(column, order)) {
        sortRows();
    }
}

void DataTableModel::headerClicked(int section) {
    if (rows_.headerClicked(section)) {
        sortRows();
    }
}

void DataTableModel::showSortIndicator() {
    emit headerDataChanged(Qt::Horizontal, 0, TableRows::kColumnCount - 1);
}

void DataTableModel::refreshCaptions() {
    rows_.refreshCaptions();
    emit headerDataChanged(Qt::Horizontal, 0, TableRows::kColumnCount - 1);
}

int DataTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_.count();
}

int DataTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : TableRows::kColumnCount;
}

QVariant DataTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) {
        return {};
    }
    return rows_.cellText(index.row(), index.column());
}

QVariant DataTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= TableRows::kColumnCount) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return rows_.caption(section);
    }
    if (role == Qt::DecorationRole && section == rows_.sortColumn()) {
        return sortImages_[rows_.sortOrder() == TableRows::Ascending ? 0 : 1];
    }
    return {};
}

void DataTableModel::sortRows() {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<int> newPosition = rows_.sort();
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before) {
        after.append(index(newPosition[static_cast<std::size_t>(old.row())], old.column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
