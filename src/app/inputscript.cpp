#include "app/inputscript.h"
#include "datafiles/numbers.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <sstream>

namespace app {

namespace {


bool ParseInt64(const std::string& s, int64_t& out)
{
    if (s.empty())
        return false;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && ptr == s.data() + s.size();
}

bool ParseFloat(const std::string& s, float& out)
{
    if (s.empty())
        return false;
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size())
        return false;
    out = static_cast<float>(v);
    return true;
}

int ButtonFromName(const std::string& name)
{
    const std::string n = datafiles::AsciiLower(name);
    if (n == "left" || n == "1")
        return 1;
    if (n == "right" || n == "2")
        return 2;
    if (n == "middle" || n == "3")
        return 3;
    return 0;
}

// Splits off whitespace-separated words; `rest` receives everything after the
// first `count` words (with its leading blanks removed).
std::vector<std::string> Words(const std::string& line, size_t count, std::string* rest)
{
    std::vector<std::string> words;
    size_t pos = 0;
    auto skipBlanks = [&] {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
    };
    while (words.size() < count) {
        skipBlanks();
        if (pos >= line.size())
            break;
        const size_t start = pos;
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t')
            ++pos;
        words.push_back(line.substr(start, pos - start));
    }
    if (rest) {
        skipBlanks();
        *rest = pos < line.size() ? line.substr(pos) : std::string();
    }
    return words;
}

std::string StripComment(const std::string& s)
{
    const size_t hash = s.find('#');
    std::string out = hash == std::string::npos ? s : s.substr(0, hash);
    while (!out.empty() && (out.back() == ' ' || out.back() == '\t' || out.back() == '\r'))
        out.pop_back();
    return out;
}

} // namespace

int KeyCodeFromName(const std::string& name)
{
    const std::string n = datafiles::AsciiLower(name);
    if (n.empty())
        return 0;
    if (n.size() == 1) {
        const char c = n[0];
        if (c >= 'a' && c <= 'z')
            return 'A' + (c - 'a');
        if (c >= '0' && c <= '9')
            return c;
        if (c == '=')
            return 187;
    }
    if (n.size() >= 2 && n[0] == 'f' && n.find_first_not_of("0123456789", 1) == std::string::npos) {
        const int f = std::atoi(n.c_str() + 1);
        if (f >= 1 && f <= 12)
            return 111 + f;
        return 0;
    }
    struct Named {
        const char* name;
        int code;
    };
    static const Named named[] = {
        {"backspace", 8}, {"tab", 9},       {"enter", 13},    {"return", 13}, {"shift", 16},
        {"ctrl", 17},     {"escape", 27},   {"esc", 27},      {"space", 32},  {"left", 37},
        {"up", 38},       {"right", 39},    {"down", 40},     {"delete", 46}, {"lalt", 164},
        {"ralt", 165},    {"equals", 187},
    };
    for (const Named& k : named)
        if (n == k.name)
            return k.code;
    int64_t code = 0;
    if (ParseInt64(n, code) && code > 0 && code < 256)
        return static_cast<int>(code);
    return 0;
}

