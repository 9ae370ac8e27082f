// The recording-setting dialog's widgets; see recordingdialog.h.
#include "ui/recordingdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/captions.h"
#include "controls/twips.h"
#include "ui/dialogparts.h"

namespace {

constexpr int kScrollHeight = 500;
constexpr int kLabelWidth = 1500;

UpScrollBar* scrollBar(const char* name, int lowest, int highest, const QString& spoken) {
    auto* bar = named<UpScrollBar>(name, lowest, highest, nullptr);
    bar->setFixedHeight(twips(kScrollHeight));
    bar->setAccessibleName(spoken);
    return bar;
}

QLabel* readOut(const char* name) {
    auto* label = named<QLabel>(name);
    label->setMinimumWidth(twips(kLabelWidth));
    return label;
}

// One bound: ON and OFF above each other, the bar and its read-out beside them.
QGroupBox* boundFrame(const char* name, QRadioButton* on, QRadioButton* off, UpScrollBar* bar,
                      QLabel* label) {
    auto* frame = named<QGroupBox>(name);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(on, 0, 0);
    grid->addWidget(off, 1, 0);
    grid->addWidget(bar, 0, 1, 2, 1);
    grid->addWidget(label, 0, 2, 2, 1);
    return frame;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets) {
    auto* layout = new QHBoxLayout;
    for (QWidget* widget : widgets) {
        layout->addWidget(widget);
    }
    layout->addStretch();
    return layout;
}

}  // namespace

RecordingDialog::RecordingDialog(RecordingSetup& setup, const MessageTable& messages,
                                 QWidget* parent)
    : QDialog(parent), setup_(setup) {
    setObjectName(QStringLiteral("Form12"));
    setModal(true);
    build(messages);
    applyDialogCaptions(this, recordingDialogCaptions(), messages);
    nameEdit_->setText(setup_.name());
    showSetup();
    connectControls();
}

void RecordingDialog::build(const MessageTable& messages) {
    nameEdit_ = named<NameBox>("Text1", nullptr);
    nameEdit_->setAccessibleName(messages.text(Msg::RecordingNameCaption));
    oneTimeOption_ = named<QRadioButton>("Option7");
    loopOption_ = named<QRadioButton>("Option8");
    secondsOption_ = named<QRadioButton>("Option5");
    minutesOption_ = named<QRadioButton>("Option6");
    intervalCountList_ = named<QComboBox>("Combo2");
    intervalCountList_->setAccessibleName(messages.text(Msg::RecordingIntervalCaption));
    intervalUnitLabel_ = named<QLabel>("Label23");
    upperOnOption_ = named<QRadioButton>("Option1");
    upperOffOption_ = named<QRadioButton>("Option2");
    upperBar_ = scrollBar("VScroll1", RecordingSetup::kUpperMin, RecordingSetup::kUpperMax,
                          messages.text(Msg::UpperAlarmCaption));
    upperLabel_ = readOut("Label1");
    lowerOnOption_ = named<QRadioButton>("Option3");
    lowerOffOption_ = named<QRadioButton>("Option4");
    lowerBar_ = scrollBar("VScroll2", RecordingSetup::kLowerMin, RecordingSetup::kLowerMax,
                          messages.text(Msg::LowerAlarmCaption));
    lowerLabel_ = readOut("Label2");
    reserveCheck_ = named<QCheckBox>("Check1");
    // The hour and minute bars reach one step beyond each end, so they can wrap round.
    dayBar_ = scrollBar("VScroll3", 0, 0, messages.text(Msg::ReservedDateName));
    dayLabel_ = readOut("Label5");
    hourBar_ = scrollBar("VScroll4", -1, 24, messages.text(Msg::ReservedHourName));
    hourLabel_ = readOut("Label6");
    minuteBar_ = scrollBar("VScroll5", -1, 60, messages.text(Msg::ReservedMinuteName));
    minuteLabel_ = readOut("Label7");
    confirmButton_ = named<QPushButton>("Command1");
    cancelButton_ = named<QPushButton>("Command2");

    auto* nameFrame = named<QGroupBox>("Frame1");
    new QHBoxLayout(nameFrame);
    nameFrame->layout()->addWidget(nameEdit_);
    auto* modeFrame = named<QGroupBox>("Frame7");
    modeFrame->setLayout(row({oneTimeOption_, loopOption_}));
    auto* intervalFrame = named<QGroupBox>("Frame10");
    intervalFrame->setLayout(
        row({secondsOption_, minutesOption_, intervalCountList_, intervalUnitLabel_}));
    alarmFrame_ = named<QGroupBox>("Frame5");
    auto* alarms = new QHBoxLayout(alarmFrame_);
    alarms->addWidget(
        boundFrame("Frame3", upperOnOption_, upperOffOption_, upperBar_, upperLabel_));
    alarms->addWidget(
        boundFrame("Frame2", lowerOnOption_, lowerOffOption_, lowerBar_, lowerLabel_));
    auto* reserveFrame = named<QGroupBox>("Frame4");
    auto* reserve = new QVBoxLayout(reserveFrame);
    reserve->addWidget(reserveCheck_);
    reserve->addLayout(row({dayBar_, dayLabel_, hourBar_, hourLabel_, minuteBar_, minuteLabel_}));

    auto* main = new QVBoxLayout(this);
    // Without the alarm frame the dialog shrinks to the shorter form.
    main->setSizeConstraint(QLayout::SetFixedSize);
    for (QWidget* frame : {static_cast<QWidget*>(nameFrame), static_cast<QWidget*>(modeFrame),
                           static_cast<QWidget*>(intervalFrame), static_cast<QWidget*>(alarmFrame_),
                           static_cast<QWidget*>(reserveFrame)}) {
        main->addWidget(frame);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirmButton_);
    buttons->addWidget(cancelButton_);
    main->addLayout(buttons);
}

