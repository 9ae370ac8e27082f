// Graph panel widgets and their fixed layout in twips.
#include "graph/graphpanel.h"

#include <QRect>

#include "data/messagetable.h"
#include "graph/graphview.h"

namespace {

constexpr std::array<const char*, 8> kBarNames = {"HScroll1", "HScroll2", "HScroll3", "HScroll4",
                                                  "VScroll1", "VScroll2", "VScroll3", "VScroll4"};
constexpr std::array<const char*, 6> kZoomNames = {"Command10", "Command3",  "Command15",
                                                   "Command16", "Command18", "Command17"};
constexpr std::array<int, 6> kLabelNumbers = {30, 31, 34, 35, 36, 37};

// Left, top, width, height in twips.
struct TwipsRect {
    int left, top, width, height;
};

constexpr TwipsRect kOndo{120, 120, GraphPanel::kGraphWidthTwips, GraphPanel::kGraphHeightTwips};
constexpr TwipsRect kSitudo{120, 3360, GraphPanel::kGraphWidthTwips, GraphPanel::kGraphHeightTwips};
// Time bars below the graphs; half-span and centre bars beside each graph.
constexpr std::array<TwipsRect, 8> kBarRects = {{
    {2520, 6600, 7200, 255},   // HScroll1: window width
    {2520, 6900, 7200, 255},   // HScroll2: window position
    {2520, 6600, 7200, 255},   // HScroll3: hidden copy of HScroll1
    {2520, 6900, 7200, 255},   // HScroll4: hidden copy of HScroll2
    {10755, 120, 255, 3135},   // VScroll1: temperature half-span
    {11040, 120, 255, 3135},   // VScroll2: temperature centre
    {10755, 3360, 255, 3135},  // VScroll3: humidity half-span
    {11040, 3360, 255, 3135},  // VScroll4: humidity centre
}};
// Command10, Command3, Command15, Command16, Command18, Command17.
constexpr std::array<TwipsRect, 6> kZoomRects = {{
    {2520, 7230, 420, 300},
    {2040, 7230, 420, 300},
    {6360, 7230, 420, 300},
    {5880, 7230, 420, 300},
    {10320, 6600, 420, 300},
    {9840, 6600, 420, 300},
}};
constexpr TwipsRect kFit{9840, 6960, 900, 300};
// Label30, Label31 (temperature top, bottom), Label34, Label35 (humidity top, bottom),
// Label36, Label37 (left and right edge times).
constexpr std::array<TwipsRect, 6> kLabelRects = {{
    {1200, 7260, 780, 255},
    {120, 7260, 1050, 255},
    {5040, 7260, 780, 255},
    {3960, 7260, 1050, 255},
    {120, 6600, 2340, 255},
    {120, 6900, 2340, 255},
}};

QRect toPixels(const TwipsRect& r, int twipsPerPixel) {
    return QRect(r.left / twipsPerPixel, r.top / twipsPerPixel, r.width / twipsPerPixel,
                 r.height / twipsPerPixel);
}

}  // namespace

GraphPanel::GraphPanel(QWidget* parent)
    : QWidget(parent),
      ondo_(new GraphBox(this)),
      situdo_(new GraphBox(this)),
      command12_(makeButton("Command12", QStringLiteral("[\u2194]"))) {
    setObjectName(QStringLiteral("GraphPanel"));
    ondo_->setObjectName(QStringLiteral("ondo"));
    situdo_->setObjectName(QStringLiteral("situdo"));
    for (int i = 0; i < 8; ++i) {
        auto* bar = new QScrollBar(i < 4 ? Qt::Horizontal : Qt::Vertical, this);
        bar->setObjectName(QLatin1String(kBarNames[i]));
        // The change event fires when the bar is released or clicked, not while dragging.
        bar->setTracking(false);
        bars_[i] = bar;
    }
    // The copies beside the humidity graph follow HScroll1 and HScroll2 and are never shown.
    bars_[HScroll3]->hide();
    bars_[HScroll4]->hide();
    for (int i = 0; i < 6; ++i) {
        zoom_[i] = makeButton(kZoomNames[i],
                              i % 2 == 0 ? QStringLiteral("\u00d72") : QStringLiteral("\u00f72"));
    }
    for (int i = 0; i < 6; ++i) {
        labels_[i] = new QLabel(this);
        labels_[i]->setObjectName(QStringLiteral("Label%1").arg(kLabelNumbers[i]));
        labels_[i]->setAlignment(i < 4 ? Qt::AlignRight | Qt::AlignVCenter
                                       : Qt::AlignLeft | Qt::AlignVCenter);
    }
    layoutTwips(kTwipsPerPixel);
    view_ = new GraphView(*this, this);
}

