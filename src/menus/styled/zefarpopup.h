// The styled pop-up: slides in from one of the four screen edges (the edges
// taken in rotation, whichever pop-up opens), slides back out the same way,
// and takes no input while it slides. Its widgets hang below one centre
// object that moves, so subtypes lay them out once in pop-up coordinates.
#pragma once

#include "app/screen.h"

namespace menus {

class TZefarPopUp : public app::TPopUp {
public:
    TZefarPopUp();

    // The object named "Center" every widget of the pop-up hangs below.
    app::TAppObjPtr CenterPoint;
    float StartX = 0, StartY = 0; // off-screen start of the slide
    float EndX = 0, EndY = 0;     // end of the slide
    int PopUpStatus = 2;          // 0 sliding in, 1 sliding out, 2 shown (or at rest)
    int Side = 0;                 // 0 top, 1 right, 2 bottom, 3 left
    float Per = 0;                // progress of the slide, 0 to 1

    // ---- UPDATING ----
    void UpdateShow();
    void UpdateHide();
    // Runs the slide, then advances it by POPUPSHOWSPEED per nominal frame.
    void UpdateObjectType() override;

    // ---- COMMANDS ----
    // Shows the pop-up and slides it in from the next edge, locked meanwhile.
    // Asked while it slides out, it turns back from where it is.
    virtual void GoShow();
    // Slides the pop-up out to the edge it came from and then hides it.
    // Asked while it slides in, it turns back from where it is.
    virtual void GoHide();
    // Takes the next edge and places the centre for the slide's start.
    void SetSide();

    // The edge the next styled pop-up comes from (0 after start-up).
    static int NextSide();
    static void ResetNextSide();
};

} // namespace menus
