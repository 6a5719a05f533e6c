// Vexel runtime: mouse, keyboard and joystick state.
//
// Keys are numbered with PC scan codes through a fixed table (unlisted codes map
// to SDL key 255, which no keyboard produces). Typed characters are buffered by
// the event pump, at most 16, oldest first. The mouse record counts movement
// and wheel steps since its last reset; every ShowScreen resets it, so those
// values are per frame. All of it is polled on the main thread.
#pragma once

#include "runtime/core/string_value.h"

namespace vxl {

// ---- life cycle (start-up and shut-down) -------------------------------------------
// Unicode key translation on, pointer hidden, up to 10 joysticks opened.
void InitInput();
// Releases the grab and closes the joysticks.
void FreeInput();

// ---- keyboard -------------------------------------------------------------------
// The SDL key a scan code maps to (255 for unlisted codes).
int ScanCodeToKey(int scanCode);
// 1 while the key of (scanCode & 255) is down. Every 129th call since the last
// ShowScreen first pumps the event queue, so long polling loops stay responsive.
int Key(int scanCode);
// Oldest typed character as a one-byte text (CR reads as LF), or empty.
StringValue NextTypedChar();
// Called by the event pump: drops 0, control characters other than 8, 9, 10
// and 13 (13 is stored as 10), and anything beyond 16 buffered bytes.
void AddTypedChar(int byte);
void ResetKeyCallCounter();

// ---- mouse ------------------------------------------------------------------------
// Reads SDL's pointer; with reset, movement and wheel count from here on.
void UpdateMouse(bool reset);
// Updates and resets. x, y clamped to the window; b1 left, b2 right (1 = down).
void MouseState(int* x, int* y, int* button1, int* button2);
// Updates without resetting. 0: x movement, 1: y movement, 2: wheel steps,
// 3: left, 4: right, 5: middle button; anything else 0.
int MouseAxis(int n);
// Sets the current and the reference position; the system pointer is not moved.
void SetMouse(int x, int y);
// Non-zero shows the system pointer and releases the grab; 0 hides and grabs.
void SystemPointer(double show);
int SystemPointerVisible();

// ---- waiting -----------------------------------------------------------------------
// Returns after any key, mouse or joystick input, or after about 75 ms.
void WaitForAnyInput();
// Waits until no button is down, then for a press, then for the release.
void WaitForMouseClick();

}  // namespace vxl
