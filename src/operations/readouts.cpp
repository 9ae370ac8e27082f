// The labels and read-outs replies fill; see readouts.h.
#include "operations/readouts.h"

Readouts::Readouts(Context& context) : c_(context) {
    c_.session.setLoggerView(this);
}

Readouts::~Readouts() {
    c_.session.setLoggerView(nullptr);
}

void Readouts::batteryLabel(const QString& text, bool low) {
    c_.controls.setText(ControlId::BatteryStateLabel, text);
    c_.controls.setForeColour(ControlId::BatteryStateLabel, low ? Shade::Red : Shade::Black);
}

void Readouts::clockLabel(const QString& text) {
    c_.controls.setText(ControlId::LoggerClockLabel, text);
}

void Readouts::realTimeReadout(const RealTimeReadout& readout) {
    c_.controls.setText(ControlId::MeasuredTemperatureReadout, readout.temperature);
    c_.controls.setText(ControlId::MeasuredHumidityReadout, readout.humidity);
    c_.controls.setText(ControlId::MeasuredTimeReadout, readout.time);
}

void Readouts::realTimeSampleAdded() {
    c_.display.appendNewest(RealTimeData);
}
