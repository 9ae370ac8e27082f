// The rows of one data table: each row is a sample of the data set, named by the record
// number it had when it was added; the cell texts are read back from the scratch file.
#pragma once

#include <QAbstractTableModel>
#include <QCache>
#include <QIcon>
#include <QStringList>
#include <array>
#include <set>
#include <vector>

#include "data/dataset.h"
#include "data/messagetable.h"

class DataTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { RecordColumn, DateColumn, TemperatureColumn, HumidityColumn, RemarksColumn };
    static constexpr int kColumnCount = 5;
    enum SortOrder { Ascending = 0, Descending = 1 };

    DataTableModel(DataSet& dataSet, const MessageTable& messages, QObject* parent = nullptr);

    // The text of one cell, and all five, of a sample shown as record number `record`.
    static QString cellText(int column, int record, const Sample& sample);
    static QStringList cellTexts(int record, const Sample& sample);
    // The header caption message of each column (1098..1102).
    static int captionMessage(int column);

    // Remove all rows; then one row per sample 1..count of the data set.
    void fill();
    void clear();
    // Adds a row for the data set's newest sample, numbered count, at its sorted place.
    void appendNewest();
    // Relabels the rows' remarks with the data set's four extreme records (real-time table);
    // the first read or write error, the other rows being relabelled all the same.
    DataError markExtremes();

    int sortColumn() const { return sortColumn_; }
    SortOrder sortOrder() const { return sortOrder_; }
    void setSort(int column, SortOrder order);
    // Header click: the column whose caption first equals the clicked one becomes the sort
    // column (keeping the order) or, if it already is, flips the order.
    void headerClicked(int section);
    // Header images again: image 1 (ascending) or 2 (descending) on the sort column only.
    void showSortIndicator();

    // Record number of a row, 0 for a row outside the table.
    int recordAt(int row) const;
    QString cellText(int row, int column) const;
    // The status bar text for a clicked row: date, temperature and humidity with their labels.
    QString statusText(int row) const;
    // Captions again from the table (after the other language was filled).
    void refreshCaptions();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    struct Row {
        int record = 0;
        // Case-folded text of the sort column, so that an ordinal comparison sorts without
        // regard to case; empty while sorting by record number.
        QString key;
    };

    const QStringList* rowTexts(int record) const;
    QString keyFor(int record) const;
    bool rowLess(const Row& a, const Row& b) const;
    void sortRows();
    void refreshKeys();
    void invalidate(int record);

    DataSet& dataSet_;
    const MessageTable& messages_;
    std::vector<Row> rows_;
    int sortColumn_ = RecordColumn;
    SortOrder sortOrder_ = Ascending;
    std::array<QIcon, 2> sortImages_;
    QStringList captions_;
    // Records whose remarks the table marking must look at next time; all rows until the
    // first marking after a fill.
    std::set<int> pendingMarks_;
    bool marksKnown_ = false;
    mutable QCache<int, QStringList> cache_;
};
