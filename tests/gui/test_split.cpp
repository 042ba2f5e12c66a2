// The text splitters the data readers use: pieces kept and dropped at the
// ends, separators of any length, quoting, and empty separators (which split
// nothing instead of looping).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/split.h"

namespace {

using Pieces = std::vector<std::string>;

TEST(SplitAtChar, PiecesBetweenAndAroundSeparators)
{
    struct Case {
        std::string text, sep;
        Pieces want;
    };
    const Case cases[] = {
        {"a,,b", ",", {"a", "", "b"}},
        {"a,b,", ",", {"a", "b"}},
        {"", ",", {}},
        {",a", ",", {"", "a"}},
        {",,", ",", {"", ""}},
        {"abc", ",", {"abc"}},
        {"a\xC2\xB7" "b", "\xC2\xB7", {"a", "b"}}, // a two-byte character as separator
        {"abc", "", {"abc"}},                      // an empty separator splits nothing
        {"", "", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gui::SplitAtChar(c.text, c.sep), c.want) << "\"" << c.text << "\" at \"" << c.sep << "\"";
}

TEST(SplitAtChar, WordsAndLinesKeepEmptyPiecesAndCarriageReturns)
{
    EXPECT_EQ(gui::SplitWords("one  two three"), (Pieces{"one", "", "two", "three"}));
    EXPECT_EQ(gui::SplitWords(" lead"), (Pieces{"", "lead"}));
    EXPECT_EQ(gui::SplitLines("first\r\nsecond\n\nfourth\n"), (Pieces{"first\r", "second", "", "fourth"}));
}

TEST(SplitString, SeparatorsAndQuotes)
{
    struct Case {
        const char* what;
        std::string text, sep, open, close;
        Pieces want;
    };
    const Case cases[] = {
        {"quoted separator", "key=\"a|b\"|c", "|", "\"", "\"", {"key=a|b", "c"}},
        {"two-character separator", "level::data", "::", "", "", {"level", "data"}},
        {"single colon is no separator", "a:b::c", "::", "", "", {"a:b", "c"}},
        {"text ends in part of the separator", "a::b:", "::", "", "", {"a", "b:"}},
        {"empty pieces between separators", "a||b", "|", "", "", {"a", "", "b"}},
        {"leading separator", "::a", "::", "", "", {"", "a"}},
        {"final separator drops the empty end", "a::", "::", "", "", {"a"}},
        {"empty quoted piece is still a piece", "\"\"|a", "|", "\"", "\"", {"", "a"}},
        {"different quote characters", "(a|b)|c", "|", "(", ")", {"a|b", "c"}},
        {"open quote inside quotes is kept", "(a(b)|c", "|", "(", ")", {"a(b", "c"}},
        {"close quote outside quotes is dropped", "a)b|c", "|", "(", ")", {"ab", "c"}},
        {"no quoting when a quote string is empty", "\"a|b\"", "|", "\"", "", {"\"a", "b\""}},
        {"quotes at the very end with a long separator", "\"x\"::\"y\"", "::", "\"", "\"", {"x", "y"}},
        {"unclosed quote swallows the separators", "a|\"b|c", "|", "\"", "\"", {"a", "b|c"}},
        {"empty text", "", "|", "\"", "\"", {}},
        {"empty separator: one piece, quotes removed", "a\"b|c\"d", "", "\"", "\"", {"ab|cd"}},
        {"empty separator on empty text", "", "", "", "", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gui::SplitString(c.text, c.sep, c.open, c.close), c.want) << c.what;
}

} // namespace
