#include "gui/split.h"

namespace gui {

std::vector<std::string> SplitAtChar(const std::string& text, const std::string& c)
{
    std::vector<std::string> pieces;
    if (c.empty()) {
        if (!text.empty())
            pieces.push_back(text);
        return pieces;
    }
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(c, start);
        if (at == std::string::npos)
            break;
        pieces.push_back(text.substr(start, at - start));
        start = at + c.size();
    }
    if (start < text.size())
        pieces.push_back(text.substr(start));
    return pieces;
}

std::vector<std::string> SplitWords(const std::string& text) { return SplitAtChar(text, " "); }

std::vector<std::string> SplitLines(const std::string& text) { return SplitAtChar(text, "\n"); }

std::vector<std::string> SplitString(const std::string& text, const std::string& separator,
                                     const std::string& open, const std::string& close)
{
    std::vector<std::string> pieces;
    const bool quoting = !open.empty() && !close.empty();
    // True when `s` stands in the text at `pos` (false where it would run past the end).
    const auto at = [&text](size_t pos, const std::string& s) {
        return pos + s.size() <= text.size() && text.compare(pos, s.size(), s) == 0;
    };

    std::string piece;
    bool inQuotes = false;
    size_t i = 0;
    while (i < text.size()) {
        // An empty separator would match everywhere without moving on; it
        // splits nothing. Near the end, where the separator no longer fits,
        // quote characters are still recognised.
        if (!separator.empty() && (!quoting || !inQuotes) && at(i, separator)) {
            pieces.push_back(piece);
            piece.clear();
            i += separator.size();
            continue;
        }
        if (quoting) {
            if (!inQuotes && at(i, open)) {
                inQuotes = true;
                i += open.size();
                continue;
            }
            if (at(i, close)) {
                inQuotes = false;
                i += close.size();
                continue;
            }
        }
        piece += text[i++];
    }
    if (!piece.empty())
        pieces.push_back(piece);
    return pieces;
}

} // namespace gui
