// Sound decoding (Ogg Vorbis, WAV) and the mixer on the SDL audio device.
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "app/platform/audio.h"
#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/platform/internal.h"

namespace platform {

namespace {

struct MemoryFile {
    const std::vector<uint8_t>* bytes;
    size_t pos;
};

size_t OggRead(void* ptr, size_t size, size_t n, void* src)
{
    auto* f = static_cast<MemoryFile*>(src);
    size_t want = size * n;
    size_t left = f->bytes->size() - f->pos;
    size_t take = std::min(want, left);
    std::memcpy(ptr, f->bytes->data() + f->pos, take);
    f->pos += take;
    return size ? take / size : 0;
}

int OggSeek(void* src, ogg_int64_t offset, int whence)
{
    auto* f = static_cast<MemoryFile*>(src);
    int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? int64_t(f->pos) : int64_t(f->bytes->size());
    int64_t p = base + offset;
    if (p < 0 || p > int64_t(f->bytes->size()))
        return -1;
    f->pos = size_t(p);
    return 0;
}

long OggTell(void* src) { return long(static_cast<MemoryFile*>(src)->pos); }

} // namespace

// Converts interleaved PCM of any SDL format, rate and channel count to stereo
// float at the mixer rate.
static bool Convert(SDL_AudioFormat format, int channels, int rate, const uint8_t* data, size_t bytes,
                    std::vector<float>& out);

// Decoder state of one channel of a streamed sound: its own Vorbis decoder on
// the compressed bytes and a converter to the mixer format.
struct VoiceStream {
    std::shared_ptr<const std::vector<uint8_t>> bytes;
    MemoryFile file{nullptr, 0};
    OggVorbis_File vf{};
    bool open = false;
    SDL_AudioStream* conv = nullptr;
    bool ended = false; // the decoder reached the end and the converter was flushed

    ~VoiceStream()
    {
        if (open)
            ov_clear(&vf);
        if (conv)
            SDL_FreeAudioStream(conv);
    }

    bool Open(std::shared_ptr<const std::vector<uint8_t>> data)
    {
        bytes = std::move(data);
        file = MemoryFile{bytes.get(), 0};
        ov_callbacks cb{OggRead, OggSeek, nullptr, OggTell};
        if (ov_open_callbacks(&file, &vf, nullptr, 0, cb) != 0)
            return false;
        open = true;
        vorbis_info* info = ov_info(&vf, -1);
        if (!info || info->channels <= 0)
            return false;
        conv = SDL_NewAudioStream(AUDIO_S16SYS, Uint8(info->channels), int(info->rate), AUDIO_F32SYS, kMixChannels,
                                  kMixRate);
        return conv != nullptr;
    }

    // Up to `frames` stereo frames into out; fewer only at the end of a
    // sound that does not loop.
    int Read(float* out, int frames, bool loop)
    {
        if (!conv)
            return 0;
        const int want = frames * int(sizeof(float)) * kMixChannels;
        char buf[8192];
        bool rewound = false;
        while (SDL_AudioStreamAvailable(conv) < want && !ended) {
            int section = 0;
            long n = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section);
            if (n == OV_HOLE)
                continue;
            if (n > 0) {
                SDL_AudioStreamPut(conv, buf, int(n));
                rewound = false;
                continue;
            }
            if (loop && !rewound && ov_pcm_seek(&vf, 0) == 0) {
                rewound = true; // a second empty read in a row ends the loop
                continue;
            }
            // The resampler keeps back its tail: push silence behind it.
            std::memset(buf, 0, sizeof buf);
            SDL_AudioStreamPut(conv, buf, sizeof buf);
            SDL_AudioStreamFlush(conv);
            ended = true;
        }
        int got = SDL_AudioStreamGet(conv, out, want);
        return got > 0 ? got / int(sizeof(float) * kMixChannels) : 0;
    }
};

// ---- Mixer ----

Channel Mixer::Cue(const SoundPtr& sound)
{
    if (!sound)
        return 0;
    std::shared_ptr<VoiceStream> stream;
    if (sound->Streamed()) {
        stream = std::make_shared<VoiceStream>();
        if (!stream->Open(sound->Compressed()))
            stream.reset(); // the channel then ends at its first mix
    }
    std::lock_guard<std::mutex> lock(mutex_);
    Channel ch = next_++;
    voices_[ch] = Voice{sound, 0, 1.0f, true, std::move(stream)};
    return ch;
}

void Mixer::SetVolume(Channel ch, float volume)
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = voices_.find(ch);
    if (it != voices_.end())
        it->second.volume = std::clamp(volume, 0.0f, 1.0f);
}

void Mixer::Pause(Channel ch)
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = voices_.find(ch);
    if (it != voices_.end())
        it->second.paused = true;
}

void Mixer::Resume(Channel ch)
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = voices_.find(ch);
    if (it != voices_.end())
        it->second.paused = false;
}

void Mixer::Stop(Channel ch)
{
    std::lock_guard<std::mutex> lock(mutex_);
    voices_.erase(ch);
}

