// Block files: any input parses without fault, and the writer's text reads
// back to the same tree: text values exactly, numbers and booleans by value.
#include "app/platform/core/files.h"
#include "datafiles/blockfile.h"
#include "datafiles/numbers.h"
#include "fuzz_common.h"

#include <cstdint>
#include <string>

namespace {

// Entries without values are not written, so they are skipped in both trees.
std::vector<PBlockFile> Written(const TBlockFile& node)
{
    std::vector<PBlockFile> out;
    for (const auto& c : node.SubFiles)
        if (c->MyType == 0 || (c->MyType == 1 && !c->Value.empty()))
            out.push_back(c);
    return out;
}

void Compare(const TBlockFile& a, const TBlockFile& b)
{
    const auto ca = Written(a), cb = Written(b);
    fuzz::Check(ca.size() == cb.size(), "same number of children after a round trip");
    for (size_t i = 0; i < ca.size(); ++i) {
        const TBlockFile& x = *ca[i];
        const TBlockFile& y = *cb[i];
        fuzz::Check(x.MyType == y.MyType && x.name == y.name, "same node after a round trip");
        if (x.MyType == 1) {
            fuzz::Check(x.Value.size() == y.Value.size(), "same value count after a round trip");
            for (int v = 0; v < x.GetSize(); ++v) {
                switch (x.typ[static_cast<size_t>(v)]) {
                case BV_TEXT:
                    fuzz::Check(x.Value[static_cast<size_t>(v)] == y.Value[static_cast<size_t>(v)],
                                "text value survives a round trip");
                    break;
                case BV_INT:
                    fuzz::Check(x.GetInt(v) == y.GetInt(v), "integer survives a round trip");
                    break;
                case BV_FLOAT:
                    fuzz::Check(x.GetFloat(v) == y.GetFloat(v), "float survives a round trip");
                    break;
                default:
                    fuzz::Check(x.GetBool(v) == y.GetBool(v), "boolean survives a round trip");
                }
            }
        } else {
            Compare(x, y);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Silence();
    const std::string text = platform::DecodeText(std::string(reinterpret_cast<const char*>(data), size));
    auto root = ParseBlockText(text, "fuzz.txt");

    // Lookups on whatever came out.
    for (const auto& child : root->SubFiles) {
        (void)GetBlockString(root, child->name + "::x", 1);
        (void)GetBlockFloat(root, child->name, 0);
        (void)child->GetBool(0);
        (void)GetSubBlocks(*root, child->name);
    }
    (void)GetBlockInt(root, text.substr(0, 64), 0);

    if (!root->IsWritable())
        return 0;
    const std::string first = BlockFileText(*root);
    auto again = ParseBlockText(first, "fuzz.txt");
    Compare(*root, *again);
    // Floats of nine digits in exponent form ("1.00000000e+10") read back as
    // text of the same value, so the text settles after one more round.
    const std::string second = BlockFileText(*again);
    if (second != first) {
        auto third = ParseBlockText(second, "fuzz.txt");
        Compare(*again, *third);
        fuzz::Check(BlockFileText(*third) == second, "writing a re-read tree gives the same text");
    }
    return 0;
}
