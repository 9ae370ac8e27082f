// The main window's data display and busy pointer; see windowdisplay.h.
#include "app/windowdisplay.h"

#include <QApplication>

#include "graph/graphview.h"
#include "link/loggerstate.h"
#include "ui/datatable.h"

WindowDisplay::WindowDisplay(GraphView& graphs, const std::array<DataTableView*, 3>& tables)
    : graphs_(graphs), tables_(tables) {}

DataSetIndex WindowDisplay::shown() const {
    return static_cast<DataSetIndex>(graphs_.Disp_stat());
}

int WindowDisplay::viewKind() const {
    return graphs_.viewKind();
}

void WindowDisplay::clear(DataSetIndex index) {
    tables_[index]->clear();
    tables_[index]->showSortIndicator();
    graphs_.clearDataSet(index);
}

void WindowDisplay::show(DataSetIndex index, bool fit) {
    graphs_.selectDisplay(index, graphs_.viewKind());
    tables_[index]->fill();
    if (fit) {
        graphs_.fitSequence();
        if (DataSet* set = graphs_.dataSet(index)) {
            graphs_.updateScrollRanges(*set);
        }
    }
}

void WindowDisplay::appendNewest(DataSetIndex index) {
    if (shown() != index) {
        graphs_.selectDisplay(index, graphs_.viewKind());
    }
    tables_[index]->appendNewest(true);
    graphs_.refreshAfterNewSample();
}

void WindowDisplay::redrawIfGrown() {
    DataSet* set = graphs_.displayed();
    if (set != nullptr && set->drawnCount != set->count) {
        graphs_.refreshAfterNewSample();
    }
}

void WindowDisplay::setContinuous(bool on) {
    graphs_.setContinuous(on);
    if (!on) {
        graphs_.fitSequence();
    }
}

WindowPointer::~WindowPointer() {
    setBusy(false);
}

void WindowPointer::setBusy(bool busy) {
    if (busy == busy_) {
        return;
    }
    busy_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}
