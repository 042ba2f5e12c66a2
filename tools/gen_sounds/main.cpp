// gen_sounds: synthesises the pack's sound effects and music loops and writes the
// sound catalogue that numbers them.
//
//   gen_sounds OUT_DIR
//
// Writes under OUT_DIR/sfx/: one Ogg Vorbis file per sound and "Sounds.txt", the
// catalogue (a block file: one "Sound" block per number). Effects are short and
// normalised to one loudness; music tracks are seamless loops, a little quieter.
#include "sounds.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace gs {
namespace {

constexpr double kEffectRms = 0.16;  // common loudness of every effect
constexpr double kMusicRms = 0.11;   // music sits below the effects
constexpr float kEffectQuality = 0.4f;
constexpr float kMusicQuality = 0.3f;

struct Item {
    int id;
    std::string file;  // below sfx/
    std::string name;
    std::function<Buffer()> make;
    bool music = false;
};

Song Track(int bpm, int root, bool minor, std::vector<int> progression, std::uint32_t seed, bool drums = true,
           Wave pad = Wave::Saw, bool bell = true) {
    Song s;
    s.bpm = bpm;
    s.root = root;
    s.minor = minor;
    s.progression = std::move(progression);
    s.seed = seed;
    s.drums = drums;
    s.padWave = pad;
    s.bell = bell;
    return s;
}

// The catalogue: every number the game plays. Several numbers may share a recipe
// under different file names only when they mean different events.
std::vector<Item> Catalogue() {
    return {
        {1, "ChainBreak.ogg", "Chain breaks", ChainBreak},
        {2, "ChestOpen.ogg", "Chest opens", ChestOpen},
        {3, "Land1.ogg", "Piece lands 1", [] { return Land(0); }},
        {4, "Pop1.ogg", "Piece cleared 1", [] { return Pop(0); }},
        {6, "PowerCreated.ogg", "Power piece made", PowerCreated},
        {8, "Swap.ogg", "Swap", Swap},
        {9, "Click.ogg", "Button click", Click},
        {10, "Explosion.ogg", "Bomb", Explosion},
        {11, "Lightning.ogg", "Row lightning", Lightning},
        {12, "Cross.ogg", "Cross", Cross},
        {13, "Hammer.ogg", "Hammer", Hammer},
        {14, "Magic.ogg", "Magic tool", Magic},
        {16, "Charged.ogg", "Power-up charged", Charged},
        {17, "Sparkle.ogg", "Sparkle", Sparkle},
        {18, "Zap.ogg", "Zap", Zap},
        {19, "SoftThump.ogg", "Cell lands", SoftThump},
        {20, "Go.ogg", "Go", GoFanfare},
        {21, "Land2.ogg", "Piece lands 2", [] { return Land(1); }},
        {22, "Land3.ogg", "Piece lands 3", [] { return Land(2); }},
        {23, "Pop2.ogg", "Piece cleared 2", [] { return Pop(1); }},
        {24, "Pop3.ogg", "Piece cleared 3", [] { return Pop(2); }},
        {26, "BlipUp.ogg", "Blip up", [] { return Blip(1); }},
        {27, "BlipDown.ogg", "Blip down", [] { return Blip(0); }},
        {28, "Crumble.ogg", "Cell layer crumbles", Crumble},
        {29, "Match.ogg", "Match", Match},
        {30, "Purchase.ogg", "Purchase", Purchase},
        {31, "Tick.ogg", "Tick", [] { return Blip(2); }},
        {32, "Win.ogg", "Level won", WinJingle},
        {33, "TimeUp.ogg", "Time up", LoseJingle},
        {34, "Coin.ogg", "Coin", Coin},
        {103, "Music/Victory.ogg", "Victory", [] { return Compose(Track(120, 60, false, {0, 3, 4, 0}, 103)); }, true},
        {104, "Music/Sorry.ogg", "Sorry",
         [] {
             Song s = Track(70, 57, true, {0, 3, 4, 0}, 104, false, Wave::Triangle);
             s.bars = 4;
             return Compose(s);
         },
         true},
        {105, "Music/Calm.ogg", "Calm", [] { return Compose(Track(80, 65, false, {0, 2, 3, 4}, 105, false)); }, true},
        {106, "Music/Story.ogg", "Story",
         [] { return Compose(Track(72, 62, true, {0, 5, 2, 6}, 106, false, Wave::Triangle)); }, true},
        {107, "Music/Town.ogg", "Town", [] { return Compose(Track(104, 67, false, {0, 4, 5, 3}, 107)); }, true},
        {108, "Music/MenuLoop.ogg", "Main menu", MenuLoop, true},
        {301, "Music/Level1.ogg", "Level 1", [] { return Compose(Track(108, 60, false, {0, 5, 3, 4}, 301)); }, true},
        {302, "Music/Level2.ogg", "Level 2",
         [] { return Compose(Track(112, 62, false, {0, 3, 0, 4}, 302, true, Wave::Saw, false)); }, true},
        {303, "Music/Level3.ogg", "Level 3", [] { return Compose(Track(100, 63, false, {0, 1, 3, 4}, 303)); }, true},
        {304, "Music/Level4.ogg", "Level 4",
         [] { return Compose(Track(104, 57, true, {0, 5, 6, 4}, 304, true, Wave::Saw, false)); }, true},
        {305, "Music/Level5.ogg", "Level 5", [] { return Compose(Track(116, 65, false, {0, 4, 5, 3}, 305)); }, true},
    };
}

}  // namespace
}  // namespace gs

int main(int argc, char** argv) {
    using namespace gs;
    if (argc != 2) {
        std::cerr << "usage: gen_sounds OUT_DIR\n";
        return 2;
    }
    const std::string out = argv[1];
    int failures = 0;
    std::string catalogue =
        "Velmora sound catalogue, written by tools/gen_sounds together with the sounds it lists\n"
        "One Sound block per number the game plays\n\n";
    for (const Item& it : Catalogue()) {
        Buffer b = it.make();
        b.Normalise(it.music ? kMusicRms : kEffectRms);
        const std::string path = out + "/sfx/" + it.file;
        if (!WriteOgg(path, b, it.music ? kMusicQuality : kEffectQuality, it.name)) {
            std::cerr << "gen_sounds: cannot write " << path << "\n";
            ++failures;
        }
        catalogue += "Sound {\n\tid = " + std::to_string(it.id) + "\n\tUrl = \"[BDIR]sfx/" + it.file +
                     "\"\n\tName = \"" + it.name + "\"\n\tVolume = 1\n";
        if (it.music)
            catalogue += "\tisMusic = 1\n\tisLooped = 1\n";
        catalogue += "}\n";
    }
    std::ofstream cat(out + "/sfx/Sounds.txt", std::ios::binary);
    cat << catalogue;
    if (!cat) {
        std::cerr << "gen_sounds: cannot write " << out << "/sfx/Sounds.txt\n";
        ++failures;
    }
    if (failures == 0)
        std::cout << "gen_sounds: sounds and catalogue written to " << out << "/sfx\n";
    return failures ? 1 : 0;
}
