// Widgets: the app objects every screen and pop-up builds its interface from.
//
//   TGameUI        an app object with a size and the slide-in / slide-out animation
//   TUIObject      the mouse-reactive base: over, held, pressed, inactive
//   TUIImage       a picture (a frame, or a source rectangle stretched)
//   TUILightButton a picture that glows additively while the pointer is over it
//   TUIText        a caption word-wrapped into a box, one text class per state
//   TUITextButton  a caption whose text class follows the mouse state
//   TUICounter     a number that counts one unit at a time toward a target
//
// One mouse model for all of them, read from the single mouse object: the
// left button going down while the pointer is over an object makes it held;
// releasing it inside gives one frame of isPressed (a click), releasing it
// outside cancels. The button only needs to be down while over the object,
// so dragging onto a button and releasing there clicks it.
//
// Widgets are made by screen code through the Create... operations below
// (build, hang under a parent, return) or from a screen's GUI file
// (gui/guifile.h).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "app/appobj.h"
#include "app/platform/font.h"
#include "app/platform/image.h"
#include "fx/records.h"
#include "gui/formattext.h"
#include "gui/textclass.h"

namespace gui {

// ---- Click sound ----
// Played when a widget reports a click. Empty (the default) is silent; the
// sound catalogue installs its click effect here.
void SetClickSoundHook(std::function<void()> hook);
void PlayClickSound();

// Slide directions (index -> (dx, dy), y grows downward):
// 0 up-left, 1 up, 2 up-right, 3 right, 4 down-right, 5 down, 6 down-left, 7 left.
// Any other index slides nowhere.
void SlideDirection(int direction, float& dx, float& dy);

class TGameUI : public app::TAppObj {
public:
    int w = 0, h = 0;          // size: the hit rectangle and the slide distance
    float MoveInSpeed = 0;     // progress per frame (times the frame factor)
    float MovePer = 0;         // slide progress, 0 to 1
    int64_t DelayTime = 0;     // application-clock time before which a slide waits
    float Ax = 0, Ay = 0;      // slide direction
    float StandardX = 0, StandardY = 0; // rest position (local, fully in)
    float StartX = 0, StartY = 0, EndX = 0, EndY = 0; // local positions at progress 0 and 1
    int isMovingIn = 0, isMovingOut = 0;

    // Rest position = the current local position.
    virtual void Init();
    virtual bool isMoving() const { return isMovingIn || isMovingOut; }
    // One step of a running slide (after its delay): eased with sin(90 * per);
    // the moving flags drop one update after the end position is reached.
    virtual void UpdateUIType();
    // Slides from rest + (w, h) * direction to the rest position. The object
    // jumps to the start at once; the slide begins after `delay` ms.
    virtual void MoveIn(int direction, float speed, int delay);
    // Slides from the rest position to rest + (w, h) * direction and stays
    // there (it is not hidden).
    virtual void MoveOut(int direction, float speed, int delay);
};

class TUIObject : public TGameUI {
public:
    int HandleX = 0, HandleY = 0;      // hit rectangle: (x - HandleX, y - HandleY, w, h)
    int isAvailableForClicking = 0;    // hit testing only when set
    int isOver = 0;                    // the pointer is over it this frame (and it is not held)
    int isPressed = 0;                 // clicked this frame
    int isActivated = 1;               // an inactive object does no hit testing
    int isHolded = 0;                  // the left button went down over it and is still down

    // ---- SETTING ----
    // Forgets over, held and pressed.
    virtual void Clear();
    virtual void UpdateUI() {}
    // Stops hit testing and forgets a hold in progress, so that activating
    // the object again never reports a click nobody made.
    virtual void Deactivate();
    virtual void Activate();
    virtual void SetHandle(int hx, int hy);

    // The hit rectangle in absolute units (last computed placement).
    bool PointerInside() const;

