#include "schedule/CallQueue.h"

bool CallQueue::Add(int site) {
    for (int& slot : entries) {
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
    const int site = entries[0];
    for (int i = 0; i < kQueueSlots - 1 && entries[i] != 0; ++i)
        entries[i] = entries[i + 1];
    entries[kQueueSlots - 1] = 0;
    return site;
}

bool CallQueue::Contains(int site) const {
    for (int slot : entries) {
        if (slot == site)
            return true;
        if (slot == 0)
            break;
    }
    return false;
}

bool CallQueue::Remove(int site) {
    for (int i = 0; i < kQueueSlots && entries[i] != 0; ++i) {
        if (entries[i] != site)
            continue;
        for (; i < kQueueSlots - 1 && entries[i] != 0; ++i)
            entries[i] = entries[i + 1];
        entries[kQueueSlots - 1] = 0;
        return true;
    }
    return false;
}

int CallQueue::Count() const {
    int n = 0;
    while (n < kQueueSlots && entries[n] != 0)
        ++n;
    return n;
}

void CallQueue::Clear() {
    for (int& slot : entries)
        slot = 0;
}
