#include "framework/FileFilter.h"

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t bar; (bar = text.find(separator, start)) != std::string::npos; start = bar + 1)
        parts.push_back(text.substr(start, bar - start));
    parts.push_back(text.substr(start));
    return parts;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

std::vector<std::string> FileFilterEntries(const std::string& filter) {
    const std::vector<std::string> parts = Split(filter, '|');
    std::vector<std::string> entries;
    for (std::size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) {
        std::string description = parts[i];
        const std::string& patterns = parts[i + 1];
        // The patterns are shown once, however the description was written.
        const std::string written = " (" + patterns + ")";
        if (EndsWith(description, written))
            description.resize(description.size() - written.size());
        std::string shown;
        for (std::size_t k = 0; k < patterns.size(); ++k) {
            if (patterns.compare(k, 3, "*.*") == 0) {
                shown += '*';
                k += 2;
            } else {
                shown += patterns[k] == ';' ? ' ' : patterns[k];
            }
        }
        entries.push_back(description + " (" + shown + ")");
    }
    return entries;
}
