// The History dialog's list: one row per recording of the archive, in the order the archive
// gives them (newest first), with name, model, first and last sample, interval, points and
// the extremes of temperature and humidity.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "archive/archive.h"
#include "data/messagetable.h"

class HistoryModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column {
        Name,
        Model,
        Start,
        End,
        Interval,
        Points,
        MinTemperature,
        MaxTemperature,
        MinHumidity,
        MaxHumidity,
        ColumnCount
    };

    explicit HistoryModel(const MessageTable& messages, QObject* parent = nullptr);

    void setRecordings(std::vector<RecordingSummary> recordings);
    const RecordingSummary* recording(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The text of one cell, as shown.
    QString text(const RecordingSummary& recording, int column) const;

  private:
    const MessageTable& messages_;
    std::vector<RecordingSummary> recordings_;
};
