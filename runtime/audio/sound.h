// Vexel runtime: sound effects in 4096 numbered slots, and one piece of music.
//
// Effects play on any free mixer channel; the handle that comes back is
// channel + slot * 256 (negative: nothing started). Volume belongs to the chunk,
// so replaying a slot at another volume changes the instance already playing.
// Without an audio device every call still works and simply plays nothing.
#pragma once

#include "runtime/core/string_value.h"

namespace vxl {

constexpr int kSoundSlots = 4096;

// ---- device (start-up / shut-down) ----------------------------------------------
// 44100 Hz, 16-bit, stereo, 4096-sample buffer; "Can't init audio" on failure.
void OpenAudio();
// Stops the music, frees every slot, closes the device.
void CloseAudio();
int AudioOpen();

// ---- effects ------------------------------------------------------------------------
// The highest empty slot, or -1 with code 7.
int FreeSoundSlot();
// Loads any format SDL_mixer reads (also out of the media archive). Slot >= 4096:
// code 7. A file that cannot be loaded leaves the slot empty.
void LoadSound(const StringValue& name, int slot);
// Volume 0..1 (clamped) becomes the chunk volume p * 128 / 100 with p the whole
// percentage. Returns the handle, or the mixer's negative result (-1 for an
// empty slot). Pan is accepted and ignored.
int PlaySound(int slot, double pan, double volume);
// 1 while the handle's channel plays. Handles >= 0x100000: code 7, 0.
int SoundPlaying(int handle);
void StopSound(int handle);
void StopAllSounds();

// ---- music --------------------------------------------------------------------------
// Replaces the current music. Missing file: code 3, nothing plays.
void PlayMusic(const StringValue& name, int loop);
int MusicPlaying();
// Applies Mix_VolumeMusic(v * 128) only when v differs from the last value applied.
void MusicVolume(double v);
// Halts and frees the music; the next MusicVolume always applies.
void StopMusic();

}  // namespace vxl