    // ---- UPDATING ----
    // Slide step, then the mouse model (with last frame's absolute position),
    // then UpdateUI.
    void UpdateObjectType() override;
    void ClearButtons() override;
};

class TUIImage : public TUIObject {
public:
    int isToBeDrawAtOutside = 0;         // normal drawing skips the picture; the owner calls OnDrawOutside
    platform::ImagePtr obj;              // the picture; none draws nothing
    int Frame = 0;                       // frame to draw
    float RectW = 0, RectH = 0;          // destination size
    float RectSX = 0, RectSY = 0, RectSW = 0, RectSH = 0; // source rectangle within the picture
    std::function<void()> SpecialDrawFunction; // called after the picture is drawn

    // ---- SETTING ----
    virtual void SetSpecialDrawFunction(std::function<void()> fn) { SpecialDrawFunction = std::move(fn); }
    // Picture and size: w, h, RectW, RectH, RectSW, RectSH become its size.
    virtual void SetImage(platform::ImagePtr image);
    virtual void SetRect(float rw, float rh, float sx, float sy, float sw, float sh);
    virtual void SetFrame(int n) { Frame = n; }

    // ---- DRAWING ----
    // The whole frame when RectW x RectH is the picture's size, else the
    // source rectangle stretched to RectW x RectH. Without a picture the
    // drawing state is reset and nothing is drawn.
    virtual void DrawTheImage();
    virtual void OnDrawOutside();
    void OnDraw() override;

    // ---- LOADING ----
    // "Url", "MipMapped", "Filtered", "Width", "Height" (docs/gui-files.md).
    void LoadTypeData(const TBlockFile& block) override;
};

class TUILightButton : public TUIImage {
public:
    float LightPower = 0.5f; // strength of the glow
    float o = 0;             // current glow, 0 to 1
    float dO = 0;            // target glow

    void UpdateUI() override;
    // Frame 0, then the glow: the same picture again, additive, at
    // o * alpha * LightPower.
    void OnDraw() override;
    // The picture entries of an image, "LightPower"; always clickable.
    void LoadTypeData(const TBlockFile& block) override;
};

// A text class or a font for the first state of a caption (or neither).
using TClassOrFont = std::variant<std::monostate, PTextClass, platform::FontPtr>;

class TUIText : public TUIObject {
public:
    static constexpr int kStates = 4; // 0 normal, 1 over, 2 pressed or held, 3 inactive

    std::array<PTextClass, kStates> Class;          // a fresh class per state: no font, colour, outline or shadow
    std::array<TFormatedText, kStates> TextObject;  // the laid-out text per state
    std::string Text;
    std::array<int, kStates> TxtHeight{};           // height of each state's layout
    int Align = 0;   // 0 left, 1 centred, 2 right
    int vAlign = 1;  // 0 top, 1 centred in h; anything else draws nothing
    int adh = 0;     // extra pixels per line

    TUIText();

    // ---- SETTING ----
    // A copy of textClass for the state (none does nothing); no new layout.
    virtual void SetClass(const PTextClass& textClass, int state = 0);
    // The state's font, then a new layout.
    virtual void SetFont(platform::FontPtr font, int state = 0);
    virtual void SetCol(const TRGB& colour, int state = 0);
    virtual void SetOutline(const TRGB& colour, int state = 0);
    virtual void SetShadow(const TDim& offset, int state = 0);
    // The text, then a new layout.
    virtual void SetText(const std::string& t);
    virtual void SetAlign(int a) { Align = a; }

    // Lays Text out for every state in its class's font, wrapped to w. Unlike
    // other widgets a caption keeps no rest position (its text changes at any
    // time, also in the middle of a slide).
    void Init() override;

    // ---- DRAWING ----
    void OnDraw() override;

