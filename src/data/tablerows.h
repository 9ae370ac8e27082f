// The rows of one data table without any widget: which sample is on which row, in which
// order, with which texts. The table view's model and the dump print both read them.
#pragma once

#include <QCache>
#include <QString>
#include <QStringList>
#include <functional>
#include <set>
#include <vector>

#include "data/dataset.h"
#include "data/messagetable.h"

class TableRows {
  public:
    enum Column { RecordColumn, DateColumn, TemperatureColumn, HumidityColumn, RemarksColumn };
    static constexpr int kColumnCount = 5;
    enum SortOrder { Ascending = 0, Descending = 1 };

    TableRows(DataSet& dataSet, const MessageTable& messages);

    // The text of one cell, and all five, of a sample shown as record number `record`.
    static QString cellText(int column, int record, const Sample& sample);
    static QStringList cellTexts(int record, const Sample& sample);

    int count() const { return static_cast<int>(rows_.size()); }
    // Remove all rows; then one row per sample 1..count of the data set, in sort order.
    void fill();
    void clear();
    // Adds a row for the data set's newest sample, numbered count, at its sorted place;
    // `aboutToInsert` hears that place before the row goes in. Nothing for an empty data set.
    void appendNewest(const std::function<void(int row)>& aboutToInsert);

    struct Marking {
        // The first read or write error, the other rows being relabelled all the same.
        DataError error = DataError::None;
        // Rows whose remarks were written again.
        std::vector<int> relabelled;
        // The remarks sort keys changed: the rows want sorting again.
        bool keysChanged = false;
    };
    // Relabels the rows' remarks with the data set's four extreme records (real-time table).
    Marking markExtremes();

    int sortColumn() const { return sortColumn_; }
    SortOrder sortOrder() const { return sortOrder_; }
    // Makes `column` in `order` the sort; sort() then puts the rows in it. False (nothing
    // changed) for a column that does not exist.
    bool setSortKey(int column, SortOrder order);
    // Header click: the column whose caption first equals the clicked one becomes the sort
    // column (keeping the order) or, if it already is, flips the order; as setSortKey.
    bool headerClicked(int section);
    // Stable sort by the sort key; for each row before the sort, its row after it.
    std::vector<int> sort();

    // Record number of a row, 0 for a row outside the table.
    int recordAt(int row) const;
    QString cellText(int row, int column) const;
    QString caption(int column) const { return captions_.value(column); }
    // The status bar text for a row: date, temperature and humidity with their labels.
    QString statusText(int row) const;
    // Captions again from the table (after the other language was filled).
    void refreshCaptions();

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
    void refreshKeys();

    DataSet& dataSet_;
    const MessageTable& messages_;
    std::vector<Row> rows_;
    int sortColumn_ = RecordColumn;
    SortOrder sortOrder_ = Ascending;
    QStringList captions_;
    // Records whose remarks the table marking must look at next time; all rows until the
    // first marking after a fill.
    std::set<int> pendingMarks_;
    bool marksKnown_ = false;
    mutable QCache<int, QStringList> cache_;
};
