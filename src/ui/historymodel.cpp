// The History dialog's list; see historymodel.h.
#include "ui/historymodel.h"

#include "data/datetime.h"
#include "data/texts.h"

namespace {

constexpr Msg kColumnCaptions[HistoryModel::ColumnCount] = {
    Msg::HistoryNameColumn,           Msg::HistoryModelColumn,
    Msg::HistoryStartColumn,          Msg::HistoryEndColumn,
    Msg::HistoryIntervalColumn,       Msg::HistoryPointsColumn,
    Msg::HistoryMinTemperatureColumn, Msg::HistoryMaxTemperatureColumn,
    Msg::HistoryMinHumidityColumn,    Msg::HistoryMaxHumidityColumn};

QString decimal(double value) {
    return QString::number(value, 'f', 2);
}

}  // namespace

HistoryModel::HistoryModel(const MessageTable& messages, QObject* parent)
    : QAbstractTableModel(parent), messages_(messages) {}

void HistoryModel::setRecordings(std::vector<RecordingSummary> recordings) {
    beginResetModel();
    recordings_ = std::move(recordings);
    endResetModel();
}

const RecordingSummary* HistoryModel::recording(int row) const {
    if (row < 0 || row >= static_cast<int>(recordings_.size())) {
        return nullptr;
    }
    return &recordings_[static_cast<std::size_t>(row)];
}

int HistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(recordings_.size());
}

int HistoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString HistoryModel::text(const RecordingSummary& r, int column) const {
    const QString degrees = messages_.text(Msg::SampleDegreeUnit);
    const QString humidity = messages_.text(Msg::SampleHumidityUnit);
    switch (column) {
        case Name:
            return r.name.trimmed();
        case Model:
            return r.model;
        case Start:
            return datetime::format(r.firstTime);
        case End:
            return datetime::format(r.lastTime);
        case Interval: {
            const CsvTexts units = csvTexts(messages_);
            QString interval;
            if (r.interval >= 60) {
                interval = QString::number(r.interval / 60) + units.minuteUnit;
            }
            if (r.interval % 60 != 0) {
                interval += QString::number(r.interval % 60) + units.secondUnit;
            }
            return interval.trimmed();
        }
        case Points:
            return QString::number(r.points);
        case MinTemperature:
            return decimal(r.minTemperature) + degrees;
        case MaxTemperature:
            return decimal(r.maxTemperature) + degrees;
        case MinHumidity:
            return decimal(r.minHumidity) + humidity;
        case MaxHumidity:
            return decimal(r.maxHumidity) + humidity;
        default:
            return {};
    }
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const {
    const RecordingSummary* r = recording(index.row());
    if (r == nullptr || index.column() < 0 || index.column() >= ColumnCount) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        return text(*r, index.column());
    }
    if (role == Qt::TextAlignmentRole && index.column() >= Points) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return messages_.text(kColumnCaptions[section]);
}
