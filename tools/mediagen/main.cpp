// quarx-mediagen: writes every picture, font, sound, tune and model the game ships.
//
//   quarx-mediagen --fonts DIR --stage DIR --media DIR [--sheet FILE] [--flags DIR] [--no-music]
//
// --fonts  the folder of the DejaVu .ttf files
// --stage  receives ProgramData/ and Logos/: flat folders of the files that go into
//          ProgramData.sbx and Logos.sbx (the archives are looked up by file name only)
// --media  the game's Media/ folder: smalfont.png, Music/*.ogg and Instructions/pictures/
// --sheet  a contact sheet of the whole set, for review
// --flags  the committed flag pictures, a few of which go on the contact sheet
//
// The output depends only on the sources: no clocks, no random seeds, fixed encoder settings.
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/mediagen/art.h"
#include "tools/mediagen/audio_io.h"
#include "tools/mediagen/contact_sheet.h"
#include "tools/mediagen/effects.h"
#include "tools/mediagen/fonts.h"
#include "tools/mediagen/instruction_pictures.h"
#include "tools/mediagen/models.h"
#include "tools/mediagen/png_write.h"
#include "tools/mediagen/tunes.h"

namespace mediagen {
namespace {

struct Options {
  std::string fonts, stage, media, sheet, flags;
  bool music = true;
};

bool MakeDirs(const std::string& path) {
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '/') continue;
    std::string part = path.substr(0, i);
    if (mkdir(part.c_str(), 0755) != 0) {
      struct stat st;
      if (stat(part.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        std::fprintf(stderr, "mediagen: cannot create %s\n", part.c_str());
        return false;
      }
    }
  }
  return true;
}

bool ParseArgs(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string& target) {
      if (i + 1 >= argc) return false;
      target = argv[++i];
      return true;
    };
    if (a == "--fonts" && value(o.fonts)) continue;
    if (a == "--stage" && value(o.stage)) continue;
    if (a == "--media" && value(o.media)) continue;
    if (a == "--sheet" && value(o.sheet)) continue;
    if (a == "--flags" && value(o.flags)) continue;
    if (a == "--no-music") {
      o.music = false;
      continue;
    }
    std::fprintf(stderr, "mediagen: unknown or incomplete argument %s\n", a.c_str());
    return false;
  }
  if (o.fonts.empty() || o.stage.empty() || o.media.empty()) {
    std::fprintf(stderr,
                 "usage: quarx-mediagen --fonts DIR --stage DIR --media DIR [--sheet FILE] "
                 "[--flags DIR] [--no-music]\n");
    return false;
  }
  return true;
}

