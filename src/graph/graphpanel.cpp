// Graph panel widgets and their fixed layout in twips.
#include "graph/graphpanel.h"

#include <QRect>

#include "controls/controlid.h"
#include "controls/twips.h"
#include "data/messagetable.h"
#include "graph/graphview.h"

namespace {

using I = ControlId;
constexpr std::array<ControlId, 8> kBarIds = {I::TimeWidthBar,         I::TimePositionBar,
                                              I::HumidityTimeWidthBar, I::HumidityTimePositionBar,
                                              I::TemperatureSpanBar,   I::TemperatureCentreBar,
                                              I::HumiditySpanBar,      I::HumidityCentreBar};
constexpr std::array<ControlId, 6> kZoomIds = {
    I::TemperatureWiderButton, I::TemperatureNarrowerButton, I::HumidityWiderButton,
    I::HumidityNarrowerButton, I::TimeWiderButton,           I::TimeNarrowerButton};
constexpr std::array<ControlId, 6> kLabelIds = {I::TemperatureTopLabel, I::TemperatureBottomLabel,
                                                I::HumidityTopLabel,    I::HumidityBottomLabel,
                                                I::LeftTimeLabel,       I::RightTimeLabel};
constexpr std::array<int, 6> kLabelNumbers = {30, 31, 34, 35, 36, 37};

QString nameOf(ControlId id) {
    return QLatin1String(controlName(id));
}

constexpr QRect kOndo =
    twipsRect(120, 120, GraphPanel::kGraphWidthTwips, GraphPanel::kGraphHeightTwips);
constexpr QRect kSitudo =
    twipsRect(120, 3360, GraphPanel::kGraphWidthTwips, GraphPanel::kGraphHeightTwips);
// Time bars below the graphs; half-span and centre bars beside each graph.
constexpr std::array<QRect, 8> kBarRects = {{
    twipsRect(2520, 6600, 7200, 255),   // TimeWidthBar: window width
    twipsRect(2520, 6900, 7200, 255),   // TimePositionBar: window position
    twipsRect(2520, 6600, 7200, 255),   // HumidityTimeWidthBar: hidden copy of TimeWidthBar
    twipsRect(2520, 6900, 7200, 255),   // HumidityTimePositionBar: hidden copy of TimePositionBar
    twipsRect(10755, 120, 255, 3135),   // TemperatureSpanBar: temperature half-span
    twipsRect(11040, 120, 255, 3135),   // TemperatureCentreBar: temperature centre
    twipsRect(10755, 3360, 255, 3135),  // HumiditySpanBar: humidity half-span
    twipsRect(11040, 3360, 255, 3135),  // HumidityCentreBar: humidity centre
}};
// Temperature wider, narrower; humidity wider, narrower; time wider, narrower.
constexpr std::array<QRect, 6> kZoomRects = {{
    twipsRect(2520, 7230, 420, 300),
    twipsRect(2040, 7230, 420, 300),
    twipsRect(6360, 7230, 420, 300),
    twipsRect(5880, 7230, 420, 300),
    twipsRect(10320, 6600, 420, 300),
    twipsRect(9840, 6600, 420, 300),
}};
constexpr QRect kFit = twipsRect(9840, 6960, 900, 300);
// Temperature top, bottom; humidity top, bottom; left and right edge times.
constexpr std::array<QRect, 6> kLabelRects = {{
    twipsRect(1200, 7260, 780, 255),
    twipsRect(120, 7260, 1050, 255),
    twipsRect(5040, 7260, 780, 255),
    twipsRect(3960, 7260, 1050, 255),
    twipsRect(120, 6600, 2340, 255),
    twipsRect(120, 6900, 2340, 255),
}};

}  // namespace

GraphPanel::GraphPanel(QWidget* parent)
    : QWidget(parent),
      temperatureGraph_(new GraphBox(this)),
      humidityGraph_(new GraphBox(this)),
      fitButton_(makeButton(ControlId::FitButton, QStringLiteral("[\u2194]"))) {
    setObjectName(QStringLiteral("graphPanel"));
    temperatureGraph_->setObjectName(nameOf(ControlId::TemperatureGraph));
    humidityGraph_->setObjectName(nameOf(ControlId::HumidityGraph));
    for (int i = 0; i < 8; ++i) {
        auto* bar = new QScrollBar(i < 4 ? Qt::Horizontal : Qt::Vertical, this);
        bar->setObjectName(nameOf(kBarIds[i]));
        // The change event fires when the bar is released or clicked, not while dragging.
        bar->setTracking(false);
        bars_[i] = bar;
    }
    // The copies beside the humidity graph follow TimeWidthBar and TimePositionBar and are never
    // shown.
    bars_[HumidityTimeWidthBar]->hide();
    bars_[HumidityTimePositionBar]->hide();
    for (int i = 0; i < 6; ++i) {
        zoom_[i] = makeButton(kZoomIds[i],
                              i % 2 == 0 ? QStringLiteral("\u00d72") : QStringLiteral("\u00f72"));
    }
    for (int i = 0; i < 6; ++i) {
        labels_[i] = new QLabel(this);
        labels_[i]->setObjectName(nameOf(kLabelIds[i]));
        labels_[i]->setAlignment(i < 4 ? Qt::AlignRight | Qt::AlignVCenter
                                       : Qt::AlignLeft | Qt::AlignVCenter);
    }
    placeControls();
    view_ = new GraphView(*this, this);
}

QPushButton* GraphPanel::makeButton(ControlId id, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(nameOf(id));
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
    const QString temperature = messages.text(Msg::TemperatureGraph);
    const QString humidity = messages.text(Msg::HumidityGraph);
    const std::array<QString, 6> graphs = {temperature, temperature, humidity,
                                           humidity,    QString(),   QString()};
    for (int i = 0; i < 6; ++i) {
        const QString subject = graphs[i].isEmpty() ? messages.text(Msg::GraphOption) : graphs[i];
        zoom_[i]->setAccessibleName(subject + QLatin1Char(' ') + zoom_[i]->text());
    }
    fitButton_->setAccessibleName(messages.text(Msg::GraphOption) + QLatin1Char(' ') +
                                  fitButton_->text());
    temperatureGraph_->setAccessibleName(temperature);
    humidityGraph_->setAccessibleName(humidity);
    const std::array<QString, 8> barSubjects = {messages.text(Msg::GraphOption),
                                                messages.text(Msg::GraphOption),
                                                messages.text(Msg::GraphOption),
                                                messages.text(Msg::GraphOption),
                                                temperature,
                                                temperature,
                                                humidity,
                                                humidity};
    for (int i = 0; i < 8; ++i) {
        bars_[i]->setAccessibleName(barSubjects[i] + QLatin1Char(' ') + nameOf(kBarIds[i]));
    }
}

void GraphPanel::placeControls() {
    temperatureGraph_->setGeometry(kOndo);
    humidityGraph_->setGeometry(kSitudo);
    for (int i = 0; i < 8; ++i) {
        bars_[i]->setGeometry(kBarRects[i]);
    }
    for (int i = 0; i < 6; ++i) {
        zoom_[i]->setGeometry(kZoomRects[i]);
        labels_[i]->setGeometry(kLabelRects[i]);
    }
    fitButton_->setGeometry(kFit);
    setFixedSize(twips(kWidthTwips), twips(kHeightTwips));
}

void GraphPanel::setGraphControlsVisible(bool visible) {
    for (int i : {TimeWidthBar, TimePositionBar, TemperatureSpanBar, TemperatureCentreBar,
                  HumiditySpanBar, HumidityCentreBar}) {
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
    fitButton_->setEnabled(enabled);
}
