// Statistics dialog: a grid of figure rows and a list of excursions, filled from the analysis
// functions over the scratch file's readings.
#include "ui/statisticsdialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

#include "graph/graphview.h"

StatisticsDialog::StatisticsDialog(GraphView& view, const MessageTable& messages, QWidget* parent)
    : QDialog(parent), view_(view), messages_(messages), excursions_(new QListWidget(this)) {
    setObjectName(QStringLiteral("StatisticsDialog"));
    setModal(false);
    setWindowTitle(messages_.text(Msg::StatisticsTitle));
    if (parent != nullptr) {
        setWindowIcon(parent->window()->windowIcon());
    }
    pending_.setSingleShot(true);
    pending_.setInterval(0);
    connect(&pending_, &QTimer::timeout, this, &StatisticsDialog::refresh);

    auto* grid = new QGridLayout;
    const QString columns[2] = {messages_.text(Msg::StatsWholeColumn),
                                messages_.text(Msg::StatsWindowColumn)};
    for (int c = 0; c < 2; ++c) {
        auto* heading = new QLabel(QStringLiteral("<b>%1</b>").arg(columns[c].toHtmlEscaped()));
        grid->addWidget(heading, 0, c + 1);
    }
    for (const FigureRow& row : figureRows(analysis::Figures{}, messages_)) {
        const int r = static_cast<int>(rows_.size()) + 1;
        rows_.push_back(row.label);
        const QString name = messages_.text(row.label);
        grid->addWidget(new QLabel(name), r, 0);
        for (int c = 0; c < 2; ++c) {
            auto* value = new QLabel;
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            value->setAccessibleName(name + QStringLiteral(", ") + columns[c]);
            grid->addWidget(value, r, c + 1);
            values_[c].push_back(value);
        }
    }
    grid->setHorizontalSpacing(16);

    auto* excursionFrame = new QGroupBox(messages_.text(Msg::StatsExcursions), this);
    excursions_->setObjectName(QStringLiteral("ExcursionList"));
    excursions_->setAccessibleName(messages_.text(Msg::StatsExcursions));
    auto* excursionLayout = new QVBoxLayout(excursionFrame);
    excursionLayout->addWidget(excursions_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("CloseButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(excursionFrame, 1);
    layout->addWidget(buttons);

    connect(&view_, &GraphView::windowChanged, this, &StatisticsDialog::scheduleRefresh);
}

void StatisticsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    refresh();
}

void StatisticsDialog::scheduleRefresh() {
    if (isVisible()) {
        pending_.start();
    }
}

const std::vector<analysis::Reading>& StatisticsDialog::readingsOf(DataSet& set) {
    Sample first;
    Sample last;
    ReadingsKey key{&set, set.count};
    if (set.count > 0 && set.read(1, first) == DataError::None &&
        set.read(set.count, last) == DataError::None) {
        key.firstTime = first.dateTime;
        key.lastTime = last.dateTime;
    }
    if (!(key == cachedKey_)) {
        readings_ = analysis::readReadings(set).value_or(std::vector<analysis::Reading>{});
        cachedKey_ = key;
    }
    return readings_;
}

void StatisticsDialog::refresh() {
    pending_.stop();
    DataSet* set = view_.displayed();
    if (set == nullptr) {
        return;
    }
    const std::vector<analysis::Reading>& all = readingsOf(*set);
    const analysis::Bounds bounds = analysis::boundsOf(*set);
    const double interval = set->interval;
    fill(WholeColumn, analysis::figuresOf(all, interval, bounds));
    const std::optional<VisibleTimes> times = view_.visibleTimes();
    const analysis::Readings inside =
        times ? analysis::within(all, times->from, times->to) : analysis::Readings{};
    fill(WindowColumn, analysis::figuresOf(inside, interval, bounds));

    excursions_->clear();
    excursions_->addItems(all.empty() ? QStringList{messages_.text(Msg::StatsNoData)}
                                      : excursionLines(figures_[WholeColumn],
                                                       std::numeric_limits<int>::max(), messages_));
}

void StatisticsDialog::fill(Column column, const analysis::Figures& figures) {
    figures_[column] = figures;
    const std::vector<FigureRow> rows = figureRows(figures, messages_);
    for (std::size_t i = 0; i < rows.size() && i < values_[column].size(); ++i) {
        values_[column][i]->setText(rows[i].value);
    }
}

QString StatisticsDialog::valueText(Msg row, Column column) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i] == row) {
            return values_[column][i]->text();
        }
    }
    return {};
}

QStringList StatisticsDialog::excursionTexts() const {
    QStringList texts;
    for (int i = 0; i < excursions_->count(); ++i) {
        texts.append(excursions_->item(i)->text());
    }
    return texts;
}
