// Level backgrounds: one folder per background set ("gfx/Backgrounds/
// Background-<n>" of the game folder) with a "Background.txt" block file whose
// block Objects lists the background objects in drawing order. This holds the
// still and scrolling pictures (IMAGE); other kinds are read past with one
// console line so that a set made for more kinds still shows its pictures.
//
// Coordinates: the file's x is measured from the left edge of the 1366-wide
// area, so 171 is taken off to reach the design area's units.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/platform/image.h"
#include "fx/records.h"

class TBlockFile;

namespace citymap {

class TBackgroundObject {
public:
    virtual ~TBackgroundObject() = default;
    int Id = 0;
    std::string Url; // folder + "/" + the value
    TDim Dim;
    float ScaleX = 1, ScaleY = 1, Rotation = 0;
    int R = 255, G = 255, B = 255;
    float Alpha = 1;
    int Blend = 3;

    void LoadStandard(const std::string& folder, const TBlockFile& block);
    virtual void LoadData(const TBlockFile& /*block*/, const std::string& /*folder*/) {}
    virtual void Load() {}
    virtual void Reset() {}
    virtual void Free() {}
    virtual void Update(float /*ff*/) {}
    virtual void Draw(float /*backgroundAlpha*/) {}
};

// IMAGE: a picture at Dim, or scrolling sideways at Speed pixels per frame.
class TBackgroundImage : public TBackgroundObject {
public:
    int Flags = -1;
    platform::ImagePtr Image;
    float Speed = 0;
    float MoveX = 0;

    void LoadData(const TBlockFile& block, const std::string& folder) override;
    void Load() override;
    void Free() override { Image.reset(); }
    void Update(float ff) override;
    void Draw(float backgroundAlpha) override;
};

class TBackground {
public:
    int index = 0;
    std::string Path;
    std::vector<std::shared_ptr<TBackgroundObject>> Objects;
    int isLoaded = 0;
    std::vector<std::string> warnings; // kinds read past, unreadable file

    // Reads Path + "/Background.txt". False (with a warning naming the file)
    // when it is missing or lists no object.
    bool LoadData();
    void Load();
    void Reset();
    void Free();
    // Updates and draws every object with the current drawing alpha.
    void Draw(float ff);
};

// A background for a folder with its data read (not yet loaded).
std::shared_ptr<TBackground> CreateBackground(const std::string& path);

} // namespace citymap
