// Keyboard table, typed-character buffer, mouse record and joysticks.
#include "runtime/input/input.h"

#include <SDL/SDL.h>

#include "runtime/core/frame.h"

namespace vxl {
namespace {

constexpr int kTypedMax = 16;
constexpr int kMaxJoysticks = 10;

struct MouseRecord {
  int x = 0, y = 0;
  int refX = 0, refY = 0;
  int wheel = 0;
  int buttons[3] = {0, 0, 0};  // left, right, middle
};

struct InputState {
  int keyTable[256];
  unsigned char typed[kTypedMax];
  int typedCount = 0;
  int keyCalls = 0;
  MouseRecord mouse;
  int pointerVisible = 0;
  SDL_Joystick* joysticks[kMaxJoysticks] = {};
  int joystickCount = 0;
};

InputState g_input;

// Scan code -> SDL 1.2 key symbol, in the order of a PC keyboard.
struct KeyRange {
  int scanCode;
  int key;
};
constexpr KeyRange kKeys[] = {
    {1, SDLK_ESCAPE},
    {2, SDLK_1},
    {3, SDLK_2},
    {4, SDLK_3},
    {5, SDLK_4},
    {6, SDLK_5},
    {7, SDLK_6},
    {8, SDLK_7},
    {9, SDLK_8},
    {10, SDLK_9},
    {11, SDLK_0},
    {12, SDLK_MINUS},
    {13, SDLK_EQUALS},
    {14, SDLK_BACKSPACE},
    {15, SDLK_TAB},
    {16, SDLK_q},
    {17, SDLK_w},
    {18, SDLK_e},
    {19, SDLK_r},
    {20, SDLK_t},
    {21, SDLK_y},
    {22, SDLK_u},
    {23, SDLK_i},
    {24, SDLK_o},
    {25, SDLK_p},
    {26, SDLK_LEFTBRACKET},
    {27, SDLK_RIGHTBRACKET},
    {28, SDLK_RETURN},
    {29, SDLK_LCTRL},
    {30, SDLK_a},
    {31, SDLK_s},
    {32, SDLK_d},
    {33, SDLK_f},
    {34, SDLK_g},
    {35, SDLK_h},
    {36, SDLK_j},
    {37, SDLK_k},
    {38, SDLK_l},
    {39, SDLK_SEMICOLON},
    {40, SDLK_QUOTE},
    {41, SDLK_BACKQUOTE},
    {42, SDLK_LSHIFT},
    {43, SDLK_BACKSLASH},
    {44, SDLK_z},
    {45, SDLK_x},
    {46, SDLK_c},
    {47, SDLK_v},
    {48, SDLK_b},
    {49, SDLK_n},
    {50, SDLK_m},
    {51, SDLK_COMMA},
    {52, SDLK_PERIOD},
    {53, SDLK_SLASH},
    {54, SDLK_RSHIFT},
    {55, SDLK_KP_MULTIPLY},
    {56, SDLK_LALT},
    {57, SDLK_SPACE},
    {58, SDLK_CAPSLOCK},
    {59, SDLK_F1},
    {60, SDLK_F2},
    {61, SDLK_F3},
    {62, SDLK_F4},
    {63, SDLK_F5},
    {64, SDLK_F6},
    {65, SDLK_F7},
    {66, SDLK_F8},
    {67, SDLK_F9},
    {68, SDLK_F10},
    {69, SDLK_NUMLOCK},
    {70, SDLK_SCROLLOCK},
    {71, SDLK_KP7},
    {72, SDLK_KP8},
    {73, SDLK_KP9},
    {74, SDLK_KP_MINUS},
    {75, SDLK_KP4},
    {76, SDLK_KP5},
    {77, SDLK_KP6},
    {78, SDLK_KP_PLUS},
    {79, SDLK_KP1},
    {80, SDLK_KP2},
    {81, SDLK_KP3},
    {82, SDLK_KP0},
    {83, SDLK_KP_PERIOD},
    {86, SDLK_BACKSLASH},
    {87, SDLK_F11},
    {88, SDLK_F12},
    {100, SDLK_F13},
    {101, SDLK_F14},
    {102, SDLK_F15},
    {141, SDLK_KP_EQUALS},
    {156, SDLK_KP_ENTER},
    {157, SDLK_RCTRL},
    {181, SDLK_KP_DIVIDE},
    {183, SDLK_PRINT},
    {184, SDLK_RALT},
    {197, SDLK_PAUSE},
    {199, SDLK_HOME},
    {200, SDLK_UP},
    {201, SDLK_PAGEUP},
    {203, SDLK_LEFT},
    {205, SDLK_RIGHT},
    {207, SDLK_END},
    {208, SDLK_DOWN},
    {209, SDLK_PAGEDOWN},
    {210, SDLK_INSERT},
    {211, SDLK_DELETE},
    {219, SDLK_LMETA},
    {220, SDLK_RMETA},
    {221, SDLK_MENU},
};

void BuildKeyTable() {
  for (int& k : g_input.keyTable) k = 255;
  for (const KeyRange& k : kKeys) g_input.keyTable[k.scanCode] = k.key;
}

struct KeyTableInit {
  KeyTableInit() { BuildKeyTable(); }
} g_keyTableInit;

int WindowWidth() {
  const RendererInfo* r = Renderer();
  return r ? r->width : 0;
}
int WindowHeight() {
  const RendererInfo* r = Renderer();
  return r ? r->height : 0;
}

}  // namespace

void InitInput() {
  SDL_EnableUNICODE(1);
  BuildKeyTable();
  g_input.typedCount = 0;
  g_input.pointerVisible = 0;
  SDL_ShowCursor(SDL_DISABLE);
  const int n = SDL_NumJoysticks();
  g_input.joystickCount = 0;
  for (int i = 0; i < n && g_input.joystickCount < kMaxJoysticks; ++i) {
    SDL_Joystick* j = SDL_JoystickOpen(i);
    if (j) g_input.joysticks[g_input.joystickCount++] = j;
  }
}

void FreeInput() {
  SDL_WM_GrabInput(SDL_GRAB_OFF);
  for (int i = 0; i < g_input.joystickCount; ++i) SDL_JoystickClose(g_input.joysticks[i]);
  g_input.joystickCount = 0;
}

int ScanCodeToKey(int scanCode) {
  return g_input.keyTable[scanCode & 255];
}

int Key(int scanCode) {
  if (++g_input.keyCalls % 129 == 0) PumpEvents();
  SDL_PumpEvents();
  int count = 0;
  const Uint8* keys = SDL_GetKeyState(&count);
  const int key = ScanCodeToKey(scanCode);
  return keys && key >= 0 && key < count && keys[key] ? 1 : 0;
}

void ResetKeyCallCounter() {
  g_input.keyCalls = 0;
}

void AddTypedChar(int byte) {
  byte &= 255;
  if (byte == 0) return;
  if (byte < 32 && byte != 8 && byte != 9 && byte != 10 && byte != 13) return;
  if (byte == 13) byte = 10;
  if (g_input.typedCount >= kTypedMax) return;
  g_input.typed[g_input.typedCount++] = static_cast<unsigned char>(byte);
}

StringValue NextTypedChar() {
  if (g_input.typedCount == 0) return StringValue();
  const char c = static_cast<char>(g_input.typed[0]);
  for (int i = 1; i < g_input.typedCount; ++i) g_input.typed[i - 1] = g_input.typed[i];
  --g_input.typedCount;
  return StringValue(&c, 1);
}

void UpdateMouse(bool reset) {
  int x = 0, y = 0;
  const Uint8 mask = SDL_GetMouseState(&x, &y);
  MouseRecord& m = g_input.mouse;
  m.x = x;
  m.y = y;
  m.buttons[0] = (mask & SDL_BUTTON(SDL_BUTTON_LEFT)) ? 1 : 0;
  m.buttons[1] = (mask & SDL_BUTTON(SDL_BUTTON_RIGHT)) ? 1 : 0;
  m.buttons[2] = (mask & SDL_BUTTON(SDL_BUTTON_MIDDLE)) ? 1 : 0;
  if (mask & SDL_BUTTON(SDL_BUTTON_WHEELUP)) ++m.wheel;
  if (mask & SDL_BUTTON(SDL_BUTTON_WHEELDOWN)) --m.wheel;
  if (reset) {
    m.refX = m.x;
    m.refY = m.y;
    m.wheel = 0;
  }
}

void MouseState(int* x, int* y, int* button1, int* button2) {
  UpdateMouse(true);
  const MouseRecord& m = g_input.mouse;
  const int w = WindowWidth(), h = WindowHeight();
  if (x) *x = m.x < 0 ? 0 : (m.x > w ? w : m.x);
  if (y) *y = m.y < 0 ? 0 : (m.y > h ? h : m.y);
  if (button1) *button1 = m.buttons[0];
  if (button2) *button2 = m.buttons[1];
}

int MouseAxis(int n) {
  UpdateMouse(false);
  const MouseRecord& m = g_input.mouse;
  switch (n) {
    case 0:
      return m.x - m.refX;
    case 1:
      return m.y - m.refY;
    case 2:
      return m.wheel;
    case 3:
      return m.buttons[0];
    case 4:
      return m.buttons[1];
    case 5:
      return m.buttons[2];
    default:
      return 0;
  }
}

void SetMouse(int x, int y) {
  g_input.mouse.x = g_input.mouse.refX = x;
  g_input.mouse.y = g_input.mouse.refY = y;
}

void SystemPointer(double show) {
  if (show != 0) {
    SDL_ShowCursor(SDL_ENABLE);
    SDL_WM_GrabInput(SDL_GRAB_OFF);
    g_input.pointerVisible = 1;
  } else {
    SDL_ShowCursor(SDL_DISABLE);
    SDL_WM_GrabInput(SDL_GRAB_ON);
    g_input.pointerVisible = 0;
  }
}

int SystemPointerVisible() {
  return g_input.pointerVisible;
}

void WaitForAnyInput() {
  UpdateMouse(false);
  const MouseRecord start = g_input.mouse;
  for (int round = 0; round < 15; ++round) {
    if (PumpEvents()) End();
    if (IsPaused()) {
      PauseWait();
      return;
    }
    UpdateMouse(false);
    // Escape ends the program only while the quit keys are active.
    if (QuitKeysActive() && (Key(1) || Key(129))) End();
    SDL_PumpEvents();
    int count = 0;
    const Uint8* keys = SDL_GetKeyState(&count);
    for (int sc = 0; sc <= 254 && keys; ++sc) {
      const int key = ScanCodeToKey(sc);
      if (key != 255 && key < count && keys[key]) return;
    }
    const MouseRecord& m = g_input.mouse;
    if (m.x != start.x || m.y != start.y || m.buttons[0] != start.buttons[0] ||
        m.buttons[1] != start.buttons[1] || m.buttons[2] != start.buttons[2]) {
      return;
    }
    SDL_JoystickUpdate();
    for (int j = 0; j < g_input.joystickCount; ++j) {
      SDL_Joystick* js = g_input.joysticks[j];
      for (int b = 0; b < SDL_JoystickNumButtons(js); ++b) {
        if (SDL_JoystickGetButton(js, b)) return;
      }
      for (int a = 0; a < 3 && a < SDL_JoystickNumAxes(js); ++a) {
        double v = SDL_JoystickGetAxis(js, a) / 32767.0;
        v = v < -1 ? -1 : (v > 1 ? 1 : v);
        if (v > 0.1 || v < -0.1) return;
      }
    }
    Sleep(5);
  }
}

void WaitForMouseClick() {
  auto anyDown = [] {
    UpdateMouse(false);
    const MouseRecord& m = g_input.mouse;
    return m.buttons[0] || m.buttons[1] || m.buttons[2];
  };
  while (anyDown()) WaitForAnyInput();
  while (!anyDown()) WaitForAnyInput();
  while (anyDown()) WaitForAnyInput();
}

}  // namespace vxl
