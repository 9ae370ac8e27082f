// Items of the connection column's lists; a shown text that is not an item is kept visible.
#include "app/shelllists.h"

#include <QComboBox>
#include <QStringList>

#include "app/mainlayout.h"
#include "link/loggerstate.h"

namespace {

const QStringList kBaudRates = {"9600", "14400", "19200", "38400", "57600", "115200"};
const QStringList kModels = {kModelQM300, kModelQM320, kModelQM400};

QStringList numbers(int first, int last) {
    QStringList list;
    for (int i = first; i <= last; ++i) {
        list.append(QString::number(i));
    }
    return list;
}

// Shows `text` in a list; a text that is not one of the items is shown as the list's
// placeholder, as a list with free text would show it.
void setComboText(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    combo->setCurrentIndex(index);
    if (index < 0) {
        combo->setPlaceholderText(text);
    }
}

}  // namespace

void fillLineLists(const MainControls& controls, const QString& baud, const QString& model) {
    controls.baud->addItems(kBaudRates);
    setComboText(controls.baud, baud);
    controls.model->addItems(kModels);
    setComboText(controls.model, model);
}

void fillCountLists(const MainControls& controls) {
    controls.intervalCount->clear();
    controls.intervalCount->addItems(numbers(2, 59));
    setComboText(controls.intervalCount, QStringLiteral("5"));
    controls.selector->clear();
    controls.selector->addItems(numbers(1, 255));
    controls.measurementCount->clear();
    controls.measurementCount->addItems(numbers(2, 60));
    setComboText(controls.measurementCount, QStringLiteral("5"));
}
