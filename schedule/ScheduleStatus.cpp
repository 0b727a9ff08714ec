#include "schedule/ScheduleStatus.h"

namespace {
const char* const kTexts[10] = {
    "",     "All OK",     "No Phone Number", "No Rxed Data",          "No Answer",
    "Busy", "No Carrier", "No Dialtone",     "Modem Error - Unknown", "Direct Connection Test"};
} // namespace

char NormalizeStatus(char code) {
    return (code >= '1' && code <= '9') ? code : STATUS_NONE;
}

const char* StatusText(char code) {
    return kTexts[NormalizeStatus(code) - '0'];
}

const char* LogResultText(char code) {
    if (code == STATUS_NONE)
        return "Disabled while connected";
    if (code == STATUS_OK)
        return "Connected OK";
    if (code >= '2' && code <= '9')
        return kTexts[code - '0'];
    return "???";
}
