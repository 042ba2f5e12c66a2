// Block files: text files of nested named blocks holding entries of the form
// key = value, value, ... . Most data files of the game (settings, screen object
// files, engine and level data, map catalogues, profiles) use this format.
//
//   Chips {
//       count = 5
//       names = "red", "green"
//   }
//
// Lookups never fail: a missing block, key or value gives an empty node, "" or 0,
// so readers state their defaults by simply reading.
#pragma once

#include <memory>
#include <string>
#include <vector>

class TBlockFile;
using PBlockFile = std::shared_ptr<TBlockFile>;

// Value types. They only decide how a value is written back.
enum TBlockValueType { BV_TEXT = 0, BV_INT = 1, BV_FLOAT = 2, BV_BOOL = 3 };

// One node: a block (MyType 0) or an entry (MyType 1).
class TBlockFile {
public:
    std::vector<PBlockFile> SubFiles; // children in file order, blocks and entries mixed
    int MyType = 0;                   // 0 block, 1 entry
    std::string name;                 // block name (upper-cased by the parser) or key (lower-cased)
    std::vector<std::string> Value;   // entry values
    std::vector<int> typ;             // type of each value (TBlockValueType)

    int isIndex(int i) const;
    // The first child (block or entry) of that name, ignoring case, or null.
    PBlockFile isBlock(const std::string& childName) const;
    // Like isBlock, but a fresh empty unattached node instead of null.
    PBlockFile GetBlock(const std::string& childName) const;
    PBlockFile GetBlockNO_NEW(const std::string& childName) const;

    std::string GetString(int i) const;
    float GetFloat(int i) const;
    int GetInt(int i) const;
    // 1 for "TRUE", 0 for "FALSE" (trimmed, any case), else the integer reading.
    int GetBool(int i) const;

    void AddBlock(PBlockFile node);
    // Sets value i (growing the arrays; skipped slots hold "" of type text).
    void AddEntry(const std::string& value, int i, int type);
    void Resize(int n);
    int GetSize() const;

    // The node as block-file text. Text values are quoted; a double quote inside
    // a text value is written doubled (""), which the reader turns back into one.
    std::string ToString2(const std::string& indent) const;
    void AppendText(std::string& out, const std::string& indent) const;
    // False when some value of this node or below cannot be written so that it
    // reads back the same (a value holding a line break); `what` names it.
    bool IsWritable(std::string* what = nullptr) const;
};

// ---- Tokenizer ----

enum TTokenRole {
    TK_TEXT = 0,
    TK_KEY = 1,
    TK_BLOCKNAME = 2,
    TK_OPEN = 3,
    TK_CLOSE = 4,
    TK_END = 5, // ";" or a line end
    TK_EQUALS = 6,
    TK_QUOTE = 7,
    TK_COMMA = 8,
};

class TToken {
public:
    int Char = 1;      // column where the token starts (characters, from 1)
    int Line = 1;      // line number from 1
    std::string T;     // token text
    int MyType = TK_TEXT;
    bool quoted = false; // text collected between double quotes

    int GetEntryType() const;
};

class TokenCreator {
public:
    // Cuts block-file text into tokens. Every character is treated alike, the
    // first one included; a carriage return before a line feed is dropped; text
    // still collected at the end of the input becomes a last token.
    static std::vector<TToken> CreateTokens(const std::string& text);
};

// ---- Parser ----

class TBlockParser {
public:
    static constexpr int kMaxDepth = 100; // blocks nested deeper are reported and skipped

    PBlockFile BlockFile = std::make_shared<TBlockFile>();

    // Builds the tree under a root named `name` (upper-cased). `file` names the
    // source in error messages (may be empty).
    PBlockFile Parse(const std::string& name, const std::vector<TToken>& tokens, const std::string& file = "");

    // "ERROR (Line l Char c): message!" on the console.
    static void ParseError(const TToken& token, const std::string& message);

private:
    struct State;
    static void ParseBlock(State& st, TBlockFile& block, int depth);
    static void ParseEntry(State& st, TBlockFile& block, const std::string& key);
    static void Error(State& st, const TToken& token, const std::string& message);
};

// ---- Global operations ----

// Reads, tokenizes and parses a file. A file that cannot be read gives an empty
// root and a console line naming it (use platform::FileExists to test first).
PBlockFile LoadBlockFile(const std::string& path);
// The same for text already in memory; `name` becomes the root name.
PBlockFile ParseBlockText(const std::string& text, const std::string& name);

PBlockFile NewBlock(const std::string& name, TBlockFile* parent = nullptr);
inline PBlockFile NewBlock(const std::string& name, const PBlockFile& parent) { return NewBlock(name, parent.get()); }
PBlockFile AddBlockEntry(TBlockFile& node, const std::string& key);
inline PBlockFile AddBlockEntry(const PBlockFile& node, const std::string& key) { return AddBlockEntry(*node, key); }

// The text SaveBlockFile writes: every child of the root, the root's name left out.
std::string BlockFileText(const TBlockFile& root);
// Writes the children of `root` to the file named by root.name, replacing it
// atomically. Text holding characters above 255 is stored as UTF-16 with a
// byte-order mark (which every reader detects); otherwise one byte per
// character. Returns false and logs a line when the file cannot be written or a
// value cannot be stored faithfully; the old file is then left as it was.
bool SaveBlockFile(const TBlockFile& root);
inline bool SaveBlockFile(const PBlockFile& root) { return root && SaveBlockFile(*root); }

// Paths are names joined by "::" ("level::data::size"); a single ":" inside a
// name is dropped. FindBlock never returns null.
PBlockFile FindBlock(const PBlockFile& node, const std::string& path);
PBlockFile FindBlockOrNull(const PBlockFile& node, const std::string& path);
int BlockExists(const PBlockFile& node, const std::string& path);
std::string GetBlockString(const PBlockFile& node, const std::string& path, int i = 0);
float GetBlockFloat(const PBlockFile& node, const std::string& path, int i = 0);
int GetBlockInt(const PBlockFile& node, const std::string& path, int i = 0);

PBlockFile SetBlockString(TBlockFile& node, const std::string& key, const std::string& value, int i = 0, int forceNew = 0);
PBlockFile SetBlockFloat(TBlockFile& node, const std::string& key, float value, int i = 0, int forceNew = 0);
PBlockFile SetBlockInt(TBlockFile& node, const std::string& key, int value, int i = 0, int forceNew = 0);

std::vector<PBlockFile> GetSubBlocks(const TBlockFile& node, const std::string& blockName);
std::vector<PBlockFile> GetAllSubBlocks(const TBlockFile& node);
// Child entries with that key, or every child entry when key is empty.
std::vector<PBlockFile> GetEntries(const TBlockFile& node, const std::string& key);
