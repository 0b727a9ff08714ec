// The program's resources as the framework sees them: dialog templates and
// strings that the program registers at start-up, looked up by id. The
// framework holds none of its own. No Qt in here.
#pragma once

#include <string>
#include <vector>

#include "framework/Template.h"

// Adds or replaces the template with `tmpl.id`.
void RegisterDialogTemplate(const DialogTemplate& tmpl);
// The ids of every registered template, ascending.
std::vector<int> RegisteredTemplateIds();

void RegisterString(int id, const std::string& text);
// The registered string; empty when there is none.
std::string LoadResourceString(int id);
