// Display, frame and virtual projection.
//
// All coordinates handed to the drawing layer are virtual units. The projection
// maps the virtual area onto the back buffer with our own transform (scale and
// offsets), so letter-boxing and the pointer mapping are computed here and not
// by the renderer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct Rect {
    float x = 0, y = 0, w = 0, h = 0;
};

// ---- Start-up and shut-down ----

struct InitOptions {
    // Headless: SDL's dummy video driver and a software renderer, silent audio
    // (the mixer still runs when pumped by hand with PumpAudio), console message
    // boxes, and frames that are not captured skip rasterising altogether.
    bool headless = false;
    std::string title = "Velmora";
    std::string iconPath;   // a PNG; empty for none
    bool audio = true;      // false: no audio device even in windowed runs
};

// Initialises SDL video, events and (when asked) audio. Returns false and logs
// a line when SDL cannot start; the layer then works as a null backend.
bool Init(const InitOptions& options);
void Shutdown();
bool IsInitialised();
bool IsHeadless();

void SetWindowTitle(const std::string& title);
// Sets the window icon from a PNG; false (and a log line) when it cannot be read.
bool SetWindowIcon(const std::string& pngPath);

// ---- Display ----

// depth 0: a window whose client area is width x height (desktop colour depth);
// depth 32: a full-screen display at the desktop size (width and height are
// then only a hint). refresh is always 60 and flags 0 in the program. Calling
// it again switches the mode of the same window; loaded images stay valid.
bool OpenDisplay(int width, int height, int depth = 0, int refresh = 60, int flags = 0);
bool DisplayOpen();
int DesktopWidth();
int DesktopHeight();
int BackBufferWidth();
int BackBufferHeight();
// Name of the active renderer ("software", "opengl", ...); "" before a display.
std::string RendererName();
// The SDL_Renderer behind the display, for tools that compare against plain
// SDL calls on the same renderer (benchmarks). nullptr before a display.
void* NativeRendererHandle();

// Caps the texture size below the renderer's own limit (0: the renderer's
// limit alone). Pictures larger than the cap are shown downscaled, with a log
// line. For tests and low-memory runs; affects textures made afterwards.
void SetTextureSizeLimit(int pixels);

void SetClearColor(int r, int g, int b);
// Clears the whole back buffer (not only the viewport) to the clear colour.
void Cls();

// Shows the back buffer, then waits on platform::Clock() so that frames follow
// at most FrameLimit() per second. In headless runs with a VirtualClock the
// wait simply advances that clock.
void Flip();
void SetFrameLimit(int fps); // 0 switches the limit off; 60 initially
int FrameLimit();
// Windows wait for the display's refresh in Flip while this is on (the
// default; it applies to the open display and to later ones). Headless
// renderers never wait. Benchmarks switch it off with the frame limit.
void SetVSync(bool on);

// ---- Virtual projection ----

// The projection of a w x h design area onto a gw x gh back buffer.
//   mode 0: exactly w x h stretched over the buffer; offsets 0; viewport
//           (0, 0, ceil(w), ceil(h)).
//   other:  s = min(gw / w, gh / h); with the bit of value 4, s = max(floor(s), 1)
//           and the offsets are floored. The projected area is (gw / s) x (gh / s)
//           with the design area centred in it. With the bit of value 1 the
//           buffer borders are cleared once and the viewport is limited to the
//           design area (letter-boxing); otherwise the viewport is the whole
//           projected area. The bit of value 2 has no effect of its own.
struct Projection {
    float w = 0, h = 0;           // design area (virtual units)
    int mode = 0;
    int gw = 0, gh = 0;           // back buffer (pixels)
    float scaleX = 1, scaleY = 1; // pixels per virtual unit
    float areaW = 0, areaH = 0;   // projected area: the whole buffer in virtual units
    float offsetX = 0, offsetY = 0;
    Rect viewport;                // virtual units of the projected area
    bool letterbox = false;       // the bit of value 1 (mode != 0)
};

Projection ComputeProjection(float w, float h, int mode, int gw, int gh);

// Applies the projection to the current back buffer: sets the origin to the
// offsets, the viewport as computed, and clears the borders when letter-boxing.
// Re-applied automatically when the back buffer changes size.
void SetVirtualResolution(float w, float h, int mode);
const Projection& CurrentProjection();

// Pixel <-> virtual conversions of the current projection (virtual units are
// those of the projected area, without the origin).
void VirtualToPixel(float vx, float vy, float& px, float& py);
void PixelToVirtual(float px, float py, float& vx, float& vy);

// ---- Rasterising, screenshots, statistics ----

// Whether draw calls reach the renderer. Windowed runs always rasterise;
// headless runs rasterise only frames asked for with CaptureNextFrame (or all
// frames after SetRasterising(true)). Every draw call runs its own logic
// (transform, clipping, batching) either way.
void SetRasterising(bool on);
bool IsRasterising();
// The frame being drawn now (up to the next Flip) is rasterised and kept for
// SaveScreenshot / ReadPixel even in headless runs.
void CaptureNextFrame();

// Writes the last captured frame (as it was just before its flip) as a PNG.
// When a frame was rasterised after it without a capture, the back buffer is
// read instead (reliable with the software renderer only: windowed runs call
// CaptureNextFrame first). False on failure.
bool SaveScreenshot(const std::string& path);

// RGBA of one pixel of the back buffer as drawn so far in this frame (pixel
// coordinates); {0,0,0,0} outside or without a display. Meant for tests.
struct Pixel {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};
Pixel ReadPixel(int x, int y);
// Whole back buffer, RGBA rows top to bottom; empty without a display.
std::vector<uint8_t> ReadPixels(int& width, int& height);

struct FrameStats {
    int batches = 0;   // renderer calls issued (or that would be issued)
    int quads = 0;     // images, rectangles, glyphs and lines submitted
    int frames = 0;    // flips since start-up
};
// Figures of the last finished frame (set by Flip).
FrameStats LastFrameStats();
// Figures of the frame being drawn.
FrameStats CurrentFrameStats();

} // namespace platform
