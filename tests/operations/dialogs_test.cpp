// The dialogs' widgets without a screen: names, captions and accessible names, what each shows
// on opening, the recording dialog's controls following its setup, and the registration that
// lets the status refresh close an open dialog.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "harness.h"
#include "operations/dialogparts.h"
#include "operations/namedialog.h"
#include "operations/portdialog.h"
#include "operations/qtdialoghost.h"
#include "operations/recordingdialog.h"
#include "operations/versiondialog.h"

namespace {

using namespace optest;

template <typename T = QWidget>
T* child(const QWidget& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

class DialogsTest : public ::testing::Test {
  protected:
    void SetUp() override { messages.fillEnglish(); }
    MessageTable messages;
    ScriptedPrompter prompter;
};

TEST_F(DialogsTest, RecordingDialogNamesEveryControlAndSpeaksTheUncaptionedOnes) {
    RecordingSetup setup(messages, prompter, kModelQM320);
    LoggerState state;
    DataSet header;
    header.interval = 45;
    setup.load(state, header, kModelQM320);
    RecordingDialog dialog(setup, messages, nullptr);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("Form12"));
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Recording Setting"));
    for (const char* name : {"Option1", "Option2", "Option3", "Option4", "Option5", "Option6",
                             "Option7", "Option8", "Check1", "Command1", "Command2"}) {
        auto* button = child<QAbstractButton>(dialog, name);
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->text().isEmpty()) << name;
    }
    const struct {
        const char* name;
        const char* spoken;
    } uncaptioned[] = {
        {"Text1", "Recognition name"},           {"Combo2", "Record interval"},
        {"VScroll1", "Upper bound temperature"}, {"VScroll2", "Lower bound temperature"},
        {"VScroll3", "Reserved date"},           {"VScroll4", "Reserved hour"},
        {"VScroll5", "Reserved minute"}};
    for (const auto& control : uncaptioned) {
        auto* widget = child(dialog, control.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->accessibleName(), QLatin1String(control.spoken));
    }
    for (const char* frame :
         {"Frame1", "Frame2", "Frame3", "Frame4", "Frame5", "Frame7", "Frame10"}) {
        child<QGroupBox>(dialog, frame);
    }
    EXPECT_EQ(child<QComboBox>(dialog, "Combo2")->currentText(), QStringLiteral("45"));
    EXPECT_EQ(child<QLabel>(dialog, "Label23")->text(), QStringLiteral("Sec"));
    EXPECT_FALSE(child<QComboBox>(dialog, "Combo2")->isEditable());
}

TEST_F(DialogsTest, RecordingDialogFollowsItsSetup) {
    RecordingSetup setup(messages, prompter, kModelQM320);
    LoggerState state;
    DataSet header;
    header.upperBound = 30;
    header.lowerBound = 10;
    setup.load(state, header, kModelQM300);
    RecordingDialog dialog(setup, messages, nullptr);
    EXPECT_TRUE(child(dialog, "Frame5")->isHidden());

    // The up arrow raises a bound; moving the upper one down to the lower pushes that below.
    auto* upper = child<UpScrollBar>(dialog, "VScroll1");
    upper->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(setup.upper(), 31);
    upper->setUpValue(10);
    EXPECT_EQ(child<QLabel>(dialog, "Label1")->text(), QStringLiteral("10°C"));
    EXPECT_EQ(child<UpScrollBar>(dialog, "VScroll2")->upValue(), 9);
    EXPECT_EQ(child<QLabel>(dialog, "Label2")->text(), QStringLiteral("9°C"));

    child<QRadioButton>(dialog, "Option5")->click();
    auto* counts = child<QComboBox>(dialog, "Combo2");
    EXPECT_EQ(counts->itemText(0), QStringLiteral("2"));
    EXPECT_EQ(counts->currentText(), QStringLiteral("30"));
    EXPECT_EQ(child<QLabel>(dialog, "Label23")->text(), QStringLiteral("Sec"));

    auto* hour = child<UpScrollBar>(dialog, "VScroll4");
    EXPECT_FALSE(hour->isEnabled());
    child<QCheckBox>(dialog, "Check1")->click();
    EXPECT_TRUE(hour->isEnabled());
    EXPECT_EQ(child<QPushButton>(dialog, "Command1")->text(), QStringLiteral("Reservation"));
    hour->setUpValue(23);
    hour->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(hour->upValue(), 0);
    EXPECT_EQ(child<QLabel>(dialog, "Label6")->text(), QStringLiteral("00"));

    // Tomorrow, so the wrapped hour is still ahead.
    child<UpScrollBar>(dialog, "VScroll3")->setUpValue(1);
    child<QLineEdit>(dialog, "Text1")->setText(QStringLiteral("AB"));
    child<QPushButton>(dialog, "Command1")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.request());
    EXPECT_EQ(dialog.request()->name, QStringLiteral("AB"));
    EXPECT_EQ(dialog.request()->unit, kUnitSeconds);
    EXPECT_TRUE(dialog.request()->reservedStart);
}

