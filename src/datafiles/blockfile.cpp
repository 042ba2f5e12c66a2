#include "datafiles/blockfile.h"

#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "datafiles/numbers.h"

#include <cfloat>
#include <charconv>
#include <cmath>

using datafiles::EqualsNoCase;
using datafiles::Trim;

// ---- TBlockFile ----

int TBlockFile::isIndex(int i) const { return i >= 0 && i < GetSize() ? 1 : 0; }

PBlockFile TBlockFile::isBlock(const std::string& childName) const
{
    for (const auto& child : SubFiles)
        if (child && EqualsNoCase(child->name, childName))
            return child;
    return nullptr;
}

PBlockFile TBlockFile::GetBlock(const std::string& childName) const
{
    if (auto found = isBlock(childName))
        return found;
    return std::make_shared<TBlockFile>();
}

PBlockFile TBlockFile::GetBlockNO_NEW(const std::string& childName) const { return isBlock(childName); }

std::string TBlockFile::GetString(int i) const { return isIndex(i) ? Value[static_cast<size_t>(i)] : std::string(); }

float TBlockFile::GetFloat(int i) const { return isIndex(i) ? datafiles::ParseFloat(Value[static_cast<size_t>(i)]) : 0.0f; }

int TBlockFile::GetInt(int i) const { return isIndex(i) ? datafiles::ParseInt(Value[static_cast<size_t>(i)]) : 0; }

int TBlockFile::GetBool(int i) const
{
    if (!isIndex(i))
        return 0;
    const std::string v = datafiles::AsciiUpper(Trim(Value[static_cast<size_t>(i)]));
    if (v == "TRUE")
        return 1;
    if (v == "FALSE")
        return 0;
    return datafiles::ParseInt(v);
}

void TBlockFile::AddBlock(PBlockFile node)
{
    if (node)
        SubFiles.push_back(std::move(node));
}

void TBlockFile::AddEntry(const std::string& value, int i, int type)
{
    if (i < 0)
        return;
    if (i >= GetSize())
        Resize(i + 1);
    Value[static_cast<size_t>(i)] = value;
    typ[static_cast<size_t>(i)] = type;
}

void TBlockFile::Resize(int n)
{
    if (n < 0)
        n = 0;
    Value.resize(static_cast<size_t>(n));
    typ.resize(static_cast<size_t>(n), BV_TEXT);
}

int TBlockFile::GetSize() const { return static_cast<int>(Value.size()); }

namespace {

std::string Quoted(const std::string& value)
{
    std::string out = "\"";
    for (char c : value) {
        if (c == '"')
            out += "\"\""; // doubled: read back as one double quote
        else
            out += c;
    }
    out += '"';
    return out;
}

bool IsSeparator(char c)
{
    return c == ' ' || c == ',' || c == '\t' || c == '=' || c == '{' || c == '}' || c == '\\' || c == ';';
}

// A word that reads back as one unquoted token.
bool IsPlainWord(const std::string& v)
{
    if (v.empty())
        return false;
    for (char c : v)
        if (IsSeparator(c) || c == '"' || datafiles::IsBlank(c))
            return false;
    return true;
}

std::string ValueText(const std::string& value, int type)
{
    switch (type) {
    case BV_INT:
        return datafiles::FormatInt(datafiles::ParseInt(value));
    case BV_FLOAT:
        return datafiles::FormatFloat9(datafiles::ParseFloat(value));
    case BV_BOOL:
        return IsPlainWord(value) ? value : Quoted(value);
    default:
        return Quoted(value);
    }
}

} // namespace

std::string TBlockFile::ToString2(const std::string& indent) const
{
    std::string out;
    AppendText(out, indent);
    return out;
}

// Appends to one string, so deep trees are written in linear time.
void TBlockFile::AppendText(std::string& out, const std::string& indent) const
{
    if (MyType == 0) {
        out += indent;
        out += name;
        out += "{\n";
        const std::string inner = indent + "\t";
        for (const auto& child : SubFiles)
            if (child)
                child->AppendText(out, inner);
        out += indent;
        out += "}\n";
    } else if (MyType == 1 && !Value.empty()) {
        out += indent;
        out += name;
        out += " = ";
        for (size_t i = 0; i < Value.size(); ++i) {
            if (i > 0)
                out += ", ";
            out += ValueText(Value[i], i < typ.size() ? typ[i] : BV_TEXT);
        }
        out += "\n";
    }
}

bool TBlockFile::IsWritable(std::string* what) const
{
    if (MyType == 1) {
        for (const auto& v : Value) {
            if (v.find('\n') != std::string::npos) {
                if (what)
                    *what = name;
                return false;
            }
        }
    }
    for (const auto& child : SubFiles)
        if (child && !child->IsWritable(what))
            return false;
    return true;
}

