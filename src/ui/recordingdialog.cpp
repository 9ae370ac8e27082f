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

#include "data/captions.h"
#include "data/twips.h"
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
    applyDialogCaptions(this, form12Captions(), messages);
    text1_->setText(setup_.name());
    showSetup();
    connectControls();
}

void RecordingDialog::build(const MessageTable& messages) {
    text1_ = named<NameBox>("Text1", nullptr);
    text1_->setAccessibleName(messages.text(Msg::RecordingNameCaption));
    option7_ = named<QRadioButton>("Option7");
    option8_ = named<QRadioButton>("Option8");
    option5_ = named<QRadioButton>("Option5");
    option6_ = named<QRadioButton>("Option6");
    combo2_ = named<QComboBox>("Combo2");
    combo2_->setAccessibleName(messages.text(Msg::RecordingIntervalCaption));
    label23_ = named<QLabel>("Label23");
    option1_ = named<QRadioButton>("Option1");
    option2_ = named<QRadioButton>("Option2");
    vScroll1_ = scrollBar("VScroll1", RecordingSetup::kUpperMin, RecordingSetup::kUpperMax,
                          messages.text(Msg::UpperAlarmCaption));
    label1_ = readOut("Label1");
    option3_ = named<QRadioButton>("Option3");
    option4_ = named<QRadioButton>("Option4");
    vScroll2_ = scrollBar("VScroll2", RecordingSetup::kLowerMin, RecordingSetup::kLowerMax,
                          messages.text(Msg::LowerAlarmCaption));
    label2_ = readOut("Label2");
    check1_ = named<QCheckBox>("Check1");
    // The hour and minute bars reach one step beyond each end, so they can wrap round.
    vScroll3_ = scrollBar("VScroll3", 0, 0, messages.text(Msg::ReservedDateName));
    label5_ = readOut("Label5");
    vScroll4_ = scrollBar("VScroll4", -1, 24, messages.text(Msg::ReservedHourName));
    label6_ = readOut("Label6");
    vScroll5_ = scrollBar("VScroll5", -1, 60, messages.text(Msg::ReservedMinuteName));
    label7_ = readOut("Label7");
    command1_ = named<QPushButton>("Command1");
    command2_ = named<QPushButton>("Command2");

    auto* nameFrame = named<QGroupBox>("Frame1");
    new QHBoxLayout(nameFrame);
    nameFrame->layout()->addWidget(text1_);
    auto* modeFrame = named<QGroupBox>("Frame7");
    modeFrame->setLayout(row({option7_, option8_}));
    auto* intervalFrame = named<QGroupBox>("Frame10");
    intervalFrame->setLayout(row({option5_, option6_, combo2_, label23_}));
    frame5_ = named<QGroupBox>("Frame5");
    auto* alarms = new QHBoxLayout(frame5_);
    alarms->addWidget(boundFrame("Frame3", option1_, option2_, vScroll1_, label1_));
    alarms->addWidget(boundFrame("Frame2", option3_, option4_, vScroll2_, label2_));
    auto* reserveFrame = named<QGroupBox>("Frame4");
    auto* reserve = new QVBoxLayout(reserveFrame);
    reserve->addWidget(check1_);
    reserve->addLayout(row({vScroll3_, label5_, vScroll4_, label6_, vScroll5_, label7_}));

    auto* main = new QVBoxLayout(this);
    // Without the alarm frame the dialog shrinks to the shorter form.
    main->setSizeConstraint(QLayout::SetFixedSize);
    for (QWidget* frame : {static_cast<QWidget*>(nameFrame), static_cast<QWidget*>(modeFrame),
                           static_cast<QWidget*>(intervalFrame), static_cast<QWidget*>(frame5_),
                           static_cast<QWidget*>(reserveFrame)}) {
        main->addWidget(frame);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);
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
    connect(text1_, &NameBox::left, this, &RecordingDialog::nameLeft);
    connect(option8_, &QRadioButton::toggled, this,
            [this](bool on) { change([this, on] { setup_.setLoop(on); }); });
    connect(option5_, &QRadioButton::toggled, this,
            [this](bool on) { change([this, on] { setup_.chooseSeconds(on); }); });
    connect(combo2_, &QComboBox::activated, this, [this](int index) {
        change([this, index] { setup_.chooseCount(combo2_->itemText(index).toInt()); });
    });
    connect(option1_, &QRadioButton::toggled, this,
            [this](bool on) { change([this, on] { setup_.setUpperOn(on); }); });
    connect(option3_, &QRadioButton::toggled, this,
            [this](bool on) { change([this, on] { setup_.setLowerOn(on); }); });
    const auto follow = [this](UpScrollBar* bar, auto set) {
        connect(bar, &UpScrollBar::upValueChanged, this,
                [this, set](int value) { change([this, set, value] { set(setup_, value); }); });
    };
    follow(vScroll1_, [](RecordingSetup& setup, int value) { setup.setUpper(value); });
    follow(vScroll2_, [](RecordingSetup& setup, int value) { setup.setLower(value); });
    follow(vScroll3_, [](RecordingSetup& setup, int value) { setup.setDayOffset(value); });
    follow(vScroll4_, [](RecordingSetup& setup, int value) { setup.setHour(value); });
    follow(vScroll5_, [](RecordingSetup& setup, int value) { setup.setMinute(value); });
    connect(check1_, &QCheckBox::toggled, this, [this](bool on) {
        change([this, on] { setup_.setReserve(on, QDateTime::currentDateTime()); });
    });
    connect(command1_, &QPushButton::clicked, this, &RecordingDialog::confirm);
    connect(command2_, &QPushButton::clicked, this, &QDialog::reject);
}

