// The mixer on plain buffers, and sound decoding.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "platform_env.h"

using namespace platform;

namespace {

SoundPtr Constant(size_t frames, float left, float right, bool loop)
{
    std::vector<float> pcm(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        pcm[i * 2] = left;
        pcm[i * 2 + 1] = right;
    }
    return std::make_shared<Sound>(std::move(pcm), loop);
}

std::vector<float> Mix(Mixer& m, int frames)
{
    std::vector<float> out(size_t(frames) * 2, 99.0f); // the mixer clears it
    m.Mix(out.data(), frames);
    return out;
}

TEST(Mixer, CuedChannelsWaitPausedAtTheStart)
{
    Mixer m;
    Channel ch = m.Cue(Constant(100, 0.5f, 0.25f, false));
    ASSERT_NE(ch, 0);
    EXPECT_TRUE(m.Playing(ch));
    EXPECT_TRUE(m.Paused(ch));
    for (float v : Mix(m, 64))
        EXPECT_EQ(v, 0.0f);
    m.Resume(ch);
    auto out = Mix(m, 60);
    EXPECT_FLOAT_EQ(out[0], 0.5f);
    EXPECT_FLOAT_EQ(out[1], 0.25f);
    EXPECT_FLOAT_EQ(out[119], 0.25f);
    // 40 frames remain: they play, then silence, and the channel is over.
    out = Mix(m, 60);
    EXPECT_FLOAT_EQ(out[79], 0.25f);
    EXPECT_EQ(out[80], 0.0f);
    EXPECT_FALSE(m.Playing(ch));
    EXPECT_EQ(m.ChannelCount(), 0u);
    EXPECT_EQ(m.Cue(nullptr), 0);
}

TEST(Mixer, PauseKeepsThePositionAndStopEndsTheChannel)
{
    Mixer m;
    std::vector<float> ramp(20);
    for (int i = 0; i < 10; ++i)
        ramp[size_t(i) * 2] = ramp[size_t(i) * 2 + 1] = float(i) / 10;
    Channel ch = m.Cue(std::make_shared<Sound>(ramp, false));
    m.Resume(ch);
    Mix(m, 4);
    m.Pause(ch);
    Mix(m, 4);
    m.Resume(ch);
    EXPECT_FLOAT_EQ(Mix(m, 1)[0], 0.4f);
    m.Stop(ch);
    EXPECT_FALSE(m.Playing(ch));
    EXPECT_EQ(Mix(m, 4)[0], 0.0f);
    // Operations on ended or unknown channels are harmless.
    m.Resume(ch);
    m.SetVolume(12345, 1);
    EXPECT_FALSE(m.Playing(12345));
}

TEST(Mixer, LoopedChannelsWrapAndNeverEnd)
{
    Mixer m;
    std::vector<float> two = {0.1f, 0.1f, 0.2f, 0.2f, 0.3f, 0.3f};
    Channel ch = m.Cue(std::make_shared<Sound>(two, true));
    m.Resume(ch);
    auto out = Mix(m, 7);
    const float expect[] = {0.1f, 0.2f, 0.3f, 0.1f, 0.2f, 0.3f, 0.1f};
    for (int i = 0; i < 7; ++i)
        EXPECT_FLOAT_EQ(out[size_t(i) * 2], expect[i]) << i;
    Mix(m, 1000);
    EXPECT_TRUE(m.Playing(ch));
}

TEST(Mixer, ChannelsOfOneSoundMixWithTheirVolumesAndClamp)
{
    Mixer m;
    SoundPtr s = Constant(50, 0.4f, -0.4f, false);
    Channel a = m.Cue(s), b = m.Cue(s);
    EXPECT_NE(a, b);
    m.SetVolume(a, 0.5f);
    m.SetVolume(b, 3.0f); // clamped to 1
    EXPECT_FLOAT_EQ(m.Volume(b), 1.0f);
    m.Resume(a);
    m.Resume(b);
    auto out = Mix(m, 2);
    EXPECT_FLOAT_EQ(out[0], 0.6f);
    EXPECT_FLOAT_EQ(out[1], -0.6f);
    Channel c = m.Cue(Constant(50, 0.9f, -0.9f, false));
    m.Resume(c);
    out = Mix(m, 2);
    EXPECT_FLOAT_EQ(out[0], 1.0f);
    EXPECT_FLOAT_EQ(out[1], -1.0f);
    m.StopAll();
    EXPECT_EQ(m.ChannelCount(), 0u);
}

std::string Wav8Mono(int rate, const std::vector<uint8_t>& samples)
{
    auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    std::string fmt = "fmt " + u32(16) + u16(1) + u16(1) + u32(uint32_t(rate)) + u32(uint32_t(rate)) + u16(1) + u16(8);
    std::string data = "data" + u32(uint32_t(samples.size())) + std::string(samples.begin(), samples.end());
    return "RIFF" + u32(uint32_t(4 + fmt.size() + data.size())) + "WAVE" + fmt + data;
}

TEST(Sounds, WavIsConvertedToStereoAtTheMixRate)
{
    std::string dir = vmtest::ScratchDir("sounds");
    std::vector<uint8_t> samples(2205, 192); // 0.1 s of a constant +0.5 at 22050 Hz
    std::ofstream(dir + "/tone.wav", std::ios::binary) << Wav8Mono(22050, samples);
    SoundPtr s = LoadSound(dir + "/tone.wav", true);
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->Loop());
    EXPECT_NEAR(double(s->Frames()), 4410.0, 64.0);
    const auto& pcm = s->Pcm();
    EXPECT_NEAR(pcm[2000], 0.5f, 0.02f);
    EXPECT_NEAR(pcm[2001], 0.5f, 0.02f);
}

