// Hands the program's templates and icons to the framework; called
// once at start-up, before the first window.
#pragma once

void RegisterProgramResources();
