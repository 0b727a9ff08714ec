#include <gtest/gtest.h>

#include "framework/EditText.h"
#include "framework/Text.h"

namespace {

TEST(EditTextTest, LinesBreakAfterLfAndLoneCrShowsNothing) {
    EditText t;
    t.SetText("ab\r\ncd\nef\rgh");
    EXPECT_EQ(t.GetLineCount(), 3);
    EXPECT_EQ(t.LineFromChar(0), 0);
    EXPECT_EQ(t.LineFromChar(2), 0); // the CR of CR LF ends line 0
    EXPECT_EQ(t.LineFromChar(4), 1);
    EXPECT_EQ(t.LineFromChar(7), 2);
    EXPECT_EQ(t.LineIndex(1), 4);
    EXPECT_EQ(t.LineIndex(2), 7);
    EXPECT_EQ(t.LineIndex(3), -1);
    EXPECT_EQ(t.ShownText(), "ab\ncd\nefgh");
    EXPECT_EQ(t.ShownIndex(4), 3);
    EXPECT_EQ(t.ShownIndex(t.Length()), 10);
}

TEST(EditTextTest, ReplaceSelReportsTheShownChangeAndKeepsCountsRight) {
    EditText t;
    t.SetText("x\r\ny\r\n");
    t.SetSel(-1, -1);
    EditText::Change c = t.ReplaceSel("z\r\r\n");
    EXPECT_EQ(c.shownPos, 4);
    EXPECT_EQ(c.removed, 0);
    EXPECT_EQ(c.inserted, "z\n");
    EXPECT_EQ(t.Text(), "x\r\ny\r\nz\r\r\n");

    // Removing the front (trimming) takes its CRs out of the shown text.
    t.SetSel(0, 3);
    c = t.ReplaceSel("");
    EXPECT_EQ(c.shownPos, 0);
    EXPECT_EQ(c.removed, 2);
    EXPECT_EQ(t.Text(), "y\r\nz\r\r\n");
    // Shown indexes near the end use the running CR count.
    EXPECT_EQ(t.ShownIndex(t.Length()), int(t.ShownText().size()));
    EXPECT_EQ(t.ShownIndex(5), 3);

    // Backspace over a CR changes nothing shown.
    t.SetSel(t.Length() - 2, t.Length() - 1);
    c = t.ReplaceSel("");
    EXPECT_EQ(c.removed, 0);
    EXPECT_EQ(t.Text(), "y\r\nz\r\n");
}

TEST(EditTextTest, LimitCutsWhatWouldNotFit) {
    EditText t;
    t.SetLimitText(10);
    t.SetText("12345678"); // setting the text is not limited
    t.SetSel(-1, -1);
    t.ReplaceSel("abcdef");
    EXPECT_EQ(t.Text(), "12345678ab");
    t.SetSel(0, 4);
    t.ReplaceSel("XYZ");
    EXPECT_EQ(t.Text(), "XYZ5678ab");
    int start = 0;
    int end = 0;
    t.GetSel(&start, &end);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 3);
}

TEST(EditTextTest, Utf8KeptOtherBytesReadAsLatin1AndCutsAtCharacters) {
    // Well-formed sequences of 1 to 4 bytes stay as they are.
    const std::string text = "A\xC5\x8C\xE2\x82\xAC\xF0\x9F\x8C\x8A";
    EXPECT_EQ(Utf8FromBytes(text), text);
    // Latin-1, a lone continuation byte, an overlong form, a surrogate, a cut sequence.
    EXPECT_EQ(Utf8FromBytes("Caf\xE9"), "Caf\xC3\xA9");
    EXPECT_EQ(Utf8FromBytes("\x80"), "\xC2\x80");
    EXPECT_EQ(Utf8FromBytes("\xC0\xAF"), "\xC3\x80\xC2\xAF");
    EXPECT_EQ(Utf8FromBytes("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xC2\x80");
    EXPECT_EQ(Utf8FromBytes("\xE2\x82"), "\xC3\xA2\xC2\x82");

    const std::size_t expected[] = {0, 1, 1, 3, 3, 3, 6, 6, 6, 6, 10, 10};
    for (std::size_t limit = 0; limit < 12; ++limit)
        EXPECT_EQ(Utf8PrefixLength(text, limit), expected[limit]) << limit;
    // A byte that starts no sequence is one character.
    EXPECT_EQ(Utf8PrefixLength("ab\xE9\xE9", 3), 3u);
}

} // namespace
