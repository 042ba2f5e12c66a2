#include "level/levelroad.h"

namespace level {

TLevelRoad& Road()
{
    static TLevelRoad road;
    return road;
}

} // namespace level
