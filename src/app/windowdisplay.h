// The main window's side of the operations' interfaces: the data display over the graph view
// (which holds the data set on display and the view kind) and the three data tables, and the
// busy pointer.
#pragma once

#include <array>

#include "operations/context.h"

class DataTableView;
class GraphView;

class WindowDisplay : public DataDisplay {
  public:
    WindowDisplay(GraphView& graphs, const std::array<DataTableView*, 3>& tables);

    DataSetIndex shown() const override;
    int viewKind() const override;
    void clear(DataSetIndex index) override;
    void show(DataSetIndex index, bool fit) override;
    void appendNewest(DataSetIndex index) override;
    void redrawIfGrown() override;
    void setContinuous(bool on) override;

  private:
    GraphView& graphs_;
    std::array<DataTableView*, 3> tables_;
};

// The application's override cursor, set once however often busy is reported.
class WindowPointer : public BusyPointer {
  public:
    ~WindowPointer() override;
    void setBusy(bool busy) override;

  private:
    bool busy_ = false;
};