bool Mixer::Playing(Channel ch) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return voices_.count(ch) != 0;
}

bool Mixer::Paused(Channel ch) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = voices_.find(ch);
    return it != voices_.end() && it->second.paused;
}

float Mixer::Volume(Channel ch) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = voices_.find(ch);
    return it != voices_.end() ? it->second.volume : 0.0f;
}

void Mixer::StopAll()
{
    std::lock_guard<std::mutex> lock(mutex_);
    voices_.clear();
}

size_t Mixer::ChannelCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return voices_.size();
}

void Mixer::SetMasterVolume(float v)
{
    std::lock_guard<std::mutex> lock(mutex_);
    master_ = std::clamp(v, 0.0f, 1.0f);
}

void Mixer::Mix(float* out, int frames)
{
    if (frames <= 0)
        return;
    std::fill(out, out + size_t(frames) * 2, 0.0f);
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = voices_.begin(); it != voices_.end();) {
        Voice& v = it->second;
        const std::vector<float>& pcm = v.sound->Pcm();
        size_t total = v.sound->Frames();
        if (total == 0) {
            it = voices_.erase(it);
            continue;
        }
        if (v.paused) {
            ++it;
            continue;
        }
        float g = v.volume * master_;
        bool finished = false;
        if (v.sound->Streamed()) {
            if (!v.stream) {
                it = voices_.erase(it);
                continue;
            }
            scratch_.resize(size_t(frames) * 2);
            int got = v.stream->Read(scratch_.data(), frames, v.sound->Loop());
            // A sound that does not loop ends at its length (the converter's
            // padding after it is not played).
            if (!v.sound->Loop() && v.pos + size_t(got) > total)
                got = int(total - std::min(total, v.pos));
            for (int i = 0; i < got * 2; ++i)
                out[i] += scratch_[size_t(i)] * g;
            v.pos += size_t(got);
            if (v.sound->Loop())
                finished = got == 0; // only a decoder that gives nothing ends a loop
            else
                finished = got < frames || v.pos >= total;
            if (finished)
                it = voices_.erase(it);
            else
                ++it;
            continue;
        }
        for (int i = 0; i < frames; ++i) {
            if (v.pos >= total) {
                if (!v.sound->Loop()) {
                    finished = true;
                    break;
                }
                v.pos = 0;
            }
            out[i * 2] += pcm[v.pos * 2] * g;
            out[i * 2 + 1] += pcm[v.pos * 2 + 1] * g;
            ++v.pos;
        }
        if (!finished && v.pos >= total && !v.sound->Loop())
            finished = true;
        if (finished)
            it = voices_.erase(it);
        else
            ++it;
    }
    for (size_t i = 0; i < size_t(frames) * 2; ++i)
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

Mixer& GlobalMixer()
{
    // Never destroyed: the device's thread may still call it while the
    // program's static objects go away at exit.
    static Mixer* mixer = new Mixer;
    return *mixer;
}

// ---- Device ----

namespace {

SDL_AudioDeviceID g_device = 0;

void SDLCALL AudioCallback(void*, Uint8* stream, int len)
{
    GlobalMixer().Mix(reinterpret_cast<float*>(stream), len / int(sizeof(float) * 2));
}

} // namespace

void CloseAudioDevice();

bool OpenAudioDevice()
{
    if (g_device)
        return true;
    SDL_AudioSpec want{}, have{};
    want.freq = kMixRate;
    want.format = AUDIO_F32SYS;
    want.channels = kMixChannels;
    want.samples = 1024;
    want.callback = AudioCallback;
    g_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!g_device) {
        Log(std::string("No audio device: ") + SDL_GetError());
        return false;
    }
    SDL_PauseAudioDevice(g_device, 0);
    // A program that ends without Shutdown stops the device before exit.
    static bool atExitSet = false;
    if (!atExitSet) {
        atExitSet = true;
        std::atexit([] { CloseAudioDevice(); });
    }
    return true;
}

void CloseAudioDevice()
{
    if (g_device) {
        SDL_CloseAudioDevice(g_device);
        g_device = 0;
    }
}

bool AudioDeviceOpen() { return g_device != 0; }

void PumpAudio(int milliseconds)
{
    if (milliseconds <= 0 || g_device)
        return;
    static std::vector<float> scratch;
    int frames = int(int64_t(milliseconds) * kMixRate / 1000);
    scratch.resize(size_t(frames) * 2);
    GlobalMixer().Mix(scratch.data(), frames);
}

// ---- Decoding ----