// ---- Tokenizer ----

int TToken::GetEntryType() const
{
    const std::string t = Trim(T);
    if (t.empty())
        return BV_TEXT;
    const std::string upper = datafiles::AsciiUpper(t);
    if (upper == "TRUE" || upper == "FALSE")
        return BV_BOOL;
    // A number is an optional leading "-", digits and at most one ".". Anything
    // else stays text, so that writing the value back never changes it into a
    // different number ("1.2.3", "-", "1 2" or an integer beyond the int range).
    bool dot = false, digit = false;
    for (size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.' && !dot)
            dot = true;
        else if (c == '-' && i == 0)
            continue;
        else
            return BV_TEXT;
    }
    if (!digit)
        return BV_TEXT;
    if (dot) {
        double v = 0.0;
        const char* b = t.data() + (t[0] == '-' ? 1 : 0);
        const auto r = std::from_chars(b, t.data() + t.size(), v, std::chars_format::fixed);
        return r.ec == std::errc() && std::fabs(v) <= FLT_MAX ? BV_FLOAT : BV_TEXT;
    }
    long long v = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    return r.ec == std::errc() && v >= INT32_MIN && v <= INT32_MAX ? BV_INT : BV_TEXT;
}

namespace {

class Tokenizer {
public:
    std::vector<TToken> tokens;

    void Run(const std::string& text)
    {
        const size_t n = text.size();
        for (size_t i = 0; i < n; ++i) {
            const char c = text[i];
            if (c == '\r' && (i + 1 == n || text[i + 1] == '\n'))
                continue; // CR LF reads as LF
            if (c == '"') {
                if (inQuotes_ && i + 1 < n && text[i + 1] == '"') {
                    Collect(c); // "" inside quotes is one double quote
                    ++i;
                    column_ += 2;
                    continue;
                }
                Flush();
                Add("\"", TK_QUOTE, column_);
                inQuotes_ = !inQuotes_;
                ++column_;
            } else if (c == '\n') {
                Flush();
                Add("\n", TK_END, column_);
                ++line_;
                column_ = 1;
                // An entry never continues on the next line, so an unmatched
                // quote does not swallow the rest of the file.
                inQuotes_ = false;
            } else if (!inQuotes_ && IsSeparator(c)) {
                Flush();
                Add(std::string(1, c), RoleOf(c), column_);
                ++column_;
            } else {
                Collect(c);
                if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
                    ++column_; // columns count characters, not UTF-8 bytes
            }
        }
        Flush();
    }

private:
    int line_ = 1;
    int column_ = 1;
    bool inQuotes_ = false;
    std::string collected_;
    int collectedColumn_ = 1;
    bool collectedQuoted_ = false;
    bool hasLast_ = false;

    static int RoleOf(char c)
    {
        switch (c) {
        case ',': return TK_COMMA;
        case '=': return TK_EQUALS;
        case '{': return TK_OPEN;
        case '}': return TK_CLOSE;
        case ';': return TK_END;
        default: return TK_TEXT;
        }
    }

    void Collect(char c)
    {
        if (collected_.empty()) {
            collectedColumn_ = column_;
            collectedQuoted_ = inQuotes_;
        }
        collected_ += c;
    }

    void Flush()
    {
        if (collected_.empty())
            return;
        std::string t;
        t.swap(collected_);
        Add(std::move(t), TK_TEXT, collectedColumn_, collectedQuoted_);
    }

    void Add(std::string text, int role, int column, bool quoted = false)
    {
        // Blank tokens are dropped, except line ends and text between quotes.
        if (role != TK_END || text != "\n") {
            bool blank = true;
            for (char c : text)
                blank = blank && datafiles::IsBlank(c);
            if (blank && !quoted)
                return;
        }
        TToken tok;
        tok.Char = column;
        tok.Line = line_;
        tok.T = std::move(text);
        tok.MyType = role;
        tok.quoted = quoted;
        if (hasLast_) {
            TToken& prev = tokens.back();
            // A name stands directly before its "{" (a line end there becomes
            // the name, so the brace belongs on the name's line); a key stands
            // directly before its "=". Only plain words take those roles.
            if (role == TK_OPEN && (prev.MyType == TK_TEXT || prev.MyType == TK_END))
                prev.MyType = TK_BLOCKNAME;
            else if (role == TK_EQUALS && prev.MyType == TK_TEXT)
                prev.MyType = TK_KEY;
        }
        tokens.push_back(std::move(tok));
        hasLast_ = true;
    }
};

} // namespace

