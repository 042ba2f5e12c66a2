// INI files: any input parses; every parameter is a complete upper-cased triple.
#include "app/platform/core/files.h"
#include "datafiles/inifile.h"
#include "datafiles/numbers.h"
#include "fuzz_common.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Silence();
    const std::string text = platform::DecodeText(std::string(reinterpret_cast<const char*>(data), size));
    for (const auto& block : ParseIniText(text)) {
        for (const auto& p : block->params) {
            fuzz::Check(!p.id.empty() && !p.data.empty(), "parameters have a name and a value");
            fuzz::Check(p.id == datafiles::AsciiUpper(p.id), "names are upper-cased");
            (void)p.GetBool();
            (void)p.GetInt();
            (void)p.GetFloat();
            fuzz::Check(block->GetParam(p.id).size() > 0, "a parameter is found by its name");
        }
        (void)block->ToString();
        block->SetParamFloat("X", block->GetParamFloat("X"));
    }
    return 0;
}
