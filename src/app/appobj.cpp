#include "app/appobj.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "datafiles/blockfile.h"
#include "datafiles/numbers.h"
#include "fx/numtext.h"

namespace app {

namespace {

// The drawing state every object sets before it draws itself and again after
// its children, so that neither leaks into the next object.
void ApplyDrawingState(int blend, float alpha, float sx, float sy, float rotation, int r, int g, int b)
{
    platform::SetBlend(blend);
    platform::SetAlpha(alpha);
    platform::SetScale(sx, sy);
    platform::SetRotation(rotation);
    platform::SetColor(r, g, b);
}

} // namespace

TAppObj::TAppObj() { Rgb.SetData(255, 255, 255, 1, 1); }

TAppObj::~TAppObj()
{
    // Children that live on elsewhere must not point at a dead parent.
    for (const TAppObjPtr& child : Objects) {
        if (child && child->Parent == this)
            child->Parent = nullptr;
    }
}

template <class F>
void TAppObj::ForEachChild(F&& f)
{
    size_t i = 0;
    while (i < Objects.size()) {
        TAppObjPtr child = Objects[i]; // keeps the child alive through its call
        f(*child);
        if (i < Objects.size() && Objects[i] == child) {
            ++i;
            continue;
        }
        // The list changed under us: go on after the child where it is now,
        // or at its old index when it left the list.
        const auto it = std::find(Objects.begin(), Objects.end(), child);
        if (it != Objects.end())
            i = static_cast<size_t>(it - Objects.begin()) + 1;
    }
}

// ---- FREEING AND TEXT FORM ----

void TAppObj::FreeObjects()
{
    std::vector<TAppObjPtr> children = std::move(Objects);
    Objects.clear();
    for (const TAppObjPtr& child : children) {
        if (child)
            child->Free();
    }
}

void TAppObj::FreeBasic() { Parent = nullptr; }

void TAppObj::Free()
{
    // The parent's list may hold the last reference to this object, so it
    // leaves that list only at the very end, when nothing else touches it.
    TAppObj* oldParent = Parent;
    FreeBasic();
    OnFree();
    FreeObjects();
    if (oldParent)
        oldParent->RemoveObject(this);
}

std::string TAppObj::ToString2(const std::string& indent) const
{
    std::string out = indent + "OBJECT '" + Name + "' - " + fx::FloatToText(Dim.x) + ", " + fx::FloatToText(Dim.y) + "\n";
    for (const TAppObjPtr& child : Objects)
        out += child->ToString2(indent + "\t");
    return out;
}

// ---- DRAWING ----

void TAppObj::DrawSettings() { ApplyDrawingState(Blend, Alpha, ScaleX, ScaleY, Rotation, Red, Green, Blue); }

void TAppObj::DrawObjects()
{
    ForEachChild([](TAppObj& child) { child.Draw(); });
}

void TAppObj::Draw()
{
    if (!isEnabled)
        return;
    DrawSettings();
    OnDraw();
    DrawObjects();
    DrawSettings();
    OnDrawEnd();
}

// ---- UPDATING ----

void TAppObj::UpdateSettings()
{
    float px = 0, py = 0, psx = 1, psy = 1, prot = 0, palpha = 1;
    if (Parent) {
        px = Parent->x;
        py = Parent->y;
        psx = Parent->ScaleX;
        psy = Parent->ScaleY;
        prot = Parent->Rotation;
        palpha = Parent->Alpha;
    }
    x = px + CountRotatedX(Dim.x, Dim.y, prot) * psx;
    y = py + CountRotatedY(prot) * psy;
    ScaleX = psx * TFR.sx;
    ScaleY = psy * TFR.sy;
    Rotation = prot + TFR.Rotation;
    Alpha = palpha * Rgb.a;
    Red = Rgb.r;
    Green = Rgb.g;
    Blue = Rgb.b;
}

void TAppObj::UpdateObjects()
{
    ForEachChild([](TAppObj& child) { child.Update(); });
}

void TAppObj::Update()
{
    if (!isEnabled)
        return;
    OnCountSettings();
    UpdateObjectType();
    UpdateSettings();
    OnUpdate();
    UpdateObjects();
}

// ---- COUNTING ----

float TAppObj::CountRotatedX(float dx, float dy, float angle)
{
    keptR_ = std::sqrt(dx * dx + dy * dy);
    keptTheta_ = platform::Atan2D(dy, dx);
    return keptR_ * platform::CosD(keptTheta_ + angle);
}

float TAppObj::CountRotatedY(float angle) { return keptR_ * platform::SinD(keptTheta_ + angle); }

// ---- OPERATIONS ----

void TAppObj::AddObject(const TAppObjPtr& obj, int atEnd)
{
    if (!obj)
        return;
    for (const TAppObj* p = this; p; p = p->Parent) {
        if (p == obj.get())
            return; // would make the object its own ancestor
    }
    const TAppObjPtr keep = obj; // obj may be a reference into the old parent's list
    if (keep->Parent)
        keep->Parent->RemoveObject(keep.get());
    if (atEnd == 0)
        Objects.insert(Objects.begin(), keep);
    else
        Objects.push_back(keep);
    keep->SetParent(this);
}

void TAppObj::RemoveObject(const TAppObj* obj)
{
    const auto it = std::find_if(Objects.begin(), Objects.end(),
                                 [obj](const TAppObjPtr& child) { return child.get() == obj; });
    if (it == Objects.end())
        return;
    const TAppObjPtr keep = *it; // alive until its parent link is cleared
    Objects.erase(it);
    keep->SetParent(nullptr);
}

void TAppObj::RemoveFromParent()
{
    if (Parent)
        Parent->RemoveObject(this);
}

void TAppObj::Calculate()
{
    UpdateSettings();
    ForEachChild([](TAppObj& child) { child.Calculate(); });
}

void TAppObj::ClearButtons()
{
    ForEachChild([](TAppObj& child) { child.ClearButtons(); });
}

void TAppObj::Enable()
{
    isEnabled = 1;
    OnEnable();
}

void TAppObj::Disable()
{
    isEnabled = 0;
    OnDisable();
}

// ---- SETTING ----

void TAppObj::SetParent(TAppObj* p) { Parent = p; }
void TAppObj::SetDim(const TDim& d) { SetXY(d.x, d.y); }

void TAppObj::SetTFR(const TTFR& t)
{
    SetS(t.sx, t.sy);
    SetRot(t.Rotation);
}

void TAppObj::SetXY(float nx, float ny)
{
    Dim.x = nx;
    Dim.y = ny;
}

void TAppObj::SetRot(float r) { TFR.Rotation = r; }

void TAppObj::SetS(float sx, float sy)
{
    TFR.sx = sx;
    TFR.sy = sy;
}

void TAppObj::SetA(float a) { Rgb.a = a; }

void TAppObj::SetRGB(int r, int g, int b)
{
    Rgb.r = r;
    Rgb.g = g;
    Rgb.b = b;
}

void TAppObj::SetStateData(float nx, float ny, float sx, float sy, float rotation, float /*extra*/, int r, int g,
                           int b, float alpha)
{
    SetXY(nx, ny);
    SetRot(rotation);
    SetS(sx, sy);
    SetA(alpha);
    SetRGB(r, g, b);
}

void TAppObj::SetStateDataObjects(const TDim&, const TTFR&, const TRGB&) {}

// ---- FINDING ----

TAppObjPtr TAppObj::FindObject(const std::string& name) const
{
    for (const TAppObjPtr& child : Objects) {
        if (child->Name == name)
            return child;
    }
    for (const TAppObjPtr& child : Objects) {
        if (TAppObjPtr found = child->FindObject(name))
            return found;
    }
    return nullptr;
}

TAppObjPtr TAppObj::FindObjectInd(int i) const
{
    if (i < 0 || static_cast<size_t>(i) >= Objects.size())
        return nullptr;
    return Objects[static_cast<size_t>(i)];
}

TAppObj* TAppObj::FindRootScreen() const
{
    for (TAppObj* p = Parent; p; p = p->Parent) {
        if (p->IsScreen())
            return p;
    }
    return nullptr;
}

// ---- LOADING ----

void TAppObj::LoadBasic(const TBlockFile& block)
{
    auto entry = [&block](const char* key) { return block.isBlock(key); };

    const PBlockFile id = entry("Id");
    Id = id ? datafiles::TruncToInt(id->GetFloat(0)) : 0;
    const PBlockFile name = entry("Name");
    Name = name ? name->GetString(0) : std::string();

    // The position is always applied: without "XY" the object sits at the
    // parent's origin.
    const PBlockFile xy = entry("XY");
    SetXY(xy ? xy->GetFloat(0) : 0.0f, xy ? xy->GetFloat(1) : 0.0f);

    if (const PBlockFile scale = entry("Scale"))
        SetS(scale->GetFloat(0), scale->GetFloat(1));
    if (const PBlockFile alpha = entry("Alpha"))
        SetA(alpha->GetFloat(0));
    // "RGB" only switches the colour on; the channels come from "Color".
    if (entry("RGB")) {
        const PBlockFile color = entry("Color");
        auto channel = [&color](int i) {
            return color ? std::clamp(datafiles::TruncToInt(color->GetFloat(i)), 0, 255) : 0;
        };
        SetRGB(channel(0), channel(1), channel(2));
    }
    if (const PBlockFile rotation = entry("Rotation"))
        SetRot(rotation->GetFloat(0));
}

void TAppObj::LoadTypeData(const TBlockFile&) {}

void TAppObj::LoadSubObjects(const TBlockFile& block)
{
    for (const PBlockFile& child : GetAllSubBlocks(block))
        CreateAppObjFromBlock(*child, this);
}

void TAppObj::Load(const TBlockFile& block)
{
    LoadBasic(block);
    LoadTypeData(block);
    LoadSubObjects(block);
}

// ---- Creation ----

TAppObjPtr CreateAppObj(const std::string& name, float x, float y, TAppObj* parent)
{
    auto obj = std::make_shared<TAppObj>();
    obj->Name = name;
    obj->SetXY(x, y);
    if (parent)
        parent->AddObject(obj, 1);
    return obj;
}

// ---- Object factory ----

namespace {

std::map<std::string, TAppObjCreator>& Creators()
{
    static std::map<std::string, TAppObjCreator> creators = {
        {"OBJECT", [] { return std::make_shared<TAppObj>(); }},
    };
    return creators;
}

} // namespace

void RegisterAppObjType(const std::string& blockName, TAppObjCreator creator)
{
    Creators()[datafiles::AsciiUpper(blockName)] = std::move(creator);
}

TAppObjPtr CreateAppObjOfType(const std::string& blockName)
{
    const auto& creators = Creators();
    const auto it = creators.find(datafiles::AsciiUpper(blockName));
    if (it == creators.end() || !it->second)
        return nullptr;
    return it->second();
}

TAppObjPtr CreateAppObjFromBlock(const TBlockFile& block, TAppObj* parent)
{
    TAppObjPtr obj = CreateAppObjOfType(block.name);
    if (!obj)
        return nullptr;
    if (parent)
        parent->AddObject(obj, 1);
    obj->Load(block);
    return obj;
}

} // namespace app
