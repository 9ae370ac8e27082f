// Building the main window's content at its fixed twip positions.
#include "app/mainlayout.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>

#include "data/messagetable.h"
#include "graph/graphpanel.h"

namespace {

// Each captioned control remembers its message index, so captions can be applied again.
constexpr char kMessageProperty[] = "messageIndex";

constexpr int kRow = 300;
constexpr int kButtonHeight = 375;
constexpr int kComboHeight = 315;

class Builder {
  public:
    explicit Builder(const MessageTable& messages) : messages_(messages) {}

    template <typename W>
    W* make(QWidget* parent, const char* name, const QRect& twipRect, int message = -1) {
        auto* widget = new W(parent);
        widget->setObjectName(QString::fromLatin1(name));
        widget->setGeometry(twipRect);
        if (message >= 0) {
            widget->setProperty(kMessageProperty, message);
        }
        return widget;
    }

    QGroupBox* frame(QWidget* parent, const char* name, const QRect& r, int message = -1) {
        return make<QGroupBox>(parent, name, r, message);
    }
    QLabel* caption(QWidget* parent, const char* name, const QRect& r, int message) {
        return make<QLabel>(parent, name, r, message);
    }
    // A value read-out: sunken, so an empty value still shows where it goes.
    QLabel* readOut(QWidget* parent, const char* name, const QRect& r) {
        auto* label = make<QLabel>(parent, name, r);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        return label;
    }
    QPushButton* button(QWidget* parent, const char* name, const QRect& r, int message = -1) {
        return make<QPushButton>(parent, name, r, message);
    }
    QRadioButton* option(QWidget* parent, const char* name, const QRect& r, int message = -1) {
        return make<QRadioButton>(parent, name, r, message);
    }
    QComboBox* combo(QWidget* parent, const char* name, const QRect& r) {
        return make<QComboBox>(parent, name, r);
    }
    // Buttons without a caption in the message table carry the text of a related entry as
    // their accessible name.
    void accessible(QWidget* widget, int message) {
        widget->setAccessibleName(messages_.text(message));
    }

