// The Statistics dialog: the figures of the data set on display in two columns, the whole data
// set and the graphs' visible window, with the excursions beyond the data set's alarm bounds.
// It is not modal; it follows the graph view, recomputing once the window has moved or the
// display changed, on the event loop's next pass so a burst of redraws costs one computation.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <vector>

#include "analysis/analysis.h"
#include "data/messagetable.h"
#include "graph/figuretexts.h"

class GraphView;

class StatisticsDialog : public QDialog {
    Q_OBJECT
  public:
    enum Column { WholeColumn = 0, WindowColumn = 1 };

    StatisticsDialog(GraphView& view, const MessageTable& messages, QWidget* parent = nullptr);

    // Recomputes both columns from the data set on display now.
    void refresh();
    bool refreshPending() const { return pending_.isActive(); }

    // What the dialog shows: the value of a figure row in a column, and the excursion list.
    QString valueText(Msg row, Column column) const;
    QStringList excursionTexts() const;
    // The figures the columns were last filled from.
    const analysis::Figures& figures(Column column) const { return figures_[column]; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void scheduleRefresh();
    // The data set's readings, read again only when it is another set or its samples changed.
    const std::vector<analysis::Reading>& readingsOf(DataSet& set);
    void fill(Column column, const analysis::Figures& figures);

    GraphView& view_;
    const MessageTable& messages_;
    QTimer pending_;
    std::vector<Msg> rows_;
    std::vector<QLabel*> values_[2];
    QListWidget* excursions_;
    analysis::Figures figures_[2];

    struct ReadingsKey {
        const DataSet* set = nullptr;
        int count = -1;
        double firstTime = 0;
        double lastTime = 0;
        bool operator==(const ReadingsKey&) const = default;
    };
    ReadingsKey cachedKey_;
    std::vector<analysis::Reading> readings_;
};
