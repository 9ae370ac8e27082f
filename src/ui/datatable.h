// One data table pane: the container pane holding the report-style table of one data set
// (0 log, 1 real-time, 2 file).
#pragma once

#include <QTableView>
#include <QWidget>

#include "data/dataset.h"
#include "data/messagetable.h"
#include "ui/datatablemodel.h"

class DataTableView : public QWidget {
    Q_OBJECT
  public:
    // Object names "Picture3_<index>" for the container and "ListView1_<index>" for the table.
    DataTableView(int index, DataSet& dataSet, const MessageTable& messages,
                  QWidget* parent = nullptr);

    int index() const { return index_; }
    QTableView* table() const { return table_; }
    DataTableModel* model() const { return model_; }

    // Fill table d: every sample of the data set, in sort order.
    void fill();
    void clear();
    // The newest sample of the data set, followed by the extreme marking when asked for;
    // the marking's first read or write error.
    DataError appendNewest(bool markExtremes);
    // Header images: the sort column shows its order, the others nothing.
    void showSortIndicator();
    // Column widths as shares (13, 19, 13, 13, 42 hundredths) of the table's present width.
    void sizeColumns();
    // Captions again from the message table.
    void retranslate();

    // Rows the user selected, in table order (the dump print prints these).
    std::vector<int> selectedRows() const;

    // ListView1_ColumnClick and ListView1_ItemClick, callable as the user's clicks are.
    void columnClick(int section);
    void itemClick(int row);

  signals:
    // Row click: the text for status bar panel 2.
    void statusTextChanged(const QString& text);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void placeTable();

    int index_;
    const MessageTable& messages_;
    DataTableModel* model_;
    QTableView* table_;
    bool columnsSized_ = false;
};
