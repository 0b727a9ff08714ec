// The text of an edit control as bytes, with the index rules of a Windows
// edit control: character index = byte, lines break after LF (so CR LF and a
// lone LF both end a line), a lone CR shows nothing. No Qt in here.
#pragma once

#include <cstddef>
#include <string>

class EditText {
public:
    static constexpr int kDefaultLimit = 32767;

    // What a change did to the shown text: `removed` shown characters at
    // `shownPos` were replaced by `inserted` (already without CR bytes).
    struct Change {
        int shownPos = 0;
        int removed = 0;
        std::string inserted;
    };

    const std::string& Text() const { return m_text; }
    int Length() const { return int(m_text.size()); }

    // Replaces everything (not limited, like WM_SETTEXT); the caret goes to 0.
    Change SetText(const std::string& bytes);
    // Clamped to the text; a negative end means the end of the text.
    void SetSel(int start, int end);
    void GetSel(int* start, int* end) const;
    // Replaces the selection; what would pass the limit is cut off.
    // The caret ends after the inserted bytes.
    Change ReplaceSel(const std::string& bytes);

    int GetLimitText() const { return m_limit; }
    void SetLimitText(int limit) { m_limit = limit > 0 ? limit : kDefaultLimit; }

    int GetLineCount() const;
    // Line holding character `index` (a negative index: the caret's line).
    int LineFromChar(int index) const;
    // First character of `line` (negative: the caret's line); -1 past the end.
    int LineIndex(int line) const;

    // The shown text: CR bytes dropped, every other byte one character.
    std::string ShownText() const;
    int ShownIndex(int index) const;

private:
    // CR bytes in [0, index), counted from whichever end is nearer.
    int CrBefore(int index) const;

    std::string m_text;
    int m_crCount = 0; // CR bytes in the whole text
    int m_selStart = 0;
    int m_selEnd = 0;
    int m_limit = kDefaultLimit;
};
