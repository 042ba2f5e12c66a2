// Resource catalogues: any input parses; lookups and updates stay in bounds.
#include "app/platform/core/files.h"
#include "datafiles/rcmfile.h"
#include "fuzz_common.h"

#include <cstdint>
#include <functional>
#include <string>

namespace {
void Walk(const TRCMFile& file, const TRCMGroup& g, const std::string& path, int depth)
{
    if (depth > 3)
        return;
    for (const auto& e : g._listaWpisow) {
        const std::string key = path.empty() ? e->_id : path + "::" + e->_id;
        for (int i = -1; i <= static_cast<int>(e->_value.size()); ++i) {
            (void)file.getString(key, i);
            (void)file.getFloat(key, i);
        }
        (void)e->toTxt();
    }
    for (const auto& sub : g._listaGrup)
        Walk(file, *sub, path.empty() ? sub->_id : path + "::" + sub->_id, depth + 1);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Silence();
    const std::string text = platform::DecodeText(std::string(reinterpret_cast<const char*>(data), size));
    TRCMFile file;
    file.LoadText(text, "fuzz.rcm");
    Walk(file, file._grupa, "", 0);
    for (const auto& g : file._grupa._listaGrup)
        (void)g->save("");
    file.setString("a::b::c", text.substr(0, 16), 3);
    file.setFloat("a::b::d", 1.5f, 1);
    fuzz::Check(file.getString("a::b::c", 3) == text.substr(0, 16), "a set value reads back");
    fuzz::Check(file.getFloat("a::b::d", 1) == 1.5f || file.getGroup({"a", "b"})->getEntry("d")->_type == 0,
                "a set float reads back");
    return 0;
}
