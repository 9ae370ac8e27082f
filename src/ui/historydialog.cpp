// The History dialog; see historydialog.h.
#include "ui/historydialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "data/datetime.h"
#include "operations/historyop.h"
#include "ui/dialogparts.h"
#include "ui/historymodel.h"

namespace {

// A label's text without its access-key marker, for a screen reader.
QString spoken(const QString& caption) {
    QString text = caption;
    text.remove(QLatin1Char('&'));
    return text.trimmed();
}

}  // namespace

HistoryDialog::HistoryDialog(HistoryOperation& history, QWidget* parent)
    : QDialog(parent), history_(history) {
    const MessageTable& m = history.messages();
    setObjectName(QStringLiteral("historyDialog"));
    setModal(true);
    setWindowTitle(m.text(Msg::HistoryTitle));

    name_ = named<QLineEdit>("historyName", this);
    auto* nameLabel = new QLabel(m.text(Msg::HistoryNameFilter), this);
    nameLabel->setBuddy(name_);
    name_->setAccessibleName(spoken(nameLabel->text()));
    name_->setClearButtonEnabled(true);

    dated_ = named<QCheckBox>("historyDated", m.text(Msg::HistoryDatesFilter), this);
    const QDate today = QDate::currentDate();
    from_ = named<QDateEdit>("historyFrom", today.addMonths(-1), this);
    to_ = named<QDateEdit>("historyTo", today, this);
    auto* toLabel = new QLabel(m.text(Msg::HistoryToFilter), this);
    toLabel->setBuddy(to_);
    for (QDateEdit* edit : {from_, to_}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        edit->setEnabled(false);
    }
    from_->setAccessibleName(spoken(dated_->text()));
    to_->setAccessibleName(spoken(toLabel->text()));

    model_ = new HistoryModel(m, this);
    table_ = named<QTableView>("historyList", this);
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    auto* listLabel = new QLabel(m.text(Msg::HistoryListLabel), this);
    listLabel->setBuddy(table_);
    table_->setAccessibleName(spoken(listLabel->text()));
    status_ = named<QLabel>("historyStatus", this);

    open_ = named<QPushButton>("historyOpen", m.text(Msg::HistoryOpenButton), this);
    delete_ = named<QPushButton>("historyDelete", m.text(Msg::HistoryDeleteButton), this);
    auto* close = named<QPushButton>("historyClose", m.text(Msg::HistoryCloseButton), this);
    open_->setDefault(true);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(open_, QDialogButtonBox::ActionRole);
    buttons->addButton(delete_, QDialogButtonBox::ActionRole);
    buttons->addButton(close, QDialogButtonBox::RejectRole);

    auto* filters = new QGridLayout;
    filters->addWidget(nameLabel, 0, 0);
    filters->addWidget(name_, 0, 1, 1, 3);
    filters->addWidget(dated_, 1, 0);
    filters->addWidget(from_, 1, 1);
    filters->addWidget(toLabel, 1, 2);
    filters->addWidget(to_, 1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(listLabel);
    layout->addWidget(table_, 1);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    setTabOrder(name_, dated_);
    setTabOrder(dated_, from_);
    setTabOrder(from_, to_);
    setTabOrder(to_, table_);
    setTabOrder(table_, open_);
    setTabOrder(open_, delete_);
    setTabOrder(delete_, close);
    resize(900, 420);

    connect(name_, &QLineEdit::textChanged, this, [this] { reload(); });
    connect(dated_, &QCheckBox::toggled, this, [this](bool on) {
        from_->setEnabled(on);
        to_->setEnabled(on);
        reload();
    });
    connect(from_, &QDateEdit::dateChanged, this, [this] { reload(); });
    connect(to_, &QDateEdit::dateChanged, this, [this] { reload(); });
    connect(table_, &QTableView::activated, this, [this] { openSelected(); });
    connect(open_, &QPushButton::clicked, this, [this] { openSelected(); });
    connect(delete_, &QPushButton::clicked, this, [this] { deleteSelected(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { selectionChanged(); });
    reload();
    name_->setFocus();
}

HistoryFilter HistoryDialog::filter() const {
    HistoryFilter filter;
    filter.nameContains = name_->text().trimmed();
    if (dated_->isChecked()) {
        // Whole days: from the start of the first to the end of the last.
        filter.from = datetime::fromDateTime(QDateTime(from_->date(), QTime(0, 0)));
        filter.to = datetime::fromDateTime(QDateTime(to_->date(), QTime(23, 59, 59, 999)));
    }
    return filter;
}

void HistoryDialog::reload() {
    std::vector<RecordingSummary> recordings;
    const ArchiveError error = history_.list(filter(), recordings);
    model_->setRecordings(std::move(recordings));
    status_->setText(error.ok()
                         ? history_.messages().text(Msg::HistoryCount).arg(model_->rowCount())
                         : history_.failureText(error));
    if (model_->rowCount() > 0) {
        table_->selectRow(0);
    }
    selectionChanged();
}

const RecordingSummary* HistoryDialog::selected() const {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : model_->recording(rows.front().row());
}

void HistoryDialog::selectionChanged() {
    const bool any = selected() != nullptr;
    open_->setEnabled(any);
    delete_->setEnabled(any);
}

void HistoryDialog::openSelected() {
    if (const RecordingSummary* recording = selected()) {
        chosen_ = *recording;
        accept();
    }
}

void HistoryDialog::deleteSelected() {
    const RecordingSummary* recording = selected();
    if (recording != nullptr && history_.remove(*recording)) {
        reload();
    }
}
