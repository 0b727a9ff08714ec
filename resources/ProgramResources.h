// Hands the program's templates, icons and strings to the framework; called
// once at start-up, before the first window.
#pragma once

void RegisterProgramResources();
