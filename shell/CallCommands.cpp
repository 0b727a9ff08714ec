#include "shell/CallCommands.h"

#include "framework/Text.h"

void CutCallCommand(const char* command, const char* file, const char* append, const char* form,
                    char* toCommand, char* toFile, char* toAppend, char* toForm) {
    BoundedCopy(toCommand, kCallCommandChars, command);
    BoundedCopy(toFile, kCallFileChars, file);
    BoundedCopy(toAppend, 1, append);
    BoundedCopy(toForm, 1, form);
}