// Converts interleaved PCM of any SDL format, rate and channel count to stereo
// float at the mixer rate.
static bool Convert(SDL_AudioFormat format, int channels, int rate, const uint8_t* data, size_t bytes,
                    std::vector<float>& out)
{
    // (declared above the mixer)
    if (channels <= 0 || rate <= 0)
        return false;
    SDL_AudioStream* stream = SDL_NewAudioStream(format, Uint8(channels), rate, AUDIO_F32SYS, kMixChannels, kMixRate);
    if (!stream)
        return false;
    // The resampler keeps back the tail of its input even when flushed, so a
    // stretch of silence follows the data and the result is cut to length.
    int frameBytes = int(SDL_AUDIO_BITSIZE(format) / 8) * channels;
    size_t inFrames = frameBytes > 0 ? bytes / size_t(frameBytes) : 0;
    size_t wantFrames = size_t((unsigned long long)inFrames * kMixRate / unsigned(rate));
    std::vector<uint8_t> silence(size_t(frameBytes) * 4096, format == AUDIO_U8 ? 0x80 : 0);
    bool ok = SDL_AudioStreamPut(stream, data, int(inFrames * size_t(frameBytes))) == 0 &&
              SDL_AudioStreamPut(stream, silence.data(), int(silence.size())) == 0 && SDL_AudioStreamFlush(stream) == 0;
    out.clear();
    // The stream hands its data out in pieces: read until it is empty.
    std::vector<float> chunk(16384);
    while (ok) {
        int got = SDL_AudioStreamGet(stream, chunk.data(), int(chunk.size() * sizeof(float)));
        if (got < 0)
            ok = false;
        if (got <= 0)
            break;
        out.insert(out.end(), chunk.begin(), chunk.begin() + got / int(sizeof(float)));
    }
    out.resize(wantFrames * kMixChannels, 0.0f);
    SDL_FreeAudioStream(stream);
    return ok;
}

SoundPtr DecodeOgg(const std::vector<uint8_t>& bytes, bool loop, double streamAboveSeconds)
{
    MemoryFile file{&bytes, 0};
    OggVorbis_File vf;
    ov_callbacks cb{OggRead, OggSeek, nullptr, OggTell};
    if (ov_open_callbacks(&file, &vf, nullptr, 0, cb) != 0)
        return nullptr;
    vorbis_info* info = ov_info(&vf, -1);
    if (!info || info->channels <= 0) {
        ov_clear(&vf);
        return nullptr;
    }
    int channels = info->channels;
    long rate = info->rate;
    if (streamAboveSeconds >= 0 && rate > 0) {
        ogg_int64_t total = ov_pcm_total(&vf, -1);
        if (total > 0 && double(total) / double(rate) > streamAboveSeconds) {
            ov_clear(&vf);
            size_t frames = size_t((unsigned long long)total * kMixRate / (unsigned long long)rate);
            return std::make_shared<Sound>(std::make_shared<const std::vector<uint8_t>>(bytes), frames, loop);
        }
    }
    std::vector<int16_t> pcm;
    char buf[16384];
    int section = 0;
    bool bad = false;
    for (;;) {
        long n = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section);
        if (n == 0)
            break;
        if (n < 0) {
            if (n == OV_HOLE)
                continue; // a gap in the data: keep what follows
            bad = true;
            break;
        }
        vorbis_info* now = ov_info(&vf, section);
        if (now && (now->channels != channels || now->rate != rate))
            break; // chained streams of another format are not supported
        size_t at = pcm.size();
        pcm.resize(at + size_t(n) / 2);
        std::memcpy(pcm.data() + at, buf, size_t(n));
    }
    ov_clear(&vf);
    if (bad && pcm.empty())
        return nullptr;
    std::vector<float> out;
    if (!Convert(AUDIO_S16LSB, channels, int(rate), reinterpret_cast<const uint8_t*>(pcm.data()), pcm.size() * 2, out))
        return nullptr;
    return std::make_shared<Sound>(std::move(out), loop);
}

SoundPtr DecodeWav(const std::vector<uint8_t>& bytes, bool loop)
{
    if (bytes.size() < 12)
        return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    if (!rw)
        return nullptr;
    SDL_AudioSpec wavFormat;
    Uint8* data = nullptr;
    Uint32 len = 0;
    if (!SDL_LoadWAV_RW(rw, 1, &wavFormat, &data, &len))
        return nullptr;
    std::vector<float> out;
    bool ok = Convert(wavFormat.format, wavFormat.channels, wavFormat.freq, data, len, out);
    SDL_FreeWAV(data);
    if (!ok)
        return nullptr;
    return std::make_shared<Sound>(std::move(out), loop);
}

SoundPtr LoadSound(const std::string& path, bool loop)
{
    std::string real = ResolvePath(path);
    std::vector<uint8_t> bytes;
    if (FileType(real) != 1 || !ReadBinaryFile(real, bytes)) {
        Log("Sound not found: " + path);
        return nullptr;
    }
    SoundPtr s;
    if (bytes.size() >= 4 && std::memcmp(bytes.data(), "OggS", 4) == 0)
        s = DecodeOgg(bytes, loop, kStreamSeconds);
    else if (bytes.size() >= 4 && std::memcmp(bytes.data(), "RIFF", 4) == 0)
        s = DecodeWav(bytes, loop);
    if (!s)
        Log("Sound cannot be decoded: " + path);
    return s;
}

} // namespace platform
