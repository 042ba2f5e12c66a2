// The developer gallery: one screen showing every kind of widget, built from
// its GUI file (game folder + "Local/" + language + "/Data/Gallery/Objects.txt")
// and its text file ("txt/Gallery.txt" of the language folder), plus a
// counter and a sliding picture made in code. Clicking a button logs
// "gallery: clicked <name>".
//
// Reached only with "Cheats.txt" in the working directory and --gallery on
// the command line.
#pragma once

#include <memory>
#include <string>

#include "app/screen.h"
#include "gui/widgets.h"

namespace game {

class TGalleryScreen : public app::TScreen {
public:
    static constexpr const char* kName = "Gallery";

    gui::PUICounter Counter; // counts up by 100 for each click on "PlayButton"

    // Objects made in code, before the GUI file's objects.
    void OnInit() override;
    void OnSetup() override;

    // A plain backdrop, then the widgets.
    void Draw() override;
    // Logs the clicks of this frame and reacts to them.
    void Interface() override;
};

// Sets the gallery up and makes it the current screen when the cheats marker
// is present; otherwise says why not and leaves the start as it is. Returns
// the gallery, or none.
std::shared_ptr<TGalleryScreen> StartGallery();

} // namespace game
