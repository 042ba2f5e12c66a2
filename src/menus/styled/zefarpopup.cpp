#include "menus/styled/zefarpopup.h"

#include "app/deltatime.h"
#include "app/globalvars.h"
#include "app/platform/core/system.h"

namespace menus {

namespace {

int& NextSideRef()
{
    static int side = 0;
    return side;
}

} // namespace

int TZefarPopUp::NextSide() { return NextSideRef(); }
void TZefarPopUp::ResetNextSide() { NextSideRef() = 0; }

TZefarPopUp::TZefarPopUp() { CenterPoint = app::CreateAppObj("Center", 0, 0, this); }

// ---- UPDATING ----

void TZefarPopUp::UpdateShow()
{
    const float f = platform::SinD(90 * Per);
    CenterPoint->SetXY(StartX + (EndX - StartX) * f, StartY + (EndY - StartY) * f);
    if (Per == 1.0f) {
        PopUpStatus = 2;
        Unlock();
    }
}

void TZefarPopUp::UpdateHide()
{
    const float f = platform::SinD(90 * (1 - Per));
    CenterPoint->SetXY(StartX + (EndX - StartX) * f, StartY + (EndY - StartY) * f);
    if (Per == 1.0f) {
        Unlock();
        PopUpStatus = 2;
        Hide();
    }
}

void TZefarPopUp::UpdateObjectType()
{
    if (PopUpStatus == 0)
        UpdateShow();
    else if (PopUpStatus == 1)
        UpdateHide();
    Per += app::GlobalVars::POPUPSHOWSPEED * app::FrameFactor();
    if (Per > 1.0f)
        Per = 1.0f;
}

// ---- COMMANDS ----

void TZefarPopUp::GoShow()
{
    if (IsShown()) {
        if (PopUpStatus == 1) {
            // Turning back mid-way: the same place on the same edge's path.
            PopUpStatus = 0;
            Per = 1 - Per;
            Lock();
        }
        return;
    }
    Show();
    if (!IsShown())
        return; // there was no screen to show it on
    PopUpStatus = 0;
    Per = 0;
    SetSide();
    Lock();
}

void TZefarPopUp::GoHide()
{
    if (!IsShown() || PopUpStatus == 1)
        return;
    // From rest the slide starts at the end position; mid-way in, it turns
    // back from where it is.
    Per = PopUpStatus == 0 ? 1 - Per : 0;
    PopUpStatus = 1;
    Lock();
}

void TZefarPopUp::SetSide()
{
    Side = NextSideRef();
    NextSideRef() = (Side + 1) % 4;
    EndX = 0;
    EndY = 0;
    static const float starts[4][2] = {{0, -768}, {1366, 0}, {0, 768}, {-1366, 0}};
    StartX = starts[Side][0];
    StartY = starts[Side][1];
    CenterPoint->SetXY(StartX, StartY); // the place for Per = 0
}

} // namespace menus
