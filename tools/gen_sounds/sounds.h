// The pack's sound recipes: effects and music tracks, each a function that
// renders a buffer. main.cpp lists them with their catalogue numbers.
#pragma once

#include "synth.h"

namespace gs {

// ---- effects ----
Buffer Click();
Buffer Swap();
Buffer Match();
Buffer Coin();
Buffer ChainBreak();
Buffer ChestOpen();
Buffer Land(int variant);
Buffer Pop(int variant);
Buffer PowerCreated();
Buffer Explosion();
Buffer Lightning();
Buffer Cross();
Buffer Hammer();
Buffer Magic();
Buffer Charged();
Buffer Sparkle();
Buffer Zap();
Buffer SoftThump();
Buffer GoFanfare();
Buffer Blip(int variant);
Buffer Crumble();
Buffer Purchase();
Buffer WinJingle();
Buffer LoseJingle();

// ---- music ----
struct Song {
    int bpm = 100;
    int bars = 8;
    int root = 60;                  // MIDI note of the key's tonic
    bool minor = false;
    std::vector<int> progression;   // scale degree (0..6) of each bar's chord, repeated to fill the bars
    Wave padWave = Wave::Saw;
    double padCutoff = 1400;
    bool drums = true;
    bool bell = true;               // bell melody (otherwise a soft square lead)
    std::uint32_t seed = 1;         // melody choice
};
// A seamless loop: pad chords, plucked bass, a generated melody, optional beat.
Buffer Compose(const Song& song);
Buffer MenuLoop();

}  // namespace gs
