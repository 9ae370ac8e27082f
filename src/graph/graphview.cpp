// Graph view controller. The bars' numbers live in bars_; the scroll-bar widgets mirror them,
// and a widget's change event runs the redraw triggers unless the guard is set.
#include "graph/graphview.h"

#include <QPainter>
#include <algorithm>

#include "analysis/analysis.h"
#include "graph/graphpanel.h"
#include "graph/plotting.h"

namespace {

// The saved scroll state keeps the first end as the minimum and the second as the maximum.
ScrollState toScrollState(const Bar& bar) {
    return {static_cast<std::int16_t>(bar.second), static_cast<std::int16_t>(bar.first),
            static_cast<std::int16_t>(bar.value)};
}

Bar fromScrollState(const ScrollState& s) {
    return Bar{s.minimum, s.maximum, s.value};
}

// A page of a bar (a click in its trough) is a share of the view it moves: a position bar
// pages by the visible width or half the visible height, a size bar by a tenth of its range.
// Its arrows move a tenth of a page.
int pageStepOf(const Bars& bars, int index) {
    switch (index) {
        case TimePositionBar:
            return bars[TimeWidthBar].value;
        case HumidityTimePositionBar:
            return bars[HumidityTimeWidthBar].value;
        case TemperatureCentreBar:
            return bars[TemperatureSpanBar].value;
        case HumidityCentreBar:
            return bars[HumiditySpanBar].value;
        default:
            return (bars[index].upper() - bars[index].lower()) / 10;
    }
}

QString tenthsText(double value, const QString& unit) {
    return QString::number(value, 'f', 1) + unit;
}

}  // namespace

GraphView::GraphView(GraphPanel& panel, QObject* parent) : QObject(parent), panel_(panel) {
    for (int i = 0; i < 8; ++i) {
        connect(panel_.bar(static_cast<BarIndex>(i)), &QScrollBar::valueChanged, this,
                [this, i](int value) { barChanged(i, value); });
    }
    for (int i = 0; i < 6; ++i) {
        const auto which = static_cast<ZoomButton>(i);
        connect(panel_.button(which), &QPushButton::clicked, this, [this, which] { zoom(which); });
    }
    connect(panel_.fitButton(), &QPushButton::clicked, this, &GraphView::fitSequence);
    auto readout = [this](double x) {
        if (DataSet* set = displayed()) {
            showCursorReadout(x, *set);
        }
    };
    connect(panel_.temperatureGraph(), &GraphBox::mouseMovedTo, this, readout);
    connect(panel_.humidityGraph(), &GraphBox::mouseMovedTo, this, readout);
    pushBars();
}

void GraphView::setDataSets(DataSet* log, DataSet* realTime, DataSet* file) {
    sets_ = {log, realTime, file};
}

void GraphView::setMessages(const MessageTable* messages) {
    messages_ = messages;
    if (messages_ != nullptr) {
        panel_.applyCaptions(*messages_);
    }
    updateRangeLabels();
}

DataSet* GraphView::dataSet(int index) const {
    return index >= 0 && index < 3 ? sets_[index] : nullptr;
}

std::optional<VisibleTimes> GraphView::visibleTimes() const {
    DataSet* set = displayed();
    if (set == nullptr || set->count < 1) {
        return std::nullopt;
    }
    const TimeBase base = baseOf(*set);
    if (base.endTime == 0) {
        return std::nullopt;
    }
    const GraphWindow window = temperatureWindow(bars_, base.stepUnit);
    // A sample is inside when its whole seconds before the end, rounded, lie within the window.
    constexpr double kHalfSecond = 0.5;
    const double end = analysis::secondsOf(base.endTime);
    return VisibleTimes{end - static_cast<double>(window.width + window.offset) - kHalfSecond,
                        end - static_cast<double>(window.offset) + kHalfSecond};
}

void GraphView::setDewPointLine(bool on) {
    renderer_.setDewPointLine(on);
    if (DataSet* set = displayed(); set != nullptr && set->count > 0) {
        drawHumidityGraph(*set, false);
    }
}

QString GraphView::messageText(Msg msg) const {
    return messages_ != nullptr ? messages_->text(msg) : QString();
}

bool GraphView::continuous() const {
    return continuous_;
}

void GraphView::pushBars() {
    // Moving the widgets to the model's numbers must not feed back into the model.
    pushing_ = true;
    for (int i = 0; i < 8; ++i) {
        QScrollBar* widget = panel_.bar(static_cast<BarIndex>(i));
        const Bar bar = bars_[i];
        widget->setRange(bar.lower(), bar.upper());
        // The first end is left or top; it may hold the larger number.
        widget->setInvertedAppearance(bar.first > bar.second);
        const int page = std::max(1, pageStepOf(bars_, i));
        widget->setPageStep(page);
        widget->setSingleStep(std::max(1, page / 10));
        widget->setValue(bar.value);
    }
    pushing_ = false;
    updateRangeLabels();
}

