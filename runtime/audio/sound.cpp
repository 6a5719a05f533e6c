// Sound slots and music on SDL_mixer.
#include "runtime/audio/sound.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <cstdio>

#include "runtime/core/error.h"
#include "runtime/core/files.h"
#include "runtime/core/frame.h"
#include "runtime/input/input.h"

namespace vxl {
namespace {

struct AudioState {
  bool open = false;
  Mix_Chunk* slots[kSoundSlots] = {};
  Mix_Music* music = nullptr;
  double lastMusicVolume = -1;
};

AudioState g_audio;

double Clamp01(double v) {
  return v < 0 ? 0 : (v > 1 ? 1 : v);
}

}  // namespace

void OpenAudio() {
  if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 4096) != 0) {
    std::puts("Can't init audio");
    g_audio.open = false;
  } else {
    g_audio.open = true;
  }
  Mix_Volume(-1, 128);
  Mix_VolumeMusic(64);
}

int AudioOpen() {
  return g_audio.open ? 1 : 0;
}

void CloseAudio() {
  StopMusic();
  StopAllSounds();
  for (Mix_Chunk*& c : g_audio.slots) {
    if (c) Mix_FreeChunk(c);
    c = nullptr;
  }
  if (g_audio.open) Mix_CloseAudio();
  g_audio.open = false;
}

int FreeSoundSlot() {
  SetError(0);
  for (int slot = kSoundSlots - 1; slot >= 0; --slot) {
    if (!g_audio.slots[slot]) return slot;
  }
  SetError(kErrOutOfMemory);
  return -1;
}

void LoadSound(const StringValue& name, int slot) {
  SetError(0);
  if (slot < 0 || slot >= kSoundSlots) {
    SetError(kErrOutOfMemory);
    return;
  }
  // The mixer opens by path, so an archive entry is extracted to a private file.
  StringValue path = RequestFile(kMediaRequest, name, false);
  if (g_audio.slots[slot]) {
    Mix_FreeChunk(g_audio.slots[slot]);
    g_audio.slots[slot] = nullptr;
  }
  if (path.empty()) return;
  SDL_RWops* rw = SDL_RWFromFile(path.c_str(), "rb");
  if (!rw) return;
  g_audio.slots[slot] = Mix_LoadWAV_RW(rw, 1);
}

int PlaySound(int slot, double /*pan*/, double volume) {
  if (slot < 0 || slot >= kSoundSlots) {
    SetError(kErrOutOfMemory);
    return 0;
  }
  Mix_Chunk* chunk = g_audio.slots[slot];
  if (!chunk) return -1;
  const int percent = static_cast<int>(Clamp01(volume) * 100.0);
  Mix_VolumeChunk(chunk, percent * 128 / 100);
  const int channel = Mix_PlayChannel(-1, chunk, 0);
  if (channel < 0) return channel;
  return channel + slot * 256;
}

int SoundPlaying(int handle) {
  if (handle >= 0x100000) {
    SetError(kErrOutOfMemory);
    return 0;
  }
  if (handle < 0) return 0;
  return Mix_Playing(handle & 255) ? 1 : 0;
}

void StopSound(int handle) {
  if (handle < 0) return;
  Mix_HaltChannel(handle & 255);
}

void StopAllSounds() {
  Mix_HaltChannel(-1);
}

void PlayMusic(const StringValue& name, int loop) {
  SetError(0);
  StopMusic();
  StringValue path = RequestFile(kMusicRequest, name, false);
  if (path.empty()) {
    SetError(kErrNoSuchFile);
    return;
  }
  g_audio.music = Mix_LoadMUS(path.c_str());
  if (g_audio.music) {
    Mix_PlayMusic(g_audio.music, loop ? -1 : 1);
    Mix_VolumeMusic(128);
  } else {
    std::printf("PLAYMUSIC: %s\n", SDL_GetError());
  }
  MusicVolume(1.0);
  // Loading can take a while; make sure the frame loop is not left paused, and
  // re-take the grab some window systems drop meanwhile.
  ResumeFromPause();
  if (!SystemPointerVisible()) {
    SystemPointer(1);
    SystemPointer(0);
  }
}

int MusicPlaying() {
  return Mix_PlayingMusic() ? 1 : 0;
}

void MusicVolume(double v) {
  if (v == g_audio.lastMusicVolume) return;
  Mix_VolumeMusic(static_cast<int>(v * 128));
  g_audio.lastMusicVolume = v;
}

void StopMusic() {
  if (g_audio.music) {
    Mix_HaltMusic();
    Mix_FreeMusic(g_audio.music);
    g_audio.music = nullptr;
  }
  g_audio.lastMusicVolume = -1;
}

}  // namespace vxl
