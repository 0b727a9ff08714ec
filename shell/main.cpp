#include "framework/Application.h"
#include "shell/KestruneApp.h"

int main(int argc, char** argv) {
    FrameworkApplication app(argc, argv);
    CKestruneApp theApp;
    theApp.InitInstance();
    return theApp.GetExitCode();
}
