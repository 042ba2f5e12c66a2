// Text splitting used by the data-file readers and the word wrapper.
//
// All splitters work on UTF-8 bytes; separators and quote characters are
// compared as whole strings, so multi-byte characters work as separators too.
#pragma once

#include <string>
#include <vector>

namespace gui {

// Splits at every occurrence of `c` (normally one character). Empty pieces
// between adjacent separators and a leading empty piece are kept; a final empty
// piece (text ending with the separator, or empty text) is dropped.
//   SplitAtChar("a,,b", ",") -> "a", "", "b"     SplitAtChar("a,b,", ",") -> "a", "b"
// An empty separator splits nothing: the text comes back as one piece (no
// pieces for empty text).
std::vector<std::string> SplitAtChar(const std::string& text, const std::string& c);

// SplitAtChar at a blank: two adjacent blanks give an empty word.
std::vector<std::string> SplitWords(const std::string& text);

// SplitAtChar at a line feed; carriage returns stay in the pieces.
std::vector<std::string> SplitLines(const std::string& text);

// Splits at every occurrence of `separator` (any length) outside quotes.
// `open` and `close` are one-character quote strings; when either is empty
// there is no quoting. Quote characters are dropped from the pieces; inside
// quotes the separator is an ordinary character; with the same character for
// open and close it toggles quoting. A close quote outside quotes is dropped
// too, and an open quote inside quotes (when the two differ) is kept.
// Every piece is emitted, empty ones included, except an empty last piece.
//   SplitString("level::data", "::")                  -> "level", "data"
//   SplitString("key=\"a|b\"|c", "|", "\"", "\"")    -> "key=a|b", "c"
// An empty separator splits nothing: the text comes back as one piece (quotes
// still removed), or no pieces when that piece is empty.
std::vector<std::string> SplitString(const std::string& text, const std::string& separator,
                                     const std::string& open = "", const std::string& close = "");

} // namespace gui
