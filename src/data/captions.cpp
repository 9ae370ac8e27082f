// The dialogs' caption tables and their application; see captions.h.
#include "data/captions.h"

#include <QVariant>

namespace {

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

bool hasProperty(const QObject* object, const char* property) {
    return object->metaObject()->indexOfProperty(property) >= 0;
}

}  // namespace

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
    if (captions.title >= 0) {
        dialog->setProperty("windowTitle", messages.text(captions.title));
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
