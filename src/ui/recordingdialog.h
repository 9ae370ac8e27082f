// Form12, the recording-setting dialog: its widgets show a RecordingSetup and hand every change
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

    NameBox* text1_;
    QRadioButton* option7_;
    QRadioButton* option8_;
    QRadioButton* option5_;
    QRadioButton* option6_;
    QComboBox* combo2_;
    QLabel* label23_;
    QGroupBox* frame5_;
    QRadioButton* option1_;
    QRadioButton* option2_;
    UpScrollBar* vScroll1_;
    QLabel* label1_;
    QRadioButton* option3_;
    QRadioButton* option4_;
    UpScrollBar* vScroll2_;
    QLabel* label2_;
    QCheckBox* check1_;
    UpScrollBar* vScroll3_;
    QLabel* label5_;
    UpScrollBar* vScroll4_;
    QLabel* label6_;
    UpScrollBar* vScroll5_;
    QLabel* label7_;
    QPushButton* command1_;
    QPushButton* command2_;
};
