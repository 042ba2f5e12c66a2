#include "game/cmdline.h"

#include <charconv>
#include <limits>

namespace game {

namespace {

template <typename T>
bool ParseInteger(const std::string& text, T& out)
{
    if (text.empty())
        return false;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (*first == '+')
        ++first;
    auto [ptr, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && ptr == last;
}

CmdLineResult Fail(std::string message)
{
    CmdLineResult r;
    r.action = CmdAction::Error;
    r.message = std::move(message);
    return r;
}

} // namespace

CmdLineResult ParseCommandLine(const std::vector<std::string>& args)
{
    CmdLineResult result;
    CmdOptions& o = result.options;
    bool help = false;
    bool version = false;

    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (name.rfind("--", 0) == 0) {
            const size_t eq = name.find('=');
            if (eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name = name.substr(0, eq);
            }
        }

        // Fetches the value of an option that takes one.
        auto value = [&](std::string& out) -> bool {
            if (inlineValue) {
                out = *inlineValue;
                return true;
            }
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        auto flagOnly = [&]() { return !inlineValue.has_value(); };

        if (name == "--help" || name == "-h") {
            if (!flagOnly())
                return Fail("option " + name + " takes no value");
            help = true;
        } else if (name == "--version") {
            if (!flagOnly())
                return Fail("option " + name + " takes no value");
            version = true;
        } else if (name == "--windowed" || name == "--fullscreen") {
            if (!flagOnly())
                return Fail("option " + name + " takes no value");
            o.fullScreen = (name == "--fullscreen");
        } else if (name == "--headless") {
            if (!flagOnly())
                return Fail("option " + name + " takes no value");
            o.headless = true;
        } else if (name == "--gallery") {
            if (!flagOnly())
                return Fail("option " + name + " takes no value");
            o.gallery = true;
        } else if (name == "--relaxed" || name == "--autoplay" || name == "--exit-on-level-end" ||
                   name == "--bench") {
            if (!flagOnly())
                return Fail("option " + name + " takes no value");
            if (name == "--relaxed")
                o.relaxed = true;
            else if (name == "--autoplay")
                o.autoplay = true;
            else if (name == "--exit-on-level-end")
                o.exitOnLevelEnd = true;
            else
                o.bench = true;
        } else if (name == "--level") {
            std::string v;
            if (!value(v))
                return Fail("option --level needs a value");
            const size_t dash = v.find('-');
            int stage = 0, level = 0;
            if (dash == std::string::npos || !ParseInteger(v.substr(0, dash), stage) ||
                !ParseInteger(v.substr(dash + 1), level) || stage < 1 || level < 1)
                return Fail("option --level needs a stage and a level as S-L (for example 1-3), not '" + v + "'");
            o.level = std::make_pair(stage, level);
        } else if (name == "--game-dir" || name == "--user-dir" || name == "--screenshot" ||
                   name == "--input" || name == "--autoplay-shots") {
            std::string v;
            if (!value(v))
                return Fail("option " + name + " needs a value");
            if (v.empty())
                return Fail("option " + name + " needs a non-empty value");
            if (name == "--game-dir")
                o.gameDir = v;
            else if (name == "--user-dir")
                o.userDir = v;
            else if (name == "--screenshot")
                o.screenshot = v;
            else if (name == "--autoplay-shots")
                o.autoplayShots = v;
            else
                o.inputScript = v;
        } else if (name == "--seed") {
            std::string v;
            if (!value(v))
                return Fail("option --seed needs a value");
            uint32_t seed = 0;
            if (!ParseInteger(v, seed))
                return Fail("option --seed needs a whole number from 0 to 4294967295, not '" + v + "'");
            o.seed = seed;
        } else if (name == "--frames") {
            std::string v;
            if (!value(v))
                return Fail("option --frames needs a value");
            int64_t frames = 0;
            if (!ParseInteger(v, frames) || frames < 1)
                return Fail("option --frames needs a whole number of at least 1, not '" + v + "'");
            o.frames = frames;
        } else if (name == "--autoplay-levels") {
            std::string v;
            if (!value(v))
                return Fail("option --autoplay-levels needs a value");
            int64_t levels = 0;
            if (!ParseInteger(v, levels) || levels < 1 || levels > 100000)
                return Fail("option --autoplay-levels needs a whole number from 1 to 100000, not '" + v + "'");
            o.autoplayLevels = static_cast<int>(levels);
        } else if (name == "--kill-at-frame") {
            std::string v;
            if (!value(v))
                return Fail("option --kill-at-frame needs a value");
            int64_t frame = 0;
            if (!ParseInteger(v, frame) || frame < 1)
                return Fail("option --kill-at-frame needs a whole number of at least 1, not '" + v + "'");
            o.killAtFrame = frame;
        } else if (name.rfind("-", 0) == 0) {
            return Fail("unknown option '" + args[i] + "'");
        } else {
            return Fail("unexpected argument '" + args[i] + "'");
        }
    }

    if (help)
        result.action = CmdAction::Help;
    else if (version)
        result.action = CmdAction::Version;
    return result;
}

std::string UsageText()
{
    return "Usage: velmora [options]\n"
           "\n"
           "  --windowed          play in a window\n"
           "  --fullscreen        play full screen\n"
           "  --game-dir DIR      read the content from DIR (default: Game/)\n"
           "  --user-dir DIR      keep settings and profiles in DIR\n"
           "  --seed N            seed the random numbers with N\n"
           "  --help              show this text\n"
           "  --version           show the version\n"
           "\n"
           "Automation:\n"
           "  --headless          no window and no sound; the clock advances exactly\n"
           "                      1/60 s per frame without waiting\n"
           "  --frames N          quit after N frames (saving as when the window closes)\n"
           "  --screenshot FILE   write the last frame drawn as a PNG\n"
           "  --input FILE        feed the input script FILE (see README.md)\n"
           "\n"
           "Testers:\n"
           "  --level S-L         play level L of stage S directly after loading (timed)\n"
           "  --relaxed           play that level in the relaxed mode (no time limit)\n"
           "  --autoplay          let the built-in player play the level with the mouse;\n"
           "                      without --level it plays the game from the main menu\n"
           "  --autoplay-levels N with --autoplay alone: stop after N levels (on the map, once it\n"
           "                      has bought what it can), saving as on quit\n"
           "  --autoplay-shots DIR with --autoplay alone: screenshots of the map after each visit's\n"
           "                      purchases and of the first buy window, into DIR\n"
           "  --kill-at-frame N   with --autoplay: die by SIGKILL in the player's N-th frame\n"
           "  --exit-on-level-end quit when the level ends: status 0 won, 3 lost\n"
           "  --bench             print frame times, draw batches and peak memory at exit\n"
           "\n"
           "Developers (with Cheats.txt in the working directory):\n"
           "  --gallery           show the widget gallery instead of the game\n";
}

std::string VersionText()
{
#ifdef VELMORA_VERSION
    return std::string("Velmora ") + VELMORA_VERSION;
#else
    return "Velmora 0.1.0";
#endif
}

} // namespace game
