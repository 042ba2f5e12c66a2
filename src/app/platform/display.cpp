// Start-up, display, frame limit, virtual projection and screenshots.
#include <algorithm>
#include <cmath>

#include "app/platform/audio.h"
#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/platform/display.h"
#include "app/platform/draw.h"
#include "app/platform/input.h"
#include "app/platform/internal.h"

namespace platform {
namespace detail {

Layer& L()
{
    static Layer layer;
    return layer;
}

bool Rasterising()
{
    Layer& l = L();
    return l.renderer && (l.rasterAlways || l.captureThisFrame);
}

} // namespace detail

using detail::L;

// Audio lives in audio.cpp; these open and close its device.
bool OpenAudioDevice();
void CloseAudioDevice();

// ---- Start-up and shut-down ----

bool Init(const InitOptions& options)
{
    auto& l = L();
    if (l.initialised)
        return true;
    l.headless = options.headless;
    l.wantAudio = options.audio && !options.headless;
    l.rasterAlways = !options.headless;
    if (options.headless)
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    Uint32 systems = SDL_INIT_VIDEO | SDL_INIT_EVENTS;
    if (SDL_Init(systems) != 0) {
        Log(std::string("Cannot start SDL video: ") + SDL_GetError());
        return false;
    }
    l.initialised = true;
    if (l.wantAudio) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            Log(std::string("No audio: ") + SDL_GetError());
        else
            OpenAudioDevice();
    }
    if (!options.headless) {
        SetMessageBoxSink([](const std::string& text, bool serious) {
            Log(text);
            SDL_Window* parent = L().window;
            if (SDL_ShowSimpleMessageBox(serious ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION,
                                         L().title.c_str(), text.c_str(), parent) != 0)
                Log(std::string("(message box unavailable: ") + SDL_GetError() + ")");
        });
    }
    SetWindowTitle(options.title);
    l.iconPath = options.iconPath;
    SDL_StartTextInput();
    return true;
}

void Shutdown()
{
    auto& l = L();
    if (!l.initialised)
        return;
    CloseAudioDevice();
    GlobalMixer().StopAll();
    if (l.renderer) {
        SDL_DestroyRenderer(l.renderer);
        l.renderer = nullptr;
        ++l.generation;
    }
    if (l.window) {
        SDL_DestroyWindow(l.window);
        l.window = nullptr;
    }
    if (!l.headless)
        SetMessageBoxSink(nullptr);
    SDL_Quit();
    l.initialised = false;
    l.projectionSet = false;
    l.keptFrame.clear();
    l.nextFrameAt = -1;
    l.lastFlipAt = -1;
}

bool IsInitialised() { return L().initialised; }
bool IsHeadless() { return L().headless; }

void SetWindowTitle(const std::string& title)
{
    auto& l = L();
    l.title = title;
    if (l.window)
        SDL_SetWindowTitle(l.window, title.c_str());
}

bool SetWindowIcon(const std::string& pngPath)
{
    auto& l = L();
    l.iconPath = pngPath;
    if (!l.window || pngPath.empty())
        return false;
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;
    if (!DecodeImageFile(pngPath, w, h, rgba)) {
        Log("Cannot read the window icon: " + pngPath);
        return false;
    }
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(rgba.data(), w, h, 32, w * 4, SDL_PIXELFORMAT_RGBA32);
    if (!s)
        return false;
    SDL_SetWindowIcon(l.window, s);
    SDL_FreeSurface(s);
    return true;
}

// ---- Display ----

namespace detail {

// The projection again for a back buffer of another size. The caller's origin
// keeps its place relative to the design area.
void ReapplyProjection()
{
    auto& l = L();
    if (!l.projectionSet)
        return;
    Projection old = l.projection;
    float dx = l.state.originX - old.offsetX, dy = l.state.originY - old.offsetY;
    SetVirtualResolution(old.w, old.h, old.mode);
    SetOrigin(l.projection.offsetX + dx, l.projection.offsetY + dy);
}

} // namespace detail

