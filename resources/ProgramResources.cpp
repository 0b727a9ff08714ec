#include "resources/ProgramResources.h"

#include "resources/Icons.h"
#include "resources/TemplateSets.h"

void RegisterProgramResources() {
    RegisterTemplates();
    RegisterIcons();
}
