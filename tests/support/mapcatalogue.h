// A small city-map catalogue for tests, read from text into the program-wide
// catalogue (no pictures). Objects are written compactly: one line per object
// "TYPE id [key=value ...]" becomes a MapObject block with one IMAGE.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "citymap/mapobjects.h"

namespace testsupport {

// Writes `blocks` (MapObjects.txt text) to a temporary file and loads it.
inline void LoadMapCatalogueText(const std::string& blocks)
{
    namespace fs = std::filesystem;
    // Test programs run side by side: a file of this process's own.
    static int counter = 0;
    const fs::path file = fs::temp_directory_path() / ("velmora-test-MapObjects-" + std::to_string(::getpid()) + "-" +
                                                      std::to_string(++counter) + ".txt");
    {
        std::ofstream out(file, std::ios::binary);
        out << blocks;
    }
    citymap::MapCatalogue().Load(file.string(), "", nullptr, false);
    fs::remove(file);
}

// One MapObject block with one picture at (x, 100); `extra` holds more entry
// lines (each ending in a newline).
inline std::string MapObjectBlock(const std::string& type, int id, int x, const std::string& extra = "")
{
    std::ostringstream s;
    s << "MapObject{\n\tType = \"" << type << "\"\n\tId = " << id << "\n" << extra << "\tObj{\n\t\tType = \"IMAGE\"\n"
      << "\t\tDim = " << x << ", 100\n\t\tUrl = \"o" << id << ".png\"\n\t}\n}\n";
    return s.str();
}

} // namespace testsupport
