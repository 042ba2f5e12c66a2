// Resource-catalogue files: an older text format of nested named groups with
// key = value lines, read by the match-three engine (settings, cell and chip
// kinds, obstacles, characters, levels). Entries are addressed by group names
// and a key joined by "::" ("level::data::size"), ignoring case.
//
//   level {
//   	data {
//   		size = 8, 9
//   		name = "Bob", "Ann"
//   	}
//   }
//
// A number entry's value text starts with a digit or "-" and is kept as written;
// a text entry holds quoted texts.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TRCMEntry {
public:
    std::string _id;                 // the key, trimmed
    std::vector<std::string> _value; // the values
    int _type = 0;                   // 0 text, 1 number

    std::string toTxt() const;
};

class TRCMGroup;
using PRCMGroup = std::shared_ptr<TRCMGroup>;
using PRCMEntry = std::shared_ptr<TRCMEntry>;

class TRCMGroup {
public:
    std::string _id;                     // the group name; empty for a nameless root
    int _pos = 0;                        // characters parsed up to and including the closing brace
    std::vector<PRCMGroup> _listaGrup;   // sub-groups in file order
    std::vector<PRCMEntry> _listaWpisow; // entries in file order

    std::string save(const std::string& indent) const;
    void showGroup() const;
    PRCMGroup getGroup(const std::string& name) const; // ignoring case; null when missing
    PRCMEntry getEntry(const std::string& key) const;  // ignoring case; null when missing
    void setStringEntry(const std::string& key, const std::string& value, int i);
    void setFloatEntry(const std::string& key, float value, int i);
    void _addEntry(PRCMEntry entry);
};

class TRCMFile {
public:
    static constexpr int kMaxDepth = 100; // groups nested deeper are reported and skipped

    TRCMGroup _grupa;      // the root ("MAINGROUP" once a text has been parsed)
    std::string _path;     // the path given to Load
    std::string _realPath; // its absolute form
    std::string _txt;      // the whole text (CR LF read as LF)

    // Writes every group under the root (mode 0: text saving, otherwise one byte
    // per character). False, with a console line, when the file cannot be written
    // or a text value holds a double quote or a line break (it could not be read
    // back the same).
    bool save(const std::string& path, int mode = 0) const;
    void Load(const std::string& path);
    // Parses text already in memory; `path` only names it in messages.
    void LoadText(const std::string& text, const std::string& path);
    bool checkGroups();
    bool checkTxt();
    void readAll(const std::string& text, const std::string& name);
    static std::string myTrim(const std::string& text);
    PRCMEntry readEntry(const std::string& line) const;
    PRCMGroup getGroupSet(const std::vector<std::string>& parts);
    void setString(const std::string& path, const std::string& value, int i = 0);
    void setFloat(const std::string& path, float value, int i = 0);
    std::string getString(const std::string& path, int i = 0) const;
    float getFloat(const std::string& path, int i = 0, int show = 0) const;
    PRCMGroup getGroup(const std::vector<std::string>& parts) const;
    void printAll() const;
    // "Napotkano problem : " + text on the console.
    void errorMsg(const std::string& text) const;

private:
    void ParseGroup(TRCMGroup& group, size_t begin, size_t end, int depth);
    const TRCMEntry* Lookup(const std::string& path) const;
    std::string ValueAt(const std::string& path, int i, bool* found) const;
};

using PRCMFile = std::shared_ptr<TRCMFile>;

PRCMFile LoadRCMFile(const std::string& path);

// ---- Resource queue ----
// Loads collected to be done together later. The image layer queues each load
// with a callback that performs it (the target image or atlas is captured by the
// callback); LoadQueuedResources runs them in queue order.
struct TProgramRes {
    std::string url;
    int flags = -1;
    std::function<void(const TProgramRes&)> load;
    void Load() const
    {
        if (load)
            load(*this);
    }
};

std::shared_ptr<TProgramRes> QueueResourceLoad(const std::string& url, int flags,
                                               std::function<void(const TProgramRes&)> load);
void LoadQueuedResources();
size_t QueuedResourceCount();
