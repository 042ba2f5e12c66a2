// Input: SDL events and injected events share one queue drained by PollEvents.
#include <array>
#include <deque>

#include "app/platform/core/files.h"
#include "app/platform/display.h"
#include "app/platform/input.h"
#include "app/platform/internal.h"

namespace platform {

using detail::L;

namespace {

struct Event {
    enum Kind { MouseMove, MouseButton, Wheel, Key, Char, Focus, Close } kind;
    float x = 0, y = 0;    // MouseMove: virtual units of the design area
    bool pixels = false;   // MouseMove: x, y are back-buffer pixels instead
    int code = 0;          // button, key code, character, wheel delta
    bool down = false;     // button / key down, focus gained
};

struct InputState {
    std::deque<Event> queue;
    std::array<int, key::Count> keyHits{};
    std::array<bool, key::Count> keyDown{};
    std::array<int, 4> mouseHits{};
    std::array<bool, 4> mouseDown{};
    float pointerPx = 0, pointerPy = 0; // back-buffer pixels
    int wheel = 0;
    std::deque<int> chars;
    bool suspended = false;
    bool closeRequested = false;
};

InputState& In()
{
    static InputState s;
    return s;
}

void Apply(const Event& e)
{
    InputState& s = In();
    switch (e.kind) {
    case Event::MouseMove:
        if (e.pixels) {
            s.pointerPx = e.x;
            s.pointerPy = e.y;
        } else {
            const Projection& p = CurrentProjection();
            VirtualToPixel(e.x + p.offsetX, e.y + p.offsetY, s.pointerPx, s.pointerPy);
        }
        break;
    case Event::MouseButton:
        if (e.code >= 1 && e.code <= 3) {
            if (e.down)
                ++s.mouseHits[size_t(e.code)];
            s.mouseDown[size_t(e.code)] = e.down;
        }
        break;
    case Event::Wheel:
        s.wheel += e.code;
        break;
    case Event::Key:
        if (e.code > 0 && e.code < key::Count) {
            if (e.down) {
                ++s.keyHits[size_t(e.code)];
                // Backspace and Enter reach the typed characters as codes 8 and 13.
                if (e.code == key::Backspace || e.code == key::Enter)
                    s.chars.push_back(e.code);
            }
            s.keyDown[size_t(e.code)] = e.down;
        }
        break;
    case Event::Char:
        if (e.code > 0)
            s.chars.push_back(e.code);
        break;
    case Event::Focus:
        s.suspended = !e.down;
        if (!e.down) {
            // Keys released while the window is away would otherwise stay down.
            s.keyDown.fill(false);
            s.mouseDown.fill(false);
        }
        break;
    case Event::Close:
        s.closeRequested = true;
        break;
    }
}

// Window pixels -> back-buffer pixels (they differ on high-density displays).
void WindowToBuffer(int wx, int wy, float& px, float& py)
{
    px = float(wx);
    py = float(wy);
    auto& l = L();
    if (!l.window || !l.renderer)
        return;
    int ww = 0, wh = 0, bw = 0, bh = 0;
    SDL_GetWindowSize(l.window, &ww, &wh);
    SDL_GetRendererOutputSize(l.renderer, &bw, &bh);
    if (ww > 0 && wh > 0) {
        px = wx * float(bw) / float(ww);
        py = wy * float(bh) / float(wh);
    }
}

void Translate(const SDL_Event& ev)
{
    InputState& s = In();
    switch (ev.type) {
    case SDL_QUIT:
        s.queue.push_back(Event{Event::Close});
        break;
    case SDL_WINDOWEVENT:
        switch (ev.window.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
            s.queue.push_back(Event{Event::Focus, 0, 0, false, 0, false});
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_RESTORED:
            s.queue.push_back(Event{Event::Focus, 0, 0, false, 0, true});
            break;
        case SDL_WINDOWEVENT_CLOSE:
            s.queue.push_back(Event{Event::Close});
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            // Keep the projection in step with the new back buffer.
            detail::ReapplyProjection();
            break;
        default:
            break;
        }
        break;
    case SDL_MOUSEMOTION: {
        Event e{Event::MouseMove};
        WindowToBuffer(ev.motion.x, ev.motion.y, e.x, e.y);
        e.pixels = true;
        s.queue.push_back(e);
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        int b = ev.button.button == SDL_BUTTON_LEFT ? 1 : ev.button.button == SDL_BUTTON_RIGHT ? 2
              : ev.button.button == SDL_BUTTON_MIDDLE ? 3 : 0;
        Event mv{Event::MouseMove};
        WindowToBuffer(ev.button.x, ev.button.y, mv.x, mv.y);
        mv.pixels = true;
        s.queue.push_back(mv);
        if (b)
            s.queue.push_back(Event{Event::MouseButton, 0, 0, false, b, ev.type == SDL_MOUSEBUTTONDOWN});
        break;
    }
    case SDL_MOUSEWHEEL:
        s.queue.push_back(Event{Event::Wheel, 0, 0, false,
                                ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y});
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        if (ev.type == SDL_KEYDOWN && ev.key.repeat) {
            // A held key counts as one hit, but typing repeats Backspace.
            if (ev.key.keysym.scancode == SDL_SCANCODE_BACKSPACE)
                s.queue.push_back(Event{Event::Char, 0, 0, false, key::Backspace});
            break;
        }
        int code = KeyCodeFromScancode(ev.key.keysym.scancode);
        if (code)
            s.queue.push_back(Event{Event::Key, 0, 0, false, code, ev.type == SDL_KEYDOWN});
        // Generic Alt/Shift/Control codes follow the left and right keys.
        int generic = (code == key::LeftAlt || code == key::RightAlt) ? key::Alt
                    : (code == key::LeftShift || code == key::RightShift) ? key::Shift
                    : (code == key::LeftControl || code == key::RightControl) ? key::Control : 0;
        if (generic)
            s.queue.push_back(Event{Event::Key, 0, 0, false, generic, ev.type == SDL_KEYDOWN});
        break;
    }
    case SDL_TEXTINPUT:
        for (char32_t c : Utf8ToU32(ev.text.text))
            s.queue.push_back(Event{Event::Char, 0, 0, false, int(c)});
        break;
    default:
        break;
    }
}

} // namespace