template <typename F>
void RecordingDialog::change(F&& apply) {
    if (showing_) {
        return;
    }
    apply();
    showSetup();
}

void RecordingDialog::connectControls() {
    connect(nameEdit_, &NameBox::left, this, &RecordingDialog::nameLeft);
    connect(loopOption_, &QRadioButton::toggled, this,
            [this](bool on) { change([this, on] { setup_.setLoop(on); }); });
    connect(secondsOption_, &QRadioButton::toggled, this,
            [this](bool on) { change([this, on] { setup_.chooseSeconds(on); }); });
    connect(intervalCountList_, &QComboBox::activated, this, [this](int index) {
        change([this, index] { setup_.chooseCount(intervalCountList_->itemText(index).toInt()); });
    });
    connect(upperOnOption_, &QRadioButton::toggled, this,
            [this](bool on) { change([this, on] { setup_.setUpperOn(on); }); });
    connect(lowerOnOption_, &QRadioButton::toggled, this,
            [this](bool on) { change([this, on] { setup_.setLowerOn(on); }); });
    const auto follow = [this](UpScrollBar* bar, auto set) {
        connect(bar, &UpScrollBar::upValueChanged, this,
                [this, set](int value) { change([this, set, value] { set(setup_, value); }); });
    };
    follow(upperBar_, [](RecordingSetup& setup, int value) { setup.setUpper(value); });
    follow(lowerBar_, [](RecordingSetup& setup, int value) { setup.setLower(value); });
    follow(dayBar_, [](RecordingSetup& setup, int value) { setup.setDayOffset(value); });
    follow(hourBar_, [](RecordingSetup& setup, int value) { setup.setHour(value); });
    follow(minuteBar_, [](RecordingSetup& setup, int value) { setup.setMinute(value); });
    connect(reserveCheck_, &QCheckBox::toggled, this, [this](bool on) {
        change([this, on] { setup_.setReserve(on, QDateTime::currentDateTime()); });
    });
    connect(confirmButton_, &QPushButton::clicked, this, &RecordingDialog::confirm);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void RecordingDialog::showCounts() {
    const QList<int> counts = setup_.counts();
    if (intervalCountList_->count() != counts.size() ||
        intervalCountList_->itemText(0).toInt() != counts.front()) {
        intervalCountList_->clear();
        for (int count : counts) {
            intervalCountList_->addItem(QString::number(count));
        }
    }
    // A count from the logger outside the list is shown as the box's placeholder.
    const QString count = QString::number(setup_.count());
    intervalCountList_->setCurrentIndex(intervalCountList_->findText(count));
    intervalCountList_->setPlaceholderText(count);
}

void RecordingDialog::showSetup() {
    showing_ = true;
    (setup_.loop() ? loopOption_ : oneTimeOption_)->setChecked(true);
    (setup_.seconds() ? secondsOption_ : minutesOption_)->setChecked(true);
    showCounts();
    intervalUnitLabel_->setText(setup_.unitCaption());
    alarmFrame_->setVisible(setup_.alarmShown());
    (setup_.upperOn() ? upperOnOption_ : upperOffOption_)->setChecked(true);
    upperBar_->setUpValue(setup_.upper());
    upperLabel_->setText(setup_.upperLabel());
    (setup_.lowerOn() ? lowerOnOption_ : lowerOffOption_)->setChecked(true);
    lowerBar_->setUpValue(setup_.lower());
    lowerLabel_->setText(setup_.lowerLabel());

    reserveCheck_->setChecked(setup_.reserve());
    dayBar_->setSpan(0, setup_.dayMax());
    dayBar_->setUpValue(setup_.dayOffset());
    hourBar_->setUpValue(setup_.hour());
    minuteBar_->setUpValue(setup_.minute());
    dayLabel_->setText(setup_.dayLabel());
    hourLabel_->setText(setup_.hourLabel());
    minuteLabel_->setText(setup_.minuteLabel());
    for (QWidget* control : std::initializer_list<QWidget*>{dayBar_, dayLabel_, hourBar_,
                                                            hourLabel_, minuteBar_, minuteLabel_}) {
        control->setEnabled(setup_.reserve());
    }
    confirmButton_->setText(setup_.confirmCaption());
    showing_ = false;
}

void RecordingDialog::nameLeft(QWidget* next) {
    // Leaving for Cancel checks nothing: the name is dropped with the dialog.
    if (next == cancelButton_) {
        return;
    }
    if (!setup_.setName(nameEdit_->text())) {
        nameEdit_->restore(setup_.name());
    }
}

void RecordingDialog::confirm() {
    request_ = setup_.confirm(nameEdit_->text(), QDateTime::currentDateTime());
    if (request_) {
        accept();
        return;
    }
    if (nameEdit_->text() != setup_.name()) {
        nameEdit_->restore(setup_.name());
    }
    showSetup();
}
