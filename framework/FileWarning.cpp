#include "framework/FileWarning.h"

#include <cstring>

#include "framework/ModalRunner.h"

std::string FileFailureText(const std::string& action, const std::string& path, int error) {
    std::string text = action + " " + path + ".";
    if (error != 0)
        text += std::string("\n") + std::strerror(error);
    return text;
}

void WarnFileFailure(const std::string& action, const std::string& path, int error) {
    ModalRunner::Get().MessageBox(FileFailureText(action, path, error), "Warning",
                                  MB_OK | MB_ICONEXCLAMATION);
}
