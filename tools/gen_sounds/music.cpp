// Music: seamless loops. The menu loop is written out note by note; the other
// tracks are composed from a key, a chord progression and a seeded melody.
#include "sounds.h"

#include <algorithm>
#include <cmath>

namespace gs {

namespace {

constexpr int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};

// MIDI note of scale step `step` (0 = tonic, 7 = octave) of the song's key.
int ScaleNote(const Song& s, int step) {
    const int* scale = s.minor ? kMinor : kMajor;
    int octave = step >= 0 ? step / 7 : -((-step + 6) / 7);
    int idx = step - octave * 7;
    return s.root + octave * 12 + scale[idx];
}

void AddDrums(Buffer& b, double t, double beat, int bar) {
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
        if (e == 2 || e == 6) {
            Voice snare;
            snare.wave = Wave::Noise;
            snare.cutoff = 5000;
            snare.cutoffEnd = 1500;
            snare.env = {0.001, 0.09, 0.0, 0.04};
            snare.hold = 0.08;
            snare.seed = 300 + static_cast<std::uint32_t>(bar * 8 + e);
            b.Add(snare.Render(), te, 0.12, -0.1);
        }
        if (e % 2 == 1) {
            Voice hat;
            hat.wave = Wave::Noise;
            hat.cutoff = 11000;
            hat.env = {0.001, 0.04, 0.0, 0.03};
            hat.hold = 0.03;
            hat.seed = 41 + static_cast<std::uint32_t>(bar * 8 + e);
            b.Add(hat.Render(), te, 0.06, 0.25);
        }
    }
}

}  // namespace

Buffer Compose(const Song& song) {
    const double beat = 60.0 / song.bpm, bar = beat * 4;
    Buffer b(bar * song.bars + 3.0);
    Noise rng(song.seed);
    int melodyStep = 7 + 2;  // start on the third above the octave
    for (int i = 0; i < song.bars; ++i) {
        const int degree = song.progression[static_cast<std::size_t>(i) % song.progression.size()];
        const double t = i * bar;
        // Pad: the triad of the bar's degree, an octave below the melody.
        for (int k = 0; k < 3; ++k) {
            Voice pad;
            pad.wave = song.padWave;
            pad.hz = NoteHz(ScaleNote(song, degree + 2 * k));
            pad.detune = 8;
            pad.cutoff = song.padCutoff;
            pad.cutoffEnd = song.padCutoff * 0.5;
            pad.env = {0.3, 0.6, 0.7, 0.6};
            pad.hold = bar - 0.3;
            b.Add(pad.Render(), t, 0.07, (k - 1) * 0.5);
        }
        // Bass: root on beats 1, 2 and 4, the fifth on beat 3.
        for (int q = 0; q < 4; ++q) {
            Voice pluck;
            pluck.wave = Wave::Triangle;
            pluck.hz = NoteHz(ScaleNote(song, degree + (q == 2 ? 4 : 0)) - 24);
            pluck.env = {0.004, 0.25, 0.2, 0.12};
            pluck.hold = beat * 0.6;
            b.Add(pluck.Render(), t + q * beat, 0.35, 0);
        }
        if (song.drums)
            AddDrums(b, t, beat, i);
        // Melody: eighths and quarters; strong beats land on chord tones, the others
        // step through the scale. The last bar comes home to the tonic.
        double pos = 0;
        while (pos < 4 - 1e-9) {
            double len = rng.Next() > 0.35 ? 1.0 : 0.5;
            if (pos + len > 4)
                len = 4 - pos;
            const bool strong = std::fmod(pos, 2.0) < 1e-9;
            if (strong) {
                // Nearest chord tone to the current step.
                int best = melodyStep, bestDist = 99;
                for (int k = -7; k <= 14; ++k) {
                    int cand = degree + k;
                    int rel = ((cand - degree) % 7 + 7) % 7;
                    if (rel != 0 && rel != 2 && rel != 4)
                        continue;
                    int d = std::abs(cand - melodyStep);
                    if (d < bestDist && cand >= 5 && cand <= 14) {
                        best = cand;
                        bestDist = d;
                    }
                }
                melodyStep = best;
            } else {
                int move = static_cast<int>(std::lround(rng.Next() * 2));
                melodyStep = std::clamp(melodyStep + move, 5, 14);
            }
            if (i == song.bars - 1 && pos >= 2)
                melodyStep = 7;  // resolve
            const bool rest = !strong && rng.Next() > 0.75;
            if (!rest) {
                Voice lead;
                lead.hz = NoteHz(ScaleNote(song, melodyStep));
                if (song.bell) {
                    lead.wave = Wave::Sine;
                    lead.harmonics = 0.35;
                    lead.env = {0.004, 0.3, 0.35, 0.4};
                } else {
                    lead.wave = Wave::Square;
                    lead.cutoff = 2200;
                    lead.env = {0.01, 0.2, 0.5, 0.2};
                }
                lead.hold = len * beat * 0.8;
                b.Add(lead.Render(), t + pos * beat, song.bell ? 0.22 : 0.1, 0.15);
            }
            pos += len;
        }
    }
    b.FoldLoop(static_cast<std::size_t>(std::lround(bar * song.bars * kRate)));
    return b;
}


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

}  // namespace gs
