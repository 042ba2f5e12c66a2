// Small readers shared by the engine's file loaders: catalogue values as the
// engine wants them (integers truncated toward zero, texts without quotes).
#pragma once

#include <string>

#include "datafiles/rcmfile.h"

namespace match3 {

// The text with blanks, tabs and stray quotes removed from both ends.
std::string TrimmedValue(const std::string& s);
// Value i of the catalogue entry as an integer: the number truncated toward
// zero; anything that is not a finite number in int range reads as 0.
int CatalogueInt(const TRCMFile& f, const std::string& key, int i = 0);

} // namespace match3
