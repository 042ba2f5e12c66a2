// Arrays of TDim read from block files (the map's spark positions).
#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "datafiles/blockfile.h"
#include "fx/records.h"

std::vector<TDim> LoadDimArray(const std::string& path)
{
    std::vector<TDim> out;
    if (!platform::FileExists(path)) {
        platform::MessageBox("ERROR: LoadDimArray '" + path + "' file not found!", false);
        return out;
    }
    const PBlockFile root = LoadBlockFile(path);
    if (!root)
        return out;
    for (const PBlockFile& node : root->SubFiles) {
        if (node && node->MyType != 0)
            out.push_back(DimFromString(node->GetString(0)));
    }
    return out;
}
