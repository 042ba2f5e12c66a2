#include "citymap/backgrounds.h"

#include <algorithm>
#include <cctype>

#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "datafiles/blockfile.h"

namespace citymap {

namespace {

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The entry's values joined by commas: the text form of the value records.
std::string Joined(const PBlockFile& e)
{
    std::string out;
    if (!e)
        return out;
    for (size_t i = 0; i < e->Value.size(); ++i) {
        if (i)
            out += ",";
        out += e->Value[i];
    }
    return out;
}

} // namespace

void TBackgroundObject::LoadStandard(const std::string& folder, const TBlockFile& block)
{
    if (auto e = block.isBlock("Id"))
        Id = e->GetInt(0);
    if (auto e = block.isBlock("Url"))
        Url = folder + "/" + e->GetString(0);
    if (auto e = block.isBlock("Dim"))
        Dim.FromString(Joined(e));
    Dim.x -= 171;
    if (auto e = block.isBlock("TFR")) {
        // scale x, scale y, rotation
        ScaleX = e->Value.size() > 0 ? e->GetFloat(0) : 1;
        ScaleY = e->Value.size() > 1 ? e->GetFloat(1) : ScaleX;
        Rotation = e->Value.size() > 2 ? e->GetFloat(2) : 0;
    }
    if (auto e = block.isBlock("RGB")) {
        R = e->Value.size() > 0 ? e->GetInt(0) : 255;
        G = e->Value.size() > 1 ? e->GetInt(1) : 255;
        B = e->Value.size() > 2 ? e->GetInt(2) : 255;
        Alpha = e->Value.size() > 3 ? e->GetFloat(3) : 1;
    }
    if (auto e = block.isBlock("BLEND"))
        Blend = Upper(e->GetString(0)) == "LIGHTBLEND" ? 4 : 3;
}

// ---- IMAGE ----

void TBackgroundImage::LoadData(const TBlockFile& block, const std::string&)
{
    if (auto e = block.isBlock("Speed"))
        Speed = e->GetFloat(0);
}

void TBackgroundImage::Load()
{
    Image = platform::LoadImage(Url, Flags < 0 ? platform::kImageDefaultFlags : Flags);
    if (!Image)
        platform::Log("Background picture not found: " + Url);
}

void TBackgroundImage::Update(float ff)
{
    if (Speed == 0 || !Image)
        return;
    const float w = static_cast<float>(Image->Width());
    MoveX += Speed * ff;
    if (Speed > 0 && MoveX > w) {
        MoveX = w - MoveX;
        if (MoveX < -1366)
            MoveX = 0;
    } else if (Speed < 0 && MoveX < 0) {
        MoveX += w;
    }
}

void TBackgroundImage::Draw(float backgroundAlpha)
{
    if (!Image)
        return;
    platform::SetBlend(Blend);
    if (Speed == 0) {
        platform::SetColor(R, G, B);
        platform::SetAlpha(Alpha * backgroundAlpha);
        platform::SetScale(ScaleX, ScaleY);
        platform::SetRotation(Rotation);
        platform::DrawImage(Image, Dim.x, Dim.y);
    } else {
        const float w = static_cast<float>(Image->Width());
        platform::SetColor(255, 255, 255);
        platform::SetAlpha(1);
        platform::SetScale(1, 1);
        platform::SetRotation(0);
        platform::DrawImage(Image, Dim.x + MoveX, Dim.y);
        platform::DrawImage(Image, Dim.x + MoveX - w, Dim.y);
    }
    platform::ResetDrawState();
}

// ---- TBackground ----

bool TBackground::LoadData()
{
    const std::string file = Path + "/Background.txt";
    if (!platform::FileExists(file)) {
        warnings.push_back("Background file not found: " + file);
        platform::Log(warnings.back());
        return false;
    }
    PBlockFile root = LoadBlockFile(file);
    PBlockFile objects = root ? root->isBlock("Objects") : nullptr;
    if (objects) {
        for (const PBlockFile& b : objects->SubFiles) {
            if (!b || b->MyType != 0)
                continue;
            std::shared_ptr<TBackgroundObject> obj;
            if (Upper(b->name) == "IMAGE")
                obj = std::make_shared<TBackgroundImage>();
            if (!obj) {
                warnings.push_back(file + ": background object " + b->name + " is not shown yet");
                platform::Log(warnings.back());
                continue;
            }
            obj->LoadStandard(Path, *b);
            obj->LoadData(*b, Path);
            Objects.push_back(obj);
        }
    }
    if (Objects.empty()) {
        warnings.push_back(file + ": no background object to show");
        platform::Log(warnings.back());
        return false;
    }
    return true;
}

void TBackground::Load()
{
    isLoaded = 1;
    for (auto& o : Objects)
        o->Load();
    Reset();
}

void TBackground::Reset()
{
    for (auto& o : Objects)
        o->Reset();
}

void TBackground::Free()
{
    isLoaded = 0;
    for (auto& o : Objects)
        o->Free();
    Objects.clear();
}

void TBackground::Draw(float ff)
{
    const float alpha = platform::GetAlpha();
    for (auto& o : Objects) {
        o->Update(ff);
        o->Draw(alpha);
    }
    platform::SetAlpha(alpha);
}

std::shared_ptr<TBackground> CreateBackground(const std::string& path)
{
    auto bg = std::make_shared<TBackground>();
    bg->Path = path;
    bg->LoadData();
    return bg;
}

} // namespace citymap
