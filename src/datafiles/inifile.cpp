#include "datafiles/inifile.h"

#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "datafiles/numbers.h"

using datafiles::AsciiUpper;
using datafiles::EqualsNoCase;

int TIniParam::GetBool() const { return AsciiUpper(data) == "TRUE" ? 1 : 0; }
float TIniParam::GetFloat() const { return datafiles::ParseFloat(data); }
int TIniParam::GetInt() const { return datafiles::ParseInt(data); }
std::string TIniParam::ToString() const { return id + " = " + data; }

std::string TIniBlock::GetParam(const std::string& id) const
{
    for (const auto& p : params)
        if (EqualsNoCase(p.id, id))
            return p.data;
    return std::string();
}

int TIniBlock::GetParamInt(const std::string& id) const { return datafiles::ParseInt(GetParam(id)); }
float TIniBlock::GetParamFloat(const std::string& id) const { return datafiles::ParseFloat(GetParam(id)); }

void TIniBlock::SetParam(const std::string& id, const std::string& value)
{
    for (auto& p : params) {
        if (EqualsNoCase(p.id, id)) {
            p.data = value;
            return;
        }
    }
    params.push_back(TIniParam{id, value});
}

void TIniBlock::SetParamInt(const std::string& id, int value) { SetParam(id, datafiles::FormatInt(value)); }
void TIniBlock::SetParamFloat(const std::string& id, float value) { SetParam(id, datafiles::FormatFloat9(value)); }

std::string TIniBlock::ToString() const
{
    std::string out = "[" + name + "]\n";
    for (const auto& p : params)
        out += p.ToString() + "\n";
    return out;
}

std::vector<PIniBlock> ParseIniText(const std::string& text)
{
    // Words: cut at blanks, tabs, "=" and line ends (CR LF included).
    std::vector<std::string> words;
    std::string word;
    const auto flush = [&] {
        std::string w = datafiles::Trim(word);
        if (!w.empty())
            words.push_back(std::move(w));
        word.clear();
    };
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            flush();
        } else if (c == '=') {
            flush();
            words.emplace_back("=");
        } else {
            word += c;
        }
    }
    flush();

    std::vector<PIniBlock> blocks;
    PIniBlock current;
    std::vector<std::string> pending;
    const auto closeSection = [&] {
        // Complete triples only; an incomplete last one is dropped.
        if (current)
            for (size_t i = 0; i + 2 < pending.size(); i += 3)
                current->params.push_back(TIniParam{AsciiUpper(pending[i]), AsciiUpper(pending[i + 2])});
        pending.clear();
    };
    for (auto& w : words) {
        if (w[0] == '[') {
            closeSection();
            current = std::make_shared<TIniBlock>();
            // "[Main]" names the section Main; a missing "]" takes nothing away.
            current->name = w.size() >= 2 && w.back() == ']' ? w.substr(1, w.size() - 2) : w.substr(1);
            blocks.push_back(current);
        } else if (current) {
            pending.push_back(std::move(w));
        }
    }
    closeSection();
    return blocks;
}

std::vector<PIniBlock> LoadIniFile(const std::string& path)
{
    auto text = platform::TryReadTextFile(path);
    if (!text) {
        platform::Log("Cannot read INI file: " + path);
        return {};
    }
    return ParseIniText(*text);
}
