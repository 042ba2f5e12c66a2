// Rules for single files: text bytes, block-file structure, resource-catalogue
// structure and picture pixels.
#include "game/contentcheck/contentcheck.h"

#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/platform/image.h"
#include "datafiles/blockfile.h"
#include "datafiles/rcmfile.h"

#include <cctype>
#include <cstdint>
#include <map>
#include <regex>

namespace contentcheck {

// ---- text bytes ----

void CheckTextBytes(Context& ctx, const std::string& path, const std::string& bytes)
{
    if (bytes.empty())
        return;
    const bool utf8Bom = bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
                         static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF;
    int line = 1;
    bool crReported = false, nonAsciiReported = false;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\r' && !crReported) {
            ctx.Error(path, line, "carriage return: lines must end with a line feed only (LF)");
            crReported = true;
        } else if (c >= 0x80 && !utf8Bom && !nonAsciiReported) {
            ctx.Error(path, line,
                      "byte " + std::to_string(c) +
                          " is not ASCII: the file must be ASCII, or UTF-8 beginning with a byte-order mark");
            nonAsciiReported = true;
        }
        if (c == '\n')
            ++line;
    }
    if (bytes.back() != '\n')
        ctx.Error(path, line, "the last line has no line feed");
}

// ---- block files ----

namespace {

// The parser reports its errors on the console as "ERROR (Line l Char c): text!".
std::vector<std::pair<int, std::string>> ParserErrors(const std::string& text, const std::string& path)
{
    std::vector<std::string> lines;
    platform::SetLogSink([&lines](const std::string& l) { lines.push_back(l); });
    ParseBlockText(text, path);
    platform::SetLogSink({});
    std::vector<std::pair<int, std::string>> out;
    static const std::regex re(R"(^ERROR \(Line (\d+) Char (\d+)\): (.*)!$)");
    for (const std::string& l : lines) {
        std::smatch m;
        if (std::regex_match(l, m, re))
            out.emplace_back(std::stoi(m[1]), m[3].str() + " (column " + m[2].str() + ")");
    }
    return out;
}

bool IsRole(const TToken& t, int role) { return t.MyType == role; }

} // namespace

std::vector<BlockEntry> CheckBlockFile(Context& ctx, const std::string& path)
{
    std::vector<BlockEntry> entries;
    auto text = platform::TryReadTextFile(path);
    if (!text) {
        ctx.Error(path, 0, "cannot be read");
        return entries;
    }
    const std::vector<TToken> tokens = TokenCreator::CreateTokens(*text);

    struct Open {
        std::string name;
        int line;
    };
    std::vector<Open> stack;
    bool expectOpen = false;
    for (size_t i = 0; i < tokens.size();) {
        const TToken& t = tokens[i];
        if (IsRole(t, TK_BLOCKNAME)) {
            if (t.T == "\n") {
                const int braceLine = i + 1 < tokens.size() ? tokens[i + 1].Line : t.Line + 1;
                ctx.Error(path, braceLine, "a block's name must stand on the same line as its '{'");
            }
            std::string name = t.T == "\n" ? std::string("(unnamed)") : t.T;
            for (char& ch : name)
                ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            stack.push_back({name, t.Line});
            expectOpen = true;
            ++i;
            continue;
        }
        if (IsRole(t, TK_OPEN)) {
            if (!expectOpen) {
                ctx.Error(path, t.Line, "'{' without a block name before it");
                stack.push_back({"(unnamed)", t.Line});
            }
            expectOpen = false;
            ++i;
            continue;
        }
        expectOpen = false;
        if (IsRole(t, TK_CLOSE)) {
            if (stack.empty())
                ctx.Error(path, t.Line, "'}' closes no block: everything after it is ignored");
            else
                stack.pop_back();
            ++i;
            continue;
        }
        if (!IsRole(t, TK_KEY)) {
            ++i;
            continue;
        }
        // An entry: key = value, value, ... up to the line end (a "}" stays for the block).
        BlockEntry e;
        for (const Open& o : stack)
            e.blocks.push_back(o.name);
        e.key = t.T;
        for (char& ch : e.key)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        e.line = t.Line;
        bool inQuotes = false, present = false;
        ++i;
        while (i < tokens.size()) {
            const TToken& v = tokens[i];
            if (IsRole(v, TK_CLOSE))
                break;
            ++i;
            if (IsRole(v, TK_END))
                break;
            if (IsRole(v, TK_QUOTE)) {
                inQuotes = !inQuotes;
                if (!inQuotes && !present) {
                    e.values.emplace_back();
                    present = true;
                }
                continue;
            }
            if (IsRole(v, TK_COMMA)) {
                present = false;
                continue;
            }
            if (IsRole(v, TK_EQUALS))
                continue; // a misplaced "=" is reported by the parser
            if (present) {
                ctx.Error(path, v.Line,
                          "'" + v.T + "' follows a value of '" + e.key + "' without a comma and is lost");
                continue;
            }
            if (!v.quoted && v.GetEntryType() == BV_TEXT)
                ctx.Error(path, v.Line,
                          "text value '" + v.T + "' of '" + e.key + "' must be written in double quotes");
            e.values.push_back(v.T);
            present = true;
        }
        for (const std::string& value : e.values)
            if (Context::IsGamePath(value)) {
                const std::string target = ctx.DataPath(value);
                ctx.RequireFile(target, path, e.line, Context::KindOfFile(target));
            }
        entries.push_back(std::move(e));
    }
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
        ctx.Error(path, it->line, "block '" + it->name + "' is never closed: its '}' is missing");

    // Comment lines: words that stand before a key or a block name on the same
    // line are ignored by the reader, so a comment must not hold "=", "{" or "}".
    std::map<int, std::vector<const TToken*>> byLine;
    for (const TToken& t : tokens)
        if (!IsRole(t, TK_END))
            byLine[t.Line].push_back(&t);
    for (const auto& [line, toks] : byLine) {
        const TToken& first = *toks.front();
        if (!IsRole(first, TK_TEXT) || first.quoted)
            continue;
        for (const TToken* t : toks)
            if (IsRole(*t, TK_EQUALS) || IsRole(*t, TK_OPEN) || IsRole(*t, TK_CLOSE)) {
                ctx.Error(path, line,
                          "comment text '" + first.T + "' on a line with '=', '{' or '}': words before a key or "
                          "block name are ignored, and comment lines must not hold '=', '{' or '}'");
                break;
            }
    }

    for (const auto& [line, message] : ParserErrors(*text, path))
        ctx.Error(path, line, message);
    return entries;
}