  private:
    const MessageTable& messages_;
};

void buildViewArea(Builder& b, MainControls& c) {
    using namespace Layout;
    c.graphArea =
        b.make<QWidget>(c.content, "graphArea", twipsRect(0, 0, kContentWidth, kViewAreaHeight));
    c.graphPanel = new GraphPanel(c.graphArea);
    c.graphPanel->setObjectName(QStringLiteral("graphPanel"));
    c.graphPanel->move(0, 0);
    for (int i = 0; i < 3; ++i) {
        const QByteArray name = "Picture3_" + QByteArray::number(i);
        c.tablePanes[i] = b.make<QWidget>(c.content, name.constData(),
                                          twipsRect(0, 0, kContentWidth, kViewAreaHeight));
        c.tablePanes[i]->hide();
    }
}

void buildMeasurementPane(Builder& b, MainControls& c) {
    using namespace Layout;
    QGroupBox* pane =
        b.frame(c.content, "Frame6", twipsRect(kPaneLeft, kPaneTop, kPaneWidth, kPaneHeight), 150);
    c.realTimePane = pane;
    b.button(pane, "Command1", twipsRect(120, 300, 1680, 480), 151);
    b.button(pane, "Command2", twipsRect(120, 870, 1680, 480), 152);

    QGroupBox* interval = b.frame(pane, "Frame9", twipsRect(1920, 240, 2400, 1110), 153);
    b.option(interval, "Option3", twipsRect(120, 300, 1050, kRow), 155)->setChecked(true);
    b.option(interval, "Option4", twipsRect(120, 660, 1050, kRow), 154);
    c.measurementCount = b.combo(interval, "Combo5", twipsRect(1200, 300, 660, kComboHeight));
    b.caption(interval, "Label28", twipsRect(1920, 330, 420, kRow), 156);

    QGroupBox* values = b.frame(pane, "Frame1", twipsRect(4440, 240, 3270, 1350), 157);
    b.caption(values, "Label13", twipsRect(120, 300, 1020, kRow), 158);
    b.readOut(values, "Label10", twipsRect(600, 300, 2550, kRow));
    // Captions wide enough for "Temperature".
    b.caption(values, "Label1", twipsRect(120, 660, 1260, kRow), 159);
    b.readOut(values, "Label2", twipsRect(1410, 660, 1740, kRow));
    b.caption(values, "Label5", twipsRect(120, 1020, 1260, kRow), 160);
    b.readOut(values, "Label4", twipsRect(1410, 1020, 1740, kRow));

    QGroupBox* data = b.frame(pane, "Frame16", twipsRect(1920, 1440, 2400, 900), 161);
    b.button(data, "Command22", twipsRect(120, 330, 1020, kButtonHeight), 162);
    b.button(data, "Command23", twipsRect(1260, 330, 1020, kButtonHeight), 163);
}

void buildFilePane(Builder& b, MainControls& c) {
    using namespace Layout;
    QGroupBox* pane =
        b.frame(c.content, "Frame12", twipsRect(kPaneLeft, kPaneTop, kPaneWidth, kPaneHeight), 200);
    c.filePane = pane;
    // Left column: start, points, interval; right column: name and the alarm bounds. The
    // columns are those of the log pane, wide enough for a whole date and the bound captions.
    constexpr int kLeftCaption = 120, kLeftCaptionWidth = 1560;
    constexpr int kLeftValue = 1680, kLeftValueWidth = 1980;
    constexpr int kRightCaption = 3720, kRightCaptionWidth = 3030;
    constexpr int kRightValue = 6780, kRightValueWidth = 930;
    b.caption(pane, "Label38", twipsRect(kLeftCaption, 360, kLeftCaptionWidth, kRow), 201);
    b.readOut(pane, "Label33", twipsRect(kLeftValue, 360, kLeftValueWidth, kRow));
    b.caption(pane, "Label42", twipsRect(kLeftCaption, 720, kLeftCaptionWidth, kRow), 202);
    b.readOut(pane, "Label43", twipsRect(kLeftValue, 720, kLeftValueWidth, kRow));
    b.caption(pane, "Label44", twipsRect(kLeftCaption, 1080, kLeftCaptionWidth, kRow), 203);
    b.readOut(pane, "Label45", twipsRect(kLeftValue, 1080, kLeftValueWidth, kRow));
    b.caption(pane, "Label25", twipsRect(kRightCaption, 360, kRightCaptionWidth, kRow), 204);
    b.readOut(pane, "Label12", twipsRect(kRightValue, 360, kRightValueWidth, kRow));
    b.caption(pane, "Label53", twipsRect(kRightCaption, 720, kRightCaptionWidth, kRow), 205);
    b.readOut(pane, "Label54", twipsRect(kRightValue, 720, kRightValueWidth, kRow));
    b.caption(pane, "Label52", twipsRect(kRightCaption, 1080, kRightCaptionWidth, kRow), 206);
    b.readOut(pane, "Label51", twipsRect(kRightValue, 1080, kRightValueWidth, kRow));

    QGroupBox* data = b.frame(pane, "Frame17", twipsRect(120, 1470, 2400, 900), 207);
    b.button(data, "Command14", twipsRect(120, 330, 1020, kButtonHeight), 208);
    b.button(data, "Command25", twipsRect(1260, 330, 1020, kButtonHeight), 209);
}

// Until the status panel is put in its place: the frames it fills, with their captions.
void buildLogPanePlaceholder(Builder& b, MainControls& c) {
    using namespace Layout;
    c.logPane =
        b.frame(c.content, "Frame13", twipsRect(kPaneLeft, kPaneTop, kPaneWidth, kPaneHeight), 100);
}

void buildSideColumn(Builder& b, MainControls& c) {
    using namespace Layout;
    QGroupBox* display =
        b.frame(c.content, "Frame8", twipsRect(kSideLeft, kPaneTop - 240, kSideWidth, 840), 51);
    c.dataSetChoice = new QButtonGroup(display);
    c.viewChoice = new QButtonGroup(display);
    const struct {
        const char* name;
        int message;
    } sets[] = {{"Option5", 52}, {"Option6", 53}, {"Option7", 54}};
    for (int i = 0; i < 3; ++i) {
        c.dataSetChoice->addButton(
            b.option(display, sets[i].name, twipsRect(120 + i * 1000, 240, 990, kRow),
                     sets[i].message),
            i);
    }
    c.viewChoice->addButton(b.option(display, "Option8", twipsRect(120, 510, 990, kRow), 55), 0);
    c.viewChoice->addButton(b.option(display, "Option9", twipsRect(1120, 510, 990, kRow), 56), 1);

    const int nameTop = kPaneTop + 660;
    // A name has at most four characters; the communication frame takes the rest of the row
    // for its lamp and the whole "Communicating" text.
    constexpr int kNameWidth = 1050;
    constexpr int kCommunicationLeft = kNameWidth + 60;
    b.frame(c.content, "Frame11", twipsRect(kSideLeft, nameTop, kNameWidth, 600), 50);
    b.frame(
        c.content, "communicationFrame",
        twipsRect(kSideLeft + kCommunicationLeft, nameTop, kSideWidth - kCommunicationLeft, 600),
        273);

    const int connectTop = nameTop + 660;
    auto* box = b.make<QFrame>(c.content, "connectionBox",
                               twipsRect(kSideLeft, connectTop, kSideWidth, 1260));
    c.connect = b.button(box, "Command20", twipsRect(0, 0, 1200, 1260));
    b.accessible(c.connect, 273);
    c.baud = b.combo(box, "Combo1", twipsRect(1260, 0, 1875, kComboHeight));
    c.model = b.combo(box, "Combo3", twipsRect(1260, 405, 1875, kComboHeight));
    c.initialise = b.button(box, "Command27", twipsRect(1260, 840, 900, 420));
    c.initialise->setText(QStringLiteral("初期化"));
    c.selector = b.combo(box, "Combo4", twipsRect(2220, 870, 915, kComboHeight));

    c.dataSetLabel =
        b.make<QLabel>(c.content, "dataSetLabel", twipsRect(kPaneLeft, kViewAreaHeight, 3000, 270));
    QFont bold = c.dataSetLabel->font();
    bold.setBold(true);
    c.dataSetLabel->setFont(bold);
}

// Controls the procedures enable and disable that have no place in the visible design: kept
// in the hidden Frame5, so every name the procedures touch exists.
void buildFrame5(Builder& b, MainControls& c) {
    QGroupBox* frame = b.frame(c.content, "Frame5", twipsRect(0, 0, 7800, 1500));
    c.frame5 = frame;
    b.option(frame, "Option1", twipsRect(120, 240, 900, kRow), 327);
    b.option(frame, "Option2", twipsRect(120, 540, 900, kRow), 326);
    c.intervalCount = b.combo(frame, "Combo2", twipsRect(1080, 240, 660, kComboHeight));
    const struct {
        const char* name;
        int accessibleMessage;
    } buttons[] = {{"Command19", 336}, {"Command26", 329}, {"Command28", 322}, {"Command6", 281},
                   {"Command7", 22},   {"Command13", 23},  {"Command9", 273}};
    int left = 1860;
    for (const auto& entry : buttons) {
        b.accessible(b.button(frame, entry.name, twipsRect(left, 240, 780, kButtonHeight)),
                     entry.accessibleMessage);
        left += 840;
    }
    b.readOut(frame, "Label39", twipsRect(120, 900, 1500, kRow));
    b.readOut(frame, "Label24", twipsRect(1740, 900, 2700, kRow));
    frame->hide();
}

}  // namespace

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

