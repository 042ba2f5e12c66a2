// Input scripts: a plain-text list of frame-numbered input events that
// automated runs feed into the game as if a player had produced them.
//
//   # comment (also after an event)
//   <frame> move X Y            pointer to (X, Y) in design-area units
//   <frame> press [BUTTON]      button down: left (default), right, middle or 1..3
//   <frame> release [BUTTON]    button up
//   <frame> click X Y [BUTTON]  move and press at <frame>, release at <frame> + 1
//   <frame> key KEY             key pressed and released in that frame
//   <frame> keydown KEY         key held from that frame ...
//   <frame> keyup KEY           ... until this one
//   <frame> text TEXT           typed text: the rest of the line, as written
//   <frame> focus lost|gained   the window loses or regains the focus
//   <frame> close               the window is asked to close
//   <frame> screenshot FILE     that frame is written as a PNG
//
// Frames count from 1 (the first frame of the main loop). KEY is a key code
// number or a name: a-z, 0-9, f1-f12, enter, escape, space, backspace, tab,
// left, right, up, down, shift, ctrl, lalt, ralt, delete, "=" (also equals).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace app {

enum class ScriptAction {
    MouseMove,
    MouseDown,
    MouseUp,
    KeyDown,
    KeyUp,
    Text,
    FocusLost,
    FocusGained,
    Close,
    Screenshot,
};

struct ScriptEvent {
    int64_t frame = 0;
    ScriptAction action = ScriptAction::MouseMove;
    float x = 0.0f, y = 0.0f; // MouseMove
    int button = 0;           // MouseDown, MouseUp: 1 left, 2 right, 3 middle
    int key = 0;              // KeyDown, KeyUp: the key code
    std::string text;         // Text: the typed text; Screenshot: the file
    int line = 0;             // source line, for messages
};

struct InputScript {
    // In frame order; events of one frame keep their order in the file.
    std::vector<ScriptEvent> events;
    int64_t LastFrame() const { return events.empty() ? 0 : events.back().frame; }
};

struct ScriptParseResult {
    InputScript script;
    // "name:line: message" for each line that could not be read; such lines are skipped.
    std::vector<std::string> errors;
};

// Parses the script text; `name` prefixes the error messages.
ScriptParseResult ParseInputScript(const std::string& text, const std::string& name);

// The key code of a key name or number; 0 when unknown.
int KeyCodeFromName(const std::string& name);

// Hands out the events frame by frame.
class ScriptPlayer {
public:
    ScriptPlayer() = default;
    explicit ScriptPlayer(InputScript script) : script_(std::move(script)) {}
    // The events of `frame` (and of any earlier frame not yet handed out).
    std::vector<ScriptEvent> TakeUpTo(int64_t frame);
    bool Finished() const { return next_ >= script_.events.size(); }

private:
    InputScript script_;
    size_t next_ = 0;
};

} // namespace app
