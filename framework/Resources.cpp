#include "framework/Resources.h"

#include <map>

namespace {

std::map<int, DialogTemplate>& Templates() {
    static std::map<int, DialogTemplate> templates;
    return templates;
}

} // namespace

void RegisterDialogTemplate(const DialogTemplate& tmpl) {
    Templates()[tmpl.id] = tmpl;
}

const DialogTemplate* FindDialogTemplate(int id) {
    auto it = Templates().find(id);
    return it == Templates().end() ? nullptr : &it->second;
}

std::vector<int> RegisteredTemplateIds() {
    std::vector<int> ids;
    for (const auto& entry : Templates())
        ids.push_back(entry.first);
    return ids;
}