TEST(Sounds, MissingOrBrokenFilesGiveNone)
{
    std::string dir = vmtest::ScratchDir("broken_sounds");
    std::ofstream(dir + "/fake.ogg", std::ios::binary) << "OggS and then nothing that decodes";
    std::ofstream(dir + "/fake.wav", std::ios::binary) << "RIFF\x10\0\0\0WAVEjunk";
    std::ofstream(dir + "/text.ogg", std::ios::binary) << "hello";
    std::string wav = Wav8Mono(22050, std::vector<uint8_t>(100, 128));
    std::ofstream(dir + "/cut.wav", std::ios::binary) << wav.substr(0, 30);
    for (const char* name : {"none.ogg", "fake.ogg", "fake.wav", "text.ogg", "cut.wav"})
        EXPECT_FALSE(LoadSound(dir + "/" + name)) << name;
    EXPECT_FALSE(DecodeOgg({}, false));
    EXPECT_FALSE(DecodeWav({}, false));
}

// Headless runs have no audio device: flips pump the mixer with the time that
// passed, so channels still finish.
TEST(Sounds, HeadlessFlipsAdvanceChannels)
{
    ASSERT_FALSE(AudioDeviceOpen());
    auto clock = std::make_shared<VirtualClock>(1000);
    SetClock(clock);
    vmtest::FreshDisplay(8, 8);
    Flip();
    Channel ch = CueSound(Constant(kMixRate / 10, 0.1f, 0.1f, false)); // 100 ms
    ResumeChannel(ch);
    for (int i = 0; i < 3; ++i)
        Flip();
    EXPECT_TRUE(ChannelPlaying(ch));
    for (int i = 0; i < 5; ++i)
        Flip();
    EXPECT_FALSE(ChannelPlaying(ch));
    SetClock(nullptr);
}

} // namespace

namespace {

std::vector<uint8_t> ReadFixture(const std::string& path)
{
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadBinaryFile(path, bytes)) << path;
    return bytes;
}

const char* const kTone = "tests/fixtures/platform/tone-22050-mono-1s.ogg";

TEST(Sounds, OggIsDecodedAndResampledToStereo)
{
    SoundPtr s = LoadSound(kTone);
    ASSERT_TRUE(s);
    EXPECT_FALSE(s->Streamed()); // short sounds are decoded whole
    EXPECT_NEAR(s->Seconds(), 1.0, 0.01);
    // A sine of amplitude 0.5 on both sides: the mean square is 0.125.
    double sum = 0;
    const auto& pcm = s->Pcm();
    for (size_t i = 4410 * 2; i < 40000 * 2; i += 2) {
        EXPECT_FLOAT_EQ(pcm[i], pcm[i + 1]);
        sum += double(pcm[i]) * pcm[i];
    }
    EXPECT_NEAR(sum / (40000 - 4410), 0.125, 0.01);
}

// A streamed channel plays the same samples as the whole decode, ends at the
// sound's length, and wraps when looped.
TEST(Sounds, StreamedChannelsMatchTheWholeDecode)
{
    std::vector<uint8_t> bytes = ReadFixture(kTone);
    SoundPtr whole = DecodeOgg(bytes, false);
    SoundPtr streamed = DecodeOgg(bytes, false, 0.0);
    ASSERT_TRUE(whole);
    ASSERT_TRUE(streamed);
    ASSERT_TRUE(streamed->Streamed());
    EXPECT_TRUE(streamed->Pcm().empty());
    EXPECT_NEAR(double(streamed->Frames()), double(whole->Frames()), 2.0);

    Mixer m;
    Channel ch = m.Cue(streamed);
    m.Resume(ch);
    std::vector<float> played;
    std::vector<float> block(700 * 2);
    for (int i = 0; i < 80 && m.Playing(ch); ++i) {
        m.Mix(block.data(), 700);
        played.insert(played.end(), block.begin(), block.end());
    }
    EXPECT_FALSE(m.Playing(ch));
    const auto& ref = whole->Pcm();
    size_t n = std::min(ref.size(), played.size());
    ASSERT_GT(n, 80000u);
    float worst = 0;
    for (size_t i = 0; i < n; ++i)
        worst = std::max(worst, std::abs(played[i] - ref[i]));
    EXPECT_LT(worst, 0.02f);
    // Nothing plays after the sound's length.
    for (size_t i = whole->Frames() * 2 + 2; i < played.size(); ++i)
        ASSERT_EQ(played[i], 0.0f) << i;

    SoundPtr looped = DecodeOgg(bytes, true, 0.0);
    Channel lc = m.Cue(looped);
    m.Resume(lc);
    std::vector<float> longer(size_t(kMixRate) * 3 * 2);
    m.Mix(longer.data(), kMixRate * 3);
    EXPECT_TRUE(m.Playing(lc));
    double late = 0;
    for (size_t i = size_t(kMixRate) * 5; i < size_t(kMixRate) * 6; ++i)
        late += double(longer[i]) * longer[i];
    EXPECT_NEAR(late / kMixRate, 0.125, 0.02); // still the tone in the third second
}

} // namespace
