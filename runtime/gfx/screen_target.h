// Vexel runtime: render targets ("screens") that let the game draw into a
// sprite slot.
//
// 32 screens, each a framebuffer object with a depth renderbuffer rendering
// into one slot's texture. Where framebuffer objects are missing the target is
// emulated on the back buffer: the window area is saved, the target drawn
// there, drawn on, grabbed back into the slot and the window area restored.
#pragma once

namespace vxl {

constexpr int kScreenCount = 32;

// Screen 0-31 renders into `slot` (width x height pixels, transparent at
// first). Numbers >= 32 do nothing. A size <= 0 or a framebuffer that cannot be
// completed prints why and leaves the screen unusable.
void CreateScreen(int screen, int slot, int width, int height);
// Ends any screen in use, then directs drawing into screen n (its pixels,
// origin top-left, viewport the whole target); -1 directs it back to the window
// with the viewport reset to the whole window. An unusable screen draws to the
// window.
void UseScreen(int screen);
// Ends the screen in use, if any (the flip calls this before presenting).
void EndScreenTarget();
// The screen in use, or -1.
int ActiveScreen();
// True and the target's image size while a screen is in use.
bool ActiveScreenSize(int* width, int* height);
// Tests: emulate render targets on the back buffer even where framebuffer
// objects exist (affects screens created afterwards).
void ForceScreenEmulation(bool on);

}  // namespace vxl