int KeyCodeFromScancode(int sc)
{
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z)
        return key::A + (sc - SDL_SCANCODE_A);
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9)
        return '1' + (sc - SDL_SCANCODE_1);
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12)
        return key::F1 + (sc - SDL_SCANCODE_F1);
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9)
        return key::Numpad0 + 1 + (sc - SDL_SCANCODE_KP_1);
    switch (sc) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_KP_0: return key::Numpad0;
    case SDL_SCANCODE_BACKSPACE: return key::Backspace;
    case SDL_SCANCODE_TAB: return key::Tab;
    case SDL_SCANCODE_RETURN: return key::Enter;
    case SDL_SCANCODE_KP_ENTER: return key::Enter;
    case SDL_SCANCODE_PAUSE: return key::Pause;
    case SDL_SCANCODE_ESCAPE: return key::Escape;
    case SDL_SCANCODE_SPACE: return key::Space;
    case SDL_SCANCODE_PAGEUP: return key::PageUp;
    case SDL_SCANCODE_PAGEDOWN: return key::PageDown;
    case SDL_SCANCODE_END: return key::End;
    case SDL_SCANCODE_HOME: return key::Home;
    case SDL_SCANCODE_LEFT: return key::Left;
    case SDL_SCANCODE_UP: return key::Up;
    case SDL_SCANCODE_RIGHT: return key::Right;
    case SDL_SCANCODE_DOWN: return key::Down;
    case SDL_SCANCODE_INSERT: return key::Insert;
    case SDL_SCANCODE_DELETE: return key::Delete;
    case SDL_SCANCODE_KP_MULTIPLY: return key::Multiply;
    case SDL_SCANCODE_KP_PLUS: return key::Add;
    case SDL_SCANCODE_KP_MINUS: return key::Subtract;
    case SDL_SCANCODE_KP_DIVIDE: return key::Divide;
    case SDL_SCANCODE_LSHIFT: return key::LeftShift;
    case SDL_SCANCODE_RSHIFT: return key::RightShift;
    case SDL_SCANCODE_LCTRL: return key::LeftControl;
    case SDL_SCANCODE_RCTRL: return key::RightControl;
    case SDL_SCANCODE_LALT: return key::LeftAlt;
    case SDL_SCANCODE_RALT: return key::RightAlt;
    case SDL_SCANCODE_SEMICOLON: return key::Semicolon;
    case SDL_SCANCODE_EQUALS: return key::Equals;
    case SDL_SCANCODE_COMMA: return key::Comma;
    case SDL_SCANCODE_MINUS: return key::Minus;
    case SDL_SCANCODE_PERIOD: return key::Period;
    case SDL_SCANCODE_SLASH: return key::Slash;
    case SDL_SCANCODE_GRAVE: return key::Backquote;
    case SDL_SCANCODE_LEFTBRACKET: return key::LeftBracket;
    case SDL_SCANCODE_BACKSLASH: return key::Backslash;
    case SDL_SCANCODE_RIGHTBRACKET: return key::RightBracket;
    case SDL_SCANCODE_APOSTROPHE: return key::Quote;
    default: return 0;
    }
}

