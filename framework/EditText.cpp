#include "framework/EditText.h"

#include <algorithm>

namespace {

std::string WithoutCr(const std::string& bytes) {
    std::string shown;
    shown.reserve(bytes.size());
    for (char c : bytes) {
        if (c != '\r')
            shown.push_back(c);
    }
    return shown;
}

} // namespace

EditText::Change EditText::SetText(const std::string& bytes) {
    Change change;
    change.shownPos = 0;
    change.removed = ShownIndex(Length());
    m_text = bytes;
    m_crCount = int(std::count(m_text.begin(), m_text.end(), '\r'));
    change.inserted = WithoutCr(m_text);
    m_selStart = m_selEnd = 0;
    return change;
}

void EditText::SetSel(int start, int end) {
    const int len = Length();
    if (start < 0)
        start = len;
    if (end < 0)
        end = len;
    start = std::clamp(start, 0, len);
    end = std::clamp(end, 0, len);
    m_selStart = std::min(start, end);
    m_selEnd = std::max(start, end);
}

void EditText::GetSel(int* start, int* end) const {
    *start = m_selStart;
    *end = m_selEnd;
}

EditText::Change EditText::ReplaceSel(const std::string& bytes) {
    Change change;
    const int removedBytes = m_selEnd - m_selStart;
    const int room = std::max(0, m_limit - (Length() - removedBytes));
    const std::string inserted =
        bytes.substr(0, std::min<std::size_t>(bytes.size(), std::size_t(room)));
    change.shownPos = ShownIndex(m_selStart);
    change.removed = ShownIndex(m_selEnd) - change.shownPos;
    change.inserted = WithoutCr(inserted);
    m_crCount += int(std::count(inserted.begin(), inserted.end(), '\r')) -
                 int(std::count(m_text.begin() + m_selStart, m_text.begin() + m_selEnd, '\r'));
    m_text.replace(std::size_t(m_selStart), std::size_t(removedBytes), inserted);
    m_selStart = m_selEnd = m_selStart + int(inserted.size());
    return change;
}

int EditText::GetLineCount() const {
    return 1 + int(std::count(m_text.begin(), m_text.end(), '\n'));
}

int EditText::LineFromChar(int index) const {
    if (index < 0)
        index = m_selStart;
    index = std::clamp(index, 0, Length());
    return int(std::count(m_text.begin(), m_text.begin() + index, '\n'));
}

int EditText::LineIndex(int line) const {
    if (line < 0)
        line = LineFromChar(-1);
    int pos = 0;
    for (int n = 0; n < line; ++n) {
        const std::size_t lf = m_text.find('\n', std::size_t(pos));
        if (lf == std::string::npos)
            return -1;
        pos = int(lf) + 1;
    }
    return pos;
}

std::string EditText::ShownText() const {
    return WithoutCr(m_text);
}

int EditText::CrBefore(int index) const {
    if (index <= Length() / 2)
        return int(std::count(m_text.begin(), m_text.begin() + index, '\r'));
    return m_crCount - int(std::count(m_text.begin() + index, m_text.end(), '\r'));
}

int EditText::ShownIndex(int index) const {
    index = std::clamp(index, 0, Length());
    return index - CrBefore(index);
}
