// What every operation works with: the link session (engine, logger model, download, data
// sets, prompter, messages), the waiter, the window's controls by id, the display of the data
// sets, the busy pointer, the dialogs, the download progress and the present time. The window
// builds one; tests build one around fakes.
#pragma once

#include <QDateTime>
#include <functional>

#include "data/dataset.h"
#include "link/session.h"
#include "link/waiter.h"
#include "operations/controls.h"
#include "operations/dialoghost.h"

class RecordingArchive;

// The download progress dialog: shown while a download runs, with a Cancel the user may press.
class ProgressView {
  public:
    virtual ~ProgressView() = default;
    // Shown at value 0 with the opening caption and Cancel enabled.
    virtual void open(std::function<void()> onCancel) = 0;
    virtual void setProgress(int value, int maximum, const QString& caption) = 0;
    // The program's own close, the only one allowed.
    virtual void closeByProgram() = 0;
};

// The mouse pointer: busy (arrow with hourglass) or the default.
class BusyPointer {
  public:
    virtual ~BusyPointer() = default;
    virtual void setBusy(bool busy) = 0;
};

// The one owner of what is displayed: which data set (Disp_stat) in which view (graph or
// table), and everything that shows a data set: its table, both graphs, their saved views and
// the range labels.
class DataDisplay {
  public:
    enum ViewKind { Graphs = 0, Table = 1 };

    virtual ~DataDisplay() = default;
    virtual DataSetIndex shown() const = 0;
    virtual int viewKind() const = 0;
    // The data set lost its samples: nothing of them stays in any view of it.
    virtual void clear(DataSetIndex index) = 0;
    // Puts the data set on display with its table filled anew and, with `fit`, its graphs
    // fitted to all of its samples.
    virtual void show(DataSetIndex index, bool fit) = 0;
    // The data set's newest sample was written: it goes on display, its table gains the row
    // with the extremes marked again, and its graphs follow.
    virtual void appendNewest(DataSetIndex index) = 0;
    // Redraws the graphs of the data set on display when it holds samples not drawn yet.
    virtual void redrawIfGrown() = 0;
    // While a continuous measurement runs the graph scroll bars do nothing and the time window
    // follows the growing data; at its end the graphs are fitted to the whole data set.
    virtual void setContinuous(bool on) = 0;
};

struct Context {
    Session& session;
    Waiter& waiter;
    Controls& controls;
    DataDisplay& display;
    BusyPointer& pointer;
    DialogHost& dialogs;
    ProgressView& progress;
    // The computer's present date-time; tests hold it still.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    // Where downloads and runs are kept and the history is read; none keeps nothing.
    RecordingArchive* archive = nullptr;

    Engine& engine() const { return session.engine(); }
    LoggerState& state() const { return session.state(); }
    DataSet& dataSet(DataSetIndex index) const { return session.dataSet(index); }
    Prompter& prompter() const { return session.prompter(); }
    const MessageTable& messages() const { return session.messages(); }
    // A modal OK box titled with the model text.
    void message(const QString& text) const { prompter().message(state().Machine_N_P, text); }
    bool question(const QString& text) const {
        return prompter().question(state().Machine_N_P, text);
    }
};
