// The setup check dialog; see setupcheckdialog.h.
#include "ui/setupcheckdialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kWidthInCharacters = 90;
constexpr int kHeightInLines = 14;
}  // namespace

SetupCheckDialog::SetupCheckDialog(const QString& title, const QString& report,
                                   const MessageTable& messages, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("setupCheckDialog"));
    setModal(true);
    setWindowTitle(title);
    auto* findings = new QPlainTextEdit(report, this);
    findings->setObjectName(QStringLiteral("setupFindings"));
    findings->setReadOnly(true);
    findings->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // The fixes are commands: a fixed-pitch font keeps them as they are typed.
    findings->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics metrics(findings->font());
    findings->setMinimumSize(metrics.averageCharWidth() * kWidthInCharacters,
                             metrics.lineSpacing() * kHeightInLines);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok =
        buttons->addButton(messages.text(Msg::OkButton), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("Command_ok"));
    ok->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(findings);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    setTabOrder(findings, ok);
    ok->setFocus();
}
