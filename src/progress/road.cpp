// Placeholder bodies of the progress road until the profiles land: the menus
// and the level's pop-ups can already be built against them.
#include "progress/road.h"

#include "app/control.h"
#include "app/platform/core/system.h"
#include "level/levelroad.h"

namespace progress {

namespace {
void ShowPopUpNamed(const std::string& name)
{
    for (const auto& p : app::Control::PopUps())
        if (p && p->Name == name) {
            p->Show();
            return;
        }
}
} // namespace

void InstallRoad() {}
std::string CurrentPlayerName() { return std::string(); }
void EnsureCurrentProfile() {}
void Play() {}
void ShowProfiles() { ShowPopUpNamed("Profiles"); }
void ShowOptions() { ShowPopUpNamed("Options"); }
void ShowScores() { ShowPopUpNamed("Scores"); }
void AskYesOrNo(const std::string& question, std::function<void()> yes, std::function<void()> no)
{
    (void)no;
    platform::Log("(no confirmation pop-up yet) " + question);
    if (yes)
        yes();
}
bool SaveProfiles() { return true; }

} // namespace progress
