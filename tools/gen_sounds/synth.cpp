#include "synth.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace gs {

double Adsr::At(double t, double hold) const {
    if (t < 0)
        return 0;
    auto held = [&](double u) {
        if (u < attack)
            return attack > 0 ? u / attack : 1.0;
        u -= attack;
        if (u < decay)
            return 1.0 - (1.0 - sustain) * (u / decay);
        return sustain;
    };
    if (t < hold)
        return held(t);
    double r = t - hold;
    if (r >= release)
        return 0;
    // Exponential-looking release: the square of a linear fall sounds natural.
    double k = 1.0 - r / release;
    return held(hold) * k * k;
}

double Noise::Next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return (s_ & 0xFFFFFF) / double(0x800000) - 1.0;
}

double Svf::Step(double in, double cutoffHz) {
    double f = 2.0 * std::sin(kPi * std::min(cutoffHz, kRate / 6.0) / kRate);
    double high = in - low_ - band_ / q_;
    band_ += f * high;
    low_ += f * band_;
    switch (mode_) {
    case Mode::Low:
        return low_;
    case Mode::Band:
        return band_;
    case Mode::High:
        return high;
    }
    return low_;
}

double Osc(Wave w, double phase, Noise& noise) {
    double p = phase - std::floor(phase);
    switch (w) {
    case Wave::Sine:
        return std::sin(2 * kPi * p);
    case Wave::Triangle:
        return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
    case Wave::Square:
        return p < 0.5 ? 0.8 : -0.8;
    case Wave::Saw:
        return 2 * p - 1;
    case Wave::Noise:
        return noise.Next();
    }
    return 0;
}

double NoteHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

Buffer::Buffer(double seconds) { Resize(static_cast<std::size_t>(std::lround(seconds * kRate))); }

void Buffer::Resize(std::size_t frames) {
    left.resize(frames, 0.f);
    right.resize(frames, 0.f);
}

void Buffer::Add(const std::vector<float>& mono, double start, double gain, double pan) {
    start = std::max(start, 0.0);
    auto s = static_cast<std::size_t>(std::lround(start * kRate));
    if (s + mono.size() > Frames())
        Resize(s + mono.size());
    // Constant-power pan.
    double a = (pan + 1) * kPi / 4;
    double gl = gain * std::cos(a), gr = gain * std::sin(a);
    for (std::size_t i = 0; i < mono.size(); ++i) {
        left[s + i] += static_cast<float>(mono[i] * gl);
        right[s + i] += static_cast<float>(mono[i] * gr);
    }
}

void Buffer::FoldLoop(std::size_t frames) {
    for (std::size_t i = frames; i < Frames(); ++i) {
        left[i % frames] += left[i];
        right[i % frames] += right[i];
    }
    Resize(frames);
    left.resize(frames);
    right.resize(frames);
}

void Buffer::Normalise(double targetRms, double ceiling) {
    double sum = 0, peak = 0;
    std::size_t n = 0;
    for (std::size_t i = 0; i < Frames(); ++i) {
        double l = left[i], r = right[i];
        peak = std::max({peak, std::fabs(l), std::fabs(r)});
        double e = (l * l + r * r) / 2;
        if (e > 1e-8) {  // audible part only: tails and gaps do not dilute the level
            sum += e;
            ++n;
        }
    }
    if (n == 0 || peak <= 0)
        return;
    double rms = std::sqrt(sum / n);
    double g = std::min(targetRms / rms, ceiling / peak);
    for (std::size_t i = 0; i < Frames(); ++i) {
        left[i] = static_cast<float>(left[i] * g);
        right[i] = static_cast<float>(right[i] * g);
    }
}

void Buffer::TrimTail(double threshold) {
    std::size_t end = Frames();
    while (end > 0 && std::fabs(left[end - 1]) < threshold && std::fabs(right[end - 1]) < threshold)
        --end;
    std::size_t fade = std::min<std::size_t>(end, kRate / 200);  // 5 ms
    for (std::size_t i = 0; i < fade; ++i) {
        double k = 1.0 - double(i + 1) / fade;
        left[end - fade + i] = static_cast<float>(left[end - fade + i] * k);
        right[end - fade + i] = static_cast<float>(right[end - fade + i] * k);
    }
    Resize(end);
    left.resize(end);
    right.resize(end);
}

