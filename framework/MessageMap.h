// A small per-class table from control notifications (code, id range) to
// handlers, searched in order like a message map.
#pragma once

#include "framework/WinTypes.h"

struct NMHDR;

template <class T> struct MessageMapEntry {
    UINT code;
    int firstId;
    int lastId;
    void (T::*handler)();
    void (T::*handlerWithId)(UINT id);
    void (T::*handlerWithData)(NMHDR* payload) = nullptr;
};

template <class T> constexpr MessageMapEntry<T> OnNotify(UINT code, int id, void (T::*handler)()) {
    return {code, id, id, handler, nullptr};
}

template <class T>
constexpr MessageMapEntry<T> OnNotifyRange(UINT code, int firstId, int lastId,
                                           void (T::*handler)(UINT id)) {
    return {code, firstId, lastId, nullptr, handler};
}

// A notification with a payload (see CWnd::OnNotify).
template <class T>
constexpr MessageMapEntry<T> OnNotifyData(UINT code, int id, void (T::*handler)(NMHDR* payload)) {
    return {code, id, id, nullptr, nullptr, handler};
}

// Runs the first entry that matches; false when none does.
template <class T, std::size_t N>
bool DispatchNotify(T* self, const MessageMapEntry<T> (&map)[N], UINT id, UINT code,
                    NMHDR* payload = nullptr) {
    for (const MessageMapEntry<T>& e : map) {
        if (e.code != code || int(id) < e.firstId || int(id) > e.lastId)
            continue;
        if ((e.handlerWithData != nullptr) != (payload != nullptr))
            continue;
        if (e.handlerWithData)
            (self->*e.handlerWithData)(payload);
        else if (e.handler)
            (self->*e.handler)();
        else
            (self->*e.handlerWithId)(id);
        return true;
    }
    return false;
}
