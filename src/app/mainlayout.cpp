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

#include "data/controlid.h"
#include "data/messagetable.h"
#include "data/twips.h"
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
    QGroupBox* pane =
        b.frame(c.content, I::Frame6, twipsRect(kPaneLeft, kPaneTop, kPaneWidth, kPaneHeight));
    c.realTimePane = pane;
    b.button(pane, I::Command1, twipsRect(120, 300, 1680, 480));
    b.button(pane, I::Command2, twipsRect(120, 870, 1680, 480));

    QGroupBox* interval = b.frame(pane, I::Frame9, twipsRect(1920, 240, 2400, 1110));
    b.option(interval, I::Option3, twipsRect(120, 300, 1050, kRow))->setChecked(true);
    b.option(interval, I::Option4, twipsRect(120, 660, 1050, kRow));
    c.measurementCount = b.combo(interval, I::Combo5, twipsRect(1200, 300, 660, kComboHeight));
    b.accessible(c.measurementCount, Msg::IntervalSettingCaption);
    b.caption(interval, I::Label28, twipsRect(1920, 330, 420, kRow));

    QGroupBox* values = b.frame(pane, I::Frame1, twipsRect(4440, 240, 3270, 1350));
    b.caption(values, I::Label13, twipsRect(120, 300, 1020, kRow));
    b.readOut(values, I::Label10, twipsRect(600, 300, 2550, kRow));
    // Captions wide enough for "Temperature".
    b.caption(values, I::Label1, twipsRect(120, 660, 1260, kRow));
    b.readOut(values, I::Label2, twipsRect(1410, 660, 1740, kRow));
    b.caption(values, I::Label5, twipsRect(120, 1020, 1260, kRow));
    b.readOut(values, I::Label4, twipsRect(1410, 1020, 1740, kRow));

    QGroupBox* data = b.frame(pane, I::Frame16, twipsRect(1920, 1440, 2400, 900));
    b.button(data, I::Command22, twipsRect(120, 330, 1020, kButtonHeight));
    b.button(data, I::Command23, twipsRect(1260, 330, 1020, kButtonHeight));
}

void buildFilePane(Builder& b, MainControls& c) {
    using namespace Layout;
    QGroupBox* pane =
        b.frame(c.content, I::Frame12, twipsRect(kPaneLeft, kPaneTop, kPaneWidth, kPaneHeight));
    c.filePane = pane;
    // Left column: start, points, interval; right column: name and the alarm bounds. The
    // columns are those of the log pane, wide enough for a whole date and the bound captions.
    constexpr int kLeftCaption = 120, kLeftCaptionWidth = 1560;
    constexpr int kLeftValue = 1680, kLeftValueWidth = 1980;
    constexpr int kRightCaption = 3720, kRightCaptionWidth = 3030;
    constexpr int kRightValue = 6780, kRightValueWidth = 930;
    b.caption(pane, I::Label38, twipsRect(kLeftCaption, 360, kLeftCaptionWidth, kRow));
    b.readOut(pane, I::Label33, twipsRect(kLeftValue, 360, kLeftValueWidth, kRow));
    b.caption(pane, I::Label42, twipsRect(kLeftCaption, 720, kLeftCaptionWidth, kRow));
    b.readOut(pane, I::Label43, twipsRect(kLeftValue, 720, kLeftValueWidth, kRow));
    b.caption(pane, I::Label44, twipsRect(kLeftCaption, 1080, kLeftCaptionWidth, kRow));
    b.readOut(pane, I::Label45, twipsRect(kLeftValue, 1080, kLeftValueWidth, kRow));
    b.caption(pane, I::Label25, twipsRect(kRightCaption, 360, kRightCaptionWidth, kRow));
    b.readOut(pane, I::Label12, twipsRect(kRightValue, 360, kRightValueWidth, kRow));
    b.caption(pane, I::Label53, twipsRect(kRightCaption, 720, kRightCaptionWidth, kRow));
    b.readOut(pane, I::Label54, twipsRect(kRightValue, 720, kRightValueWidth, kRow));
    b.caption(pane, I::Label52, twipsRect(kRightCaption, 1080, kRightCaptionWidth, kRow));
    b.readOut(pane, I::Label51, twipsRect(kRightValue, 1080, kRightValueWidth, kRow));

    QGroupBox* data = b.frame(pane, I::Frame17, twipsRect(120, 1470, 2400, 900));
    b.button(data, I::Command14, twipsRect(120, 330, 1020, kButtonHeight));
    b.button(data, I::Command25, twipsRect(1260, 330, 1020, kButtonHeight));
}