void PollEvents()
{
    InputState& s = In();
    std::deque<Event> injected;
    injected.swap(s.queue);
    if (L().initialised) {
        SDL_Event ev;
        while (SDL_PollEvent(&ev))
            Translate(ev);
    }
    // SDL events first, then injected ones in the order they were given.
    for (const Event& e : s.queue)
        Apply(e);
    for (const Event& e : injected)
        Apply(e);
    s.queue.clear();
}

int KeyHit(int code)
{
    if (code <= 0 || code >= key::Count)
        return 0;
    int n = In().keyHits[size_t(code)];
    In().keyHits[size_t(code)] = 0;
    return n;
}

bool KeyDown(int code)
{
    return code > 0 && code < key::Count && In().keyDown[size_t(code)];
}

void FlushKeys()
{
    In().keyHits.fill(0);
    In().chars.clear();
}

void FlushMouse() { In().mouseHits.fill(0); }

float MouseX()
{
    float vx = 0, vy = 0;
    PixelToVirtual(In().pointerPx, In().pointerPy, vx, vy);
    return vx - CurrentProjection().offsetX;
}

float MouseY()
{
    float vx = 0, vy = 0;
    PixelToVirtual(In().pointerPx, In().pointerPy, vx, vy);
    return vy - CurrentProjection().offsetY;
}

int MouseHit(int button)
{
    if (button < 1 || button > 3)
        return 0;
    int n = In().mouseHits[size_t(button)];
    In().mouseHits[size_t(button)] = 0;
    return n;
}

bool MouseDown(int button)
{
    return button >= 1 && button <= 3 && In().mouseDown[size_t(button)];
}

int MouseWheel() { return In().wheel; }

int GetChar()
{
    auto& q = In().chars;
    if (q.empty())
        return 0;
    int c = q.front();
    q.pop_front();
    return c;
}

void ShowPointer()
{
    if (L().initialised)
        SDL_ShowCursor(SDL_ENABLE);
}

void HidePointer()
{
    if (L().initialised)
        SDL_ShowCursor(SDL_DISABLE);
}

bool AppSuspended() { return In().suspended; }

bool CloseRequested()
{
    bool c = In().closeRequested;
    In().closeRequested = false;
    return c;
}

// ---- Injection ----

void InjectMouseMove(float x, float y) { In().queue.push_back(Event{Event::MouseMove, x, y, false}); }
void InjectMousePixels(float px, float py) { In().queue.push_back(Event{Event::MouseMove, px, py, true}); }
void InjectMouseButton(int button, bool down) { In().queue.push_back(Event{Event::MouseButton, 0, 0, false, button, down}); }
void InjectMouseWheel(int delta) { In().queue.push_back(Event{Event::Wheel, 0, 0, false, delta}); }
void InjectKey(int code, bool down) { In().queue.push_back(Event{Event::Key, 0, 0, false, code, down}); }
void InjectChar(int codepoint) { In().queue.push_back(Event{Event::Char, 0, 0, false, codepoint}); }
void InjectFocus(bool gained) { In().queue.push_back(Event{Event::Focus, 0, 0, false, 0, gained}); }
void InjectClose() { In().queue.push_back(Event{Event::Close}); }

void ResetInput() { In() = InputState{}; }

} // namespace platform
