#include "datafiles/linetokens.h"

#include "datafiles/numbers.h"

std::string TTL::GetLast() const { return Line.empty() ? std::string() : Line.back(); }

std::string TTL::GetSecondToken() const { return Line.size() < 2 ? std::string() : Line[1]; }

std::string TTL::GetAfterHash() const
{
    std::string out;
    for (size_t i = 2; i < Line.size(); ++i)
        out += Line[i] + " ";
    return datafiles::Trim(out);
}

std::string TTL::GetRestLine() const
{
    std::string out;
    for (const auto& t : Line)
        out += t + " ";
    return datafiles::Trim(out);
}

int TTL::isEmpty() const
{
    const std::string t = datafiles::Trim(First);
    return t.empty() || t[0] == '-' ? 1 : 0;
}

std::string TTL::ToString() const
{
    std::string out;
    if (!First.empty())
        out = "( " + First + " )";
    for (const auto& t : Line)
        out += t + " ";
    return out;
}

std::shared_ptr<TTL> SplitLineTokens(const std::string& input)
{
    std::string line = input;
    if (!line.empty() && line.back() == '\n')
        line.pop_back();
    if (!line.empty() && line.back() == '\r')
        line.pop_back();

    auto ttl = std::make_shared<TTL>();
    std::string token;
    bool inQuotes = false;
    for (char c : line) {
        if (c == '#' || c == '=') {
            ttl->Line.push_back(token);
            token.clear();
            ttl->Line.emplace_back(1, c);
        } else if (c == ' ' && !inQuotes) {
            ttl->Line.push_back(token);
            token.clear();
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else {
            token += c;
        }
    }
    if (!token.empty())
        ttl->Line.push_back(token);
    if (!ttl->Line.empty())
        ttl->First = ttl->Line.front();
    return ttl;
}