std::vector<TToken> TokenCreator::CreateTokens(const std::string& text)
{
    Tokenizer t;
    t.Run(text);
    return std::move(t.tokens);
}

// ---- Parser ----

struct TBlockParser::State {
    const std::vector<TToken>& tokens;
    size_t pos = 0;
    std::string file;
    bool named = false;
};

void TBlockParser::ParseError(const TToken& token, const std::string& message)
{
    platform::Log("ERROR (Line " + std::to_string(token.Line) + " Char " + std::to_string(token.Char) + "): " + message +
                  "!");
}

void TBlockParser::Error(State& st, const TToken& token, const std::string& message)
{
    if (!st.file.empty() && !st.named) {
        platform::Log("Errors in block file: " + st.file);
        st.named = true;
    }
    ParseError(token, message);
}

PBlockFile TBlockParser::Parse(const std::string& name, const std::vector<TToken>& tokens, const std::string& file)
{
    BlockFile->MyType = 0;
    BlockFile->name = datafiles::AsciiUpper(name);
    State st{tokens, 0, file, false};
    ParseBlock(st, *BlockFile, 0);
    return BlockFile;
}

void TBlockParser::ParseBlock(State& st, TBlockFile& block, int depth)
{
    const auto& tokens = st.tokens;
    while (st.pos < tokens.size()) {
        const TToken& tok = tokens[st.pos++];
        switch (tok.MyType) {
        case TK_BLOCKNAME:
            if (depth + 1 > kMaxDepth) {
                Error(st, tok, "Blocks nested too deeply (more than " + std::to_string(kMaxDepth) + ")");
                // Skip the whole block, its own braces counted.
                int open = 0;
                while (st.pos < tokens.size()) {
                    const int role = tokens[st.pos++].MyType;
                    if (role == TK_OPEN)
                        ++open;
                    else if (role == TK_CLOSE && --open <= 0)
                        break;
                }
            } else {
                auto child = std::make_shared<TBlockFile>();
                child->name = datafiles::AsciiUpper(tok.T);
                block.AddBlock(child);
                ParseBlock(st, *child, depth + 1);
            }
            break;
        case TK_KEY:
            ParseEntry(st, block, tok.T);
            break;
        case TK_CLOSE:
            return;
        default:
            break; // "{", comments, blank lines, stray quotes and commas
        }
    }
}

void TBlockParser::ParseEntry(State& st, TBlockFile& block, const std::string& key)
{
    auto entry = std::make_shared<TBlockFile>();
    entry->MyType = 1;
    entry->name = datafiles::AsciiLower(key);
    block.AddBlock(entry);

    const auto& tokens = st.tokens;
    bool equalsSeen = false, present = false, inQuotes = false;
    int index = 0;
    while (st.pos < tokens.size()) {
        const TToken& tok = tokens[st.pos];
        if (tok.MyType == TK_CLOSE)
            return; // the "}" belongs to the block
        ++st.pos;
        if (tok.MyType == TK_END)
            return;
        if (tok.MyType == TK_QUOTE) {
            inQuotes = !inQuotes;
            if (!inQuotes) {
                // An empty "" is a value of its own.
                if (equalsSeen && !present && !entry->isIndex(index))
                    entry->AddEntry("", index, BV_TEXT);
                present = true;
            }
            continue;
        }
        if (!equalsSeen && tok.MyType != TK_EQUALS) {
            Error(st, tok, "No '=' character");
            return;
        }
        if (equalsSeen && tok.MyType == TK_EQUALS) {
            Error(st, tok, "Character '=' found again in the same entry");
            return;
        }
        if (tok.MyType == TK_COMMA && !present) {
            Error(st, tok, "Coma (',') before data entry");
            return;
        }
        if (tok.MyType == TK_EQUALS) {
            equalsSeen = true;
            continue;
        }
        if (tok.MyType == TK_COMMA) {
            ++index;
            present = false;
            continue;
        }
        if (present)
            return; // a second word without a comma ends the entry
        entry->AddEntry(tok.T, index, tok.GetEntryType());
        present = true;
    }
}

// ---- Global operations ----

PBlockFile ParseBlockText(const std::string& text, const std::string& name)
{
    TBlockParser parser;
    return parser.Parse(name, TokenCreator::CreateTokens(text), name);
}

PBlockFile LoadBlockFile(const std::string& path)
{
    auto text = platform::TryReadTextFile(path);
    if (!text) {
        platform::Log("Cannot read block file: " + path);
        auto root = std::make_shared<TBlockFile>();
        root->name = datafiles::AsciiUpper(path);
        return root;
    }
    return ParseBlockText(*text, path);
}

