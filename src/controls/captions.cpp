// The dialogs' caption tables and their application; see captions.h.
#include "controls/captions.h"

#include <QVariant>

namespace {

constexpr CaptionBinding kNameDialog[] = {{"Frame1", Msg::RecognitionNameCaption},
                                          {"Command1", Msg::SetNameButton}};
constexpr CaptionBinding kPortDialog[] = {{"Frame1", Msg::PortNumberCaption},
                                          {"Command3", Msg::ConnectButton},
                                          {"Command1", Msg::CancelPortButton}};
constexpr CaptionBinding kClockDialog[] = {{"Frame1", Msg::PresentDateCaption},
                                           {"Command1", Msg::SetClockButton}};
constexpr CaptionBinding kGraphPrintDialog[] = {{"Command1", Msg::PrintGraphButton},
                                                {"Command2", Msg::CancelGraphPrintButton},
                                                {"Frame1", Msg::GraphPrinterCaption}};
constexpr CaptionBinding kDumpPrintDialog[] = {{"Command1", Msg::PrintDumpButton},
                                               {"Command2", Msg::CancelDumpPrintButton},
                                               {"Frame3", Msg::PrintAreaCaption},
                                               {"Label1", Msg::SelectedOnlyLabel},
                                               {"Frame1", Msg::DumpPrinterCaption}};
constexpr CaptionBinding kRecordingDialog[] = {
    {"Frame1", Msg::RecordingNameCaption},
    {"Frame7", Msg::RecordingModeCaption},
    {"Option7", Msg::OneTimeOption},
    {"Option8", Msg::LoopOption},
    {"Frame10", Msg::RecordingIntervalCaption},
    {"Option6", Msg::IntervalMinutesOption},
    {"Option5", Msg::IntervalSecondsOption},
    {"Label23", Msg::IntervalSecondsLabel},
    {"Frame5", Msg::AlarmCaption},
    {"Frame3", Msg::UpperAlarmCaption},
    {"Option1", Msg::UpperAlarmOnOption},
    {"Option2", Msg::UpperAlarmOffOption},
    {"Frame2", Msg::LowerAlarmCaption},
    {"Option3", Msg::LowerAlarmOnOption},
    {"Option4", Msg::LowerAlarmOffOption},
    {"Frame4", Msg::ReservationCaption},
    {"Check1", Msg::ReserveStartCheck},
    {"Label5", Msg::ReservedDatePlaceholder},
    {"Label6", Msg::ReservedHourPlaceholder},
    {"Label7", Msg::ReservedMinutePlaceholder},
    {"Command1", Msg::RecordingStartButton},
    {"Command2", Msg::CancelRecordingButton},
};

bool hasProperty(const QObject* object, const char* property) {
    return object->metaObject()->indexOfProperty(property) >= 0;
}

}  // namespace

DialogCaptions nameDialogCaptions() {
    return {"Form2", std::nullopt, kNameDialog};
}

DialogCaptions portDialogCaptions() {
    return {"Form5", std::nullopt, kPortDialog};
}

DialogCaptions clockDialogCaptions() {
    return {"Form6", std::nullopt, kClockDialog};
}

DialogCaptions graphPrintDialogCaptions() {
    return {"Form9", Msg::GraphPrintTitle, kGraphPrintDialog};
}

DialogCaptions dumpPrintDialogCaptions() {
    return {"Form10", Msg::DumpPrintTitle, kDumpPrintDialog};
}

DialogCaptions recordingDialogCaptions() {
    return {"Form12", Msg::RecordingSettingTitle, kRecordingDialog};
}

bool setCaption(QObject* object, const QString& text) {
    if (object == nullptr) {
        return false;
    }
    for (const char* property : {"title", "text", "windowTitle"}) {
        if (hasProperty(object, property)) {
            return object->setProperty(property, text);
        }
    }
    return false;
}

int applyDialogCaptions(QObject* dialog, const DialogCaptions& captions,
                        const MessageTable& messages) {
    if (dialog == nullptr) {
        return 0;
    }
    if (captions.title) {
        dialog->setProperty("windowTitle", messages.text(*captions.title));
    }
    int applied = 0;
    for (const CaptionBinding& binding : captions.controls) {
        QObject* target = dialog->findChild<QObject*>(QLatin1String(binding.control));
        if (setCaption(target, messages.text(binding.message))) {
            ++applied;
        }
    }
    return applied;
}
