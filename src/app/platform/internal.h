// Private state shared by the files of the platform layer. Only the layer's own
// .cpp files include this header (it pulls in SDL).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/platform/display.h"
#include "app/platform/font.h"
#include "app/platform/image.h"

namespace platform {

// Renderer-side data of an image: its texture, created on first rasterised use.
struct TextureSlot {
    SDL_Texture* texture = nullptr;
    uint64_t generation = 0; // renderer generation the texture belongs to
    int texW = 0, texH = 0;
    ~TextureSlot();
};

namespace detail {

struct DrawState {
    int r = 255, g = 255, b = 255;
    float alpha = 1;
    int blend = 3;
    float sx = 1, sy = 1;
    float rotation = 0;
    std::shared_ptr<Font> font;
    float originX = 0, originY = 0;
    Rect viewport;
};

struct Layer {
    bool initialised = false;
    bool headless = false;
    bool wantAudio = true;
    std::string title = "Velmora";
    std::string iconPath;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    uint64_t generation = 1; // bumped whenever the renderer is recreated
    int maxTextureW = 0, maxTextureH = 0;
    int textureCap = 0; // SetTextureSizeLimit
    int clearR = 0, clearG = 0, clearB = 0;

    Projection projection;
    bool projectionSet = false;
    DrawState state;

    bool rasterAlways = true;   // windowed runs; SetRasterising
    bool captureThisFrame = false;
    std::vector<uint8_t> keptFrame;
    int keptW = 0, keptH = 0;

    FrameStats current, last;
    int frameLimit = 60;
    double nextFrameAt = -1; // earliest time the next flip may return
    double lastFlipAt = -1;
    bool vsync = false;      // the renderer waits for the display refresh
    bool vsyncWanted = true; // SetVSync: windows ask for it unless switched off

    // Batch of geometry waiting for the renderer.
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
    SDL_Texture* batchTexture = nullptr;
    int batchBlend = 3;
    bool batchOpen = false;

    int64_t audioPumpedAt = -1;
};

Layer& L();

// Whether draw calls of the current frame reach the renderer.
bool Rasterising();
// Sends the open batch to the renderer (or just counts it).
void FlushBatch();
// The texture of an image for the current renderer, created when needed.
SDL_Texture* TextureOf(Image& image);
// A texture for raw RGBA pixels; nullptr without renderer. quality: 0 nearest,
// 1 linear, 2 the renderer's best.
SDL_Texture* MakeTexture(int w, int h, const uint8_t* rgba, int quality, bool streaming = false);

// Appends one textured (or plain, texture nullptr) quad given its four corners
// in pixels, clockwise from the top-left, with texture coordinates.
struct QuadCorners {
    float x[4], y[4];
    float u[4], v[4];
};
void SubmitQuad(SDL_Texture* texture, const QuadCorners& q);

// Local -> pixel transform for the current state: a point (lx, ly) relative to
// the anchor (ax, ay) (virtual units, origin not yet applied) is scaled and
// rotated about the anchor.
struct Transform {
    float ax, ay;   // anchor in pixels
    float m00, m01, m10, m11; // local virtual units -> pixels (scale, rotation, projection)
    void Apply(float lx, float ly, float& px, float& py) const {
        px = ax + m00 * lx + m01 * ly;
        py = ay + m10 * lx + m11 * ly;
    }
};
Transform CurrentTransform(float x, float y);

// Font internals used by the drawing code.
struct GlyphQuad {
    SDL_Texture* texture;
    float x, y, w, h;     // relative to the text's top-left, unscaled pixels
    float u0, v0, u1, v1;
};
void LayoutText(Font& font, const std::string& text, std::vector<GlyphQuad>& out, bool wantTextures);

// Re-applies the projection after the back buffer changed size.
void ReapplyProjection();

} // namespace detail
} // namespace platform
