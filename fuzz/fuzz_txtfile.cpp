// Localised line files: any input splits into lines with no line end inside.
#include "app/platform/core/files.h"
#include "datafiles/numbers.h"
#include "datafiles/txtfile.h"
#include "fuzz_common.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Silence();
    const std::string text = platform::DecodeText(std::string(reinterpret_cast<const char*>(data), size));
    TTxtFile file;
    file.txt = SplitTxtLines(text);
    size_t feeds = 0;
    for (char c : text)
        feeds += c == '\n';
    fuzz::Check(file.txt.size() == feeds || file.txt.size() == feeds + 1, "one line per line feed");
    for (int n = -1; n <= file.Lines() + 1; ++n) {
        const std::string line = GetTxtLine(&file, n);
        fuzz::Check(line.find('\n') == std::string::npos, "no line feed inside a line");
    }
    // The lines joined again give the text with CR LF read as LF.
    const std::string normal = datafiles::NormalizeLineEnds(text);
    std::string joined;
    for (size_t i = 0; i < file.txt.size(); ++i)
        joined += (i ? "\n" : "") + file.txt[i];
    if (!normal.empty() && normal.back() == '\n')
        joined += '\n';
    fuzz::Check(joined == normal, "lines rebuild the text");
    fuzz::Check(GetTxtLine(&file, 0).empty() && GetTxtLine(&file, file.Lines() + 1).empty(), "out of range is empty");
    (void)ExpandPath(text.substr(0, 128));
    return 0;
}
