#include "framework/IconRegistry.h"

#include <map>

namespace {

std::map<int, IconPainter>& Painters() {
    static std::map<int, IconPainter> painters;
    return painters;
}

} // namespace

void RegisterIcon(int id, IconPainter painter) {
    Painters()[id] = painter;
}

QPixmap RegisteredIcon(int id, int size) {
    auto it = Painters().find(id);
    return it == Painters().end() || !it->second ? QPixmap() : it->second(size);
}