int Run(const Options& o) {
  const Text text{o.fonts};
  const std::string data = o.stage + "/ProgramData/", logos = o.stage + "/Logos/";
  const std::string pictures = o.media + "/Instructions/pictures/", music = o.media + "/Music/";
  for (const std::string& d : {data, logos, pictures, music}) {
    if (!MakeDirs(d)) return 1;
  }
  bool ok = true;
  std::vector<SheetItem> sheet;
  auto png = [&](const std::string& path, const Image& img, int zoom) {
    ok = WritePng(path, img) && ok;
    if (zoom > 0) sheet.push_back({img, zoom});
  };

  // sprites, in manifest order
  png(data + "Tile.png", DrawTileStrip(), 2);
  for (int seat = 1; seat <= 4; ++seat) {
    for (int n = 1; n <= 3; ++n) {
      png(data + "P" + std::to_string(seat) + "_" + std::to_string(n) + "Ball.png",
          DrawBalls(seat, n), 2);
    }
  }
  for (int seat = 1; seat <= 4; ++seat) {
    png(data + "P" + std::to_string(seat) + "_Pointer.png",
        DrawPointer(SeatColour(seat), Rgb8(10, 10, 16)), 2);
  }
  for (int seat = 1; seat <= 4; ++seat) {
    png(data + "P" + std::to_string(seat) + "_Protector.png", DrawProtectorMark(seat), 2);
  }
  for (int seat = 1; seat <= 4; ++seat) {
    png(data + "P" + std::to_string(seat) + "_WeaponSelection.png", DrawWeaponSelection(seat), 2);
  }
  png(data + "Disintegrator.png", DrawDisintegrator(), 2);
  png(data + "Exploder.png", DrawExploder(), 2);
  png(data + "Protector.png", DrawProtectorIcon(), 2);
  png(data + "Podium.png", DrawPodiumStrip(text), 1);
  png(data + "Title.png", DrawTitleBanner(text), 1);
  png(data + "GameOptions.png", DrawMenuStrip(text), 2);
  png(data + "3DTitleTexture.png", DrawTitleTexture(), 1);
  png(data + "GeneralPointer.png", DrawPointer(Rgb8(250, 250, 255), Rgb8(10, 10, 16)), 2);

  // fonts
  png(data + "TitleFont.png",
      BuildFontGrid(text, {Face::SansBold, 20, 18, 26, FontLook::Gold, false}), 1);
  png(data + "Small_Ingame.png",
      BuildFontGrid(text, {Face::SansBold, 13, 16, 16, FontLook::White, false}), 1);
  png(data + "Medium_Ingame.png",
      BuildFontGrid(text, {Face::SansBold, 19, 24, 24, FontLook::White, false}), 1);
  png(data + "Large_Ingame.png",
      BuildFontGrid(text, {Face::SansBold, 26, 32, 32, FontLook::White, false}), 1);
  png(data + "HiscoreFont.png",
      BuildFontGrid(text, {Face::SansBold, 34, 40, 40, FontLook::White, false}), 1);
  png(o.media + "/smalfont.png",
      BuildFontGrid(text, {Face::Sans, 12, 12, 16, FontLook::White, false}), 2);

  // sounds and models
  ok = WriteWavMono(data + "sound110.wav", MakePop(1)) && ok;
  ok = WriteWavMono(data + "sound117.wav", MakePop(2)) && ok;
  ok = WriteWavMono(data + "sound113.wav", MakePop(3)) && ok;
  ok = WriteWavMono(data + "sound118.wav", MakeExplosion()) && ok;
  ok = kvd::WriteFile(data + "Title.kvd", BuildTitleModel()) && ok;
  ok = kvd::WriteFile(data + "SkySphere.kvd", BuildSkySphere()) && ok;

  // logos and instruction pictures
  const char* logoNames[3] = {"BrelmLogo.png", "Pavonia.png", "Vexel.png"};
  for (int k = 0; k < 3; ++k) {
    Image logo = DrawLogo(text, k);
    png(logos + logoNames[k], logo, 0);
    sheet.push_back({Downsample(logo, 2), 1});
  }
  if (!o.flags.empty()) {
    for (const char* code : {"GB", "DE", "FR", "IT", "ES", "US", "BR", "JP", "ZA", "AN", "YU"}) {
      Image flag = ReadPng(o.flags + "/" + code + ".png");
      if (flag.width > 0) sheet.push_back({flag, 2});
    }
  }
  for (const NamedPicture& p : InstructionPictures(text)) png(pictures + p.fileName, p.image, 0);

  if (o.music) {
    std::vector<TuneInfo> tunes = TuneList();
    for (size_t n = 0; n < tunes.size(); ++n) {
      ok = WriteOgg(music + tunes[n].fileName, RenderTune(static_cast<int>(n)), tunes[n].title,
                    0.3f) &&
           ok;
    }
  }
  if (!o.sheet.empty()) ok = WritePng(o.sheet, LayoutSheet(sheet, 1400)) && ok;
  return ok ? 0 : 1;
}

}  // namespace
}  // namespace mediagen

int main(int argc, char** argv) {
  mediagen::Options o;
  if (!mediagen::ParseArgs(argc, argv, o)) return 2;
  return mediagen::Run(o);
}
