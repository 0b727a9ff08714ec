// A small per-class table from control notifications (code, id range) to
// handlers, searched in order like a message map.
#pragma once

#include "framework/WinTypes.h"

template <class T> struct MessageMapEntry {
    UINT code;
    int firstId;
    int lastId;
    void (T::*handler)();
    void (T::*handlerWithId)(UINT id);
};

template <class T> constexpr MessageMapEntry<T> OnNotify(UINT code, int id, void (T::*handler)()) {
    return {code, id, id, handler, nullptr};
}

template <class T>
constexpr MessageMapEntry<T> OnNotifyRange(UINT code, int firstId, int lastId,
                                           void (T::*handler)(UINT id)) {
    return {code, firstId, lastId, nullptr, handler};
}

// Runs the first entry that matches; false when none does.
template <class T, std::size_t N>
bool DispatchNotify(T* self, const MessageMapEntry<T> (&map)[N], UINT id, UINT code) {
    for (const MessageMapEntry<T>& e : map) {
        if (e.code != code || int(id) < e.firstId || int(id) > e.lastId)
            continue;
        if (e.handler)
            (self->*e.handler)();
        else
            (self->*e.handlerWithId)(id);
        return true;
    }
    return false;
}
