// Sounds and our own small mixer.
//
// Sounds are decoded whole into interleaved stereo float PCM at the mixer rate.
// A channel is one playing instance of a sound. The mixer runs on SDL's audio
// callback; it can also be pumped by hand (headless runs) or used on a plain
// buffer without any device (tests).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

constexpr int kMixRate = 44100;
constexpr int kMixChannels = 2;

class Sound {
public:
    // A sound held as decoded samples (interleaved stereo at kMixRate).
    Sound(std::vector<float> stereo, bool loop) : pcm_(std::move(stereo)), frames_(pcm_.size() / 2), loop_(loop) {}
    // A long Ogg Vorbis sound kept compressed and decoded while it plays, so
    // that music does not occupy tens of megabytes per track. `frames` is its
    // length at kMixRate.
    Sound(std::shared_ptr<const std::vector<uint8_t>> ogg, size_t frames, bool loop)
        : ogg_(std::move(ogg)), frames_(frames), loop_(loop)
    {
    }
    // Interleaved stereo samples at kMixRate (empty for a streamed sound).
    const std::vector<float>& Pcm() const { return pcm_; }
    bool Streamed() const { return ogg_ != nullptr; }
    const std::shared_ptr<const std::vector<uint8_t>>& Compressed() const { return ogg_; }
    size_t Frames() const { return frames_; }
    bool Loop() const { return loop_; }
    double Seconds() const { return double(Frames()) / kMixRate; }

private:
    std::vector<float> pcm_;
    std::shared_ptr<const std::vector<uint8_t>> ogg_;
    size_t frames_ = 0;
    bool loop_;
};

struct VoiceStream; // decoder state of a channel of a streamed sound

using SoundPtr = std::shared_ptr<Sound>;
using Channel = int; // 0 is no channel

// nullptr (and a log line) when missing or undecodable. Ogg Vorbis and WAV.
// Ogg sounds longer than kStreamSeconds are streamed (see Sound).
constexpr double kStreamSeconds = 10.0;
SoundPtr LoadSound(const std::string& path, bool loop = false);
// Decoding alone from bytes in memory. Sounds longer than streamAboveSeconds
// come back streamed instead of decoded whole (negative: never streamed).
SoundPtr DecodeOgg(const std::vector<uint8_t>& bytes, bool loop, double streamAboveSeconds = -1);
SoundPtr DecodeWav(const std::vector<uint8_t>& bytes, bool loop);

class Mixer {
public:
    // A new channel holding the sound, paused at its start; 0 for nullptr.
    Channel Cue(const SoundPtr& sound);
    void SetVolume(Channel ch, float volume); // clamped to 0..1
    void Pause(Channel ch);
    void Resume(Channel ch);
    void Stop(Channel ch);
    // True until the sound has finished (never for a looping one) or been stopped.
    bool Playing(Channel ch) const;
    bool Paused(Channel ch) const;
    float Volume(Channel ch) const;
    void StopAll();
    size_t ChannelCount() const;
    void SetMasterVolume(float v);

    // Adds every running channel into `out` (frames x 2 interleaved floats),
    // which is cleared first, and advances the channels. Finished channels are
    // dropped. Samples are clamped to -1..1.
    void Mix(float* out, int frames);

private:
    struct Voice {
        SoundPtr sound;
        size_t pos = 0;
        float volume = 1;
        bool paused = true;
        std::shared_ptr<VoiceStream> stream; // streamed sounds only
    };
    std::vector<float> scratch_;
    mutable std::mutex mutex_;
    std::map<Channel, Voice> voices_;
    Channel next_ = 1;
    float master_ = 1;
};

// The mixer that feeds the audio device.
Mixer& GlobalMixer();

// Operations on the global mixer under the names the program uses.
inline Channel CueSound(const SoundPtr& s) { return GlobalMixer().Cue(s); }
inline void SetChannelVolume(Channel c, float v) { GlobalMixer().SetVolume(c, v); }
inline void PauseChannel(Channel c) { GlobalMixer().Pause(c); }
inline void ResumeChannel(Channel c) { GlobalMixer().Resume(c); }
inline void StopChannel(Channel c) { GlobalMixer().Stop(c); }
// A paused channel counts as playing: it has neither finished nor been
// stopped. Callers that must resume a paused track test ChannelPaused too.
inline bool ChannelPlaying(Channel c) { return GlobalMixer().Playing(c); }
inline bool ChannelPaused(Channel c) { return GlobalMixer().Paused(c); }
inline float ChannelVolume(Channel c) { return GlobalMixer().Volume(c); }

// Whether an audio device is open (false in headless runs and when none).
bool AudioDeviceOpen();
// Runs the mixer for the given time when no device pulls it (headless runs),
// so channels advance and finish as they would with sound.
void PumpAudio(int milliseconds);

} // namespace platform
