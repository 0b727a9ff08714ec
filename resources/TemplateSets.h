// Each page's dialog templates, added to the one table of templates.
#pragma once

#include <map>

#include "framework/Template.h"

void AddSelectTemplates(std::map<int, DialogTemplate>& templates);
void AddPlotTemplates(std::map<int, DialogTemplate>& templates);
void AddScheduleTemplates(std::map<int, DialogTemplate>& templates);
void AddUpgradeTemplates(std::map<int, DialogTemplate>& templates);

// Registers all of them with the framework.
void RegisterTemplates();
