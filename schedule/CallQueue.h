// The call queue: up to 100 site numbers in calling order from slot 0, 0
// marking an empty slot; the filled entries always form one run from slot 0.
// No Qt in here.
#pragma once

constexpr int kQueueSlots = 100;

struct CallQueue {
    int entries[kQueueSlots] = {};

    // Appends `site` unless it is already queued; a full queue drops it.
    // True when the site is in the queue afterwards.
    bool Add(int site);
    // Takes slot 0 out (0 when empty); the others move up.
    int TakeFirst();
    int First() const { return entries[0]; }
    bool Contains(int site) const;
    // Takes `site` out wherever it stands; false when it was not queued.
    bool Remove(int site);
    int Count() const;
    void Clear();
};