TEST_F(DialogsTest, NameDialogSetsOnEnterAndRestoresARefusedName) {
    NameField field(QStringLiteral("LAB1"), 253, messages, prompter, kModelQM320);
    NameDialog dialog(field, messages, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Recognition name setting"));
    EXPECT_EQ(child<QGroupBox>(dialog, "Frame1")->title(), QStringLiteral("Recognition name"));
    EXPECT_EQ(child<QPushButton>(dialog, "Command1")->text(), QStringLiteral("Set"));
    auto* box = child<QLineEdit>(dialog, "Text1");
    EXPECT_EQ(box->text(), QStringLiteral("LAB1"));
    EXPECT_EQ(box->maxLength(), 4);
    box->setText(QStringLiteral("A*"));
    emit box->returnPressed();
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(box->text(), QStringLiteral("LAB1"));
    EXPECT_EQ(box->selectedText(), QStringLiteral("LAB1"));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    box->setText(QStringLiteral("AB"));
    emit box->returnPressed();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.name(), QStringLiteral("AB"));
}

TEST_F(DialogsTest, CommunicationDialogWhileConnectedOffersOffline) {
    const struct {
        bool connected;
        int port;
        const char* button;
        const char* shown;
    } cases[] = {{true, 3, "Offline", "3"}, {false, 16, "Online", "16"}};
    for (const auto& c : cases) {
        PortDialog dialog({c.connected, c.port}, messages, nullptr);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Communication"));
        EXPECT_EQ(child<QPushButton>(dialog, "Command3")->text(), QLatin1String(c.button));
        EXPECT_EQ(child<QPushButton>(dialog, "Command1")->text(), QStringLiteral("Cancel"));
        auto* list = child<QComboBox>(dialog, "Combo1");
        EXPECT_EQ(list->isEnabled(), !c.connected);
        EXPECT_EQ(list->count(), 16);
        EXPECT_EQ(list->currentText(), QLatin1String(c.shown));
        EXPECT_EQ(dialog.port(), c.port);
    }
}

TEST_F(DialogsTest, VersionDialogWithoutFirmwareHasNoHardwareLine) {
    for (const QString& hardware : {QString(), QStringLiteral("Hardware    Ver.1.05")}) {
        const VersionTexts texts{QStringLiteral("Version"), kModelQM320,        hardware,
                                 messages.text(261),        messages.text(262), messages.text(263)};
        VersionDialog dialog(texts, messages, nullptr);
        EXPECT_EQ(child(dialog, "Label4")->isHidden(), hardware.isEmpty());
        EXPECT_EQ(child<QLabel>(dialog, "Label4")->text(), hardware);
        EXPECT_EQ(child<QLabel>(dialog, "Label3")->text(), kModelQM320);
        EXPECT_TRUE(child(dialog, "Label2")->isHidden());
        EXPECT_EQ(child<QPushButton>(dialog, "Command_ok")->text(), QStringLiteral("OK"));
    }
}

// An open dialog is registered, so the refresh at the end of a procedure closes it.
TEST(DialogHost, StatusRefreshClosesTheOpenDialog) {
    Harness h;
    QtDialogHost host(h.window.get(), h.controls, h.messages);
    QObject* registered = nullptr;
    QTimer::singleShot(0, [&] {
        registered = h.controls.object(ControlId::Form6);
        h.refresh();
    });
    EXPECT_FALSE(host.clockSetting());
    ASSERT_NE(registered, nullptr);
    EXPECT_EQ(registered->objectName(), QStringLiteral("Form6"));
    EXPECT_EQ(h.controls.object(ControlId::Form6), nullptr);
}

}  // namespace
