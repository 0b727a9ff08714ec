// The program's resources as the framework sees them: dialog templates that
// the program registers at start-up, looked up by id. The framework holds
// none of its own. No Qt in here.
#pragma once

#include <vector>

#include "framework/Template.h"

// Adds or replaces the template with `tmpl.id`.
void RegisterDialogTemplate(const DialogTemplate& tmpl);
// The ids of every registered template, ascending.
std::vector<int> RegisteredTemplateIds();
