// gen_sounds: synthesises the pack's sound effects and music loops.
//
//   gen_sounds OUT_DIR
//
// Writes under OUT_DIR/sfx/. Effects are short and normalised to one loudness;
// music tracks are seamless loops (their last notes ring on into the first bar).
#include "synth.h"

#include <cmath>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace gs {
namespace {

constexpr double kEffectRms = 0.16;  // common loudness of every effect
constexpr double kMusicRms = 0.11;   // music sits below the effects
constexpr float kQuality = 0.4f;     // Vorbis VBR quality, fixed

// ---- effects ----

// Button click: a short bright tick over a tiny tonal blip.
Buffer Click() {
    Buffer b;
    Voice tick;
    tick.wave = Wave::Noise;
    tick.cutoff = 9000;
    tick.cutoffEnd = 2500;
    tick.env = {0.0005, 0.012, 0.0, 0.005};
    tick.hold = 0.012;
    tick.seed = 11;
    b.Add(tick.Render(), 0, 0.6, 0);
    Voice blip;
    blip.wave = Wave::Sine;
    blip.hz = 1760;
    blip.glideTo = 1320;
    blip.env = {0.001, 0.03, 0.0, 0.01};
    blip.hold = 0.03;
    b.Add(blip.Render(), 0, 0.7, 0);
    return b;
}

// Two pieces trading places: a soft swish of band-limited noise rising then falling.
Buffer Swap() {
    Buffer b;
    for (int side = 0; side < 2; ++side) {
        Voice swish;
        swish.wave = Wave::Noise;
        swish.cutoff = side ? 1800 : 700;
        swish.cutoffEnd = side ? 700 : 2400;
        swish.env = {0.06, 0.1, 0.5, 0.08};
        swish.hold = 0.14;
        swish.seed = 21 + side;
        b.Add(swish.Render(), side * 0.02, 0.8, side ? 0.35 : -0.35);
    }
    Voice body;
    body.wave = Wave::Triangle;
    body.hz = 330;
    body.glideTo = 440;
    body.env = {0.01, 0.12, 0.0, 0.05};
    body.hold = 0.12;
    b.Add(body.Render(), 0.02, 0.25, 0);
    return b;
}

// A line matched: a quick rising bell arpeggio of a major chord (C6, E6, G6).
Buffer Match() {
    Buffer b;
    const int notes[] = {84, 88, 91};
    for (int i = 0; i < 3; ++i) {
        Voice bell;
        bell.wave = Wave::Sine;
        bell.hz = NoteHz(notes[i]);
        bell.harmonics = 0.6;
        bell.env = {0.002, 0.25, 0.15, 0.35};
        bell.hold = 0.2;
        b.Add(bell.Render(), i * 0.055, 0.5, (i - 1) * 0.3);
    }
    Voice sparkle;
    sparkle.wave = Wave::Noise;
    sparkle.cutoff = 12000;
    sparkle.env = {0.001, 0.08, 0.0, 0.05};
    sparkle.hold = 0.06;
    sparkle.seed = 31;
    b.Add(sparkle.Render(), 0.11, 0.08, 0.2);
    b.TrimTail();
    return b;
}

// A coin collected: the classic two-step jump of a fourth, soft square tone.
Buffer Coin() {
    Buffer b;
    Voice a;
    a.wave = Wave::Square;
    a.hz = NoteHz(83);  // B5
    a.cutoff = 5000;
    a.env = {0.002, 0.05, 0.6, 0.02};
    a.hold = 0.07;
    b.Add(a.Render(), 0, 0.35, 0);
    Voice c = a;
    c.hz = NoteHz(88);  // E6
    c.env = {0.002, 0.15, 0.3, 0.22};
    c.hold = 0.12;
    b.Add(c.Render(), 0.075, 0.35, 0);
    Voice shine;
    shine.wave = Wave::Sine;
    shine.hz = NoteHz(100);
    shine.env = {0.002, 0.2, 0.0, 0.1};
    shine.hold = 0.15;
    b.Add(shine.Render(), 0.08, 0.08, 0.3);
    b.TrimTail();
    return b;
}

// ---- music ----

// Menu music: 8 bars at 96 beats a minute in C major, I-vi-IV-V twice, with a pad,
// a plucked bass, a bell melody and a light brushed beat. Loops without a seam.
Buffer MenuLoop() {
    const double bpm = 96, beat = 60.0 / bpm, bar = beat * 4;
    const int bars = 8;
    Buffer b(bar * bars + 3.0);
    // Chords as MIDI notes (root position, mid register).
    const int chords[4][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};
    const int bass[4] = {36, 33, 29, 31};
    for (int i = 0; i < bars; ++i) {
        const int* ch = chords[i % 4];
        double t = i * bar;
        for (int k = 0; k < 3; ++k) {
            Voice pad;
            pad.wave = Wave::Saw;
            pad.hz = NoteHz(ch[k]);
            pad.detune = 9;
            pad.cutoff = 1400;
            pad.cutoffEnd = 700;
            pad.env = {0.35, 0.6, 0.7, 0.6};
            pad.hold = bar - 0.3;
            b.Add(pad.Render(), t, 0.07, (k - 1) * 0.5);
        }
        for (int q = 0; q < 4; ++q) {
            Voice pluck;
            pluck.wave = Wave::Triangle;
            pluck.hz = NoteHz(bass[i % 4] + (q == 2 ? 7 : 0));
            pluck.env = {0.004, 0.25, 0.2, 0.12};
            pluck.hold = beat * 0.6;
            b.Add(pluck.Render(), t + q * beat, 0.35, 0);
        }
        // Beat: soft kick on 1 and 3, brushed hat on the off-beats.
        for (int e = 0; e < 8; ++e) {
            double te = t + e * beat / 2;
            if (e % 4 == 0) {
                Voice kick;
                kick.wave = Wave::Sine;
                kick.hz = 110;
                kick.glideTo = 45;
                kick.env = {0.002, 0.12, 0.0, 0.05};
                kick.hold = 0.12;
                b.Add(kick.Render(), te, 0.45, 0);
            }
            if (e % 2 == 1) {
                Voice hat;
                hat.wave = Wave::Noise;
                hat.cutoff = 11000;
                hat.env = {0.001, 0.04, 0.0, 0.03};
                hat.hold = 0.03;
                hat.seed = 41 + static_cast<std::uint32_t>(i * 8 + e);
                b.Add(hat.Render(), te, 0.06, 0.25);
            }
        }
    }
    // Melody: scale degrees over the chords, eighth and quarter notes (0 = rest).
    struct N {
        int midi;
        double beats;
    };
    const std::vector<N> melody = {
        {76, 1}, {79, 1}, {81, 0.5}, {79, 0.5}, {76, 1},  {72, 1}, {76, 1}, {74, 1},   {72, 1},
        {77, 1}, {76, 0.5}, {74, 0.5}, {72, 1}, {71, 1}, {74, 1}, {79, 2}, {76, 1},   {79, 1},
        {84, 1}, {83, 0.5}, {81, 0.5}, {79, 1}, {76, 1}, {77, 1}, {76, 1}, {74, 0.5}, {72, 0.5},
        {69, 1}, {71, 1},   {72, 1},   {74, 1}, {71, 2}, {0, 2},
    };
    double t = 0;
    for (const N& n : melody) {
        if (n.midi > 0) {
            Voice bell;
            bell.wave = Wave::Sine;
            bell.hz = NoteHz(n.midi);
            bell.harmonics = 0.35;
            bell.env = {0.004, 0.3, 0.35, 0.45};
            bell.hold = n.beats * beat * 0.8;
            b.Add(bell.Render(), t, 0.22, 0.15);
        }
        t += n.beats * beat;
    }
    b.FoldLoop(static_cast<std::size_t>(std::lround(bar * bars * kRate)));
    return b;
}

struct Item {
    std::string path, title;
    std::function<Buffer()> make;
    bool music;
};

}  // namespace
}  // namespace gs

int main(int argc, char** argv) {
    using namespace gs;
    if (argc != 2) {
        std::cerr << "usage: gen_sounds OUT_DIR\n";
        return 2;
    }
    const std::string out = argv[1];
    const Item items[] = {
        {"sfx/Click.ogg", "Click", Click, false},
        {"sfx/Swap.ogg", "Swap", Swap, false},
        {"sfx/Match.ogg", "Match", Match, false},
        {"sfx/Coin.ogg", "Coin", Coin, false},
        {"sfx/Music/MenuLoop.ogg", "Menu loop", MenuLoop, true},
    };
    int failures = 0;
    for (const Item& it : items) {
        Buffer b = it.make();
        b.Normalise(it.music ? kMusicRms : kEffectRms);
        if (!WriteOgg(out + "/" + it.path, b, kQuality, it.title)) {
            std::cerr << "gen_sounds: cannot write " << out << "/" << it.path << "\n";
            ++failures;
        }
    }
    if (failures == 0)
        std::cout << "gen_sounds: sounds written to " << out << "/sfx\n";
    return failures ? 1 : 0;
}
