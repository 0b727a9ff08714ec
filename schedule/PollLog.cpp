#include "schedule/PollLog.h"

#include "framework/Files.h"
#include "framework/Text.h"
#include "schedule/ScheduleStatus.h"
#include "schedule/ScheduleTime.h"

std::string FormatLogStart(const LocalTime& now, int site, const char* name, const char* phone,
                           int attempt) {
    char month[4];
    MonthName(month, now.month);
    return Format("%02d-%s-%04d %02d:%02d:%02d  Site#%03d  %20.20s  %15s  Attempt#%d  ", now.day,
                  month, now.year, now.hour, now.minute, now.second, site, name ? name : "",
                  phone ? phone : "", attempt);
}

std::string FormatLogResult(char status) {
    return std::string(LogResultText(status)) + " \r\n";
}

bool AppendToLog(const std::string& path, const std::string& piece) {
    CFile file;
    if (!file.Open(path, CFile::modeReadWrite | CFile::modeCreate | CFile::modeNoTruncate |
                             CFile::typeBinary))
        return false;
    file.SeekToEnd();
    return file.Write(piece);
}
