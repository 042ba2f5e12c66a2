// The loading screen: current from start-up until every registered screen,
// loader and pop-up is set up (one per frame, with a progress bar), then the
// profiles are read and the sounds loaded one per frame; then it passes to the
// main menu through the transition.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "app/platform/image.h"
#include "app/screen.h"

namespace app {

class TLoadingScreen : public TScreen {
public:
    platform::ImagePtr Back, BarPanel, Bar;
    float Fade = 1.0f; // darkness of the black layer over the screen
    int ByloStart = 0; // 1 after the first drawing

    void OnSetup() override;
    void OnDraw() override;
    void OnUpdate() override;

private:
    bool reportedNoMenu_ = false;
};

// The work the loading screen does after the screens: each hook may be empty.
struct LoadingHooks {
    std::function<void()> loadProfiles; // reads the profile list once
    std::function<bool()> loadOneSound; // loads one more sound; true when all are loaded
    // Where to go once everything is loaded; returns false to go on to the
    // main menu as usual (testers' direct level start).
    std::function<bool()> afterLoading;
};
LoadingHooks& GetLoadingHooks();

// ---- Loading ----
// The work list: the registered screens in registration order, every loader,
// then the registered pop-ups; its size is remembered for the progress.
void BuildWorkList();
// Builds the work list and sets up the loading screen itself.
void SetupLoadingScreen(const std::shared_ptr<TLoadingScreen>& loading);
// What is still to set up, first element next.
const std::vector<std::shared_ptr<TScreen>>& WorkList();
// One step: one screen, loader or pop-up set up; then the profiles; then one
// sound per step. True once everything is done.
bool LoadingStep();
// 1 - items left / initial items (1 for an empty list).
float LoadingProgress();
// Forgets the work list and the profiles flag (tests).
void ResetLoading();

} // namespace app
