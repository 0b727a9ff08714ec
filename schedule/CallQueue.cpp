#include "schedule/CallQueue.h"

bool CallQueue::Add(int site) {
    for (int& slot : slots) {
        if (slot == site)
            return true;
        if (slot == 0) {
            slot = site;
            return true;
        }
    }
    return false;
}

int CallQueue::TakeFirst() {
    const int site = slots[0];
    for (int i = 0; i < kQueueSlots - 1 && slots[i] != 0; ++i)
        slots[i] = slots[i + 1];
    slots[kQueueSlots - 1] = 0;
    return site;
}

bool CallQueue::Contains(int site) const {
    for (int slot : slots) {
        if (slot == site)
            return true;
        if (slot == 0)
            break;
    }
    return false;
}

int CallQueue::Count() const {
    int n = 0;
    while (n < kQueueSlots && slots[n] != 0)
        ++n;
    return n;
}

void CallQueue::Clear() {
    for (int& slot : slots)
        slot = 0;
}
