// ScheduleStatus: one character that is both a call's result and a site's
// status in the list, "stat.cfg" and "log.txt". No Qt in here.
#pragma once

constexpr char STATUS_NONE = '0';
constexpr char STATUS_OK = '1';
constexpr char STATUS_NO_PHONE = '2';
constexpr char STATUS_NO_DATA = '3';
constexpr char STATUS_NO_ANSWER = '4';
constexpr char STATUS_BUSY = '5';
constexpr char STATUS_NO_CARRIER = '6';
constexpr char STATUS_NO_DIALTONE = '7';
constexpr char STATUS_MODEM_ERROR = '8';
constexpr char STATUS_DIRECT = '9';

// A code outside '1' to '9' becomes '0'.
char NormalizeStatus(char code);
// The Status column's text ("" for '0').
const char* StatusText(char code);
// The poll log's text of a site's status after a call.
const char* LogResultText(char code);
// '1' and '9' count as success, '2' to '8' as failure.
inline bool IsSuccessStatus(char code) {
    return code == STATUS_OK || code == STATUS_DIRECT;
}
inline bool IsFailureStatus(char code) {
    return code >= STATUS_NO_PHONE && code <= STATUS_MODEM_ERROR;
}
