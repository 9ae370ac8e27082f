// Boxes of a link session shown only where nothing can re-enter; see heldprompter.h.
#include "link/heldprompter.h"

void HeldPrompter::message(const QString& title, const QString& text) {
    waiting_.push_back({title, text});
    if (!procedureRunning_()) {
        flush();
    }
}

void HeldPrompter::flush() {
    // A message raised while earlier ones are shown joins the queue being worked off.
    if (flushing_) {
        return;
    }
    flushing_ = true;
    while (!waiting_.empty()) {
        const Waiting next = waiting_.front();
        waiting_.erase(waiting_.begin());
        hold([&] {
            shown_.message(next.title, next.text);
            return 0;
        });
    }
    flushing_ = false;
}

bool HeldPrompter::question(const QString& title, const QString& text) {
    return hold([&] { return shown_.question(title, text); });
}

QString HeldPrompter::saveFileName(const QString& caption, const QString& directory,
                                   const QString& proposedName, const QString& filter) {
    return hold([&] { return shown_.saveFileName(caption, directory, proposedName, filter); });
}

QString HeldPrompter::openFileName(const QString& caption, const QString& directory,
                                   const QString& filter) {
    return hold([&] { return shown_.openFileName(caption, directory, filter); });
}