QPushButton* GraphPanel::makeButton(const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QPushButton* GraphPanel::button(ZoomButton which) const {
    return zoom_[static_cast<int>(which)];
}

QLabel* GraphPanel::rangeLabel(int number) const {
    for (int i = 0; i < 6; ++i) {
        if (kLabelNumbers[i] == number) {
            return labels_[i];
        }
    }
    return nullptr;
}

void GraphPanel::applyCaptions(const MessageTable& messages) {
    const QString temperature = messages.text(1039);
    const QString humidity = messages.text(1041);
    const std::array<QString, 6> graphs = {temperature, temperature, humidity,
                                           humidity,    QString(),   QString()};
    for (int i = 0; i < 6; ++i) {
        const QString subject = graphs[i].isEmpty() ? messages.text(55) : graphs[i];
        zoom_[i]->setAccessibleName(subject + QLatin1Char(' ') + zoom_[i]->text());
    }
    command12_->setAccessibleName(messages.text(55) + QLatin1Char(' ') + command12_->text());
    ondo_->setAccessibleName(temperature);
    situdo_->setAccessibleName(humidity);
    const std::array<QString, 8> barSubjects = {
        messages.text(55), messages.text(55), messages.text(55), messages.text(55),
        temperature,       temperature,       humidity,          humidity};
    for (int i = 0; i < 8; ++i) {
        bars_[i]->setAccessibleName(barSubjects[i] + QLatin1Char(' ') +
                                    QLatin1String(kBarNames[i]));
    }
}

void GraphPanel::layoutTwips(int twipsPerPixel) {
    if (twipsPerPixel <= 0) {
        return;
    }
    ondo_->setGeometry(toPixels(kOndo, twipsPerPixel));
    situdo_->setGeometry(toPixels(kSitudo, twipsPerPixel));
    for (int i = 0; i < 8; ++i) {
        bars_[i]->setGeometry(toPixels(kBarRects[i], twipsPerPixel));
    }
    for (int i = 0; i < 6; ++i) {
        zoom_[i]->setGeometry(toPixels(kZoomRects[i], twipsPerPixel));
        labels_[i]->setGeometry(toPixels(kLabelRects[i], twipsPerPixel));
    }
    command12_->setGeometry(toPixels(kFit, twipsPerPixel));
    setFixedSize(kWidthTwips / twipsPerPixel, kHeightTwips / twipsPerPixel);
}

void GraphPanel::setGraphControlsVisible(bool visible) {
    for (int i : {HScroll1, HScroll2, VScroll1, VScroll2, VScroll3, VScroll4}) {
        bars_[i]->setVisible(visible);
    }
    for (QPushButton* b : zoom_) {
        b->setVisible(visible);
    }
    for (QLabel* l : labels_) {
        l->setVisible(visible);
    }
}

void GraphPanel::setGraphControlsEnabled(bool enabled) {
    for (QScrollBar* b : bars_) {
        b->setEnabled(enabled);
    }
    for (QPushButton* b : zoom_) {
        b->setEnabled(enabled);
    }
    command12_->setEnabled(enabled);
}