std::map<std::string, int> BlockPathLines(const std::string& text)
{
    std::map<std::string, int> out;
    struct Open {
        std::string path;                 // of this block
        std::map<std::string, int> count; // blocks of each name opened inside it so far
    };
    std::vector<Open> stack(1);
    std::string pending; // a block name waiting for its "{"
    int pendingLine = 0;
    auto lower = [](std::string s) {
        for (char& ch : s)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        return s;
    };
    auto join = [](const std::string& parent, const std::string& name) {
        return parent.empty() ? name : parent + "::" + name;
    };
    for (const TToken& t : TokenCreator::CreateTokens(text)) {
        if (IsRole(t, TK_BLOCKNAME)) {
            pending = t.T == "\n" ? std::string("(unnamed)") : lower(t.T);
            pendingLine = t.Line;
            continue;
        }
        if (IsRole(t, TK_OPEN)) {
            const std::string name = pending.empty() ? std::string("(unnamed)") : pending;
            const int n = ++stack.back().count[name];
            const std::string path = join(stack.back().path, name + " " + std::to_string(n));
            out.emplace(path, pending.empty() ? t.Line : pendingLine);
            stack.push_back({path, {}});
            pending.clear();
            continue;
        }
        pending.clear();
        if (IsRole(t, TK_CLOSE)) {
            if (stack.size() > 1)
                stack.pop_back();
        } else if (IsRole(t, TK_KEY)) {
            out.emplace(join(stack.back().path, lower(t.T)), t.Line);
        }
    }
    return out;
}

int BlockPathLine(const std::map<std::string, int>& lines, const std::string& path)
{
    std::string p;
    for (char ch : path)
        p += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    while (!p.empty()) {
        if (auto it = lines.find(p); it != lines.end())
            return it->second;
        const size_t cut = p.rfind("::");
        p = cut == std::string::npos ? std::string() : p.substr(0, cut);
    }
    return 0;
}

// ---- resource-catalogue files ----

