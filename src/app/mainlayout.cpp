// Building the main window's content at its fixed twip positions.
#include "app/mainlayout.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "controls/controlid.h"
#include "controls/twips.h"
#include "data/messagetable.h"
#include "graph/graphpanel.h"

namespace {

using I = ControlId;

constexpr int kRow = 300;
constexpr int kButtonHeight = 375;
constexpr int kComboHeight = 315;
// The name and communication frames are one read-out tall; the style's default margins would
// leave no room for the read-out under the frame's title.
constexpr QMargins kSmallFrameMargins(4, 1, 4, 1);

class Builder {
  public:
    explicit Builder(const MessageTable& messages) : messages_(messages) {}

    template <typename W>
    W* make(QWidget* parent, ControlId id, const QRect& rect) {
        auto* widget = new W(parent);
        widget->setObjectName(QLatin1String(controlName(id)));
        widget->setGeometry(rect);
        return widget;
    }

    QGroupBox* frame(QWidget* parent, ControlId id, const QRect& r) {
        return make<QGroupBox>(parent, id, r);
    }
    QLabel* caption(QWidget* parent, ControlId id, const QRect& r) {
        return make<QLabel>(parent, id, r);
    }
    // A value read-out: sunken, so an empty value still shows where it goes.
    QLabel* readOut(QWidget* parent, ControlId id, const QRect& r) {
        auto* label = make<QLabel>(parent, id, r);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        return label;
    }
    QPushButton* button(QWidget* parent, ControlId id, const QRect& r) {
        return make<QPushButton>(parent, id, r);
    }
    QRadioButton* option(QWidget* parent, ControlId id, const QRect& r) {
        return make<QRadioButton>(parent, id, r);
    }
    QComboBox* combo(QWidget* parent, ControlId id, const QRect& r) {
        return make<QComboBox>(parent, id, r);
    }
    // Buttons without a caption in the message table carry the text of a related entry as
    // their accessible name.
    void accessible(QWidget* widget, Msg message) {
        widget->setAccessibleName(messages_.text(message));
    }

