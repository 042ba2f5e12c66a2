// Effect recipes. Every effect is short and starts at once; loudness is evened
// out afterwards by the catalogue writer (main.cpp).
#include "sounds.h"

#include <cmath>

namespace gs {

namespace {

// A bell-like partial set (inharmonic ratios give metal, harmonic ones glass).
void AddBell(Buffer& b, double start, double hz, double decay, double gain, double pan, bool metal) {
    const double ratios[4] = {1.0, metal ? 2.76 : 2.0, metal ? 5.4 : 3.0, metal ? 8.93 : 4.0};
    const double gains[4] = {1.0, 0.5, 0.25, 0.12};
    for (int k = 0; k < 4; ++k) {
        Voice v;
        v.wave = Wave::Sine;
        v.hz = hz * ratios[k];
        v.env = {0.001, decay / (k + 1), 0.0, 0.02};
        v.hold = decay / (k + 1);
        b.Add(v.Render(), start, gain * gains[k], pan);
    }
}

void AddNoise(Buffer& b, double start, double length, double cutoff, double cutoffEnd, double gain, double pan,
              std::uint32_t seed, double attack = 0.002) {
    Voice n;
    n.wave = Wave::Noise;
    n.cutoff = cutoff;
    n.cutoffEnd = cutoffEnd;
    n.env = {attack, length, 0.0, 0.02};
    n.hold = length;
    n.seed = seed;
    b.Add(n.Render(), start, gain, pan);
}

void AddTone(Buffer& b, double start, Wave w, double hz, double glideTo, double length, double gain, double pan,
             double cutoff = 0) {
    Voice v;
    v.wave = w;
    v.hz = hz;
    v.glideTo = glideTo;
    v.cutoff = cutoff;
    v.env = {0.003, length * 0.6, 0.3, length * 0.4};
    v.hold = length * 0.6;
    b.Add(v.Render(), start, gain, pan);
}

}  // namespace


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


// Chain links falling apart: metallic clinks.
Buffer ChainBreak() {
    Buffer b;
    AddBell(b, 0.0, 1250, 0.18, 0.5, -0.3, true);
    AddBell(b, 0.06, 1580, 0.15, 0.4, 0.3, true);
    AddBell(b, 0.13, 1100, 0.2, 0.3, 0.0, true);
    AddNoise(b, 0.0, 0.05, 7000, 3000, 0.3, 0, 51);
    b.TrimTail();
    return b;
}

// A chest lid: a short wooden creak and a hollow thunk.
Buffer ChestOpen() {
    Buffer b;
    Voice creak;
    creak.wave = Wave::Saw;
    creak.hz = 170;
    creak.glideTo = 240;
    creak.cutoff = 1200;
    creak.env = {0.02, 0.15, 0.6, 0.05};
    creak.hold = 0.18;
    b.Add(creak.Render(), 0, 0.25, -0.2);
    AddTone(b, 0.2, Wave::Sine, 160, 90, 0.15, 0.8, 0);
    AddNoise(b, 0.2, 0.06, 1500, 400, 0.4, 0.1, 52);
    AddBell(b, 0.24, 880, 0.3, 0.15, 0.3, false);
    b.TrimTail();
    return b;
}

// A piece landing: a soft low thud; variants differ in pitch.
Buffer Land(int variant) {
    Buffer b;
    const double hz = 170 + 25 * variant;
    AddTone(b, 0, Wave::Sine, hz, hz * 0.55, 0.08, 0.9, 0);
    AddNoise(b, 0, 0.03, 1800, 500, 0.25, 0, 60 + variant);
    b.TrimTail();
    return b;
}

// A piece cleared: a round bubble pop; variants differ in pitch.
Buffer Pop(int variant) {
    Buffer b;
    const double hz = 420 + 70 * variant;
    AddTone(b, 0, Wave::Sine, hz, hz * 2.1, 0.07, 0.9, 0);
    AddNoise(b, 0, 0.015, 6000, 2000, 0.15, 0, 70 + variant);
    b.TrimTail();
    return b;
}

// A power piece made: a rising five-note sparkle with a shimmer.
Buffer PowerCreated() {
    Buffer b;
    const int notes[] = {72, 76, 79, 84, 88};
    for (int i = 0; i < 5; ++i)
        AddBell(b, i * 0.05, NoteHz(notes[i]), 0.35, 0.35, (i - 2) * 0.2, false);
    AddNoise(b, 0.05, 0.3, 12000, 6000, 0.06, 0.3, 81, 0.1);
    b.TrimTail();
    return b;
}

// A bomb: a deep boom under a burst of rumbling noise.
Buffer Explosion() {
    Buffer b;
    AddTone(b, 0, Wave::Sine, 90, 35, 0.45, 1.0, 0);
    AddNoise(b, 0, 0.5, 2500, 150, 0.9, -0.2, 91);
    AddNoise(b, 0.01, 0.45, 1800, 120, 0.9, 0.2, 92);
    b.TrimTail();
    return b;
}

// Row lightning: a falling zap with crackle.
Buffer Lightning() {
    Buffer b;
    Voice zap;
    zap.wave = Wave::Saw;
    zap.hz = 1800;
    zap.glideTo = 120;
    zap.cutoff = 6000;
    zap.cutoffEnd = 800;
    zap.env = {0.002, 0.3, 0.3, 0.1};
    zap.hold = 0.3;
    b.Add(zap.Render(), 0, 0.35, 0);
    Noise gate(93);
    for (int i = 0; i < 9; ++i)
        AddNoise(b, i * 0.035 + 0.01 * gate.Next(), 0.02, 9000, 4000, 0.35, gate.Next() * 0.6, 94 + i);
    b.TrimTail();
    return b;
}

// Cross piece: two bright rising sweeps, one per direction.
Buffer Cross() {
    Buffer b;
    for (int i = 0; i < 2; ++i) {
        Voice s;
        s.wave = Wave::Square;
        s.hz = 300 + 100 * i;
        s.glideTo = 1600 + 300 * i;
        s.cutoff = 4000;
        s.env = {0.003, 0.12, 0.4, 0.08};
        s.hold = 0.14;
        b.Add(s.Render(), i * 0.08, 0.3, i ? 0.4 : -0.4);
    }
    AddBell(b, 0.18, 1320, 0.3, 0.2, 0, false);
    b.TrimTail();
    return b;
}

// Hammer: a wooden knock and a metal ring.
Buffer Hammer() {
    Buffer b;
    AddTone(b, 0, Wave::Sine, 220, 110, 0.1, 0.9, 0);
    AddNoise(b, 0, 0.04, 3000, 800, 0.5, 0, 101);
    AddBell(b, 0.005, 700, 0.35, 0.3, 0.1, true);
    b.TrimTail();
    return b;
}

// Book and crystal tools: a shimmering glissando of glass bells.
Buffer Magic() {
    Buffer b;
    for (int i = 0; i < 8; ++i)
        AddBell(b, i * 0.035, NoteHz(79 + i * 2), 0.3, 0.22, std::sin(i * 0.9) * 0.5, false);
    AddNoise(b, 0, 0.4, 12000, 7000, 0.05, 0, 111, 0.15);
    b.TrimTail();
    return b;
}

// A power-up charged: a bright major chord struck once.
Buffer Charged() {
    Buffer b;
    for (int n : {76, 80, 83, 88})
        AddBell(b, 0, NoteHz(n), 0.6, 0.3, (n - 82) / 12.0, false);
    b.TrimTail();
    return b;
}

// Small high glints.
Buffer Sparkle() {
    Buffer b;
    Noise r(121);
    for (int i = 0; i < 6; ++i)
        AddBell(b, i * 0.045, 2200 + 800 * (r.Next() + 1), 0.12, 0.25, r.Next() * 0.7, false);
    b.TrimTail();
    return b;
}

// A short magic zap.
Buffer Zap() {
    Buffer b;
    AddTone(b, 0, Wave::Triangle, 600, 1500, 0.15, 0.7, 0, 5000);
    AddBell(b, 0.08, 1760, 0.25, 0.2, 0.2, false);
    b.TrimTail();
    return b;
}

// A cell landing back on the board: a soft whoosh into a thump.
Buffer SoftThump() {
    Buffer b;
    AddNoise(b, 0, 0.12, 800, 2500, 0.4, 0, 131, 0.06);
    AddTone(b, 0.1, Wave::Sine, 140, 80, 0.1, 0.8, 0);
    b.TrimTail();
    return b;
}

// "Go!": a two-note brass-like call.
Buffer GoFanfare() {
    Buffer b;
    const int notes[] = {67, 72};
    for (int i = 0; i < 2; ++i) {
        Voice v;
        v.wave = Wave::Saw;
        v.hz = NoteHz(notes[i]);
        v.detune = 6;
        v.cutoff = 900;
        v.cutoffEnd = 2600;
        v.env = {0.02, 0.1, 0.8, 0.15};
        v.hold = i ? 0.35 : 0.12;
        b.Add(v.Render(), i * 0.14, 0.5, 0);
        Voice o = v;
        o.hz = NoteHz(notes[i] + 7);
        b.Add(o.Render(), i * 0.14, 0.25, 0.3);
    }
    b.TrimTail();
    return b;
}

// Soft interface blips; variants differ in pitch and direction.
Buffer Blip(int variant) {
    Buffer b;
    const double hz = 660 + 220 * variant;
    AddTone(b, 0, Wave::Triangle, hz, variant % 2 ? hz * 1.5 : hz * 0.75, 0.06, 0.8, 0, 4000);
    b.TrimTail();
    return b;
}

// A cell layer crumbling: a spill of small stone grains.
Buffer Crumble() {
    Buffer b;
    Noise r(141);
    for (int i = 0; i < 10; ++i)
        AddNoise(b, i * 0.02 + 0.008 * r.Next(), 0.025, 3500 + 1500 * r.Next(), 900, 0.45, r.Next() * 0.5,
                 142 + i);
    AddTone(b, 0, Wave::Sine, 300, 150, 0.08, 0.3, 0);
    b.TrimTail();
    return b;
}

// Buying on the map: a coin drop and a happy chord.
Buffer Purchase() {
    Buffer b = Coin();
    for (int n : {72, 76, 79})
        AddBell(b, 0.18, NoteHz(n), 0.5, 0.25, (n - 76) / 8.0, false);
    b.TrimTail();
    return b;
}

// Level won: an upward major arpeggio into a held chord.
Buffer WinJingle() {
    Buffer b;
    const int notes[] = {60, 64, 67, 72, 76};
    for (int i = 0; i < 5; ++i)
        AddBell(b, i * 0.09, NoteHz(notes[i]), 0.5, 0.35, (i - 2) * 0.15, false);
    for (int n : {72, 76, 79, 84}) {
        Voice v;
        v.wave = Wave::Triangle;
        v.hz = NoteHz(n);
        v.env = {0.02, 0.3, 0.5, 0.5};
        v.hold = 0.5;
        b.Add(v.Render(), 0.45, 0.18, (n - 78) / 12.0);
    }
    b.TrimTail();
    return b;
}

// Time up: a falling minor "wah-wah".
Buffer LoseJingle() {
    Buffer b;
    const int notes[] = {67, 66, 65, 62};
    for (int i = 0; i < 4; ++i) {
        Voice v;
        v.wave = Wave::Triangle;
        v.hz = NoteHz(notes[i]);
        v.glideTo = i == 3 ? NoteHz(notes[i]) * 0.94 : 0;
        v.cutoff = 2000;
        v.cutoffEnd = 600;
        v.env = {0.02, 0.1, 0.7, 0.15};
        v.hold = i == 3 ? 0.6 : 0.22;
        b.Add(v.Render(), i * 0.28, 0.6, 0);
    }
    b.TrimTail();
    return b;
}

}  // namespace gs
