#include "citymap/mapobjects.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "citymap/map.h"
#include "datafiles/blockfile.h"
#include "datafiles/numbers.h"
#include "fx/timing.h"

namespace citymap {

namespace {

std::string Upper(const std::string& s) { return datafiles::AsciiUpper(s); }

int EntryInt(const TBlockFile& block, const char* key, int i = 0)
{
    PBlockFile e = block.isBlock(key);
    return e && e->MyType == 1 ? e->GetInt(i) : 0;
}

std::string EntryString(const TBlockFile& block, const char* key)
{
    PBlockFile e = block.isBlock(key);
    return e && e->MyType == 1 ? e->GetString(0) : std::string();
}

void Report(std::vector<TMapFileIssue>& issues, const std::string& file, const std::string& where,
            const std::string& message)
{
    issues.push_back({file, where, message});
    platform::Log(file + ": " + where + ": " + message);
}

} // namespace

// ---- Draw objects ----

bool TMapDrawObj::isBattleObject() const
{
    return MyObject && MyObject->Kind() == TMapObjectKind::War && MyObject->WarScene != 0;
}

void TMapDrawObj::Draw(float mx)
{
    Update();
    OnUpdate();
    OnDraw(mx);
}

void TMapDrawObj::Update()
{
    const float step = kFadeStep * fx::FrameFactor();
    if (Alpha < dAlpha)
        Alpha = std::min(dAlpha, Alpha + step);
    else if (Alpha > dAlpha)
        Alpha = std::max(dAlpha, Alpha - step);
    UpdateEffect();
}

void TMapDrawObj::Load(const TBlockFile& block, const std::string& gameDir, bool pictures)
{
    if (PBlockFile dim = block.isBlock("Dim"); dim && dim->MyType == 1) {
        x = dim->GetInt(0);
        y = static_cast<float>(dim->GetInt(1));
    }
    url = EntryString(block, "Url");
    OnLoad(block, gameDir, pictures);
}

void TMapDrawObj::ResetShowReversed()
{
    Alpha = 1;
    if (!isBattleObject())
        dAlpha = 0;
}

void TMapDrawObj::ShowReversed()
{
    if (!isBattleObject())
        dAlpha = 0;
}

int TMapDrawImage::GetCenterX() const
{
    if (!obj)
        return x;
    return (x - static_cast<int>(obj->HandleX())) + obj->Width() / 2;
}

void TMapDrawImage::OnDraw(float mx)
{
    const platform::ImagePtr img = GetImage();
    if (nodraw == 0 && img) {
        platform::SetAlpha(Alpha * SpecAlpha);
        platform::SetScale(1, 1);
        platform::SetRotation(0);
        platform::SetBlend(platform::kBlendAlpha);
        platform::SetColor(255, 255, 255);
        platform::DrawImage(img, static_cast<float>(x) + mx, y);
        if (Alpha != dAlpha) {
            // The glow of a fade: strongest at a quarter, gone from one half on.
            platform::SetBlend(platform::kBlendAdditive);
            platform::SetAlpha(platform::SinD(360.0f * Alpha));
            platform::DrawImage(img, static_cast<float>(x) + mx, y);
            platform::SetAlpha(Alpha);
            platform::SetBlend(platform::kBlendAlpha);
        }
    }
    OnDraw2(mx);
}

void TMapDrawImage::OnLoad(const TBlockFile& block, const std::string& gameDir, bool pictures)
{
    if (pictures)
        obj = LoadSpecImage(gameDir + "gfx/Map/" + url);
    nodraw = EntryInt(block, "No");
}

// ---- Map objects ----

void TMapObject::Load(const TBlockFile& block, int index, const std::string& gameDir, const TTxtFile* texts,
                      bool pictures)
{
    Layer = index;
    id = EntryInt(block, "Id");
    IconUrl = EntryString(block, "Icon");
    if (pictures && !IconUrl.empty()) {
        const std::string path = gameDir + "gfx/gui/MapScreen/icons/" + IconUrl + ".png";
        Icon = platform::LoadImage(path);
        if (!Icon)
            platform::Log("Map object icon not found: " + path);
    }
    isExistReversed = EntryInt(block, "IsExistReversed");
    NameN = EntryInt(block, "Name");
    DescrN = EntryInt(block, "Descr");
    Price = EntryInt(block, "Price");
    SpecialStep = EntryInt(block, "Step");
    ToHideString = EntryString(block, "HideObjects");
    ToShowString = EntryString(block, "ShowObjects");
    WarScene = EntryInt(block, "WarScene");
    if (texts) {
        name = GetTxtLine(texts, NameN);
        Descr = GetTxtLine(texts, DescrN);
    }
    for (const PBlockFile& sub : block.SubFiles) {
        if (!sub || sub->MyType != 0 || Upper(sub->name) != "OBJ")
            continue;
        // Still pictures only for now; the moving kinds come with the living city.
        std::shared_ptr<TMapDrawObj> d;
        const std::string type = Upper(EntryString(*sub, "Type"));
        if (type == "IMAGE")
            d = std::make_shared<TMapDrawImage>();
        if (!d)
            continue;
        d->MyObject = this;
        d->Load(*sub, gameDir, pictures);
        DrawObjects.push_back(d);
    }
    PBlockFile bg = block.isBlock("BackgroundIndex");
    BackGroundIndex = bg && bg->MyType == 1 ? bg->GetInt(0) : -1;
    OnLoad(block);
}

void TCarObject::OnLoad(const TBlockFile& block)
{
    Side = EntryInt(block, "Side");
    y = EntryInt(block, "y");
}

bool TMapObject::isHiding() const
{
    return std::any_of(DrawObjects.begin(), DrawObjects.end(), [](const auto& d) { return d->isHiding(); });
}

bool TMapObject::isShowing() const
{
    return std::any_of(DrawObjects.begin(), DrawObjects.end(), [](const auto& d) { return d->isShowing(); });
}

bool TMapObject::isBuildNow() const
{
    return std::any_of(DrawObjects.begin(), DrawObjects.end(),
                       [](const auto& d) { return d->Alpha != d->dAlpha; });
}

void TMapObject::Show()
{
    for (auto& d : DrawObjects)
        d->Show();
}

void TMapObject::ShowReversed()
{
    for (auto& d : DrawObjects)
        d->ShowReversed();
}

void TMapObject::ShowNow()
{
    for (auto& d : DrawObjects)
        d->ShowNow();
    // Already there: nothing was built, so no "shown" event is due.
    LastAlpha = 1;
    WaitForShowTime = 0;
}

void TMapObject::Hide()
{
    for (auto& d : DrawObjects)
        d->Hide();
}

void TMapObject::HideNow()
{
    for (auto& d : DrawObjects)
        d->HideNow();
    LastAlpha = 0;
}

void TMapObject::ResetShow()
{
    for (auto& d : DrawObjects) {
        if (isExistReversed)
            d->ResetShowReversed();
        else
            d->ResetShow();
    }
    LastAlpha = DrawObjects.empty() ? 0 : DrawObjects.back()->Alpha;
    WaitForShowTime = 0;
}

void TMapObject::Draw(TMap& map)
{
    if (WaitForShowTime != 0 && fx::AppClock() > WaitForShowTime) {
        WaitForShowTime = 0;
        FinishShow(map);
    }
    for (auto& d : DrawObjects)
        d->Draw(map.Mx);
    const float before = LastAlpha;
    if (!DrawObjects.empty())
        LastAlpha = DrawObjects.back()->Alpha;
    if (before < 1 && LastAlpha == 1)
        WaitForShowTime = fx::AppClock() + 2000;
    if (before > 0 && LastAlpha == 0)
        FinishHide(map);
    OnDraw(map);
}

void TMapObject::FinishShow(TMap& /*map*/)
{
    const bool presentation = (Kind() == TMapObjectKind::Build || Kind() == TMapObjectKind::Extra) &&
                              BackGroundIndex >= 0 && WarScene == 0;
    if (MapEvents().BuildingShown)
        MapEvents().BuildingShown(id, presentation);
    if (MapEvents().ShowInterface)
        MapEvents().ShowInterface();
}

void TMapObject::FinishHide(TMap& map)
{
    for (auto& d : DrawObjects)
        d->FinishHide();
    LastAlpha = 0;
    if (MapEvents().BuildingHidden)
        MapEvents().BuildingHidden(id);
    if (MapEvents().ShowInterface)
        MapEvents().ShowInterface();
    // Taken off after the walk over the map's objects (see TMap::Draw).
    map.RemoveObject(this);
}

void TMapObject::FinishBuilding(TMap& map)
{
    if (!isBuildNow() && WaitForShowTime == 0)
        return;
    if (isHiding()) {
        FinishHide(map);
    } else if (isShowing() || WaitForShowTime != 0) {
        for (auto& d : DrawObjects)
            d->ShowNow();
        LastAlpha = 1;
        WaitForShowTime = 0;
        FinishShow(map);
    }
}

void TMapObject::HideMyHidingObjects()
{
    for (TMapObject* o : HideObjects)
        o->Hide();
}

void TMapObject::Buy(TMap& map)
{
    if (!(Kind() == TMapObjectKind::War && WarScene != 0)) {
        for (TMapObject* o : HideObjects)
            if (map.isPresent(o)) {
                o->Hide();
                map.MarkLeaving(o);
            }
    }
    for (TMapObject* o : ShowObjects) {
        if (map.isPresent(o) && !map.isLeaving(o))
            continue;
        map.AddObject(o);
        o->ResetShow();
        o->Show();
    }
}

void TMapObject::OnLeave(TMap& map)
{
    for (TMapObject* o : HideObjects)
        if (map.isPresent(o) && o->isHiding())
            o->FinishHide(map);
}

void TMapObject::CenterAtMe(TMap& map) const
{
    if (!DrawObjects.empty())
        map.CenterAt(static_cast<float>(DrawObjects.front()->GetCenterX()));
}

void TMapObject::Prepare()
{
    for (auto& d : DrawObjects)
        d->Prepare();
}

void TWarObject::HideAfterWarStory()
{
    for (auto& d : DrawObjects)
        d->Hide();
}

// ---- Catalogue ----

TMapObject* TMapCatalogue::Find(int id) const
{
    for (const PMapObject& o : Objects)
        if (o->id == id)
            return o.get();
    return nullptr;
}

namespace {

// Blank-separated ids into catalogue objects; 0, words that are no number and
// ids that name nothing are skipped (reported).
std::vector<TMapObject*> ResolveIds(const TMapCatalogue& cat, const std::string& ids, const std::string& file,
                                    const std::string& where, std::vector<TMapFileIssue>& issues)
{
    std::vector<TMapObject*> out;
    std::istringstream in(ids);
    std::string word;
    while (in >> word) {
        char* end = nullptr;
        const long v = std::strtol(word.c_str(), &end, 10);
        if (!end || *end != '\0') {
            Report(issues, file, where, "\"" + word + "\" is not an id; skipped");
            continue;
        }
        if (v == 0)
            continue;
        TMapObject* o = cat.Find(static_cast<int>(v));
        if (!o) {
            Report(issues, file, where, "no map object has the id " + word + "; skipped");
            continue;
        }
        out.push_back(o);
    }
    return out;
}

} // namespace

void TMapCatalogue::Load(const std::string& file, const std::string& gameDir, const TTxtFile* texts, bool pictures)
{
    // Maps hold links into the catalogue: the objects of an earlier read stay
    // alive, so that no map made from them points at nothing.
    retired_.insert(retired_.end(), Objects.begin(), Objects.end());
    Objects.clear();
    Issues.clear();
    if (!platform::FileExists(file)) {
        Report(Issues, file, "", "the map catalogue is missing; the map stays empty");
        return;
    }
    LoadBlocks(LoadBlockFile(file), file, gameDir, texts, pictures);
}

void TMapCatalogue::LoadBlocks(const PBlockFile& root, const std::string& file, const std::string& gameDir,
                               const TTxtFile* texts, bool pictures)
{
    retired_.insert(retired_.end(), Objects.begin(), Objects.end());
    Objects.clear();
    Issues.clear();
    int index = 0;
    for (const PBlockFile& b : root ? root->SubFiles : std::vector<PBlockFile>{}) {
        if (!b || b->MyType != 0 || Upper(b->name) != "MAPOBJECT")
            continue;
        const std::string where = "MapObject " + std::to_string(index + 1);
        const std::string type = Upper(EntryString(*b, "Type"));
        PMapObject o;
        if (type == "MAPOBJECT")
            o = std::make_shared<TMapObject>();
        else if (type == "BUILDOBJECT")
            o = std::make_shared<TBuildObject>();
        else if (type == "WAROBJECT")
            o = std::make_shared<TWarObject>();
        else if (type == "EXTOBJECT")
            o = std::make_shared<TExtraObject>();
        else if (type == "CAROBJECT")
            o = std::make_shared<TCarObject>();
        if (!o) {
            Report(Issues, file, where + "::Type", "unknown kind \"" + type + "\"; a plain map object is used");
            o = std::make_shared<TMapObject>();
        }
        o->Load(*b, index, gameDir, texts, pictures);
        if (o->DrawObjects.empty() && o->Kind() != TMapObjectKind::Car)
            Report(Issues, file, where, "map object " + std::to_string(o->id) +
                                            " has no draw object; it can be bought but shows nothing");
        Objects.push_back(o);
        ++index;
    }
    // Resolved once everything is read, so that lists may name later objects.
    index = 0;
    for (const PMapObject& o : Objects) {
        const std::string where = "MapObject " + std::to_string(++index);
        o->HideObjects = ResolveIds(*this, o->ToHideString, file, where + "::HideObjects", Issues);
        o->ShowObjects = ResolveIds(*this, o->ToShowString, file, where + "::ShowObjects", Issues);
    }
}

TMapCatalogue& MapCatalogue()
{
    static TMapCatalogue catalogue;
    return catalogue;
}

// ---- Building queue ----

void TBuildingQueue::Load(const std::string& file)
{
    for (auto& row : BuyQueue)
        row.fill(0);
    Issues.clear();
    if (!platform::FileExists(file)) {
        Report(Issues, file, "", "the building queue is missing; the map offers nothing");
        return;
    }
    LoadBlocks(LoadBlockFile(file), file);
}

void TBuildingQueue::LoadBlocks(const PBlockFile& root, const std::string& file)
{
    for (auto& row : BuyQueue)
        row.fill(0);
    Issues.clear();
    for (int c = 0; c < kChapters; ++c) {
        const std::string key = "Chapter" + std::to_string(c + 1);
        PBlockFile e = root ? root->isBlock(key) : nullptr;
        if (!e || e->MyType != 1) {
            Report(Issues, file, key, "missing; the chapter offers nothing");
            continue;
        }
        if (e->GetSize() != kSlots)
            Report(Issues, file, key, "needs 4 ids, has " + std::to_string(e->GetSize()));
        for (int s = 0; s < kSlots && s < e->GetSize(); ++s)
            BuyQueue[static_cast<size_t>(c)][static_cast<size_t>(s)] = e->GetInt(s);
    }
}

int TBuildingQueue::At(int chapter, int slot) const
{
    if (chapter < 0 || chapter >= kChapters || slot < 0 || slot >= kSlots)
        return 0;
    return BuyQueue[static_cast<size_t>(chapter)][static_cast<size_t>(slot)];
}

TBuildingQueue& BuildingQueue()
{
    static TBuildingQueue queue;
    return queue;
}

// ---- Picture cache ----

namespace {

struct TLoadedImage {
    std::string url;
    platform::ImagePtr img;
};

std::vector<TLoadedImage>& LoadedImages()
{
    static std::vector<TLoadedImage> list;
    return list;
}

} // namespace

platform::ImagePtr LoadSpecImage(const std::string& path)
{
    const std::string key = Upper(path);
    for (const TLoadedImage& e : LoadedImages())
        if (e.url == key)
            return e.img;
    platform::ImagePtr img = platform::LoadImage(path);
    if (!img)
        platform::Log("Map picture not found: " + path);
    LoadedImages().push_back({key, img});
    return img;
}

void ClearSpecImages() { LoadedImages().clear(); }

const std::vector<int>& StartMapIds()
{
    static const std::vector<int> ids = [] {
        std::vector<int> v{514, 515};
        for (int i = 1001; i <= 1020; ++i)
            v.push_back(i);
        for (int i : {31, 4, 11, 24, 14, 9, 1021, 81, 82, 83, 84})
            v.push_back(i);
        return v;
    }();
    return ids;
}

} // namespace citymap
