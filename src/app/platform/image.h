// Images: decoded PNG / JPEG pictures, possibly split into animation frames.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Image flags: 1 masked (pure black becomes transparent), 2 filtered (linear
// scaling), 4 mip-mapped (smooth minification). -1 means the default 3.
constexpr int kImageMasked = 1;
constexpr int kImageFiltered = 2;
constexpr int kImageMipmapped = 4;
constexpr int kImageDefaultFlags = -1;

struct TextureSlot; // renderer-side data, private to the layer

class Image {
public:
    // rgba: width * height * 4 bytes of the whole sheet, rows top to bottom.
    Image(int sheetWidth, int sheetHeight, std::vector<uint8_t> rgba, int flags);
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Size of one frame in pixels.
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Frames() const { return frameCount_; }

    float HandleX() const { return hx_; }
    float HandleY() const { return hy_; }
    void SetHandle(float hx, float hy) { hx_ = hx; hy_ = hy; }
    void MidHandle() { hx_ = width_ / 2.0f; hy_ = height_ / 2.0f; }

    int Flags() const { return flags_; }

    // Splits the sheet into frames of cellW x cellH read left to right, top to
    // bottom, starting at cell `first`, `count` cells. False when the cells do
    // not fit the sheet (the image then stays one frame).
    bool SetFrames(int cellW, int cellH, int first, int count);

    // Source rectangle of a frame within the sheet (pixels of the sheet).
    void FrameRect(int frame, int& sx, int& sy) const;

    int SheetWidth() const { return sheetW_; }
    int SheetHeight() const { return sheetH_; }
    // Sheet pixels while they are still held (until first drawn); may be empty.
    const std::vector<uint8_t>& Pixels() const { return rgba_; }

    // Layer internals.
    TextureSlot* Slot() { return slot_.get(); }
    std::vector<uint8_t>& MutablePixels() { return rgba_; }
    float UploadScale() const { return uploadScale_; }
    void SetUploadScale(float s) { uploadScale_ = s; }

private:
    int sheetW_ = 0, sheetH_ = 0;
    int width_ = 0, height_ = 0;
    int flags_ = 3;
    int firstCell_ = 0, frameCount_ = 1, cellsPerRow_ = 1;
    float hx_ = 0, hy_ = 0;
    float uploadScale_ = 1; // < 1 when the texture had to be downscaled
    std::vector<uint8_t> rgba_;
    std::unique_ptr<TextureSlot> slot_;
};

using ImagePtr = std::shared_ptr<Image>;

// nullptr (and a log line) when the file is missing or cannot be decoded.
ImagePtr LoadImage(const std::string& path, int flags = kImageDefaultFlags);
ImagePtr LoadAnimImage(const std::string& path, int cellW, int cellH, int first, int count,
                       int flags = kImageDefaultFlags);
// An image made from pixels in memory (RGBA rows, top to bottom).
ImagePtr CreateImage(int width, int height, std::vector<uint8_t> rgba, int flags = 2);

// Decoding alone (no display needed): true and RGBA pixels on success.
bool DecodeImageFile(const std::string& path, int& width, int& height, std::vector<uint8_t>& rgba);
bool DecodePng(const std::vector<uint8_t>& bytes, int& width, int& height, std::vector<uint8_t>& rgba);
bool DecodeJpeg(const std::vector<uint8_t>& bytes, int& width, int& height, std::vector<uint8_t>& rgba);
// Writes RGBA rows as a PNG file; false on failure.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);

// Helpers matching the operations' names.
inline void SetImageHandle(const ImagePtr& img, float hx, float hy) { if (img) img->SetHandle(hx, hy); }
inline void MidHandle(const ImagePtr& img) { if (img) img->MidHandle(); }
inline int ImageWidth(const ImagePtr& img) { return img ? img->Width() : 0; }
inline int ImageHeight(const ImagePtr& img) { return img ? img->Height() : 0; }

} // namespace platform