ScriptParseResult ParseInputScript(const std::string& text, const std::string& name)
{
    ScriptParseResult result;
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        auto error = [&](const std::string& message) {
            result.errors.push_back(name + ":" + std::to_string(lineNo) + ": " + message);
        };

        std::string rest;
        const std::vector<std::string> head = Words(raw, 2, &rest);
        if (head.empty() || head[0][0] == '#')
            continue;
        int64_t frame = 0;
        if (!ParseInt64(head[0], frame) || frame < 1) {
            error("expected a frame number of at least 1, found '" + head[0] + "'");
            continue;
        }
        if (head.size() < 2) {
            error("missing event after the frame number");
            continue;
        }
        const std::string verb = datafiles::AsciiLower(head[1]);
        ScriptEvent ev;
        ev.frame = frame;
        ev.line = lineNo;

        // Typed text takes the rest of the line as written, '#' included.
        if (verb == "text") {
            if (!rest.empty() && rest.back() == '\r')
                rest.pop_back();
            if (rest.empty()) {
                error("text needs the text to type");
                continue;
            }
            ev.action = ScriptAction::Text;
            ev.text = rest;
            result.script.events.push_back(ev);
            continue;
        }

        const std::vector<std::string> args = Words(StripComment(rest), 8, nullptr);
        auto argCount = [&](size_t lo, size_t hi) {
            if (args.size() < lo || args.size() > hi) {
                error(verb + " takes " +
                      (lo == hi ? std::to_string(lo) : std::to_string(lo) + " to " + std::to_string(hi)) +
                      " argument(s), found " + std::to_string(args.size()));
                return false;
            }
            return true;
        };

        if (verb == "move" || verb == "click") {
            if (!argCount(2, verb == "click" ? 3 : 2))
                continue;
            if (!ParseFloat(args[0], ev.x) || !ParseFloat(args[1], ev.y)) {
                error(verb + " needs two numbers for the position");
                continue;
            }
            ev.action = ScriptAction::MouseMove;
            if (verb == "move") {
                result.script.events.push_back(ev);
                continue;
            }
            const int button = args.size() == 3 ? ButtonFromName(args[2]) : 1;
            if (button == 0) {
                error("unknown mouse button '" + args[2] + "'");
                continue;
            }
            result.script.events.push_back(ev);
            ScriptEvent down = ev;
            down.action = ScriptAction::MouseDown;
            down.button = button;
            result.script.events.push_back(down);
            ScriptEvent up = down;
            up.action = ScriptAction::MouseUp;
            up.frame = frame + 1;
            result.script.events.push_back(up);
        } else if (verb == "press" || verb == "down" || verb == "release" || verb == "up") {
            if (!argCount(0, 1))
                continue;
            ev.button = args.empty() ? 1 : ButtonFromName(args[0]);
            if (ev.button == 0) {
                error("unknown mouse button '" + args[0] + "'");
                continue;
            }
            ev.action = (verb == "press" || verb == "down") ? ScriptAction::MouseDown : ScriptAction::MouseUp;
            result.script.events.push_back(ev);
        } else if (verb == "key" || verb == "keydown" || verb == "keyup") {
            if (!argCount(1, 1))
                continue;
            ev.key = KeyCodeFromName(args[0]);
            if (ev.key == 0) {
                error("unknown key '" + args[0] + "'");
                continue;
            }
            if (verb == "keyup") {
                ev.action = ScriptAction::KeyUp;
                result.script.events.push_back(ev);
                continue;
            }
            ev.action = ScriptAction::KeyDown;
            result.script.events.push_back(ev);
            if (verb == "key") {
                ev.action = ScriptAction::KeyUp;
                result.script.events.push_back(ev);
            }
        } else if (verb == "focus") {
            if (!argCount(1, 1))
                continue;
            const std::string what = datafiles::AsciiLower(args[0]);
            if (what == "lost")
                ev.action = ScriptAction::FocusLost;
            else if (what == "gained")
                ev.action = ScriptAction::FocusGained;
            else {
                error("focus takes 'lost' or 'gained', found '" + args[0] + "'");
                continue;
            }
            result.script.events.push_back(ev);
        } else if (verb == "close") {
            if (!argCount(0, 0))
                continue;
            ev.action = ScriptAction::Close;
            result.script.events.push_back(ev);
        } else if (verb == "screenshot") {
            if (!argCount(1, 1))
                continue;
            ev.action = ScriptAction::Screenshot;
            ev.text = args[0];
            result.script.events.push_back(ev);
        } else {
            error("unknown event '" + head[1] + "'");
        }
    }

    std::stable_sort(result.script.events.begin(), result.script.events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
    return result;
}

std::vector<ScriptEvent> ScriptPlayer::TakeUpTo(int64_t frame)
{
    std::vector<ScriptEvent> out;
    while (next_ < script_.events.size() && script_.events[next_].frame <= frame)
        out.push_back(script_.events[next_++]);
    return out;
}

} // namespace app
