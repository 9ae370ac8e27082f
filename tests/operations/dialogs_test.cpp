// The dialogs' widgets without a screen: spoken names of the uncaptioned controls, what each
// dialog shows on opening, the recording dialog following its setup, and the registration that
// lets the status refresh close an open dialog.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <stdexcept>

#include "harness.h"
#include "ui/dialogparts.h"
#include "ui/namedialog.h"
#include "ui/portdialog.h"
#include "ui/qtdialoghost.h"
#include "ui/recordingdialog.h"
#include "ui/setupcheckdialog.h"
#include "ui/versiondialog.h"

namespace {

using namespace optest;

template <typename T = QWidget>
T* child(const QWidget& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QLatin1String(name));
    if (found == nullptr) {
        ADD_FAILURE() << name;
        throw std::runtime_error(name);
    }
    return found;
}

QString text(const QWidget& dialog, const char* name) {
    return child<QLabel>(dialog, name)->text();
}

class DialogsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        messages.fillEnglish();
        header.upperBound = 30;
        header.lowerBound = 10;
    }
    MessageTable messages;
    ScriptedPrompter prompter;
    RecordingSetup setup{messages, prompter, kModelQM320};
    DataSet header;
};

TEST_F(DialogsTest, RecordingDialogFollowsItsSetup) {
    setup.load(LoggerState{}, header, kModelQM300);
    RecordingDialog dialog(setup, messages, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Recording Setting"));
    EXPECT_TRUE(child(dialog, "Frame5")->isHidden());
    const std::pair<const char*, const char*> spoken[] = {
        {"Text1", "Recognition name"},           {"Combo2", "Record interval"},
        {"VScroll1", "Upper bound temperature"}, {"VScroll2", "Lower bound temperature"},
        {"VScroll3", "Reserved date"},           {"VScroll4", "Reserved hour"},
        {"VScroll5", "Reserved minute"}};
    for (const auto& [name, expected] : spoken) {
        EXPECT_EQ(child(dialog, name)->accessibleName(), QLatin1String(expected));
    }

    // The up arrow raises a bound; the upper one moved down to the lower pushes that below.
    auto* upper = child<UpScrollBar>(dialog, "VScroll1");
    upper->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(setup.upper(), 31);
    upper->setUpValue(10);
    EXPECT_EQ(text(dialog, "Label1") + text(dialog, "Label2"), QStringLiteral("10°C9°C"));
    EXPECT_EQ(child<UpScrollBar>(dialog, "VScroll2")->upValue(), 9);

    child<QRadioButton>(dialog, "Option5")->click();
    auto* counts = child<QComboBox>(dialog, "Combo2");
    EXPECT_FALSE(counts->isEditable());
    EXPECT_EQ(counts->itemText(0) + " " + counts->currentText(), QStringLiteral("2 30"));
    EXPECT_EQ(text(dialog, "Label23"), QStringLiteral("Sec"));

    auto* hour = child<UpScrollBar>(dialog, "VScroll4");
    EXPECT_FALSE(hour->isEnabled());
    child<QCheckBox>(dialog, "Check1")->click();
    EXPECT_TRUE(hour->isEnabled());
    EXPECT_EQ(child<QPushButton>(dialog, "Command1")->text(), QStringLiteral("Reservation"));
    hour->setUpValue(23);
    hour->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(text(dialog, "Label6"), QStringLiteral("00"));

    // Tomorrow, so the wrapped hour is still ahead.
    child<UpScrollBar>(dialog, "VScroll3")->setUpValue(1);
    child<QLineEdit>(dialog, "Text1")->setText(QStringLiteral("AB"));
    child<QPushButton>(dialog, "Command1")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.request());
    EXPECT_EQ(dialog.request()->name, QStringLiteral("AB"));
    EXPECT_TRUE(dialog.request()->reservedStart);
}

TEST_F(DialogsTest, NameDialogSetsOnEnterAndRestoresARefusedName) {
    NameField field(QStringLiteral("LAB1"), Msg::NameLetterNotUsable, messages, prompter,
                    kModelQM320);
    NameDialog dialog(field, messages, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Recognition name setting"));
    auto* box = child<QLineEdit>(dialog, "Text1");
    box->setText(QStringLiteral("A*"));
    emit box->returnPressed();
    EXPECT_EQ(prompter.messages.size(), 1u);
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
    } cases[] = {{true, 3, "Offline"}, {false, 16, "Online"}};
    for (const auto& c : cases) {
        PortDialog dialog({c.connected, c.port}, messages, nullptr);
        EXPECT_EQ(child<QPushButton>(dialog, "Command3")->text(), QLatin1String(c.button));
        auto* list = child<QComboBox>(dialog, "Combo1");
        EXPECT_EQ(list->isEnabled(), !c.connected);
        EXPECT_EQ(list->count(), 16);
        EXPECT_EQ(list->currentText(), QString::number(c.port));
    }
}

TEST_F(DialogsTest, VersionDialogWithoutFirmwareHasNoHardwareLine) {
    for (const QString& hardware : {QString(), QStringLiteral("Hardware    Ver.1.05")}) {
        VersionDialog dialog({"Version", kModelQM320, hardware, "App", "Maker", "Web",
                              "Licensed under the MIT licence"},
                             messages, nullptr);
        EXPECT_EQ(child(dialog, "Label4")->isHidden(), hardware.isEmpty());
        EXPECT_EQ(text(dialog, "Label4"), hardware);
        EXPECT_EQ(text(dialog, "Label3"), kModelQM320);
        EXPECT_TRUE(child(dialog, "Label2")->isHidden());
        EXPECT_EQ(text(dialog, "licenceLabel"), QStringLiteral("Licensed under the MIT licence"));
    }
}

TEST_F(DialogsTest, SetupCheckDialogShowsTheFindingsReadOnly) {
    const QString report = QStringLiteral("[!!] No USB chip. Fix: plug it in.\n1 finding.\n");
    SetupCheckDialog dialog(QStringLiteral("Check setup"), report, messages, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Check setup"));
    auto* findings = child<QPlainTextEdit>(dialog, "setupFindings");
    EXPECT_EQ(findings->toPlainText(), report);
    EXPECT_TRUE(findings->isReadOnly());
    child<QPushButton>(dialog, "Command_ok")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// An open dialog is registered, so the refresh at the end of a procedure closes it.
TEST(DialogHost, StatusRefreshClosesTheOpenDialog) {
    Harness h;
    QtDialogHost host(h.window.get(), h.controls, h.messages);
    // The dialog is gone once clockSetting returns: its name is taken while it is open.
    QString registeredName;
    QTimer::singleShot(0, [&] {
        if (const QObject* registered = h.controls.object(ControlId::ClockDialog)) {
            registeredName = registered->objectName();
        }
        h.refresh();
    });
    EXPECT_FALSE(host.clockSetting());
    EXPECT_EQ(registeredName, QStringLiteral("Form6"));
    EXPECT_EQ(h.controls.object(ControlId::ClockDialog), nullptr);
}

}  // namespace
