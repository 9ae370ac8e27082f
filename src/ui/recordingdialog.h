// The recording-setting dialog: its widgets show a RecordingSetup and hand every change
// to it; Record Start or Reservation closes the dialog with the confirmed request.
#pragma once

#include <QDialog>
#include <optional>

#include "data/messagetable.h"
#include "operations/recordingsetup.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class NameBox;
class UpScrollBar;

class RecordingDialog : public QDialog {
    Q_OBJECT
  public:
    RecordingDialog(RecordingSetup& setup, const MessageTable& messages, QWidget* parent);

    // What Record Start or Reservation confirmed; nothing after Cancel or a close.
    const std::optional<RecordingRequest>& request() const { return request_; }

  private:
    void build(const MessageTable& messages);
    void connectControls();
    // Shows the setup's values; handlers ignore the changes this makes.
    void showSetup();
    void showCounts();
    void nameLeft(QWidget* next);
    void confirm();
    // Runs a change of the setup, then shows the setup again.
    template <typename F>
    void change(F&& apply);

    RecordingSetup& setup_;
    std::optional<RecordingRequest> request_;
    bool showing_ = false;

    NameBox* nameEdit_;
    QRadioButton* oneTimeOption_;
    QRadioButton* loopOption_;
    QRadioButton* secondsOption_;
    QRadioButton* minutesOption_;
    QComboBox* intervalCountList_;
    QLabel* intervalUnitLabel_;
    QGroupBox* alarmFrame_;
    QRadioButton* upperOnOption_;
    QRadioButton* upperOffOption_;
    UpScrollBar* upperBar_;
    QLabel* upperLabel_;
    QRadioButton* lowerOnOption_;
    QRadioButton* lowerOffOption_;
    UpScrollBar* lowerBar_;
    QLabel* lowerLabel_;
    QCheckBox* reserveCheck_;
    UpScrollBar* dayBar_;
    QLabel* dayLabel_;
    UpScrollBar* hourBar_;
    QLabel* hourLabel_;
    UpScrollBar* minuteBar_;
    QLabel* minuteLabel_;
    QPushButton* confirmButton_;
    QPushButton* cancelButton_;
};
