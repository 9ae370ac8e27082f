// The History dialog: the archive's recordings, newest first, filtered by a part of the name
// and, when asked, by a span of dates; Open takes the selected recording, Delete removes it
// after a question, Close ends the dialog. Every control is reachable by keyboard and named for
// a screen reader.
#pragma once

#include <QDialog>
#include <optional>

#include "archive/archive.h"
#include "data/messagetable.h"

class HistoryModel;
class HistoryOperation;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

class HistoryDialog : public QDialog {
    Q_OBJECT
  public:
    HistoryDialog(HistoryOperation& history, QWidget* parent = nullptr);

    // The recording Open took; nothing when the dialog was closed.
    std::optional<RecordingSummary> chosen() const { return chosen_; }
    // The filter the controls show.
    HistoryFilter filter() const;
    // Lists the recordings again under the filter.
    void reload();

  private:
    const RecordingSummary* selected() const;
    void openSelected();
    void deleteSelected();
    void selectionChanged();

    HistoryOperation& history_;
    HistoryModel* model_ = nullptr;
    QLineEdit* name_ = nullptr;
    QCheckBox* dated_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* delete_ = nullptr;
    std::optional<RecordingSummary> chosen_;
};
