// Line tokens: any line splits; joined tokens never hold more than the line.
#include "app/platform/core/files.h"
#include "datafiles/linetokens.h"
#include "fuzz_common.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Silence();
    const std::string text = platform::DecodeText(std::string(reinterpret_cast<const char*>(data), size));
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        auto ttl = SplitLineTokens(line);
        size_t chars = 0;
        for (const auto& t : ttl->Line) {
            chars += t.size();
            fuzz::Check(t.find(' ') == std::string::npos || line.find('"') != std::string::npos,
                        "a blank inside a token comes from quotes");
        }
        fuzz::Check(chars <= line.size(), "tokens hold no more than the line");
        fuzz::Check(ttl->First == (ttl->Line.empty() ? std::string() : ttl->Line[0]), "First is the first token");
        (void)ttl->GetLast();
        (void)ttl->GetSecondToken();
        (void)ttl->GetAfterHash();
        (void)ttl->GetRestLine();
        (void)ttl->isEmpty();
        (void)ttl->ToString();
        start = end + 1;
    }
    return 0;
}