bool OpenDisplay(int width, int height, int depth, int /*refresh*/, int /*flags*/)
{
    auto& l = L();
    if (!l.initialised) {
        Log("OpenDisplay before Init");
        return false;
    }
    bool full = depth == 32;
    if (width <= 0 || height <= 0) {
        Log("OpenDisplay: bad size " + std::to_string(width) + "x" + std::to_string(height));
        return false;
    }
    if (!l.window) {
        Uint32 wflags = SDL_WINDOW_SHOWN;
        if (full)
            wflags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        l.window = SDL_CreateWindow(l.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                    height, wflags);
        if (!l.window) {
            Log(std::string("Cannot open the window: ") + SDL_GetError());
            return false;
        }
        Uint32 rflags = l.headless ? SDL_RENDERER_SOFTWARE
                                   : (SDL_RENDERER_ACCELERATED | (l.vsyncWanted ? SDL_RENDERER_PRESENTVSYNC : 0));
        l.renderer = SDL_CreateRenderer(l.window, -1, rflags);
        if (!l.renderer && !l.headless)
            l.renderer = SDL_CreateRenderer(l.window, -1, SDL_RENDERER_SOFTWARE);
        if (!l.renderer) {
            Log(std::string("Cannot create a renderer: ") + SDL_GetError());
            SDL_DestroyWindow(l.window);
            l.window = nullptr;
            return false;
        }
        ++l.generation;
        SDL_RendererInfo info;
        if (SDL_GetRendererInfo(l.renderer, &info) == 0) {
            l.maxTextureW = info.max_texture_width;
            l.maxTextureH = info.max_texture_height;
            l.vsync = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
        }
        SDL_SetRenderDrawBlendMode(l.renderer, SDL_BLENDMODE_BLEND);
        if (!l.iconPath.empty())
            SetWindowIcon(l.iconPath);
    } else {
        detail::FlushBatch();
        SDL_SetWindowFullscreen(l.window, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        if (!full) {
            SDL_SetWindowSize(l.window, width, height);
            SDL_SetWindowPosition(l.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
    }
    l.state.viewport = Rect{0, 0, float(BackBufferWidth()), float(BackBufferHeight())};
    if (l.projectionSet)
        detail::ReapplyProjection();
    else
        SetVirtualResolution(float(BackBufferWidth()), float(BackBufferHeight()), 0);
    return true;
}

bool DisplayOpen() { return L().renderer != nullptr; }

// Headless runs behave like a common 1920 x 1080 desktop, so that they pick the
// wide 1366 x 768 layout a player on such a desktop sees (SDL's dummy driver
// reports 1024 x 768).
constexpr int kHeadlessDesktopW = 1920;
constexpr int kHeadlessDesktopH = 1080;

int DesktopWidth()
{
    if (L().headless)
        return kHeadlessDesktopW;
    SDL_DisplayMode m;
    if (L().initialised && SDL_GetDesktopDisplayMode(0, &m) == 0)
        return m.w;
    return 0;
}

int DesktopHeight()
{
    if (L().headless)
        return kHeadlessDesktopH;
    SDL_DisplayMode m;
    if (L().initialised && SDL_GetDesktopDisplayMode(0, &m) == 0)
        return m.h;
    return 0;
}

int BackBufferWidth()
{
    int w = 0, h = 0;
    if (L().renderer)
        SDL_GetRendererOutputSize(L().renderer, &w, &h);
    return w;
}

int BackBufferHeight()
{
    int w = 0, h = 0;
    if (L().renderer)
        SDL_GetRendererOutputSize(L().renderer, &w, &h);
    return h;
}

std::string RendererName()
{
    SDL_RendererInfo info;
    if (L().renderer && SDL_GetRendererInfo(L().renderer, &info) == 0)
        return info.name;
    return "";
}

void* NativeRendererHandle()
{
    detail::FlushBatch();
    return L().renderer;
}

void SetTextureSizeLimit(int pixels) { L().textureCap = std::max(0, pixels); }

void SetClearColor(int r, int g, int b)
{
    auto& l = L();
    l.clearR = std::clamp(r, 0, 255);
    l.clearG = std::clamp(g, 0, 255);
    l.clearB = std::clamp(b, 0, 255);
}

void Cls()
{
    auto& l = L();
    detail::FlushBatch();
    if (!detail::Rasterising())
        return;
    SDL_SetRenderDrawColor(l.renderer, Uint8(l.clearR), Uint8(l.clearG), Uint8(l.clearB), 255);
    SDL_RenderClear(l.renderer);
}

static void KeepFrame()
{
    auto& l = L();
    int w = 0, h = 0;
    l.keptFrame = ReadPixels(w, h);
    l.keptW = w;
    l.keptH = h;
}

void Flip()
{
    auto& l = L();
    detail::FlushBatch();
    if (detail::Rasterising()) {
        // A captured frame is kept for SaveScreenshot; after any other
        // rasterised frame the back buffer itself is the latest picture.
        if (l.captureThisFrame)
            KeepFrame();
        else
            l.keptFrame.clear();
        SDL_RenderPresent(l.renderer);
    }
    l.captureThisFrame = false;
    l.current.frames = l.last.frames + 1;
    l.last = l.current;
    l.current = FrameStats{};
    l.current.frames = l.last.frames;

    // Our own frame limit: vsync alone does not hold a fast or hidden display.
    // Frames are held to a grid of 1/limit s; a late frame restarts the grid
    // instead of being followed by a burst of short ones. Where vsync already
    // paces a visible 60 Hz display, it alone sets the pace, so the two never
    // fight over the same frame.
    if (l.frameLimit > 0) {
        IClock& clock = Clock();
        double period = 1000.0 / l.frameLimit;
        double now = double(clock.Millis());
        bool vsyncPaces = false;
        if (l.vsync && l.window && l.lastFlipAt >= 0 && now - l.lastFlipAt >= 0.9 * period) {
            SDL_DisplayMode mode;
            Uint32 flags = SDL_GetWindowFlags(l.window);
            vsyncPaces = !(flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) &&
                         SDL_GetWindowDisplayMode(l.window, &mode) == 0 && mode.refresh_rate >= 59 &&
                         mode.refresh_rate <= 61 && l.frameLimit == 60;
        }
        double shownAt = now;
        if (!vsyncPaces && l.nextFrameAt >= 0 && now < l.nextFrameAt) {
            clock.SleepUntil(int64_t(std::ceil(l.nextFrameAt)));
            shownAt = l.nextFrameAt;
        }
        l.nextFrameAt = shownAt + period;
        l.lastFlipAt = double(clock.Millis());
    }
    if (!AudioDeviceOpen()) {
        int64_t now = Clock().Millis();
        if (l.audioPumpedAt < 0)
            l.audioPumpedAt = now;
        if (now > l.audioPumpedAt) {
            PumpAudio(int(std::min<int64_t>(now - l.audioPumpedAt, 1000)));
            l.audioPumpedAt = now;
        }
    }
}

void SetFrameLimit(int fps)
{
    L().frameLimit = std::max(0, fps);
    L().nextFrameAt = -1;
    L().lastFlipAt = -1;
}

int FrameLimit() { return L().frameLimit; }

void SetVSync(bool on)
{
    auto& l = L();
    l.vsyncWanted = on;
    if (!l.renderer || l.headless)
        return;
    if (SDL_RenderSetVSync(l.renderer, on ? 1 : 0) == 0)
        l.vsync = on;
    else
        Log(std::string("Cannot switch vsync ") + (on ? "on: " : "off: ") + SDL_GetError());
}

// ---- Virtual projection ----

Projection ComputeProjection(float w, float h, int mode, int gw, int gh)
{
    Projection p;
    p.w = w;
    p.h = h;
    p.mode = mode;
    p.gw = gw;
    p.gh = gh;
    if (w <= 0 || h <= 0 || gw <= 0 || gh <= 0) {
        // Nothing sensible to map: identity over whatever there is.
        p.areaW = float(std::max(gw, 0));
        p.areaH = float(std::max(gh, 0));
        p.viewport = Rect{0, 0, p.areaW, p.areaH};
        return p;
    }
    if (mode == 0) {
        p.scaleX = gw / w;
        p.scaleY = gh / h;
        p.areaW = w;
        p.areaH = h;
        p.viewport = Rect{0, 0, std::ceil(w), std::ceil(h)};
        return p;
    }
    float s = std::min(gw / w, gh / h);
    bool integral = (mode & 4) != 0;
    if (integral)
        s = std::max(std::floor(s), 1.0f);
    p.scaleX = p.scaleY = s;
    p.areaW = gw / s;
    p.areaH = gh / s;
    p.offsetX = (p.areaW - w) * 0.5f;
    p.offsetY = (p.areaH - h) * 0.5f;
    if (integral) {
        p.offsetX = std::floor(p.offsetX);
        p.offsetY = std::floor(p.offsetY);
    }
    p.letterbox = (mode & 1) != 0;
    if (p.letterbox)
        p.viewport = Rect{p.offsetX, p.offsetY, w, h};
    else
        p.viewport = Rect{0, 0, p.areaW, p.areaH};
    return p;
}

void SetVirtualResolution(float w, float h, int mode)
{
    auto& l = L();
    detail::FlushBatch();
    l.projection = ComputeProjection(w, h, mode, BackBufferWidth(), BackBufferHeight());
    l.projectionSet = true;
    const Projection& p = l.projection;
    if (p.letterbox && l.renderer) {
        // The borders are cleared once; the viewport keeps drawing off them.
        SDL_SetRenderDrawColor(l.renderer, Uint8(l.clearR), Uint8(l.clearG), Uint8(l.clearB), 255);
        SDL_RenderClear(l.renderer);
    }
    SetOrigin(p.offsetX, p.offsetY);
    SetViewport(p.viewport.x, p.viewport.y, p.viewport.w, p.viewport.h);
}

const Projection& CurrentProjection() { return L().projection; }

void VirtualToPixel(float vx, float vy, float& px, float& py)
{
    const Projection& p = L().projection;
    px = vx * p.scaleX;
    py = vy * p.scaleY;
}

void PixelToVirtual(float px, float py, float& vx, float& vy)
{
    const Projection& p = L().projection;
    vx = p.scaleX != 0 ? px / p.scaleX : px;
    vy = p.scaleY != 0 ? py / p.scaleY : py;
}

// ---- Rasterising, screenshots, statistics ----

void SetRasterising(bool on)
{
    detail::FlushBatch();
    L().rasterAlways = on;
}
bool IsRasterising() { return detail::Rasterising(); }

void CaptureNextFrame()
{
    auto& l = L();
    if (!l.captureThisFrame && !l.rasterAlways && l.renderer) {
        // Rasterising starts now: begin from a clean buffer.
        detail::FlushBatch();
        l.captureThisFrame = true;
        SDL_SetRenderDrawColor(l.renderer, Uint8(l.clearR), Uint8(l.clearG), Uint8(l.clearB), 255);
        SDL_RenderClear(l.renderer);
    }
    l.captureThisFrame = true;
}

bool SaveScreenshot(const std::string& path)
{
    auto& l = L();
    if (!l.keptFrame.empty())
        return WritePng(path, l.keptW, l.keptH, l.keptFrame);
    int w = 0, h = 0;
    std::vector<uint8_t> px = ReadPixels(w, h);
    if (px.empty()) {
        Log("No frame to save: " + path);
        return false;
    }
    return WritePng(path, w, h, px);
}

std::vector<uint8_t> ReadPixels(int& width, int& height)
{
    auto& l = L();
    width = height = 0;
    if (!l.renderer)
        return {};
    detail::FlushBatch();
    int w = BackBufferWidth(), h = BackBufferHeight();
    std::vector<uint8_t> out(size_t(w) * h * 4);
    if (SDL_RenderReadPixels(l.renderer, nullptr, SDL_PIXELFORMAT_RGBA32, out.data(), w * 4) != 0)
        return {};
    width = w;
    height = h;
    return out;
}

Pixel ReadPixel(int x, int y)
{
    auto& l = L();
    if (!l.renderer)
        return {};
    detail::FlushBatch();
    if (x < 0 || y < 0 || x >= BackBufferWidth() || y >= BackBufferHeight())
        return {};
    uint8_t px[4] = {0, 0, 0, 0};
    SDL_Rect r{x, y, 1, 1};
    if (SDL_RenderReadPixels(l.renderer, &r, SDL_PIXELFORMAT_RGBA32, px, 4) != 0)
        return {};
    return Pixel{px[0], px[1], px[2], px[3]};
}

FrameStats LastFrameStats() { return L().last; }
FrameStats CurrentFrameStats() { return L().current; }

} // namespace platform