// The logger status panel: captions and read-outs in two columns, the Update and Download
// buttons, the recording button with the interval in seconds, and the log data's save and print.
void buildLogPane(Builder& b, MainControls& c) {
    using namespace Layout;
    QGroupBox* pane =
        b.frame(c.content, I::Frame13, twipsRect(kPaneLeft, kPaneTop, kPaneWidth, kPaneHeight));
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
        {I::Label9, I::OperationText, kLeftCaption, 300},
        {I::Label11, I::BatteryText, kLeftCaption, 600},
        {I::Label18, I::BeginningText, kLeftCaption, 900},
        {I::Label22, I::PointsText, kLeftCaption, 1200},
        {I::Label20, I::IntervalText, kLeftCaption, 1500},
        {I::Label47, I::ModeText, kRightCaption, 300},
        {I::Label31, I::UpperText, kRightCaption, 600},
        {I::Label32, I::LowerText, kRightCaption, 900},
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
    b.button(pane, I::Command11, twipsRect(kButtonsLeft, 1200, 1950, 360));
    b.button(pane, I::Command5, twipsRect(kButtonsLeft + 2040, 1200, 2010, 360));
    // The stop note sits under the buttons and has no caption of its own.
    b.readOut(pane, I::StopNoteText, twipsRect(kButtonsLeft, 1590, 4050, 255));

    QGroupBox* recording = b.frame(pane, I::Frame14, twipsRect(120, 1860, 3420, 600));
    b.button(recording, I::Command4, twipsRect(120, 225, 1800, 315));
    b.readOut(recording, I::IntervalSecondsText, twipsRect(2040, 240, 1200, kReadOutHeight));
    QGroupBox* data = b.frame(pane, I::Frame15, twipsRect(kButtonsLeft, 1860, 4050, 600));
    b.button(data, I::Command21, twipsRect(120, 225, 1860, 315));
    b.button(data, I::Command24, twipsRect(2070, 225, 1860, 315));
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
        b.frame(c.content, I::Frame8, twipsRect(kSideLeft, kPaneTop - 240, kSideWidth, 840));
    c.dataSetChoice = new QButtonGroup(display);
    c.viewChoice = new QButtonGroup(display);
    const ControlId sets[] = {I::Option5, I::Option6, I::Option7};
    for (int i = 0; i < 3; ++i) {
        c.dataSetChoice->addButton(
            b.option(display, sets[i], twipsRect(120 + i * 1000, 240, 990, kRow)), i);
    }
    c.viewChoice->addButton(b.option(display, I::Option8, twipsRect(120, 510, 990, kRow)), 0);
    c.viewChoice->addButton(b.option(display, I::Option9, twipsRect(1120, 510, 990, kRow)), 1);

    const int nameTop = kPaneTop + 660;
    // A name has at most four characters; the communication frame takes the rest of the row
    // for its lamp and the whole "Communicating" text.
    constexpr int kNameWidth = 1050;
    constexpr int kCommunicationLeft = kNameWidth + 60;
    QGroupBox* name =
        b.frame(c.content, I::Frame11, twipsRect(kSideLeft, nameTop, kNameWidth, 600));
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
    c.connect = b.button(box, I::Command20, twipsRect(0, 0, 1200, 1260));
    b.accessible(c.connect, Msg::CommunicationCaption);
    c.baud = b.combo(box, I::Combo1, twipsRect(1260, 0, 1875, kComboHeight));
    c.model = b.combo(box, I::Combo3, twipsRect(1260, 405, 1875, kComboHeight));
    c.initialise = b.button(box, I::Command27, twipsRect(1260, 840, 900, 420));
    c.initialise->setText(QStringLiteral("初期化"));
    c.selector = b.combo(box, I::Combo4, twipsRect(2220, 870, 915, kComboHeight));

    c.dataSetLabel = b.make<QLabel>(c.content, I::DataSetLabel,
                                    twipsRect(kPaneLeft, kViewAreaHeight, 3000, 270));
    QFont bold = c.dataSetLabel->font();
    bold.setBold(true);
    c.dataSetLabel->setFont(bold);
}

// Controls the procedures enable and disable that have no place in the visible design: kept
// in the hidden Frame5, so every name the procedures touch exists.
void buildFrame5(Builder& b, MainControls& c) {
    QGroupBox* frame = b.frame(c.content, I::Frame5, twipsRect(0, 0, 7800, 1500));
    c.frame5 = frame;
    b.option(frame, I::Option1, twipsRect(120, 240, 900, kRow));
    b.option(frame, I::Option2, twipsRect(120, 540, 900, kRow));
    c.intervalCount = b.combo(frame, I::Combo2, twipsRect(1080, 240, 660, kComboHeight));
    const struct {
        ControlId id;
        Msg accessibleMessage;
    } buttons[] = {{I::Command19, Msg::ReservationCaption},   {I::Command26, Msg::AlarmCaption},
                   {I::Command28, Msg::RecordingModeCaption}, {I::Command6, Msg::SetClockButton},
                   {I::Command7, Msg::ClockReadItem},         {I::Command13, Msg::ClockSetItem},
                   {I::Command9, Msg::CommunicationCaption}};
    int left = 1860;
    for (const auto& entry : buttons) {
        b.accessible(b.button(frame, entry.id, twipsRect(left, 240, 780, kButtonHeight)),
                     entry.accessibleMessage);
        left += 840;
    }
    b.readOut(frame, I::Label39, twipsRect(120, 900, 1500, kRow));
    b.readOut(frame, I::Label24, twipsRect(1740, 900, 2700, kRow));
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
    buildFrame5(b, c);
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