void RecordingDialog::showCounts() {
    const QList<int> counts = setup_.counts();
    if (combo2_->count() != counts.size() || combo2_->itemText(0).toInt() != counts.front()) {
        combo2_->clear();
        for (int count : counts) {
            combo2_->addItem(QString::number(count));
        }
    }
    // A count from the logger outside the list is shown as the box's placeholder.
    const QString count = QString::number(setup_.count());
    combo2_->setCurrentIndex(combo2_->findText(count));
    combo2_->setPlaceholderText(count);
}

void RecordingDialog::showSetup() {
    showing_ = true;
    (setup_.loop() ? option8_ : option7_)->setChecked(true);
    (setup_.seconds() ? option5_ : option6_)->setChecked(true);
    showCounts();
    label23_->setText(setup_.unitCaption());
    frame5_->setVisible(setup_.alarmShown());
    (setup_.upperOn() ? option1_ : option2_)->setChecked(true);
    vScroll1_->setUpValue(setup_.upper());
    label1_->setText(setup_.upperLabel());
    (setup_.lowerOn() ? option3_ : option4_)->setChecked(true);
    vScroll2_->setUpValue(setup_.lower());
    label2_->setText(setup_.lowerLabel());

    check1_->setChecked(setup_.reserve());
    vScroll3_->setSpan(0, setup_.dayMax());
    vScroll3_->setUpValue(setup_.dayOffset());
    vScroll4_->setUpValue(setup_.hour());
    vScroll5_->setUpValue(setup_.minute());
    label5_->setText(setup_.dayLabel());
    label6_->setText(setup_.hourLabel());
    label7_->setText(setup_.minuteLabel());
    for (QWidget* control : std::initializer_list<QWidget*>{vScroll3_, label5_, vScroll4_, label6_,
                                                            vScroll5_, label7_}) {
        control->setEnabled(setup_.reserve());
    }
    command1_->setText(setup_.confirmCaption());
    showing_ = false;
}

void RecordingDialog::nameLeft(QWidget* next) {
    // Leaving for Cancel checks nothing: the name is dropped with the dialog.
    if (next == command2_) {
        return;
    }
    if (!setup_.setName(text1_->text())) {
        text1_->restore(setup_.name());
    }
}

void RecordingDialog::confirm() {
    request_ = setup_.confirm(text1_->text(), QDateTime::currentDateTime());
    if (request_) {
        accept();
        return;
    }
    if (text1_->text() != setup_.name()) {
        text1_->restore(setup_.name());
    }
    showSetup();
}
