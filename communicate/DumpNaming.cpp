#include "communicate/DumpNaming.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "framework/Files.h"

long DumpNumberOf(const std::string& name, const std::string& prefix) {
    long number = 0;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (c < '0' || c > '9')
            break;
        number =
            number > (kMaxDumpNumber - (c - '0')) / 10 ? kMaxDumpNumber : number * 10 + (c - '0');
    }
    return number;
}

long NextDumpNumber(const std::vector<std::string>& names, const std::string& prefix) {
    long largest = 0;
    for (const std::string& name : names) {
        const long number = DumpNumberOf(name, prefix);
        if (number > largest)
            largest = number;
    }
    return largest < kMaxDumpNumber ? largest + 1 : kMaxDumpNumber;
}

std::string DumpFileName(const std::string& prefix, long number) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%03ld", number);
    return prefix + digits + ".plt";
}

std::string CreateNextDumpFile(const std::string& folder, const std::string& prefix, int* error) {
    long number = NextDumpNumber(FindFiles(folder, prefix + "*.plt"), prefix);
    // A name that appears between the search and the creation is passed by.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = DumpFileName(prefix, number);
        const int fd =
            ::open(JoinPath(folder, name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST || number >= kMaxDumpNumber)
            break;
        ++number;
    }
    if (error)
        *error = errno;
    return std::string();
}
