// App objects: the tree of everything the framework updates and draws.
//
// Screens and pop-ups are app objects whose children are their widgets, and
// widgets can have children of their own. Each object holds a placement
// (position, scale, rotation, colour and alpha) relative to its parent and
// computes its absolute placement from the parent's once per update. Update,
// draw, enabling, button reset and loading run down the tree in a fixed order;
// subtypes change behaviour by overriding the event operations (OnUpdate,
// OnDraw, ...) rather than the traversal.
//
// Ownership: a parent owns its children through std::shared_ptr in Objects; a
// child's Parent link does not own. An object is in at most one parent's list.
// Destroying a parent clears the Parent link of children that outlive it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fx/records.h"

class TBlockFile;

namespace app {

class TAppObj;
using TAppObjPtr = std::shared_ptr<TAppObj>;

class TAppObj {
public:
    TAppObj();
    virtual ~TAppObj();
    TAppObj(const TAppObj&) = delete;
    TAppObj& operator=(const TAppObj&) = delete;

    int Id = 0;            // chosen by the owner: a screen id or a widget lookup key
    std::string Name;      // FindObject looks objects up by it (exact match)
    std::vector<TAppObjPtr> Objects; // children, in update and drawing order
    TAppObj* Parent = nullptr;       // not owning
    TDim Dim;              // only x and y: the position relative to the parent
    TTFR TFR;              // local scale and rotation (degrees)
    TRGB Rgb;              // local colour and alpha (255, 255, 255, 1)
    int Blend = 3;         // drawing blend mode: 3 alpha, 4 additive
    int isEnabled = 1;     // a disabled object is neither updated nor drawn, nor its children

    // Absolute placement, recomputed by UpdateSettings.
    float x = 0, y = 0, Rotation = 0, ScaleX = 1, ScaleY = 1, Alpha = 1;
    int Red = 255, Green = 255, Blue = 255;

    // ---- FREEING AND TEXT FORM ----
    // Frees every child, then empties the list.
    virtual void FreeObjects();
    // Clears the parent link.
    virtual void FreeBasic();
    // FreeBasic, OnFree, FreeObjects, then the object leaves its parent's
    // list: detaches the subtree and frees it.
    virtual void Free();
    // indent + "OBJECT '" + Name + "' - " + x + ", " + y, one line per object,
    // children indented by one more tab.
    virtual std::string ToString2(const std::string& indent = "") const;

    // ---- DRAWING ----
    // Sets the whole drawing state from the absolute placement.
    virtual void DrawSettings();
    virtual void DrawObjects();
    virtual void OnDrawEnd() {}
    // If enabled: DrawSettings, OnDraw, the children, DrawSettings again,
    // OnDrawEnd. The object is drawn below its children, OnDrawEnd above.
    virtual void Draw();

    // ---- UPDATING ----
    // Absolute placement from the parent's: the local offset is rotated by the
    // parent's rotation, then scaled axis by axis by the parent's scale; scale
    // and rotation add up, alpha multiplies; colour is not inherited.
    virtual void UpdateSettings();
    virtual void UpdateObjectType() {}
    virtual void UpdateObjects();
    // If enabled: OnCountSettings, UpdateObjectType, UpdateSettings, OnUpdate,
    // then the children. UpdateObjectType therefore runs with last frame's
    // placement and children update after the parent has its new one.
    virtual void Update();

    // ---- EVENTS ----
    virtual void OnCountSettings() {}
    virtual void OnFree() {}
    virtual void OnDraw() {}
    virtual void OnUpdate() {}
    virtual void OnDisable() {}
    virtual void OnEnable() {}

    // ---- COUNTING ----
    // r * cos(theta + angle) for the polar form (r, theta) of (dx, dy), which
    // is kept for the following CountRotatedY.
    virtual float CountRotatedX(float dx, float dy, float angle);
    virtual float CountRotatedY(float angle);