std::vector<float> Voice::Render() const {
    double len = env.Length(hold);
    auto n = static_cast<std::size_t>(std::lround(len * kRate));
    std::vector<float> out(n);
    Noise noise(seed);
    Svf lp(Svf::Mode::Low, 0.8);
    double phase = 0, phase2 = 0, phase3 = 0, phase4 = 0;
    double det = std::pow(2.0, detune / 1200.0);
    for (std::size_t i = 0; i < n; ++i) {
        double t = double(i) / kRate;
        double f = hz;
        if (glideTo > 0) {
            double k = std::min(1.0, t / std::max(hold, 1e-3));
            f = hz * std::pow(glideTo / hz, k);
        }
        double v = Osc(wave, phase, noise);
        if (detune != 0)
            v = 0.5 * (v + Osc(wave, phase2, noise));
        if (harmonics > 0)
            v += harmonics * (0.5 * std::sin(2 * kPi * phase3) + 0.25 * std::sin(2 * kPi * phase4) *
                                                                    std::exp(-t * 8));
        if (cutoff > 0) {
            double c = cutoff;
            if (cutoffEnd > 0)
                c = cutoff * std::pow(cutoffEnd / cutoff, std::min(1.0, t / len));
            v = lp.Step(v, c);
        }
        out[i] = static_cast<float>(v * env.At(t, hold));
        phase += f / kRate;
        phase2 += f * det / kRate;
        phase3 += 2 * f / kRate;
        phase4 += 3 * f / kRate;
    }
    return out;
}

bool WriteOgg(const std::string& path, const Buffer& buf, float quality, const std::string& title) {
    std::filesystem::path p(path);
    if (p.has_parent_path())
        std::filesystem::create_directories(p.parent_path());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;

    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 2, kRate, quality) != 0) {
        vorbis_info_clear(&vi);
        std::fclose(f);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", title.c_str());
    vorbis_comment_add_tag(&vc, "ARTIST", "Velmora content pack");
    vorbis_comment_add_tag(&vc, "LICENSE", "CC BY 4.0");

    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x56454C4D);  // fixed serial: identical files on every run

    ogg_packet header, headerComm, headerCode;
    vorbis_analysis_headerout(&vd, &vc, &header, &headerComm, &headerCode);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &headerComm);
    ogg_stream_packetin(&os, &headerCode);
    ogg_page og;
    bool ok = true;
    auto writePage = [&](const ogg_page& page) {
        ok = ok && std::fwrite(page.header, 1, page.header_len, f) == static_cast<size_t>(page.header_len);
        ok = ok && std::fwrite(page.body, 1, page.body_len, f) == static_cast<size_t>(page.body_len);
    };
    while (ogg_stream_flush(&os, &og) != 0)
        writePage(og);

    const std::size_t chunk = 1024;
    std::size_t pos = 0;
    bool eos = false, ended = false;
    while (!eos) {
        std::size_t n = std::min(chunk, buf.Frames() - pos);
        if (n == 0) {
            if (ended)
                break;  // the encoder gave its last page without an end mark
            vorbis_analysis_wrote(&vd, 0);
            ended = true;
        } else {
            float** in = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            for (std::size_t i = 0; i < n; ++i) {
                in[0][i] = std::clamp(buf.left[pos + i], -1.0f, 1.0f);
                in[1][i] = std::clamp(buf.right[pos + i], -1.0f, 1.0f);
            }
            vorbis_analysis_wrote(&vd, static_cast<int>(n));
            pos += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op) != 0) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og) != 0) {
                    writePage(og);
                    if (ogg_page_eos(&og))
                        eos = true;
                }
            }
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return std::fclose(f) == 0 && ok;
}

}  // namespace gs
