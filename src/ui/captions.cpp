// Caption tables of the main window and dialogs, and their application to widgets by name.
#include "ui/captions.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

namespace {

constexpr CaptionBinding kMainWindow[] = {
    {"Frame11", 50},    {"Frame8", 51},     {"Option5", 52},    {"Option6", 53},  {"Option7", 54},
    {"Option8", 55},    {"Option9", 56},    {"Frame13", 100},   {"Label9", 101},  {"Label11", 102},
    {"Label18", 103},   {"Label22", 104},   {"Label20", 105},   {"Label47", 106}, {"Label31", 107},
    {"Label32", 108},   {"Command11", 109}, {"Command5", 110},  {"Frame14", 111}, {"Command4", 112},
    {"Frame15", 113},   {"Command21", 114}, {"Command24", 115}, {"Frame6", 150},  {"Command1", 151},
    {"Command2", 152},  {"Frame9", 153},    {"Option4", 154},   {"Option3", 155}, {"Label28", 156},
    {"Frame1", 157},    {"Label13", 158},   {"Label1", 159},    {"Label5", 160},  {"Frame16", 161},
    {"Command22", 162}, {"Command23", 163}, {"Frame12", 200},   {"Label38", 201}, {"Label42", 202},
    {"Label44", 203},   {"Label25", 204},   {"Label53", 205},   {"Label52", 206}, {"Frame17", 207},
    {"Command14", 208}, {"Command25", 209},
};

constexpr CaptionBinding kForm2[] = {{"Frame1", 250}, {"Command1", 251}};
constexpr CaptionBinding kForm5[] = {{"Frame1", 270}, {"Command3", 271}, {"Command1", 272}};
constexpr CaptionBinding kForm6[] = {{"Frame1", 280}, {"Command1", 281}};
constexpr CaptionBinding kForm9[] = {{"Command1", 300}, {"Command2", 301}, {"Frame1", 302}};
constexpr CaptionBinding kForm10[] = {
    {"Command1", 310}, {"Command2", 311}, {"Frame3", 312}, {"Label1", 313}, {"Frame1", 314}};
constexpr CaptionBinding kForm12[] = {
    {"Frame1", 321},   {"Frame7", 322},   {"Option7", 323}, {"Option8", 324}, {"Frame10", 325},
    {"Option6", 326},  {"Option5", 327},  {"Label23", 328}, {"Frame5", 329},  {"Frame3", 330},
    {"Option1", 331},  {"Option2", 332},  {"Frame2", 333},  {"Option3", 334}, {"Option4", 335},
    {"Frame4", 336},   {"Check1", 337},   {"Label5", 338},  {"Label6", 339},  {"Label7", 340},
    {"Command1", 341}, {"Command2", 342},
};

// Sets the caption of the object if its kind has one.
bool setCaption(QObject* object, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(object)) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(object)) {
        group->setTitle(text);
    } else if (auto* menu = qobject_cast<QMenu*>(object)) {
        menu->setTitle(text);
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        action->setText(text);
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::span<const CaptionBinding> mainWindowCaptions() {
    return kMainWindow;
}

DialogCaptions form2Captions() {
    return {"Form2", -1, kForm2};
}

DialogCaptions form5Captions() {
    return {"Form5", -1, kForm5};
}

DialogCaptions form6Captions() {
    return {"Form6", -1, kForm6};
}

DialogCaptions form9Captions() {
    return {"Form9", 303, kForm9};
}

DialogCaptions form10Captions() {
    return {"Form10", 315, kForm10};
}

DialogCaptions form12Captions() {
    return {"Form12", 320, kForm12};
}

int applyCaptions(QWidget* root, std::span<const CaptionBinding> bindings,
                  const MessageTable& messages) {
    if (root == nullptr) {
        return 0;
    }
    int applied = 0;
    for (const CaptionBinding& binding : bindings) {
        QObject* target = root->findChild<QObject*>(QLatin1String(binding.control));
        if (target != nullptr && setCaption(target, messages.text(binding.message))) {
            ++applied;
        }
    }
    return applied;
}

int applyDialogCaptions(QWidget* dialog, const DialogCaptions& captions,
                        const MessageTable& messages) {
    if (dialog == nullptr) {
        return 0;
    }
    if (captions.title >= 0) {
        dialog->setWindowTitle(messages.text(captions.title));
    }
    return applyCaptions(dialog, captions.controls, messages);
}

int applyLabelPlacements(QWidget* root, const MessageTable& messages) {
    if (root == nullptr) {
        return 0;
    }
    int applied = 0;
    for (const LabelPlacement& placement : messages.labelPlacements()) {
        auto* label = root->findChild<QWidget*>(QLatin1String(placement.label));
        if (label == nullptr) {
            continue;
        }
        const int pixels = twipsToPixels(placement.twips);
        if (placement.edge == LabelPlacement::Edge::Left) {
            label->move(pixels, label->y());
        } else {
            label->move(label->x(), pixels);
        }
        ++applied;
    }
    return applied;
}