PBlockFile NewBlock(const std::string& name, TBlockFile* parent)
{
    auto node = std::make_shared<TBlockFile>();
    node->name = name;
    if (parent)
        parent->AddBlock(node);
    return node;
}

PBlockFile AddBlockEntry(TBlockFile& node, const std::string& key)
{
    auto entry = std::make_shared<TBlockFile>();
    entry->MyType = 1;
    entry->name = key;
    node.AddBlock(entry);
    return entry;
}

std::string BlockFileText(const TBlockFile& root)
{
    std::string out;
    for (const auto& child : root.SubFiles)
        if (child)
            child->AppendText(out, "");
    return out;
}

bool SaveBlockFile(const TBlockFile& root)
{
    std::string what;
    if (!root.IsWritable(&what)) {
        platform::Log("Cannot save file: " + root.name + " (a value of '" + what + "' holds a line break)");
        return false;
    }
    return platform::SaveText(BlockFileText(root), root.name);
}

namespace {

// Splits off the first name of a "::" path; a single ":" is dropped.
void SplitPath(const std::string& path, std::string& first, std::string& rest)
{
    first.clear();
    rest.clear();
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == ':') {
            if (i + 1 < path.size() && path[i + 1] == ':') {
                rest = path.substr(i + 2);
                break;
            }
            continue;
        }
        first += path[i];
    }
    first = Trim(first);
    rest = Trim(rest);
}

PBlockFile Find(const PBlockFile& node, const std::string& path, bool create)
{
    PBlockFile current = node;
    std::string remaining = path, first, rest;
    while (true) {
        SplitPath(remaining, first, rest);
        PBlockFile step = current ? current->isBlock(first) : nullptr;
        if (!step) {
            if (!create)
                return nullptr;
            return std::make_shared<TBlockFile>();
        }
        if (rest.empty())
            return step;
        current = step;
        remaining.swap(rest);
    }
}

} // namespace

PBlockFile FindBlock(const PBlockFile& node, const std::string& path) { return Find(node, path, true); }
PBlockFile FindBlockOrNull(const PBlockFile& node, const std::string& path) { return Find(node, path, false); }
int BlockExists(const PBlockFile& node, const std::string& path) { return FindBlockOrNull(node, path) ? 1 : 0; }

std::string GetBlockString(const PBlockFile& node, const std::string& path, int i) { return FindBlock(node, path)->GetString(i); }
float GetBlockFloat(const PBlockFile& node, const std::string& path, int i) { return FindBlock(node, path)->GetFloat(i); }
int GetBlockInt(const PBlockFile& node, const std::string& path, int i) { return FindBlock(node, path)->GetInt(i); }

namespace {
PBlockFile SetEntry(TBlockFile& node, const std::string& key, const std::string& value, int i, int forceNew, int type)
{
    PBlockFile target = node.isBlock(key);
    if (!target || forceNew == 1)
        target = NewBlock(key, &node);
    target->MyType = 1;
    target->AddEntry(value, i, type);
    return target;
}
} // namespace

PBlockFile SetBlockString(TBlockFile& node, const std::string& key, const std::string& value, int i, int forceNew)
{
    return SetEntry(node, key, value, i, forceNew, BV_TEXT);
}

PBlockFile SetBlockFloat(TBlockFile& node, const std::string& key, float value, int i, int forceNew)
{
    return SetEntry(node, key, datafiles::FormatFloat9(value), i, forceNew, BV_FLOAT);
}

PBlockFile SetBlockInt(TBlockFile& node, const std::string& key, int value, int i, int forceNew)
{
    return SetEntry(node, key, datafiles::FormatInt(value), i, forceNew, BV_INT);
}

std::vector<PBlockFile> GetSubBlocks(const TBlockFile& node, const std::string& blockName)
{
    std::vector<PBlockFile> out;
    for (const auto& child : node.SubFiles)
        if (child && child->MyType == 0 && EqualsNoCase(child->name, blockName))
            out.push_back(child);
    return out;
}

std::vector<PBlockFile> GetAllSubBlocks(const TBlockFile& node)
{
    std::vector<PBlockFile> out;
    for (const auto& child : node.SubFiles)
        if (child && child->MyType == 0)
            out.push_back(child);
    return out;
}

std::vector<PBlockFile> GetEntries(const TBlockFile& node, const std::string& key)
{
    std::vector<PBlockFile> out;
    for (const auto& child : node.SubFiles)
        if (child && child->MyType != 0 && (key.empty() || EqualsNoCase(child->name, key)))
            out.push_back(child);
    return out;
}