MainControls buildMainContent(const MessageTable& messages) {
    Builder b(messages);
    MainControls c;
    c.content = new QWidget;
    c.content->setObjectName(QStringLiteral("Main_Picture"));
    c.content->setFixedSize(twips(Layout::kContentWidth), twips(Layout::kContentHeight));
    buildViewArea(b, c);
    buildLogPanePlaceholder(b, c);
    buildMeasurementPane(b, c);
    buildFilePane(b, c);
    buildSideColumn(b, c);
    buildFrame5(b, c);
    c.realTimePane->hide();
    c.filePane->hide();
    applyContentCaptions(c.content, messages);
    c.graphPanel->applyCaptions(messages);
    return c;
}

void applyContentCaptions(QWidget* content, const MessageTable& messages) {
    for (QWidget* widget : content->findChildren<QWidget*>()) {
        const QVariant index = widget->property(kMessageProperty);
        if (!index.isValid()) {
            continue;
        }
        const QString text = messages.text(index.toInt());
        if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            group->setTitle(text);
        } else {
            widget->setProperty("text", text);
        }
    }
}

void placeLogPane(QWidget* pane) {
    // Left column: caption and value; right column likewise, with longer captions.
    // The left values are wide enough for a whole beginning date ("yyyy/mm/dd hh:nn:ss").
    constexpr int kLeftCaption = 120, kLeftValue = 1680, kLeftValueWidth = 1980;
    constexpr int kRightCaption = 3660, kRightValue = 6780, kRightValueWidth = 930;
    constexpr int kRightCaptionLeft = 3720, kRightCaptionWidth = 3030;
    const struct {
        const char* name;
        QRect rect;
    } places[] = {
        {"Label9", twipsRect(kLeftCaption, 300, 1560, 270)},
        {"operationText", twipsRect(kLeftValue, 300, kLeftValueWidth, 270)},
        {"Label11", twipsRect(kLeftCaption, 600, 1560, 270)},
        {"batteryText", twipsRect(kLeftValue, 600, kLeftValueWidth, 270)},
        {"Label18", twipsRect(kLeftCaption, 900, 1560, 270)},
        {"beginningText", twipsRect(kLeftValue, 900, kLeftValueWidth, 270)},
        {"Label22", twipsRect(kLeftCaption, 1200, 1560, 270)},
        {"pointsText", twipsRect(kLeftValue, 1200, kLeftValueWidth, 270)},
        {"Label20", twipsRect(kLeftCaption, 1500, 1560, 270)},
        {"intervalText", twipsRect(kLeftValue, 1500, kLeftValueWidth, 270)},
        {"Label47", twipsRect(kRightCaptionLeft, 300, kRightCaptionWidth, 270)},
        {"modeText", twipsRect(kRightValue, 300, kRightValueWidth, 270)},
        {"Label31", twipsRect(kRightCaptionLeft, 600, kRightCaptionWidth, 270)},
        {"upperText", twipsRect(kRightValue, 600, kRightValueWidth, 270)},
        {"Label32", twipsRect(kRightCaptionLeft, 900, kRightCaptionWidth, 270)},
        {"lowerText", twipsRect(kRightValue, 900, kRightValueWidth, 270)},
        {"Command11", twipsRect(kRightCaption, 1200, 1950, 360)},
        {"Command5", twipsRect(kRightCaption + 2040, 1200, 2010, 360)},
        {"stopNoteText", twipsRect(kRightCaption, 1590, 4050, 255)},
        {"Frame14", twipsRect(120, 1860, 3420, 600)},
        {"Command4", twipsRect(120, 225, 1800, 315)},
        {"intervalSecondsText", twipsRect(2040, 240, 1200, 270)},
        {"Frame15", twipsRect(kRightCaption, 1860, 4050, 600)},
        {"Command21", twipsRect(120, 225, 1860, 315)},
        {"Command24", twipsRect(2070, 225, 1860, 315)},
    };
    QList<QWidget*> laidOut = pane->findChildren<QWidget*>();
    laidOut.prepend(pane);
    for (QWidget* widget : laidOut) {
        if (QLayout* layout = widget->layout()) {
            layout->setEnabled(false);
        }
    }
    for (const auto& place : places) {
        QWidget* widget = pane->findChild<QWidget*>(QString::fromLatin1(place.name));
        if (widget != nullptr) {
            widget->setGeometry(place.rect);
        }
    }
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