TimeBase GraphView::baseOf(DataSet& set) const {
    Sample first;
    Sample last;
    if (set.count < 1 || set.read(1, first) != DataError::None ||
        set.read(set.count, last) != DataError::None) {
        return {};
    }
    return timeBaseOf(first.dateTime, last.dateTime);
}

void GraphView::barChanged(int index, int value) {
    if (pushing_) {
        return;
    }
    bars_[index].setValue(value);
    if (guard_ || continuous()) {
        return;
    }
    DataSet* set = displayed();
    if (set == nullptr) {
        return;
    }
    updateScrollRanges(*set);
    switch (index) {
        case TimeWidthBar:
        case TimePositionBar:
            drawTemperatureGraph(*set, false);
            drawHumidityGraph(*set, false);
            break;
        case TemperatureSpanBar:
        case TemperatureCentreBar:
            drawTemperatureGraph(*set, false);
            break;
        default:
            drawHumidityGraph(*set, false);
            break;
    }
}

void GraphView::updateScrollRanges(DataSet& set) {
    Sample first;
    Sample last;
    if (set.count < 1 || set.read(1, first) != DataError::None ||
        set.read(set.count, last) != DataError::None) {
        return;
    }
    timeBase_ = timeBaseOf(first.dateTime, last.dateTime);
    ::updateScrollRanges(bars_, timeBase_, continuous());
    pushBars();
}

void GraphView::fitGraphToData(DataSet& set) {
    if (set.count < 1) {
        return;
    }
    ::fitGraphToData(bars_, {set.stats.maxTemperature, set.stats.minTemperature,
                             set.stats.maxHumidity, set.stats.minHumidity});
    pushBars();
}

void GraphView::saveGraphView(int index) {
    DataSet* set = dataSet(index);
    if (set == nullptr) {
        return;
    }
    savedImages_[index] = {panel_.temperatureGraph()->image(), panel_.humidityGraph()->image()};
    for (int i = 0; i < 8; ++i) {
        set->view.bars[i] = toScrollState(bars_[i]);
    }
    set->view.saved = true;
}

void GraphView::restoreGraphView(int index) {
    DataSet* set = dataSet(index);
    if (set == nullptr) {
        return;
    }
    panel_.temperatureGraph()->setImage(savedImages_[index][0]);
    panel_.humidityGraph()->setImage(savedImages_[index][1]);
    // A data set never shown before has no saved bars: the current window stays.
    if (set->view.saved) {
        for (int i = 0; i < 8; ++i) {
            bars_[i] = fromScrollState(set->view.bars[i]);
        }
        pushBars();
    }
}

bool GraphView::selectDisplay(int index, int kind) {
    if (index < 0 || index > 2 || kind < 0 || kind > 1) {
        return false;
    }
    saveGraphView(dispStat_);
    emit readoutChanged(QString());
    dispStat_ = static_cast<std::uint8_t>(index);
    viewKind_ = static_cast<std::uint8_t>(kind);
    guard_ = true;
    restoreGraphView(index);
    guard_ = false;
    updateRangeLabels();
    emit displayChanged(index, kind);
    return true;
}

void GraphView::chooseDataSet(int index) {
    if (index != dispStat_) {
        selectDisplay(index, viewKind_);
    }
}

void GraphView::chooseViewKind(int kind) {
    if (kind != viewKind_) {
        selectDisplay(dispStat_, kind);
    }
}

void GraphView::selectFromMenu(int index, int kind) {
    chooseDataSet(index);
    chooseViewKind(kind);
}

void GraphView::fitSequence() {
    DataSet* set = displayed();
    if (set == nullptr || set->count < 1) {
        return;
    }
    guard_ = true;
    fitGraphToData(*set);
    updateScrollRanges(*set);
    for (int i = TimeWidthBar; i <= HumidityTimePositionBar; ++i) {
        bars_[i].setValue(bars_[i].first);
    }
    pushBars();
    fitGraphToData(*set);
    updateScrollRanges(*set);
    guard_ = false;
    drawTemperatureGraph(*set, false);
    drawHumidityGraph(*set, false);
}

void GraphView::zoom(ZoomButton button) {
    Bars zoomed = bars_;
    applyZoom(zoomed, button);
    // Assigning the new value fires the bar's own change event, which redraws.
    for (int i = 0; i < 8; ++i) {
        if (zoomed[i].value != bars_[i].value) {
            panel_.bar(static_cast<BarIndex>(i))->setValue(zoomed[i].value);
        }
    }
}