    // ---- OPERATIONS ----
    // atEnd 0 puts obj first (drawn bottom-most), anything else last; obj
    // leaves its previous parent first. Adding nothing, the object itself or
    // one of its ancestors (which would make a cycle) does nothing.
    virtual void AddObject(const TAppObjPtr& obj, int atEnd = 1);
    // Removes obj from the children and clears its parent; nothing if it is
    // not a child.
    virtual void RemoveObject(const TAppObj* obj);
    virtual void RemoveFromParent();
    // Recomputes the absolute placement of the whole subtree (enabled or not)
    // without running any update.
    virtual void Calculate();
    // Forgets pending mouse states of the subtree so no click carries over;
    // widgets clear their own state and then call this.
    virtual void ClearButtons();
    virtual void Enable();
    virtual void Disable();

    // ---- SETTING ----
    virtual void SetParent(TAppObj* p);
    virtual void SetDim(const TDim& d);
    virtual void SetTFR(const TTFR& t);
    virtual void SetXY(float nx, float ny);
    virtual void SetRot(float r);
    virtual void SetS(float sx, float sy);
    virtual void SetA(float a);
    virtual void SetRGB(int r, int g, int b);
    // The sixth argument is not used.
    virtual void SetStateData(float nx, float ny, float sx, float sy, float rotation, float extra, int r, int g,
                              int b, float alpha);
    virtual void SetStateDataObjects(const TDim& dim, const TTFR& tfr, const TRGB& rgb);

    // ---- GETTING ----
    virtual float GetA() const { return Rgb.a; }
    virtual float GetX() const { return Dim.x; }
    virtual float GetY() const { return Dim.y; }

    // ---- FINDING ----
    // The first direct child named name; failing that, each child's own
    // FindObject in order. None when nothing matches.
    virtual TAppObjPtr FindObject(const std::string& name) const;
    // The i-th child from 0, or none.
    virtual TAppObjPtr FindObjectInd(int i) const;
    // The nearest ancestor that is a screen, or none.
    virtual TAppObj* FindRootScreen() const;
    // Screens answer true.
    virtual bool IsScreen() const { return false; }

    // ---- LOADING ----
    // Load = LoadBasic, LoadTypeData, LoadSubObjects, from a block of a GUI
    // definition file.
    virtual void LoadBasic(const TBlockFile& block);
    virtual void LoadSubObjects(const TBlockFile& block);
    virtual void LoadTypeData(const TBlockFile& block);
    virtual void Load(const TBlockFile& block);

private:
    // Calls f on each child in list order. A child may add or remove objects
    // (itself included) while it runs: the walk continues after it wherever it
    // ended up, and every child is kept alive during its own call.
    template <class F>
    void ForEachChild(F&& f);

    float keptR_ = 0;     // polar form kept between CountRotatedX and CountRotatedY
    float keptTheta_ = 0;
};

// A plain grouping object with that name and local position, appended last to
// parent when there is one.
TAppObjPtr CreateAppObj(const std::string& name, float x, float y, TAppObj* parent = nullptr);

// ---- Object factory ----
// Creators of app object types keyed by their block name in GUI definition
// files ("OBJECT", "IMAGE", ...); names compare upper-cased. "OBJECT" (a plain
// TAppObj) is always known; widget types register theirs from an explicit
// set-up call (a registering static object in a static library would be
// dropped by the linker when nothing else refers to its file).
using TAppObjCreator = std::function<TAppObjPtr()>;
void RegisterAppObjType(const std::string& blockName, TAppObjCreator creator);
// A new object for the block name, or none when the name is not registered.
TAppObjPtr CreateAppObjOfType(const std::string& blockName);
// The factory step of loading: creates the object for block's name, appends
// it to parent (so it can already reach its screen) and only then loads it
// from block. Unknown names create nothing.
TAppObjPtr CreateAppObjFromBlock(const TBlockFile& block, TAppObj* parent);

} // namespace app
