#include "game/gallery.h"

#include "app/control.h"
#include "app/paths.h"
#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "gui/textclasses.h"

namespace game {

using namespace app;

namespace {

// Calls f on every widget of the tree below obj, depth first in drawing order.
template <class F>
void ForEachWidget(const app::TAppObj& obj, F&& f)
{
    for (const app::TAppObjPtr& child : obj.Objects) {
        if (auto* widget = dynamic_cast<gui::TUIObject*>(child.get()))
            f(*widget);
        ForEachWidget(*child, f);
    }
}

gui::TUIObject* FindWidget(const app::TAppObj& root, const std::string& name)
{
    return dynamic_cast<gui::TUIObject*>(root.FindObject(name).get());
}

} // namespace

void TGalleryScreen::OnInit()
{
    // A counter (not a GUI file type) and a picture sliding in from the left.
    Counter = gui::CreateUICounter(0, 600, 600, 300, 60, this, gui::TextClass(7));
    Counter->Name = "Counter";
    Counter->SetValue(100, false);
    auto sliding = gui::CreateUIImage(app::GameDir() + "gfx/Match3/Chips/Chip-101.png", 480, 590, this);
    sliding->Name = "Sliding";
    sliding->MoveIn(7, 0.05f, 300);
}

void TGalleryScreen::OnSetup()
{
    if (Objects.size() <= 2)
        platform::Log("gallery: no GUI file at " + app::LocalDir() + "Data/" + Name + "/Objects.txt");
    // One text button shows its inactive state.
    if (gui::TUIObject* inactive = FindWidget(*this, "InactiveButton"))
        inactive->Deactivate();
}

void TGalleryScreen::Draw()
{
    platform::SetColor(40, 48, 72);
    platform::SetAlpha(1);
    platform::DrawRect(0, 0, 1024, 768);
    TScreen::Draw();
}

void TGalleryScreen::Interface()
{
    ForEachWidget(*this, [this](gui::TUIObject& widget) {
        if (!widget.isPressed)
            return;
        platform::Log("gallery: clicked " + widget.Name);
        if (widget.Name == "PlayButton" && Counter)
            Counter->SetValue(Counter->dValue + 100, false);
        if (widget.Name == "OkButton") {
            if (gui::TUIObject* other = FindWidget(*this, "InactiveButton"))
                other->isActivated ? other->Deactivate() : other->Activate();
        }
    });
}

std::shared_ptr<TGalleryScreen> StartGallery()
{
    if (!app::Markers().cheats) {
        platform::Log("The gallery needs Cheats.txt in the working directory; starting normally");
        return nullptr;
    }
    gui::RegisterWidgetTypes();
    auto gallery = std::make_shared<TGalleryScreen>();
    gallery->Init(0, TGalleryScreen::kName, 0);
    gallery->Setup();
    app::Control::PrepareScreen(gallery);
    app::Control::SetCurrScreenInstantly(gallery);
    app::ConsoleTrace("Gallery started");
    return gallery;
}

} // namespace game