  private:
    const MessageTable& messages_;
};

void buildViewArea(Builder& b, MainControls& c) {
    using namespace Layout;
    c.graphArea =
        b.make<QWidget>(c.content, I::GraphArea, twipsRect(0, 0, kContentWidth, kViewAreaHeight));
    c.graphPanel = new GraphPanel(c.graphArea);
    c.graphPanel->move(0, 0);
    for (int i = 0; i < 3; ++i) {
        c.tablePanes[i] = b.make<QWidget>(c.content, tablePaneOf(i),
                                          twipsRect(0, 0, kContentWidth, kViewAreaHeight));
        c.tablePanes[i]->hide();
    }
}

void buildMeasurementPane(Builder& b, MainControls& c) {
    using namespace Layout;
    QGroupBox* pane = b.frame(c.content, I::RealTimePane,
                              twipsRect(kPaneLeft, kPaneTop, kPaneWidth, kPaneHeight));
    c.realTimePane = pane;
    b.button(pane, I::MeasureOnceButton, twipsRect(120, 300, 1680, 480));
    b.button(pane, I::ContinuousButton, twipsRect(120, 870, 1680, 480));

    QGroupBox* interval = b.frame(pane, I::RepeatFrame, twipsRect(1920, 240, 2400, 1110));
    b.option(interval, I::RepeatSecondsOption, twipsRect(120, 300, 1050, kRow))->setChecked(true);
    b.option(interval, I::RepeatMinutesOption, twipsRect(120, 660, 1050, kRow));
    c.measurementCount =
        b.combo(interval, I::RepeatCountList, twipsRect(1200, 300, 660, kComboHeight));
    b.accessible(c.measurementCount, Msg::IntervalSettingCaption);
    b.caption(interval, I::RepeatUnitLabel, twipsRect(1920, 330, 420, kRow));

    QGroupBox* values = b.frame(pane, I::MeasurementsFrame, twipsRect(4440, 240, 3270, 1350));
    b.caption(values, I::MeasuredTimeCaption, twipsRect(120, 300, 1020, kRow));
    b.readOut(values, I::MeasuredTimeReadout, twipsRect(600, 300, 2550, kRow));
    // Captions wide enough for "Temperature".
    b.caption(values, I::MeasuredTemperatureCaption, twipsRect(120, 660, 1260, kRow));
    b.readOut(values, I::MeasuredTemperatureReadout, twipsRect(1410, 660, 1740, kRow));
    b.caption(values, I::MeasuredHumidityCaption, twipsRect(120, 1020, 1260, kRow));
    b.readOut(values, I::MeasuredHumidityReadout, twipsRect(1410, 1020, 1740, kRow));

    QGroupBox* data = b.frame(pane, I::RealTimeDataFrame, twipsRect(1920, 1440, 2400, 900));
    b.button(data, I::SaveRealTimeButton, twipsRect(120, 330, 1020, kButtonHeight));
    b.button(data, I::PrintRealTimeButton, twipsRect(1260, 330, 1020, kButtonHeight));
}

void buildFilePane(Builder& b, MainControls& c) {
    using namespace Layout;
    QGroupBox* pane =
        b.frame(c.content, I::FilePane, twipsRect(kPaneLeft, kPaneTop, kPaneWidth, kPaneHeight));
    c.filePane = pane;
    // Left column: start, points, interval; right column: name and the alarm bounds. The
    // columns are those of the log pane, wide enough for a whole date and the bound captions.
    constexpr int kLeftCaption = 120, kLeftCaptionWidth = 1560;
    constexpr int kLeftValue = 1680, kLeftValueWidth = 1980;
    constexpr int kRightCaption = 3720, kRightCaptionWidth = 3030;
    constexpr int kRightValue = 6780, kRightValueWidth = 930;
    b.caption(pane, I::FileBeginningCaption, twipsRect(kLeftCaption, 360, kLeftCaptionWidth, kRow));
    b.readOut(pane, I::FileBeginningText, twipsRect(kLeftValue, 360, kLeftValueWidth, kRow));
    b.caption(pane, I::FilePointsCaption, twipsRect(kLeftCaption, 720, kLeftCaptionWidth, kRow));
    b.readOut(pane, I::FilePointsText, twipsRect(kLeftValue, 720, kLeftValueWidth, kRow));
    b.caption(pane, I::FileIntervalCaption, twipsRect(kLeftCaption, 1080, kLeftCaptionWidth, kRow));
    b.readOut(pane, I::FileIntervalText, twipsRect(kLeftValue, 1080, kLeftValueWidth, kRow));
    b.caption(pane, I::FileNameCaption, twipsRect(kRightCaption, 360, kRightCaptionWidth, kRow));
    b.readOut(pane, I::FileNameText, twipsRect(kRightValue, 360, kRightValueWidth, kRow));
    b.caption(pane, I::FileUpperBoundCaption,
              twipsRect(kRightCaption, 720, kRightCaptionWidth, kRow));
    b.readOut(pane, I::FileUpperBoundText, twipsRect(kRightValue, 720, kRightValueWidth, kRow));
    b.caption(pane, I::FileLowerBoundCaption,
              twipsRect(kRightCaption, 1080, kRightCaptionWidth, kRow));
    b.readOut(pane, I::FileLowerBoundText, twipsRect(kRightValue, 1080, kRightValueWidth, kRow));

    QGroupBox* data = b.frame(pane, I::FileDataFrame, twipsRect(120, 1470, 2400, 900));
    b.button(data, I::OpenFileButton, twipsRect(120, 330, 1020, kButtonHeight));
    b.button(data, I::PrintFileButton, twipsRect(1260, 330, 1020, kButtonHeight));
}

// The logger status panel: captions and read-outs in two columns, the Update and Download
// buttons, the recording button with the interval in seconds, and the log data's save and print.
void buildLogPane(Builder& b, MainControls& c) {
    using namespace Layout;
    QGroupBox* pane =
        b.frame(c.content, I::LogPane, twipsRect(kPaneLeft, kPaneTop, kPaneWidth, kPaneHeight));
    c.logPane = pane;
    // The left values are wide enough for a whole beginning date ("yyyy/mm/dd hh:nn:ss").
    constexpr int kLeftCaption = 120, kLeftCaptionWidth = 1560;
    constexpr int kLeftValue = 1680, kLeftValueWidth = 1980;
    constexpr int kRightCaption = 3720, kRightCaptionWidth = 3030;
    constexpr int kRightValue = 6780, kRightValueWidth = 930;
    constexpr int kButtonsLeft = 3660, kReadOutHeight = 270;
    const struct {
        ControlId caption;
        ControlId value;
        int left;
        int top;
    } rows[] = {
        {I::OperationCaption, I::OperationText, kLeftCaption, 300},
        {I::BatteryCaption, I::BatteryText, kLeftCaption, 600},
        {I::BeginningCaption, I::BeginningText, kLeftCaption, 900},
        {I::PointsCaption, I::PointsText, kLeftCaption, 1200},
        {I::IntervalCaption, I::IntervalText, kLeftCaption, 1500},
        {I::ModeCaption, I::ModeText, kRightCaption, 300},
        {I::UpperBoundCaption, I::UpperBoundText, kRightCaption, 600},
        {I::LowerBoundCaption, I::LowerBoundText, kRightCaption, 900},
    };
    for (const auto& row : rows) {
        const bool left = row.left == kLeftCaption;
        b.caption(pane, row.caption,
                  twipsRect(row.left, row.top, left ? kLeftCaptionWidth : kRightCaptionWidth,
                            kReadOutHeight));
        b.readOut(pane, row.value,
                  twipsRect(left ? kLeftValue : kRightValue, row.top,
                            left ? kLeftValueWidth : kRightValueWidth, kReadOutHeight));
    }
    b.button(pane, I::UpdateButton, twipsRect(kButtonsLeft, 1200, 1950, 360));
    b.button(pane, I::DownloadButton, twipsRect(kButtonsLeft + 2040, 1200, 2010, 360));
    // The stop note sits under the buttons and has no caption of its own.
    b.readOut(pane, I::StopNoteText, twipsRect(kButtonsLeft, 1590, 4050, 255));

    QGroupBox* recording = b.frame(pane, I::RecordingFrame, twipsRect(120, 1860, 3420, 600));
    b.button(recording, I::StartStopButton, twipsRect(120, 225, 1800, 315));
    b.readOut(recording, I::IntervalSecondsText, twipsRect(2040, 240, 1200, kReadOutHeight));
    QGroupBox* data = b.frame(pane, I::LogDataFrame, twipsRect(kButtonsLeft, 1860, 4050, 600));
    b.button(data, I::SaveLogButton, twipsRect(120, 225, 1860, 315));
    b.button(data, I::PrintLogButton, twipsRect(2070, 225, 1860, 315));
}

// A frame one read-out tall: the read-out (and the lamp before it) in a row under the title.
QHBoxLayout* smallFrameRow(QGroupBox* frame) {
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(kSmallFrameMargins);
    return row;
}

void buildSideColumn(Builder& b, MainControls& c) {
    using namespace Layout;
    QGroupBox* display =
        b.frame(c.content, I::DisplayFrame, twipsRect(kSideLeft, kPaneTop - 240, kSideWidth, 840));
    c.dataSetChoice = new QButtonGroup(display);
    c.viewChoice = new QButtonGroup(display);
    const ControlId sets[] = {I::LogDataOption, I::RealTimeDataOption, I::FileDataOption};
    for (int i = 0; i < 3; ++i) {
        c.dataSetChoice->addButton(
            b.option(display, sets[i], twipsRect(120 + i * 1000, 240, 990, kRow)), i);
    }
    c.viewChoice->addButton(b.option(display, I::GraphViewOption, twipsRect(120, 510, 990, kRow)),
                            0);
    c.viewChoice->addButton(b.option(display, I::DumpViewOption, twipsRect(1120, 510, 990, kRow)),
                            1);

    const int nameTop = kPaneTop + 660;
    // A name has at most four characters; the communication frame takes the rest of the row
    // for its lamp and the whole "Communicating" text.
    constexpr int kNameWidth = 1050;
    constexpr int kCommunicationLeft = kNameWidth + 60;
    QGroupBox* name =
        b.frame(c.content, I::IdentNameFrame, twipsRect(kSideLeft, nameTop, kNameWidth, 600));
    smallFrameRow(name)->addWidget(b.readOut(name, I::IdentNameText, QRect()));
    QGroupBox* communication = b.frame(
        c.content, I::CommunicationFrame,
        twipsRect(kSideLeft + kCommunicationLeft, nameTop, kSideWidth - kCommunicationLeft, 600));
    QHBoxLayout* row = smallFrameRow(communication);
    auto* lamp = b.make<QFrame>(communication, I::ConnectionLamp, QRect());
    lamp->setFrameShape(QFrame::Box);
    lamp->setFixedSize(12, 12);
    lamp->setAutoFillBackground(true);
    QPalette palette = lamp->palette();
    palette.setColor(lamp->backgroundRole(), Qt::black);
    lamp->setPalette(palette);
    row->addWidget(lamp);
    row->addWidget(b.readOut(communication, I::CommunicationText, QRect()), 1);

    const int connectTop = nameTop + 660;
    auto* box = new QFrame(c.content);
    box->setObjectName(QStringLiteral("connectionBox"));
    box->setGeometry(twipsRect(kSideLeft, connectTop, kSideWidth, 1260));
    c.connect = b.button(box, I::ConnectButton, twipsRect(0, 0, 1200, 1260));
    b.accessible(c.connect, Msg::CommunicationCaption);
    c.baud = b.combo(box, I::BaudRateList, twipsRect(1260, 0, 1875, kComboHeight));
    c.model = b.combo(box, I::ModelList, twipsRect(1260, 405, 1875, kComboHeight));
    c.initialise = b.button(box, I::InitialiseButton, twipsRect(1260, 840, 900, 420));
    c.initialise->setText(QStringLiteral("初期化"));
    c.selector = b.combo(box, I::NumberList, twipsRect(2220, 870, 915, kComboHeight));

    c.dataSetLabel = b.make<QLabel>(c.content, I::DataSetLabel,
                                    twipsRect(kPaneLeft, kViewAreaHeight, 3000, 270));
    QFont bold = c.dataSetLabel->font();
    bold.setBold(true);
    c.dataSetLabel->setFont(bold);
}

// Controls the procedures enable and disable that have no place in the visible design: kept
// in the hidden frame, so every name the procedures touch exists.
void buildHiddenFrame(Builder& b, MainControls& c) {
    QGroupBox* frame = b.frame(c.content, I::HiddenFrame, twipsRect(0, 0, 7800, 1500));
    b.option(frame, I::IntervalUnitSecondsOption, twipsRect(120, 240, 900, kRow));
    b.option(frame, I::IntervalUnitMinutesOption, twipsRect(120, 540, 900, kRow));
    c.intervalCount = b.combo(frame, I::IntervalCountList, twipsRect(1080, 240, 660, kComboHeight));
    const struct {
        ControlId id;
        Msg accessibleMessage;
    } buttons[] = {
        {I::ReservationButton, Msg::ReservationCaption},  {I::AlarmButton, Msg::AlarmCaption},
        {I::MemoryModeButton, Msg::RecordingModeCaption}, {I::ClockSetButton, Msg::SetClockButton},
        {I::ClockReadButton, Msg::ClockReadItem},         {I::LedButton, Msg::ClockSetItem},
        {I::PictureButton, Msg::CommunicationCaption}};
    int left = 1860;
    for (const auto& entry : buttons) {
        b.accessible(b.button(frame, entry.id, twipsRect(left, 240, 780, kButtonHeight)),
                     entry.accessibleMessage);
        left += 840;
    }
    b.readOut(frame, I::BatteryStateLabel, twipsRect(120, 900, 1500, kRow));
    b.readOut(frame, I::LoggerClockLabel, twipsRect(1740, 900, 2700, kRow));
    frame->hide();
}

}  // namespace

MainControls buildMainContent(const MessageTable& messages) {
    Builder b(messages);
    MainControls c;
    c.content = new QWidget;
    c.content->setObjectName(QStringLiteral("Main_Picture"));
    c.content->setFixedSize(twips(Layout::kContentWidth), twips(Layout::kContentHeight));
    buildViewArea(b, c);
    buildLogPane(b, c);
    buildMeasurementPane(b, c);
    buildFilePane(b, c);
    buildSideColumn(b, c);
    buildHiddenFrame(b, c);
    c.realTimePane->hide();
    c.filePane->hide();
    c.graphPanel->applyCaptions(messages);
    return c;
}

bool replacePlaceholder(QWidget* content, const char* name, QWidget* widget) {
    auto* placeholder = content->findChild<QWidget*>(QString::fromLatin1(name));
    if (placeholder == nullptr) {
        return false;
    }
    widget->setParent(placeholder->parentWidget());
    widget->setGeometry(placeholder->geometry());
    widget->setVisible(placeholder->isVisibleTo(placeholder->parentWidget()));
    delete placeholder;
    return true;
}
