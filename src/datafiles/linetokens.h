// Line tokens: one line of the dialog source cut into words. A blank ends a word
// (two blanks leave an empty word between them), "#" and "=" are words of their
// own, and double quotes group words with blanks (the quotes are dropped).
#pragma once

#include <memory>
#include <string>
#include <vector>

class TTL {
public:
    std::string First;             // the first token, "" when there is none
    std::vector<std::string> Line; // every token in order, empty ones included

    std::string GetLast() const;
    std::string GetSecondToken() const;
    std::string GetAfterHash() const; // tokens from index 2 on, blank-joined and trimmed
    std::string GetRestLine() const;  // every token, blank-joined and trimmed
    int isEmpty() const;              // 1 when First is blank or starts with "-"
    std::string ToString() const;
};

// A carriage return at the end of the line is not part of the last token.
std::shared_ptr<TTL> SplitLineTokens(const std::string& line);
