#include "framework/Application.h"
#include "resources/ProgramResources.h"
#include "shell/KestruneApp.h"

int main(int argc, char** argv) {
    FrameworkApplication app(argc, argv);
    RegisterProgramResources();
    CKestruneApp theApp;
    theApp.InitInstance();
    return theApp.GetExitCode();
}