    // ---- LOADING ----
    // "Line", "Class", "Width", "Height", "Align", "VAlign" (docs/gui-files.md).
    void LoadTypeData(const TBlockFile& block) override;

protected:
    // Draws the layout of `state` with its class, from the top of the box or
    // centred vertically in h by the height of state 0's layout. Counters and
    // text buttons are always centred, whatever their vAlign.
    void DrawState(int state, bool centred);
    // The caption's text and box from a GUI file block; the classes are set by the caller.
    void LoadCaption(const TBlockFile& block, int defaultAlign);
};

class TUITextButton : public TUIText {
public:
    int CurrState = 0; // state shown: 3 inactive, 2 pressed or held, 1 over, 0 otherwise

    void UpdateUI() override;
    void OnDraw() override;
    // "Line", "Classes", "Width", "Height", "Align" (docs/gui-files.md); always clickable.
    void LoadTypeData(const TBlockFile& block) override;
};

class TUICounter : public TUIText {
public:
    int64_t NextValue = 0; // application-clock time of the next step
    // Milliseconds between steps. (This hides the slide delay of TGameUI,
    // which the counter's own slides still use as TGameUI::DelayTime.)
    int DelayTime = 20;
    int Value = 0;  // number shown
    int dValue = 0; // target number

    virtual void SetDelayTime(int ms) { DelayTime = ms; }
    // The target; `instantly` shows it at once.
    virtual void SetValue(int v, bool instantly);
    // At most one step per update, DelayTime apart.
    void UpdateUI() override;
    void OnDraw() override;
};

using PUIObject = std::shared_ptr<TUIObject>;
using PUIImage = std::shared_ptr<TUIImage>;
using PUILightButton = std::shared_ptr<TUILightButton>;
using PUIText = std::shared_ptr<TUIText>;
using PUITextButton = std::shared_ptr<TUITextButton>;
using PUICounter = std::shared_ptr<TUICounter>;

// ---- Creation ----

// The source marker of a picture without image.
inline constexpr const char* kEmptyImage = "[EMPTY]";

// A picture of the file at `path` (loaded with `flags`; -1 the platform
// default), of size of the picture, at (x, y) under parent. "[EMPTY]" or an
// empty path gives a picture without image; a file that cannot be loaded
// gives a 0x0 picture that draws nothing, and one console line. Not clickable.
PUIImage CreateUIImage(const std::string& path, float x, float y, app::TAppObj* parent, int flags = -1,
                       int frame = 0);
PUIImage CreateUIImage(platform::ImagePtr image, float x, float y, app::TAppObj* parent, int flags = -1,
                       int frame = 0);

// A clickable picture that glows; a path is loaded filtered.
PUILightButton CreateUILightButton(const std::string& path, float x, float y, app::TAppObj* parent,
                                   float lightPower = 0.5f);
PUILightButton CreateUILightButton(platform::ImagePtr image, float x, float y, app::TAppObj* parent,
                                   float lightPower = 0.5f);

// A caption in a w x h box: state 0 gets the class (copied) or the font, then
// the colour, outline and shadow that are given. Left-aligned, centred
// vertically.
PUIText CreateUIText(const std::string& text, float x, float y, int w, int h, app::TAppObj* parent,
                     const TClassOrFont& classOrFont = {}, std::optional<TRGB> colour = {},
                     std::optional<TRGB> outline = {}, std::optional<TDim> shadow = {}, int adh = 0);

// A clickable centred caption; classes[i] (copied) for state i, at most four.
PUITextButton CreateUITextButton(const std::string& text, float x, float y, int w, int h, app::TAppObj* parent,
                                 std::span<const PTextClass> classes);

// A counter showing `value` in a w x h box, centred, in a copy of textClass.
PUICounter CreateUICounter(int value, float x, float y, int w, int h, app::TAppObj* parent,
                           const PTextClass& textClass);

// Registers IMAGE, LIGHTBUTTON, TEXT and TEXTBUTTON with the app object
// factory (OBJECT is always known). Safe to call more than once.
void RegisterWidgetTypes();

} // namespace gui
