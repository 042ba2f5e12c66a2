// No-op stand-ins for the few drawing and picture functions the city map's
// sources call, so that the map model runs under the sanitizers without SDL
// or a display. Pictures never load here: every map file is read with
// pictures off, and the map draws nothing.
#include "app/platform/draw.h"
#include "app/platform/image.h"

namespace platform {

void SetColor(int, int, int) {}
void SetAlpha(float) {}
void SetBlend(int) {}
void SetScale(float, float) {}
void SetRotation(float) {}
void ResetDrawState() {}
void DrawImage(const std::shared_ptr<Image>&, float, float, int) {}
ImagePtr LoadImage(const std::string&, int) { return nullptr; }

} // namespace platform
