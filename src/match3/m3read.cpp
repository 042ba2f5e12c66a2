#include "match3/m3read.h"

#include <cmath>
#include <vector>

#include "app/platform/core/system.h"

namespace match3 {

namespace {

std::function<void(const DataIssue&)>& IssueSink()
{
    static std::function<void(const DataIssue&)> sink;
    return sink;
}

} // namespace

std::string TrimmedValue(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '"'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '"'))
        --e;
    return s.substr(b, e - b);
}

int CatalogueInt(const TRCMFile& f, const std::string& key, int i)
{
    const float v = f.getFloat(key, i);
    if (!std::isfinite(v) || v > 2.0e9f || v < -2.0e9f)
        return 0;
    return static_cast<int>(v); // truncation toward zero
}

namespace {

std::vector<std::string> SplitKey(const std::string& key)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at = key.find("::"); at != std::string::npos; at = key.find("::", start)) {
        parts.push_back(key.substr(start, at - start));
        start = at + 2;
    }
    parts.push_back(key.substr(start));
    return parts;
}

} // namespace

const TRCMEntry* CatalogueEntry(const TRCMFile& f, const std::string& key)
{
    auto parts = SplitKey(key);
    const std::string name = parts.back();
    parts.pop_back();
    if (parts.empty())
        return f._grupa.getEntry(name).get();
    PRCMGroup g = f.getGroup(parts);
    return g ? g->getEntry(name).get() : nullptr; // entries live as long as the file
}

PRCMGroup CatalogueGroup(const TRCMFile& f, const std::string& path)
{
    return f.getGroup(SplitKey(path));
}

bool IsWholeNumber(const std::string& text)
{
    size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    if (i >= text.size())
        return false;
    for (; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

void ReportDataIssue(const std::string& file, const std::string& key, const std::string& message)
{
    if (IssueSink()) {
        IssueSink()({file, key, message});
        return;
    }
    platform::Log(file + ": " + (key.empty() ? std::string() : key + ": ") + message);
}

DataIssueCollector::DataIssueCollector(std::function<void(const DataIssue&)> sink) : previous_(std::move(IssueSink()))
{
    IssueSink() = std::move(sink);
}

DataIssueCollector::~DataIssueCollector() { IssueSink() = std::move(previous_); }

} // namespace match3
