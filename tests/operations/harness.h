// The operations wired as the application wires them (one session, one context, one set of
// operations) around the simulated logger, a window built from the control table, a display
// that records what it is asked to show, and a pointer that records its state.
#pragma once

#include <array>
#include <memory>

#include "fakes.h"
#include "operations/context.h"
#include "operations/operations.h"
#include "simrig.h"
#include "ui/progressdialog.h"

namespace optest {

class FakeDisplay : public DataDisplay {
  public:
    DataSetIndex current = LogData;
    int kind = Graphs;
    std::array<int, 3> clears{};
    std::array<int, 3> shows{};
    std::array<int, 3> appends{};
    bool continuous = false;
    int fits = 0;

    DataSetIndex shown() const override { return current; }
    int viewKind() const override { return kind; }
    void clear(DataSetIndex index) override { ++clears[index]; }
    void show(DataSetIndex index, bool) override {
        current = index;
        ++shows[index];
    }
    void appendNewest(DataSetIndex index) override {
        current = index;
        ++appends[index];
    }
    void redrawIfGrown() override {}
    void setContinuous(bool on) override {
        continuous = on;
        fits += on ? 0 : 1;
    }
};

class FakePointer : public BusyPointer {
  public:
    bool busy = false;
    void setBusy(bool value) override { busy = value; }
};

class Harness : public SimSessionRig<SimBusPort, ScriptedPrompter> {
  public:
    // The logger answers on loggerPort as the named scenario (empty: the simulator's default).
    explicit Harness(int loggerPort = 3, const QString& scenario = QString());

    // Connects by the toggle and runs the status read that follows.
    void connect(const QString& mode = QString(), int port = 0);
    void refresh() { ops->status().run(); }
    Connection& connection() { return ops->connection(); }

    QString text(ControlId id) const { return controls.text(id); }
    bool enabled(ControlId id) const { return controls.enabled(id); }
    bool shown(ControlId id) const { return controls.shown(id); }

    FakeDisplay display;
    FakePointer pointer;
    ScriptedDialogs dialogs;
    ProgressDialog progress{messages};
    WidgetControls controls;
    std::unique_ptr<QWidget> window;
    Context context{session, waiter, controls, display, pointer, dialogs, progress};
    std::unique_ptr<Operations> ops;
    int refreshes = 0;
};

}  // namespace optest
