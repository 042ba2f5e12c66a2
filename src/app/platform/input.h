// Keyboard, mouse and window events.
//
// SDL events and injected events go through one queue that PollEvents drains
// once per frame; queries read the state it collected.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Virtual-key codes of the program.
namespace key {
constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Alt = 18;   // either Alt key (also reported as 164 or 165)
constexpr int Pause = 19;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int Digit0 = 48; // 48-57 the digits
constexpr int A = 65;      // 65-90 the letters
constexpr int Numpad0 = 96; // 96-105
constexpr int Multiply = 106;
constexpr int Add = 107;
constexpr int Subtract = 109;
constexpr int Divide = 111;
constexpr int F1 = 112;    // 112-123 F1-F12
constexpr int F4 = 115;
constexpr int LeftShift = 160;
constexpr int RightShift = 161;
constexpr int LeftControl = 162;
constexpr int RightControl = 163;
constexpr int LeftAlt = 164;
constexpr int RightAlt = 165;
constexpr int Semicolon = 186;
constexpr int Equals = 187;
constexpr int Comma = 188;
constexpr int Minus = 189;
constexpr int Period = 190;
constexpr int Slash = 191;
constexpr int Backquote = 192;
constexpr int LeftBracket = 219;
constexpr int Backslash = 220;
constexpr int RightBracket = 221;
constexpr int Quote = 222;
constexpr int Count = 256;
} // namespace key

// Mouse buttons: 1 left, 2 right, 3 middle.
constexpr int kMouseLeft = 1;
constexpr int kMouseRight = 2;
constexpr int kMouseMiddle = 3;

// Drains the event queue (SDL events first, then injected ones in order).
void PollEvents();

// Presses of the key since the last query for it; the query clears the count.
int KeyHit(int code);
bool KeyDown(int code);
void FlushKeys();  // discards pending key hits and typed characters
void FlushMouse(); // discards pending mouse-button hits

// Pointer position in virtual units of the design area: the position in the
// projected area minus the projection's offsets (so (0, 0) is the design
// area's top-left corner). The drawing origin set by callers is not applied.
float MouseX();
float MouseY();
int MouseHit(int button); // presses since the last query; cleared by the query
bool MouseDown(int button);
int MouseWheel();         // accumulated wheel position (up positive)

// Code of the next typed character (Unicode, including 8 and 13), 0 when none.
int GetChar();

void ShowPointer();
void HidePointer();

// Whether the window is inactive (not cleared by the query).
bool AppSuspended();
// Whether the user asked to close the window; the query clears it.
bool CloseRequested();

// Translation of SDL scancodes to the codes above (0 for keys we do not map).
int KeyCodeFromScancode(int sdlScancode);

// ---- Injection (headless input scripts and tests) ----
// Events join the queue and take effect at the next PollEvents.
void InjectMouseMove(float x, float y); // same units as MouseX/MouseY
void InjectMousePixels(float px, float py); // back-buffer pixels, as the window reports them
void InjectMouseButton(int button, bool down);
void InjectMouseWheel(int delta);
void InjectKey(int code, bool down);
void InjectChar(int codepoint);
void InjectFocus(bool gained);
void InjectClose();
// Forgets all input state and pending events (between tests).
void ResetInput();

} // namespace platform
