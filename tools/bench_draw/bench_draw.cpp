// bench_draw: draws the same few thousand rotated, tinted, alpha-blended
// sprites through Velmora's platform layer (CPU transform, batched geometry)
// and through plain SDL_RenderCopyEx calls on the same renderer, and prints
// the time per frame of each and their ratio.
//
//   bench_draw [--sprites N] [--frames N] [--size PIXELS] [--headless]
//   (frames: 20 headless, 120 windowed; sprites are 32 pixels square unless
//   --size says otherwise: small sprites show the per-call cost, large ones
//   the fill rate)
//
// Headless (or with SDL_VIDEODRIVER=dummy) it uses the software renderer; in
// a window it uses the accelerated renderer SDL picks.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/platform/platform.h"

namespace {

struct Sprite {
    float x, y, angle, spin;
    int r, g, b;
    float alpha;
};

// A soft disc with a bright rim so that rotation and blending both matter.
std::vector<uint8_t> SpritePixels(int size)
{
    std::vector<uint8_t> px(size_t(size) * size * 4);
    float c = (size - 1) * 0.5f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float d = std::sqrt((x - c) * (x - c) + (y - c) * (y - c)) / c;
            uint8_t* p = &px[size_t(y * size + x) * 4];
            float a = d < 1 ? 1 - d * d : 0;
            p[0] = uint8_t(255 * (x < c ? 1.0f : 0.6f));
            p[1] = uint8_t(255 * (y < c ? 1.0f : 0.5f));
            p[2] = 255;
            p[3] = uint8_t(255 * a);
        }
    return px;
}

double NowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

int main(int argc, char** argv)
{
    int sprites = 3000, frames = 0, size = 32;
    bool headless = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--sprites") && i + 1 < argc)
            sprites = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--frames") && i + 1 < argc)
            frames = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--size") && i + 1 < argc)
            size = std::clamp(std::atoi(argv[++i]), 2, 256);
        else if (!std::strcmp(argv[i], "--headless"))
            headless = true;
        else {
            std::fprintf(stderr, "usage: bench_draw [--sprites N] [--frames N] [--size PIXELS] [--headless]\n");
            return 2;
        }
    }
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && !std::strcmp(driver, "dummy"))
        headless = true;
    if (frames == 0)
        frames = headless ? 20 : 120; // the software renderer is slow

    platform::InitOptions opts;
    opts.headless = headless;
    opts.audio = false;
    opts.title = "bench_draw";
    if (!platform::Init(opts) || !platform::OpenDisplay(1024, 768, 0)) {
        std::fprintf(stderr, "bench_draw: no display\n");
        return 1;
    }
    // Whole frames as fast as they go: no frame limit, no wait for the refresh.
    platform::SetFrameLimit(0);
    platform::SetVSync(false);
    platform::SetRasterising(true);
    platform::SetVirtualResolution(1024, 768, 0);
    auto* renderer = static_cast<SDL_Renderer*>(platform::NativeRendererHandle());

    std::vector<uint8_t> pixels = SpritePixels(size);
    platform::ImagePtr image = platform::CreateImage(size, size, pixels, platform::kImageFiltered);
    image->MidHandle();
    SDL_Texture* plain = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, size, size);
    SDL_UpdateTexture(plain, nullptr, pixels.data(), size * 4);
    SDL_SetTextureBlendMode(plain, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(plain, SDL_ScaleModeLinear);

    platform::Random rng(12345);
    std::vector<Sprite> all(static_cast<size_t>(sprites));
    for (Sprite& s : all)
        s = Sprite{rng.Float(0, 1024), rng.Float(0, 768), rng.Float(0, 360), rng.Float(-3, 3), rng.Int(64, 255),
                   rng.Int(64, 255), rng.Int(64, 255), rng.Float(0.3f, 1.0f)};

    auto ourFrame = [&](int f) {
        platform::Cls();
        for (const Sprite& s : all) {
            platform::SetColor(s.r, s.g, s.b);
            platform::SetAlpha(s.alpha);
            platform::SetRotation(s.angle + s.spin * float(f));
            platform::DrawImage(image, s.x, s.y);
        }
        platform::Flip();
    };
    auto plainFrame = [&](int f) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        for (const Sprite& s : all) {
            SDL_SetTextureColorMod(plain, Uint8(s.r), Uint8(s.g), Uint8(s.b));
            SDL_SetTextureAlphaMod(plain, Uint8(std::lround(s.alpha * 255)));
            SDL_FRect dst{s.x - size / 2.0f, s.y - size / 2.0f, float(size), float(size)};
            SDL_FPoint centre{size / 2.0f, size / 2.0f};
            SDL_RenderCopyExF(renderer, plain, nullptr, &dst, double(s.angle + s.spin * float(f)), &centre, SDL_FLIP_NONE);
        }
        SDL_RenderPresent(renderer);
    };
    auto timeIt = [&](auto&& frame) {
        for (int f = 0; f < 5; ++f)
            frame(f); // warm-up: textures, caches, driver
        double t0 = NowMs();
        for (int f = 0; f < frames; ++f)
            frame(f);
        return (NowMs() - t0) / frames;
    };

    double ours = timeIt(ourFrame);
    int batches = platform::LastFrameStats().batches;
    double plainMs = timeIt(plainFrame);
    platform::SetRasterising(false);
    double nullMs = timeIt(ourFrame);

    std::printf("renderer:            %s%s\n", platform::RendererName().c_str(), headless ? " (headless)" : "");
    std::printf("sprites per frame:   %d (%dx%d, rotated, tinted, alpha-blended), %d frames timed\n", sprites, size, size, frames);
    auto fps = [](double ms) { return ms > 0 ? 1000.0 / ms : 0.0; };
    std::printf("whole frames:        clear, sprites, flush of the last batch and present; no frame limit, no vsync\n");
    std::printf("platform layer:      %.3f ms/frame, %.0f frames/s (%d batch%s per frame)\n", ours, fps(ours), batches,
                batches == 1 ? "" : "es");
    std::printf("plain SDL calls:     %.3f ms/frame, %.0f frames/s (%d calls per frame)\n", plainMs, fps(plainMs),
                sprites);
    std::printf("ratio layer/plain:   %.2f\n", plainMs > 0 ? ours / plainMs : 0.0);
    std::printf("null backend:        %.3f ms/frame, %.0f frames/s (drawing logic only, nothing rasterised or presented)\n",
                nullMs, fps(nullMs));

    SDL_DestroyTexture(plain);
    image.reset();
    platform::Shutdown();
    return 0;
}
