#include "communicate/CallSession.h"

#include <cstring>

#include "communicate/CommandEscapes.h"

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// `word` begins at `p` (which holds at least strlen(word) characters), in
// any letter case.
bool BeginsWith(const char* p, const char* word) {
    for (; *word; ++p, ++word)
        if (Lower(*p) != Lower(*word))
            return false;
    return true;
}

} // namespace

bool IsIncrementalDumpCommand(const char* text, bool* dumpWord) {
    *dumpWord = false;
    const std::size_t length = std::strlen(text);
    if (length < 6)
        return false;
    for (std::size_t start = 0; start <= length - 6; ++start) {
        const char* p = text + start;
        for (int k = 0; k < kDumpKindCount; ++k) {
            const char* word = DumpKindAt(k).word;
            if (!BeginsWith(p, word))
                continue;
            *dumpWord = true;
            // The word and its slash lie within the text: the start is at
            // least six characters before its end.
            if (p[std::strlen(word)] == '/')
                return true;
        }
    }
    return false;
}

std::string ExpandCaptureName(const char* templ, const LocalTime& now) {
    std::string name;
    auto two = [&name](int value) {
        value %= 100;
        if (value < 0)
            value = -value;
        name += char('0' + value / 10);
        name += char('0' + value % 10);
    };
    for (const char* p = templ; *p && name.size() < 97; ++p) {
        if (*p != '^' || p[1] == '\0') {
            name += *p;
            continue;
        }
        switch (p[1]) {
        case 'H':
            two(now.hour);
            break;
        case 'M':
            two(now.minute);
            break;
        case 'S':
            two(now.second);
            break;
        case 'D':
            two(now.day);
            break;
        case 'm':
            two(now.month);
            break;
        case 'Y':
            two(now.year);
            break;
        default:
            name += p[0];
            name += p[1];
            break;
        }
        ++p;
    }
    if (name.size() > 98)
        name.resize(98);
    return name;
}

bool IsFullCapturePath(const char* templ) {
    return templ[0] == '/' || std::strchr(templ, ':') != nullptr;
}

char ScanModemReply(const char* reply, int rxCount) {
    static const struct {
        const char* text;
        char result;
    } kReplies[] = {{"connect", '1'}, {"busy", '5'}, {"no carrier", '6'}, {"no dialtone", '7'}};
    int limit = rxCount - 4;
    if (limit < 0)
        limit = 2;
    if (limit > 90)
        limit = 90;
    // Offsets below 90 and words of at most 11 characters stay within the
    // 100 bytes.
    for (int offset = 0; offset < limit; ++offset)
        for (const auto& r : kReplies)
            if (BeginsWith(reply + offset, r.text))
                return r.result;
    return 0;
}
