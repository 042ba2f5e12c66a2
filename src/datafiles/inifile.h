// INI-style files of sections and name = value triples (the tuning-variable
// file). The text is cut into words at blanks, tabs, "=" signs and line ends;
// "=" is a word of its own. A word in square brackets starts a section; the
// words after it are read in threes: name, separator, value. Names and values
// are upper-cased. There are no comments: an extra word shifts the grouping of
// every later triple, and words before the first section are ignored.
#pragma once

#include <memory>
#include <string>
#include <vector>

class TIniParam {
public:
    std::string id;
    std::string data;

    int GetBool() const; // 1 when data is "TRUE" (any case)
    float GetFloat() const;
    int GetInt() const;
    std::string ToString() const; // id + " = " + data
};

class TIniBlock {
public:
    std::string name;
    std::vector<TIniParam> params;

    std::string GetParam(const std::string& id) const; // "" when missing
    int GetParamInt(const std::string& id) const;
    float GetParamFloat(const std::string& id) const;
    void SetParam(const std::string& id, const std::string& value);
    void SetParamInt(const std::string& id, int value);
    void SetParamFloat(const std::string& id, float value);
    std::string ToString() const;
};

using PIniBlock = std::shared_ptr<TIniBlock>;

std::vector<PIniBlock> ParseIniText(const std::string& text);
// A file that cannot be read gives no sections and a console line naming it.
std::vector<PIniBlock> LoadIniFile(const std::string& path);
