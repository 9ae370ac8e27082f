// One data table's rows as a Qt item model: the rows, their order and texts are the
// TableRows'; the model tells the view of each change and draws the sort column's image.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <array>

#include "data/dataset.h"
#include "data/messagetable.h"
#include "data/tablerows.h"

class DataTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    DataTableModel(DataSet& dataSet, const MessageTable& messages, QObject* parent = nullptr);

    const TableRows& rows() const { return rows_; }

    // Remove all rows; then one row per sample 1..count of the data set.
    void fill();
    void clear();
    // Adds a row for the data set's newest sample, numbered count, at its sorted place.
    void appendNewest();
    // Relabels the rows' remarks with the data set's four extreme records (real-time table);
    // the first read or write error, the other rows being relabelled all the same.
    DataError markExtremes();

    int sortColumn() const { return rows_.sortColumn(); }
    TableRows::SortOrder sortOrder() const { return rows_.sortOrder(); }
    void setSort(int column, TableRows::SortOrder order);
    // Header click: as TableRows::headerClicked, then the rows in their new order.
    void headerClicked(int section);
    // Header images again: image 1 (ascending) or 2 (descending) on the sort column only.
    void showSortIndicator();

    int recordAt(int row) const { return rows_.recordAt(row); }
    QString cellText(int row, int column) const { return rows_.cellText(row, column); }
    QString statusText(int row) const { return rows_.statusText(row); }
    // Captions again from the table (after the other language was filled).
    void refreshCaptions();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    void sortRows();

    TableRows rows_;
    std::array<QIcon, 2> sortImages_;
};
