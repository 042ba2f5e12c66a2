#include "datafiles/rcmfile.h"

#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "datafiles/numbers.h"

using datafiles::EqualsNoCase;
using datafiles::Trim;

namespace {

std::vector<std::string> SplitPath(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t sep = path.find("::", start);
        if (sep == std::string::npos) {
            parts.push_back(path.substr(start));
            return parts;
        }
        parts.push_back(path.substr(start, sep - start));
        start = sep + 2;
    }
}

// Splits at commas outside double quotes.
std::vector<std::string> SplitValues(const std::string& text)
{
    std::vector<std::string> out;
    std::string current;
    bool inQuotes = false;
    for (char c : text) {
        if (c == '"')
            inQuotes = !inQuotes;
        if (c == ',' && !inQuotes) {
            out.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    out.push_back(std::move(current));
    return out;
}

} // namespace

// ---- TRCMEntry ----

std::string TRCMEntry::toTxt() const
{
    std::string out = _id + " = ";
    if (_value.empty())
        return out + (_type == 1 ? "0" : "\"\"");
    for (size_t i = 0; i < _value.size(); ++i) {
        if (i > 0)
            out += ", ";
        const std::string& v = _value[i];
        if (_type != 1) {
            out += "\"" + v + "\"";
        } else if (Trim(v).empty()) {
            out += "0";
        } else {
            const int asInt = datafiles::ParseInt(v);
            out += static_cast<double>(asInt) == datafiles::ParseDouble(v) ? datafiles::FormatInt(asInt) : Trim(v);
        }
    }
    return out;
}

// ---- TRCMGroup ----

std::string TRCMGroup::save(const std::string& indent) const
{
    std::string out;
    if (!_id.empty())
        out += indent + _id + " {\n";
    if (_listaWpisow.empty())
        out += "\n";
    for (const auto& e : _listaWpisow)
        out += indent + "\t" + e->toTxt() + "\n";
    for (const auto& g : _listaGrup)
        out += g->save(indent + "\t");
    if (!_id.empty())
        out += indent + "}\n\n";
    return out;
}

void TRCMGroup::showGroup() const { platform::Log(save("")); }

PRCMGroup TRCMGroup::getGroup(const std::string& name) const
{
    for (const auto& g : _listaGrup)
        if (EqualsNoCase(g->_id, name))
            return g;
    return nullptr;
}

PRCMEntry TRCMGroup::getEntry(const std::string& key) const
{
    for (const auto& e : _listaWpisow)
        if (EqualsNoCase(e->_id, key))
            return e;
    return nullptr;
}

namespace {
void SetValue(TRCMGroup& group, const std::string& key, const std::string& value, int i, int type)
{
    if (i < 0)
        return;
    PRCMEntry entry = group.getEntry(key);
    if (!entry) {
        entry = std::make_shared<TRCMEntry>();
        entry->_id = key;
        entry->_type = type;
        group._addEntry(entry);
    }
    if (static_cast<size_t>(i) >= entry->_value.size())
        entry->_value.resize(static_cast<size_t>(i) + 1);
    entry->_value[static_cast<size_t>(i)] = value;
}
} // namespace

void TRCMGroup::setStringEntry(const std::string& key, const std::string& value, int i) { SetValue(*this, key, value, i, 0); }

void TRCMGroup::setFloatEntry(const std::string& key, float value, int i)
{
    SetValue(*this, key, datafiles::FormatFloat9(value), i, 1);
}

void TRCMGroup::_addEntry(PRCMEntry entry)
{
    if (entry)
        _listaWpisow.push_back(std::move(entry));
}

// ---- TRCMFile ----

void TRCMFile::errorMsg(const std::string& text) const { platform::Log("Napotkano problem : " + text); }

std::string TRCMFile::myTrim(const std::string& text) { return Trim(text); }

void TRCMFile::Load(const std::string& path)
{
    _path = path;
    _realPath = platform::AbsolutePath(path);
    _grupa = TRCMGroup();
    _txt.clear();
    auto text = platform::TryReadTextFile(path);
    if (!text) {
        errorMsg("Nie znaleziono pliku : " + path);
        return;
    }
    LoadText(*text, path);
    _realPath = platform::AbsolutePath(path);
}

void TRCMFile::LoadText(const std::string& text, const std::string& path)
{
    _path = path;
    _grupa = TRCMGroup();
    _txt = datafiles::NormalizeLineEnds(text);
    if (!_txt.empty() && checkTxt())
        readAll(_txt, "MAINGROUP");
}

bool TRCMFile::checkTxt()
{
    if (!_txt.empty() && _txt.back() == '}')
        _txt += '\n';
    return checkGroups();
}

bool TRCMFile::checkGroups()
{
    size_t open = 0, close = 0;
    bool inQuotes = false;
    for (char c : _txt) {
        if (c == '"')
            inQuotes = !inQuotes;
        else if (c == '\n')
            inQuotes = false; // a quote never spans lines
        else if (!inQuotes && c == '{')
            ++open;
        else if (!inQuotes && c == '}')
            ++close;
    }
    if (open != close) {
        errorMsg("Blad nawiasow klamrowych! \"{\" - " + std::to_string(open) + " \"}\" - " + std::to_string(close) +
                 " (" + _path + ")");
        return false;
    }
    return true;
}

void TRCMFile::readAll(const std::string& text, const std::string& name)
{
    if (&text != &_txt)
        _txt = text;
    _grupa = TRCMGroup();
    _grupa._id = name;
    ParseGroup(_grupa, 0, _txt.size(), 0);
}

// One group from _txt[begin, end): text since the last entry line, group start
// or group end is the name of the next group; a line holding "=" is an entry.
// Positions are offsets into the one text, so nothing is copied per group.
void TRCMFile::ParseGroup(TRCMGroup& group, size_t begin, size_t end, int depth)
{
    std::string nameText, entryText;
    bool equals = false;
    const auto addPending = [&] {
        if (equals)
            group._addEntry(readEntry(Trim(entryText)));
        nameText.clear();
        entryText.clear();
        equals = false;
    };
    // Braces between double quotes are text, as the brace count treats them.
    bool inQuotes = false;
    size_t i = begin;
    while (i < end) {
        const char c = _txt[i];
        if (inQuotes && c != '"' && c != '\n') {
            nameText += c;
            entryText += c;
            ++i;
            continue;
        }
        if (c == '"')
            inQuotes = !inQuotes;
        else if (c == '\n')
            inQuotes = false;
        if (c == '{') {
            if (depth + 1 > kMaxDepth) {
                errorMsg("groups nested deeper than " + std::to_string(kMaxDepth) + " in " + _path);
                int open = 0;
                bool quoted = false;
                while (i < end) {
                    const char d = _txt[i];
                    if (d == '"')
                        quoted = !quoted;
                    else if (d == '\n')
                        quoted = false;
                    else if (!quoted && d == '{')
                        ++open;
                    else if (!quoted && d == '}' && --open == 0)
                        break;
                    ++i;
                }
                if (i >= end) {
                    group._pos = 0;
                    return;
                }
                nameText.clear();
                entryText.clear();
                equals = false;
                ++i;
                continue;
            }
            auto sub = std::make_shared<TRCMGroup>();
            sub->_id = Trim(nameText);
            // The sub-group reads the text after its brace, the very last
            // character of this group's text left off.
            const size_t subBegin = i + 1;
            const size_t subEnd = end > subBegin ? end - 1 : subBegin;
            ParseGroup(*sub, subBegin, subEnd, depth + 1);
            group._listaGrup.push_back(sub);
            nameText.clear();
            entryText.clear();
            equals = false;
            if (sub->_pos == 0) {
                // The text ended inside the sub-group: nothing is left for this one.
                group._pos = 0;
                return;
            }
            i = subBegin + static_cast<size_t>(sub->_pos);
            continue;
        }
        if (c == '}') {
            addPending(); // "x = 1 }" keeps its entry
            group._pos = static_cast<int>(i - begin + 1);
            return;
        }
        if (c == '\n') {
            if (equals)
                addPending();
        } else {
            nameText += c;
            entryText += c;
            if (c == '=')
                equals = true;
        }
        ++i;
    }
    addPending(); // a last line without a line feed keeps its entry
    group._pos = 0;
}

PRCMEntry TRCMFile::readEntry(const std::string& line) const
{
    auto entry = std::make_shared<TRCMEntry>();
    const size_t eq = line.find('=');
    entry->_id = Trim(line.substr(0, eq));
    std::string valueText;
    if (eq != std::string::npos) {
        const size_t next = line.find('=', eq + 1);
        valueText = line.substr(eq + 1, next == std::string::npos ? std::string::npos : next - eq - 1);
    }
    const std::string trimmed = Trim(valueText);
    entry->_type = !trimmed.empty() && ((trimmed[0] >= '0' && trimmed[0] <= '9') || trimmed[0] == '-') ? 1 : 0;
    for (auto& piece : SplitValues(valueText)) {
        const std::string t = Trim(piece);
        if (entry->_type == 1) {
            if (t.empty())
                errorMsg("empty value of '" + entry->_id + "' in " + _path);
            entry->_value.push_back(std::move(piece));
            continue;
        }
        // A text value is a blank and a quoted text: the quotes are taken off.
        if (t.size() >= 2 && t.front() == '"' && t.back() == '"') {
            entry->_value.push_back(t.substr(1, t.size() - 2));
        } else {
            errorMsg("text value of '" + entry->_id + "' is not in quotes in " + _path);
            entry->_value.push_back(t == "\"" ? std::string() : t);
        }
    }
    return entry;
}

PRCMGroup TRCMFile::getGroup(const std::vector<std::string>& parts) const
{
    // The root is not shared, so the first step searches it directly.
    if (parts.empty())
        return nullptr;
    PRCMGroup g = _grupa.getGroup(parts[0]);
    for (size_t i = 1; g && i < parts.size(); ++i)
        g = g->getGroup(parts[i]);
    return g;
}

PRCMGroup TRCMFile::getGroupSet(const std::vector<std::string>& parts)
{
    if (parts.empty())
        return nullptr;
    TRCMGroup* parent = &_grupa;
    PRCMGroup g;
    for (const auto& part : parts) {
        g = parent->getGroup(part);
        if (!g) {
            g = std::make_shared<TRCMGroup>();
            g->_id = part;
            parent->_listaGrup.push_back(g);
        }
        parent = g.get();
    }
    return g;
}

const TRCMEntry* TRCMFile::Lookup(const std::string& path) const
{
    const auto parts = SplitPath(path);
    const TRCMGroup* group = &_grupa;
    PRCMGroup holder;
    if (parts.size() > 1) {
        holder = getGroup(std::vector<std::string>(parts.begin(), parts.end() - 1));
        group = holder.get();
    }
    if (!group)
        return nullptr;
    return group->getEntry(parts.back()).get(); // entries live as long as their group
}

std::string TRCMFile::ValueAt(const std::string& path, int i, bool* found) const
{
    *found = false;
    const TRCMEntry* entry = Lookup(path);
    if (!entry)
        return std::string();
    if (i < 0 || static_cast<size_t>(i) >= entry->_value.size()) {
        errorMsg("no value " + std::to_string(i) + " of '" + path + "' in " + _path);
        return std::string();
    }
    *found = true;
    return entry->_value[static_cast<size_t>(i)];
}

std::string TRCMFile::getString(const std::string& path, int i) const
{
    bool found;
    return ValueAt(path, i, &found);
}

float TRCMFile::getFloat(const std::string& path, int i, int show) const
{
    if (show != 0) {
        const auto parts = SplitPath(path);
        if (parts.size() <= 1)
            _grupa.showGroup();
        else if (auto g = getGroup(std::vector<std::string>(parts.begin(), parts.end() - 1)))
            g->showGroup();
    }
    bool found;
    const std::string v = ValueAt(path, i, &found);
    return found ? datafiles::ParseFloat(v) : 0.0f;
}

void TRCMFile::setString(const std::string& path, const std::string& value, int i)
{
    const auto parts = SplitPath(path);
    TRCMGroup* group = &_grupa;
    PRCMGroup holder;
    if (parts.size() > 1) {
        holder = getGroupSet(std::vector<std::string>(parts.begin(), parts.end() - 1));
        group = holder.get();
    }
    group->setStringEntry(parts.back(), value, i);
}

void TRCMFile::setFloat(const std::string& path, float value, int i)
{
    const auto parts = SplitPath(path);
    TRCMGroup* group = &_grupa;
    PRCMGroup holder;
    if (parts.size() > 1) {
        holder = getGroupSet(std::vector<std::string>(parts.begin(), parts.end() - 1));
        group = holder.get();
    }
    group->setFloatEntry(parts.back(), value, i);
}

namespace {
// A text value with a double quote or a line break, or any value with a line
// break, would not read back the same.
const TRCMEntry* Unwritable(const TRCMGroup& g)
{
    for (const auto& e : g._listaWpisow)
        for (const auto& v : e->_value)
            if (v.find('\n') != std::string::npos || (e->_type != 1 && v.find('"') != std::string::npos))
                return e.get();
    for (const auto& sub : g._listaGrup)
        if (const TRCMEntry* bad = Unwritable(*sub))
            return bad;
    return nullptr;
}
} // namespace

bool TRCMFile::save(const std::string& path, int mode) const
{
    std::string text;
    for (const auto& g : _grupa._listaGrup) {
        if (const TRCMEntry* bad = Unwritable(*g)) {
            errorMsg("cannot save " + path + ": a value of '" + bad->_id + "' holds a double quote or a line break");
            return false;
        }
        text += g->save("");
    }
    platform::Log(text);
    const std::string content = Trim(text) + "\n";
    return mode == 0 ? platform::SaveText(content, path) : platform::SaveString(content, path);
}

void TRCMFile::printAll() const { _grupa.showGroup(); }

PRCMFile LoadRCMFile(const std::string& path)
{
    auto file = std::make_shared<TRCMFile>();
    file->Load(path);
    return file;
}

// ---- Resource queue ----

namespace {
std::vector<std::shared_ptr<TProgramRes>>& Queue()
{
    static std::vector<std::shared_ptr<TProgramRes>> queue;
    return queue;
}
} // namespace

std::shared_ptr<TProgramRes> QueueResourceLoad(const std::string& url, int flags,
                                               std::function<void(const TProgramRes&)> load)
{
    auto res = std::make_shared<TProgramRes>();
    res->url = url;
    res->flags = flags;
    res->load = std::move(load);
    Queue().push_back(res);
    return res;
}

void LoadQueuedResources()
{
    const std::string rule(45, '=');
    platform::Log(rule);
    platform::Log("       RESOURCES: " + std::to_string(Queue().size()));
    platform::Log(rule);
    // Loads may queue further loads; those run in a later call.
    const auto batch = std::move(Queue());
    Queue().clear();
    for (const auto& res : batch)
        res->Load();
}

size_t QueuedResourceCount() { return Queue().size(); }
