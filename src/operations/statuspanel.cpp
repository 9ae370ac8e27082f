// Builds the status panel widgets and gives them their captions; see statuspanel.h.
#include "operations/statuspanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "data/messagetable.h"

namespace {

// Caption index of each named control of the log pane.
struct CaptionIndex {
    const char* name;
    int message;
};
constexpr CaptionIndex kLogPaneCaptions[] = {
    {"Frame13", 100},  {"Label9", 101},    {"Label11", 102},   {"Label18", 103},
    {"Label22", 104},  {"Label20", 105},   {"Label47", 106},   {"Label31", 107},
    {"Label32", 108},  {"Command11", 109}, {"Command5", 110},  {"Frame14", 111},
    {"Command4", 112}, {"Frame15", 113},   {"Command21", 114}, {"Command24", 115},
};
constexpr int kIdentNameCaption = 50;
constexpr int kCommunicationCaption = 273;
// The name and communication frames are one read-out tall; the style's default margins would
// leave no room for the read-out under the frame's title.
constexpr QMargins kSmallFrameMargins(4, 1, 4, 1);

QLabel* makeReadOut(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(60);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

void applyCaption(QWidget* root, const char* name, const QString& text) {
    QObject* control = root->objectName() == QLatin1String(name)
                           ? root
                           : root->findChild<QObject*>(QString::fromLatin1(name));
    if (auto* box = qobject_cast<QGroupBox*>(control)) {
        box->setTitle(text);
    } else if (control != nullptr) {
        control->setProperty("text", text);
    }
}

}  // namespace

StatusPanel::StatusPanel(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("Frame13"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);

    const struct {
        const char* caption;
        const char* value;
    } rows[] = {
        {"Label9", StatusNames::Operation},  {"Label11", StatusNames::Battery},
        {"Label18", StatusNames::Beginning}, {"Label22", StatusNames::Points},
        {"Label20", StatusNames::Interval},  {"Label47", StatusNames::Mode},
        {"Label31", StatusNames::Upper},     {"Label32", StatusNames::Lower},
    };
    int row = 0;
    for (const auto& entry : rows) {
        QLabel* value = readOut(entry.value);
        grid->addWidget(caption(entry.caption), row, 0);
        grid->addWidget(value, row, 1);
        ++row;
    }
    // The stop note sits beside the battery read-out and has no caption of its own.
    grid->addWidget(readOut(StatusNames::StopNote), 1, 2);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    update_ = makeButton(this, "Command11");
    download_ = makeButton(this, "Command5");
    buttons->addWidget(update_);
    buttons->addWidget(download_);
    layout->addLayout(buttons);

    auto* recordingFrame = new QGroupBox(this);
    recordingFrame->setObjectName(QStringLiteral("Frame14"));
    auto* recordingLayout = new QHBoxLayout(recordingFrame);
    recording_ = makeButton(recordingFrame, "Command4");
    recordingLayout->addWidget(recording_);
    recordingLayout->addWidget(makeReadOut(recordingFrame, StatusNames::IntervalSeconds));
    layout->addWidget(recordingFrame);

    auto* dataFrame = new QGroupBox(this);
    dataFrame->setObjectName(QStringLiteral("Frame15"));
    auto* dataLayout = new QHBoxLayout(dataFrame);
    saveLog_ = makeButton(dataFrame, "Command21");
    printLog_ = makeButton(dataFrame, "Command24");
    dataLayout->addWidget(saveLog_);
    dataLayout->addWidget(printLog_);
    layout->addWidget(dataFrame);
}

QLabel* StatusPanel::caption(const char* name) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLabel* StatusPanel::readOut(const char* name) {
    return makeReadOut(this, name);
}

void StatusPanel::applyCaptions(const MessageTable& messages) {
    for (const auto& entry : kLogPaneCaptions) {
        applyCaption(this, entry.name, messages.text(entry.message));
    }
}

IdentNameFrame::IdentNameFrame(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("Frame11"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kSmallFrameMargins);
    layout->addWidget(makeReadOut(this, StatusNames::IdentName));
}

void IdentNameFrame::applyCaptions(const MessageTable& messages) {
    setTitle(messages.text(kIdentNameCaption));
}

CommunicationFrame::CommunicationFrame(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QString::fromLatin1(StatusNames::CommunicationFrame));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kSmallFrameMargins);
    auto* lamp = new QFrame(this);
    lamp->setObjectName(QString::fromLatin1(StatusNames::Lamp));
    lamp->setFrameShape(QFrame::Box);
    lamp->setFixedSize(12, 12);
    lamp->setAutoFillBackground(true);
    QPalette palette = lamp->palette();
    palette.setColor(lamp->backgroundRole(), Qt::black);
    lamp->setPalette(palette);
    layout->addWidget(lamp);
    layout->addWidget(makeReadOut(this, StatusNames::Communication), 1);
}

void CommunicationFrame::applyCaptions(const MessageTable& messages) {
    setTitle(messages.text(kCommunicationCaption));
}
