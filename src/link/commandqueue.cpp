// The command queue of one procedure.
#include "link/commandqueue.h"

bool CommandQueue::push(const CommandEntry& entry) {
    if (Count < 0 || Count >= kCapacity) {
        return false;
    }
    Entries[static_cast<std::size_t>(Count)] = entry;
    ++Count;
    return true;
}