void CheckCatalogueFile(Context& ctx, const std::string& path)
{
    auto text = platform::TryReadTextFile(path);
    if (!text) {
        ctx.Error(path, 0, "cannot be read");
        return;
    }
    const size_t problemsBefore = ctx.Problems().size();
    // Braces, counted outside double quotes: unequal counts make the reader drop
    // the whole file.
    std::vector<int> open;
    int line = 1, opens = 0, closes = 0, firstStray = 0;
    bool inQuotes = false;
    for (char c : *text) {
        if (c == '"')
            inQuotes = !inQuotes;
        else if (c == '\n')
            ++line;
        else if (!inQuotes && c == '{') {
            ++opens;
            open.push_back(line);
        } else if (!inQuotes && c == '}') {
            ++closes;
            if (open.empty()) {
                if (firstStray == 0)
                    firstStray = line;
            } else
                open.pop_back();
        }
    }
    if (firstStray != 0)
        ctx.Error(path, firstStray, "'}' closes no group");
    for (int l : open)
        ctx.Error(path, l, "group opened here is never closed");
    if (opens != closes)
        ctx.Error(path, 0,
                  "unbalanced braces ('{' " + std::to_string(opens) + ", '}' " + std::to_string(closes) +
                      "): the reader ignores the whole file");

    // Lines.
    static const std::regex textValue(R"(^ "[^"]*"$)");
    size_t start = 0;
    line = 0;
    while (start < text->size()) {
        size_t end = text->find('\n', start);
        if (end == std::string::npos)
            end = text->size();
        std::string l = text->substr(start, end - start);
        start = end + 1;
        ++line;
        auto trim = [](const std::string& s) {
            size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
            return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
        };
        const std::string t = trim(l);
        const size_t eq = l.find('=');
        if (eq == std::string::npos) {
            // Only braces, or a group name directly before its "{".
            if (t.empty() || t.find_first_not_of("{} \t") == std::string::npos || t.back() == '{')
                continue;
            ctx.Error(path, line,
                      "text outside an entry ('" + t + "'): the reader glues it into the next group's name; a "
                      "group's name must stand on the line of its '{'");
            continue;
        }
        std::string valueText = l.substr(eq + 1);
        if (valueText.find('=') != std::string::npos) {
            ctx.Error(path, line, "more than one '=': everything after the second one is lost");
            valueText = valueText.substr(0, valueText.find('='));
        }
        const std::string v = trim(valueText);
        if (v.empty()) {
            ctx.Error(path, line, "entry '" + trim(l.substr(0, eq)) + "' has no value");
            continue;
        }
        if ((v[0] >= '0' && v[0] <= '9') || v[0] == '-')
            continue; // number entry
        // Text entry: " \"a\"", then ", \"b\"" ...: split at commas outside quotes.
        std::vector<std::string> pieces;
        std::string cur;
        bool q = false;
        for (char c : valueText) {
            if (c == '"')
                q = !q;
            if (c == ',' && !q) {
                pieces.push_back(cur);
                cur.clear();
            } else
                cur += c;
        }
        pieces.push_back(cur);
        for (const std::string& piece : pieces) {
            if (!std::regex_match(piece, textValue)) {
                ctx.Error(path, line,
                          "text values must be written as key = \"a\", \"b\" (one blank before each quoted "
                          "text, nothing after it): '" + trim(piece) + "'");
                break;
            }
            // The reader takes the text between the quotes; a game-folder path must exist.
            const std::string value = piece.substr(2, piece.size() - 3);
            if (Context::IsGamePath(value)) {
                const std::string target = ctx.DataPath(value);
                ctx.RequireFile(target, path, line, Context::KindOfFile(target));
            }
        }
    }
    // The reader's own complaints (deep nesting, empty number values, ...), for
    // faults the line rules above did not already name.
    if (ctx.Problems().size() == problemsBefore) {
        std::vector<std::string> logged;
        platform::SetLogSink([&logged](const std::string& l) { logged.push_back(l); });
        TRCMFile reader;
        reader.LoadText(*text, path);
        platform::SetLogSink({});
        const std::string prefix = "Napotkano problem : ";
        for (const std::string& l : logged)
            if (l.rfind(prefix, 0) == 0)
                ctx.Error(path, 0, "the catalogue reader reports: " + l.substr(prefix.size()));
    }
}

// ---- pictures ----

void CheckPictureFile(Context& ctx, const std::string& path)
{
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;
    if (!platform::DecodeImageFile(path, w, h, rgba)) {
        ctx.Error(path, 0, "cannot be decoded as a PNG or JPEG picture");
        return;
    }
    long black = 0, firstX = -1, firstY = -1;
    for (long i = 0; i < static_cast<long>(w) * h; ++i) {
        const uint8_t* p = &rgba[static_cast<size_t>(i) * 4];
        if (p[3] != 0 && p[0] == 0 && p[1] == 0 && p[2] == 0) {
            if (black++ == 0) {
                firstX = i % w;
                firstY = i / w;
            }
        }
    }
    if (black > 0)
        ctx.Error(path, 0,
                  std::to_string(black) + " visible pixel" + (black == 1 ? " is" : "s are") +
                      " pure black (first at " + std::to_string(firstX) + ", " + std::to_string(firstY) +
                      "): default image flags make pure black transparent; draw it as (1,1,1) or lighter");
}

} // namespace contentcheck