void GraphView::refreshAfterNewSample() {
    DataSet* set = displayed();
    if (set == nullptr) {
        return;
    }
    updateScrollRanges(*set);
    drawTemperatureGraph(*set, false);
    drawHumidityGraph(*set, false);
}

void GraphView::drawTemperatureGraph(DataSet& set, bool print) {
    drawGraph(GraphKind::Temperature, set, print);
}

void GraphView::drawHumidityGraph(DataSet& set, bool print) {
    drawGraph(GraphKind::Humidity, set, print);
}

void GraphView::drawGraph(GraphKind kind, DataSet& set, bool print) {
    if (guard_ || set.count < 1) {
        return;
    }
    guard_ = true;
    set.drawnCount = set.count;
    // The step unit belongs to the data set drawn, whatever was displayed before.
    const double step = baseOf(set).stepUnit;
    const GraphWindow window = kind == GraphKind::Temperature ? temperatureWindow(bars_, step)
                                                              : humidityWindow(bars_, step);
    GraphBox* box =
        kind == GraphKind::Temperature ? panel_.temperatureGraph() : panel_.humidityGraph();
    const QSize size = print ? QSize(box->width(), box->height() * 2) : box->size();
    QImage image(size, QImage::Format_RGB32);
    double plotWidth = 0;
    {
        QPainter painter(&image);
        plotWidth =
            renderer_.draw(painter, QSizeF(size), kind, window, set,
                           messages_ != nullptr ? GraphTexts::of(kind, *messages_) : GraphTexts{},
                           print ? GraphPalette::print() : GraphPalette::screen());
    }
    if (print) {
        printImages_[kind == GraphKind::Temperature ? 0 : 1] = image;
    } else {
        box->setWindow(window, plotWidth);
        box->setImage(image);
    }
    guard_ = false;
    updateRangeLabels();
}

void GraphView::showCursorReadout(double x, DataSet& set) {
    if (continuous() || guard_ || set.count < 1) {
        emit readoutChanged(QString());
        return;
    }
    Sample last;
    if (set.read(set.count, last) != DataError::None) {
        emit readoutChanged(QString());
        return;
    }
    const double before = x + bars_[TimePositionBar].value * baseOf(set).stepUnit;
    Sample sample = last;
    if (before > 0) {
        const int record = findSampleByTime(last.dateTime - before / 86400.0, set);
        if (set.read(record, sample) != DataError::None) {
            emit readoutChanged(QString());
            return;
        }
    }
    const QString text =
        messageText(Msg::CursorDateLabel) +
        fullDateTimeText(timeFieldsOf(toWholeSeconds(sample.dateTime))) +
        messageText(Msg::CursorTemperatureLabel) + QString::number(sample.temperature, 'f', 2) +
        messageText(Msg::CursorHumidityLabel) + QString::number(sample.humidity, 'f', 2) +
        messageText(Msg::CursorHumidityUnit);
    emit readoutChanged(text);
}

const QImage& GraphView::savedImage(int index, GraphKind kind) const {
    static const QImage none;
    if (index < 0 || index > 2) {
        return none;
    }
    return savedImages_[index][kind == GraphKind::Temperature ? 0 : 1];
}

void GraphView::clearDataSet(int index) {
    if (index < 0 || index > 2) {
        return;
    }
    savedImages_[index] = {};
    if (index == dispStat_) {
        panel_.temperatureGraph()->setImage(QImage());
        panel_.humidityGraph()->setImage(QImage());
        updateRangeLabels();
    }
}

void GraphView::updateRangeLabels() {
    DataSet* set = displayed();
    const bool shown = set != nullptr && set->count > 0;
    const TimeBase base = shown ? baseOf(*set) : TimeBase{};
    const GraphWindow t = temperatureWindow(bars_, base.stepUnit);
    const GraphWindow h = humidityWindow(bars_, base.stepUnit);
    panel_.rangeLabel(30)->setText(shown ? tenthsText(t.top, messageText(Msg::DegreeSign))
                                         : QString());
    panel_.rangeLabel(31)->setText(shown ? tenthsText(t.bottom, messageText(Msg::DegreeSign))
                                         : QString());
    panel_.rangeLabel(34)->setText(shown ? tenthsText(h.top, messageText(Msg::PercentSign))
                                         : QString());
    panel_.rangeLabel(35)->setText(shown ? tenthsText(h.bottom, messageText(Msg::PercentSign))
                                         : QString());
    const std::int64_t end = toWholeSeconds(base.endTime);
    panel_.rangeLabel(36)->setText(shown ? fullDateTimeText(timeFieldsOf(end - t.offset - t.width))
                                         : QString());
    panel_.rangeLabel(37)->setText(shown ? fullDateTimeText(timeFieldsOf(end - t.offset))
                                         : QString());
    emit windowChanged();
}
