// Screens, pop-ups and loaders.
//
// A screen is the root of everything visible at one time; its children are its
// widgets. A pop-up is a screen-like window shown over a screen: pop-ups stack,
// only the topmost one is updated and gets input, all of them are drawn, and
// the screen beneath is darkened and frozen. A loader is a unit of start-up
// work that the loading screen runs like a screen's set-up but that has no
// files and draws nothing.
//
// Every screen and pop-up is set up once (its localised text file, its object
// file, then its own OnSetup) and then cycles between current and not
// current: Prepare before it becomes current, Leave when it stops being.
//
// Ownership: Control's lists own the registered screens and pop-ups; a shown
// pop-up is also held by its screen's ShowedPopUps; the pop-up's link back to
// its screen does not own.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/appobj.h"
#include "datafiles/txtfile.h"

namespace app {

class TPopUp;

class TScreen : public TAppObj, public std::enable_shared_from_this<TScreen> {
public:
    // The pop-ups shown on this screen, bottom first; the last one is the topmost.
    std::vector<std::shared_ptr<TPopUp>> ShowedPopUps;
    // The screen's localised texts; none until set up.
    PTxtFile TxtFile;
    // Darkness of the layer drawn under the pop-ups (0 to 1) and its target.
    float PopUpFade = 0;
    float dPopUpFade = 0;
    // When 1 the next Leave skips OnLeave and clears the flag.
    int DontUseLeaveThisTime = 0;

    bool IsScreen() const override { return true; }
    virtual bool IsPopUp() const { return false; }
    virtual bool IsLoader() const { return false; }

    // ---- SETTING UP ----
    // Id and Name; registers with Control when `reg` is not 0; then OnInit.
    // The object must already be held by a std::shared_ptr.
    virtual void Init(int id, const std::string& name, int reg);
    // The text file: game folder + "Local/" + language + "/txt/" + Name + ".txt";
    // a missing file gives an empty one.
    virtual void SetupTexts();
    // The object file: game folder + "Local/" + language + "/Data/" + Name +
    // "/Objects.txt". Its objects become children after the ones made in code
    // before set-up. Without the file nothing changes.
    virtual void SetupObjects();
    // Texts, objects, Calculate, OnSetup, Calculate (a loader runs only OnSetup).
    virtual void Setup();

    // ---- DRAWING ----
    // The black layer under the pop-ups, at half the fade's darkness.
    virtual void DrawPopUpDarkFade();
    // The dark layer, then every shown pop-up from the bottom up.
    virtual void DrawPopUps();
    void Draw() override;

    // ---- UPDATING ----
    // Only the topmost pop-up is updated.
    virtual void UpdatePopUps();
    // Moves PopUpFade toward its target (dark while pop-ups are shown).
    virtual void UpdatePopUpFade();
    void Update() override;

    // ---- GETTING ----
    // Line i of the text file; "" and a console line when the screen has none.
    virtual std::string GetTxt(int i) const;

    // ---- EVENTS ----
    virtual void OnInit() {}
    virtual void OnSetup() {}
    virtual void OnPrepare() {}
    virtual void OnLeave() {}

    // ---- PREPARING ----
    // Hides every shown pop-up, also when hiding one changes the list.
    virtual void PreparePopUps();
    // PreparePopUps, then OnPrepare: the screen is about to become current.
    virtual void Prepare();

    // ---- LEAVING ----
    // OnLeave, unless DontUseLeaveThisTime was set (which is then cleared).
    virtual void Leave();

    // ---- MISC ----
    // Reacts to clicks and keys; called after the frame has been drawn.
    virtual void Interface() {}
    // Puts the pop-up on top of this screen's shown pop-ups; a pop-up already
    // in the list stays where it is.
    virtual void ShowPopUpOnScreen(const std::shared_ptr<TPopUp>& popup);
    // True when the pop-up is in ShowedPopUps.
    bool HasPopUp(const TPopUp* popup) const;
};

class TPopUp : public TScreen {
public:
    // The screen the pop-up is shown on (not owned).
    TScreen* Screen = nullptr;
    // A locked topmost pop-up gets no Interface calls (it still updates and draws).
    int isLocked = 0;

    bool IsPopUp() const override { return true; }
    // A pop-up that, shown alone, leaves the dark layer as it is (the tutorial's tips).
    virtual bool LeavesDarkFadeAlone() const { return false; }
    // True while the pop-up is in its screen's list.
    bool IsShown() const { return Screen && Screen->HasPopUp(this); }

    // As the screen's, registering with Control's pop-up list.
    void Init(int id, const std::string& name, int reg) override;

    // ---- EVENTS ----
    virtual void OnShow() {}
    virtual void OnHide() {}

    // ---- COMMANDS ----
    void Lock() { isLocked = 1; }
    void Unlock() { isLocked = 0; }
    // Enable, OnShow, onto the current screen, Calculate. A pop-up already
    // shown stays as it is.
    virtual void Show();
    // OnHide, clears the screen's buttons, leaves the screen's list (the new
    // topmost pop-up has its buttons cleared too), Disable. Nothing when the
    // pop-up is not shown.
    virtual void Hide();

private:
    bool hiding_ = false; // OnHide asking to hide again does nothing
};

// A unit of loading work run by the loading screen; subtypes work in OnSetup.
class TLoader : public TScreen {
public:
    bool IsLoader() const override { return true; }
    // Name only; the loader joins the loader list (never Control's lists).
    void Init(int id, const std::string& name, int reg) override;
};

// Every loader, in Init order.
std::vector<std::shared_ptr<TLoader>>& Loaders();

// The object file of a screen read into its children (the GUI-file builder:
// pictures, buttons, captions and grouping objects). Returns false when the
// file does not exist.
bool LoadScreenObjectFile(TScreen& screen, const std::string& path);

} // namespace app
