// A small synthesiser for the pack's sounds: oscillators, ADSR envelopes, filtered
// noise, notes mixed into stereo buffers, seamless loops and loudness
// normalisation. Everything is deterministic (own noise stream, no clocks).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gs {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

enum class Wave { Sine, Triangle, Square, Saw, Noise };

struct Adsr {
    double attack = 0.005, decay = 0.1, sustain = 0.7, release = 0.1;  // seconds, level 0..1
    // Level at time t of a note held for `hold` seconds (release follows the hold).
    double At(double t, double hold) const;
    double Length(double hold) const { return hold + release; }
};

// Deterministic white noise.
class Noise {
public:
    explicit Noise(std::uint32_t seed = 1) : s_(seed ? seed : 1) {}
    double Next();  // -1..1
private:
    std::uint32_t s_;
};

// State-variable filter (lowpass / bandpass / highpass outputs), stable for sweeps.
class Svf {
public:
    enum class Mode { Low, Band, High };
    explicit Svf(Mode m, double q = 0.7) : mode_(m), q_(q) {}
    double Step(double in, double cutoffHz);
private:
    Mode mode_;
    double q_;
    double low_ = 0, band_ = 0;
};

double Osc(Wave w, double phase, Noise& noise);  // phase in cycles
double NoteHz(int midi);                         // MIDI note number to frequency

// A stereo buffer of float samples.
struct Buffer {
    std::vector<float> left, right;
    explicit Buffer(double seconds = 0);
    std::size_t Frames() const { return left.size(); }
    void Resize(std::size_t frames);
    // Adds a mono signal starting at `start` seconds, panned (-1 left .. 1 right).
    void Add(const std::vector<float>& mono, double start, double gain, double pan);
    // For loops: folds everything past `frames` back onto the start, so that the
    // tails of the last notes ring into the first bar, then cuts to `frames`.
    void FoldLoop(std::size_t frames);
    // Scales to the pack's common loudness: RMS over the audible part to
    // `targetRms`, but never letting the peak pass `ceiling`.
    void Normalise(double targetRms, double ceiling = 0.93);
    // Cuts trailing near-silence, keeping a short fade.
    void TrimTail(double threshold = 1e-4);
};

// One note: oscillator mix with an envelope, optional pitch glide, vibrato and a
// lowpass; rendered as a mono signal of the envelope's length.
struct Voice {
    Wave wave = Wave::Sine;
    double hz = 440;
    double glideTo = 0;      // 0: no glide; otherwise the frequency reached at the end of the hold
    double detune = 0;       // second oscillator detuned by this many cents (0: none)
    double harmonics = 0;    // adds the octave and twelfth, for bell-like tones
    double cutoff = 0;       // lowpass cutoff in Hz (0: none)
    double cutoffEnd = 0;    // cutoff at the end of the note (sweep); 0: constant
    Adsr env;
    double hold = 0.2;
    std::uint32_t seed = 1;  // noise seed for noisy waves
    std::vector<float> Render() const;
};

// Writes an Ogg Vorbis file (stereo, 44.1 kHz, fixed quality and fixed stream
// serial, so the same samples give the same bytes). Returns false on failure.
bool WriteOgg(const std::string& path, const Buffer& buf, float quality, const std::string& title);

}  // namespace gs
