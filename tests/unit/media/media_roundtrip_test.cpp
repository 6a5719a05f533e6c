// Every file the build puts into Media/ read back with the runtime's own
// readers and loaders: the archives, every manifest picture at the size the
// layout relies on, the fonts, the samples and tunes through SDL_mixer, the
// models, the flags, the logos, and the language file through the INI reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/data/proportional_font.h"
#include "runtime/audio/sound.h"
#include "runtime/core/archive.h"
#include "runtime/core/error.h"
#include "runtime/core/files.h"
#include "runtime/core/frame.h"
#include "runtime/core/ini.h"
#include "runtime/gfx/font.h"
#include "runtime/gfx/model.h"
#include "runtime/gfx/sprite.h"

namespace {

const std::string kMedia = std::string(QUARX_BINARY_DIR) + "/Media/";

class WindowEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (vxl::Renderer()) return;
    vxl::Settings().hideMouse = 0;
    vxl::Startup("Quarx media");
  }
};
const auto* const g_env = ::testing::AddGlobalTestEnvironment(new WindowEnvironment);

std::vector<std::string> EntryNames(const std::string& archive) {
  std::vector<std::string> names;
  const vxl::ArchiveResult r = vxl::ListArchive(
      archive.c_str(),
      [](const vxl::ArchiveEntry& e, void* context) {
        static_cast<std::vector<std::string>*>(context)->push_back(e.name.c_str());
      },
      &names);
  EXPECT_EQ(r, vxl::kArchiveOk) << archive << ": " << vxl::ArchiveResultText(r);
  return names;
}

struct SpriteCase {
  const char* path;  // as the manifest names it below Media/2DGraphics/
  int frameWidth;    // 0: a plain picture
  int frameHeight;
  int frames;  // expected frame count along the strip (0: any)
};

TEST(MediaRoundTrip, EveryManifestPictureLoadsAtItsSize) {
  vxl::SetArchives((kMedia + "ProgramData.sbx").c_str(), "");
  std::vector<SpriteCase> cases = {
      {"Tile.png", 42, 42, 0},         {"Podium.png", 213, 150, 3},
      {"GameOptions.png", 63, 63, 8},  {"Disintegrator.png", 0, 0, 0},
      {"Exploder.png", 0, 0, 0},       {"Protector.png", 0, 0, 0},
      {"Title.png", 0, 0, 0},          {"3DTitleTexture.png", 0, 0, 0},
      {"GeneralPointer.png", 0, 0, 0},
  };
  std::vector<std::string> seatPictures;
  for (int p = 1; p <= 4; ++p) {
    for (const char* kind :
         {"_1Ball", "_2Ball", "_3Ball", "_Pointer", "_Protector", "_WeaponSelection"}) {
      seatPictures.push_back("Players/Player_" + std::to_string(p) + "/P" + std::to_string(p) +
                             kind + ".png");
    }
  }
  for (const std::string& s : seatPictures) cases.push_back({s.c_str(), 0, 0, 0});

  const int slot = 100;
  for (const SpriteCase& c : cases) {
    const std::string name = std::string("Media/2DGraphics/") + c.path;
    vxl::LoadSprite(name.c_str(), slot);
    EXPECT_EQ(vxl::LastError(), 0) << name;
    int w = 0, h = 0;
    vxl::SpriteSize(slot, &w, &h);
    EXPECT_GT(w, 0) << name;
    EXPECT_GT(h, 0) << name;
    if (c.frameWidth) {
      EXPECT_EQ(h, c.frameHeight) << name;
      EXPECT_EQ(w % c.frameWidth, 0) << name << " is " << w << " wide";
      if (c.frames) {
        EXPECT_EQ(w / c.frameWidth, c.frames) << name;
      }
    }
    const std::string file(c.path);
    if (file.find("Ball") != std::string::npos) {
      // Balls are drawn inside a 42 x 42 cell.
      EXPECT_LE(w, 42) << name;
      EXPECT_LE(h, 42) << name;
    }
    if (file == "Title.png") {
      EXPECT_EQ(w, 4 * h) << "the banner is 4 : 1";
    }
  }
  vxl::EmptySlot(slot);
}

TEST(MediaRoundTrip, FontsLoadWithTheirLayouts) {
  vxl::SetArchives((kMedia + "ProgramData.sbx").c_str(), "");
  const int fontSlot = 3;
  vxl::LoadFont((kMedia + "smalfont.png").c_str(), fontSlot);
  EXPECT_EQ(vxl::LastError(), 0);
  EXPECT_EQ(vxl::FontGlyphCount(fontSlot), 256) << "dialogs show accented letters";
  vxl::LoadFont("Media/Fonts/TitleFont.png", fontSlot);
  EXPECT_EQ(vxl::LastError(), 0);
  EXPECT_GE(vxl::FontGlyphCount(fontSlot), 128);
  vxl::FreeFont(fontSlot);

  quarx::TextPrinter printer;
  int previousHeight = 0;
  int index = 0;
  for (const char* name :
       {"Small_Ingame.png", "Medium_Ingame.png", "Large_Ingame.png", "HiscoreFont.png"}) {
    const std::string path = std::string("Media/Fonts/") + name;
    const int font = quarx::LoadProportionalFont(printer, path.c_str(), 2, -1, -1, 0, 0, 0);
    ASSERT_EQ(font, index++) << name;
    const int height = quarx::FontHeight(printer, font);
    EXPECT_GT(height, previousHeight) << name << ": the fonts grow in size";
    previousHeight = height;
    // The accented letters have ink of their own.
    EXPECT_GT(quarx::TextWidth(printer, "\xc4\xe9", 1, font),
              quarx::TextWidth(printer, "", 1, font));
  }
  quarx::ClearTextPrinter(printer);
}

TEST(MediaRoundTrip, SamplesAndTunesPlayThroughTheMixer) {
  ASSERT_EQ(vxl::AudioOpen(), 1) << "tests run with SDL_AUDIODRIVER=dummy";
  vxl::SetArchives((kMedia + "ProgramData.sbx").c_str(), "");
  int slot = 10;
  for (const char* name : {"sound110.wav", "sound117.wav", "sound113.wav", "sound118.wav"}) {
    const std::string path = std::string("Media/Samples/") + name;
    vxl::LoadSound(path.c_str(), slot);
    const int handle = vxl::PlaySound(slot, 0, 0.5);
    EXPECT_GE(handle, 0) << name << " did not load";
    EXPECT_EQ(handle / 256, slot);
    vxl::StopSound(handle);
    ++slot;
  }
  for (const char* track :
       {"Quarx Theme", "Latin Industries", "Sneaky Snitch", "Machinations", "Glee Club Polka"}) {
    // Music is read from disk, beside the archive, not out of it.
    const std::string path = kMedia + "Music/" + track + ".ogg";
    vxl::PlayMusic(path.c_str(), 1);
    EXPECT_EQ(vxl::LastError(), 0) << track;
    EXPECT_EQ(vxl::MusicPlaying(), 1) << track;
    vxl::StopMusic();
  }
}

TEST(MediaRoundTrip, ModelsHaveFaces) {
  vxl::SetArchives((kMedia + "ProgramData.sbx").c_str(), "");
  for (const char* name : {"Title.kvd", "SkySphere.kvd"}) {
    const std::string path = std::string("Media/3DGraphics/") + name;
    vxl::LoadObject(path.c_str(), 1);
    EXPECT_EQ(vxl::ObjectLoaded(1), 1) << name;
    EXPECT_GT(vxl::FaceCount(1), 0) << name;
    vxl::FreeObject(1);
  }
}

TEST(MediaRoundTrip, EveryArchiveEntryIsUsable) {
  // Nothing in the media archive is there for nothing: every entry is a
  // picture, a font, a sample or a model, and each one loads.
  const std::vector<std::string> names = EntryNames(kMedia + "ProgramData.sbx");
  EXPECT_GE(names.size(), 40u);
  vxl::SetArchives((kMedia + "ProgramData.sbx").c_str(), "");
  for (const std::string& n : names) {
    const std::string ext = n.substr(n.find_last_of('.') + 1);
    if (ext == "png") {
      vxl::LoadSprite(n.c_str(), 200);
      EXPECT_EQ(vxl::LastError(), 0) << n;
    } else if (ext == "wav") {
      vxl::LoadSound(n.c_str(), 200);
      EXPECT_GE(vxl::PlaySound(200, 0, 0), 0) << n;
      vxl::StopAllSounds();
    } else if (ext == "kvd") {
      vxl::LoadObject(n.c_str(), 2);
      EXPECT_EQ(vxl::ObjectLoaded(2), 1) << n;
    } else {
      ADD_FAILURE() << "unexpected entry " << n;
    }
  }
}

TEST(MediaRoundTrip, FlagsAndLogos) {
  const std::vector<std::string> flags = EntryNames(kMedia + "flags.sbx");
  EXPECT_EQ(flags.size(), 272u);
  vxl::SetArchives((kMedia + "flags.sbx").c_str(), "");
  int width = -1, height = -1;
  for (const std::string& f : flags) {
    vxl::LoadSprite(f.c_str(), 300);
    ASSERT_EQ(vxl::LastError(), 0) << f;
    int w = 0, h = 0;
    vxl::SpriteSize(300, &w, &h);
    if (width < 0) width = w, height = h;
    EXPECT_EQ(w, width) << f;
    EXPECT_EQ(h, height) << f;
  }
  for (const char* code : {"UK", "DE", "FR", "IT", "ES", "US"}) {
    vxl::LoadSprite((std::string(code) + ".png").c_str(), 300);
    EXPECT_EQ(vxl::LastError(), 0) << code;
  }

  vxl::SetArchives((kMedia + "Logos.sbx").c_str(), "");
  for (const char* logo : {"BrelmLogo.png", "Pavonia.png", "Vexel.png"}) {
    vxl::LoadSprite(logo, 301);
    EXPECT_EQ(vxl::LastError(), 0) << logo;
    int w = 0, h = 0;
    vxl::SpriteSize(301, &w, &h);
    EXPECT_GE(w, 320) << logo << ": shown stretched over the whole screen";
  }
  vxl::EmptySlot(300);
  vxl::EmptySlot(301);
}

TEST(MediaRoundTrip, LanguageFileThroughTheIniReader) {
  const char* kKeys[] = {"abandongame",
                         "allowweaponary",
                         "back",
                         "chapters",
                         "computer",
                         "continuegame",
                         "diagonal",
                         "display",
                         "displayoptions",
                         "dontshow",
                         "error",
                         "exitwithoutsaving",
                         "extended",
                         "finalresults",
                         "finish",
                         "fullscreenmodeunavailable",
                         "game",
                         "general",
                         "hiscores",
                         "human",
                         "inactive",
                         "instructions",
                         "internet",
                         "invalidnumberofanimatedspritevalues",
                         "invalidnumberofcolourvalues",
                         "itshouldbe",
                         "leaguegame",
                         "lengthofnameisinvalid",
                         "local",
                         "movementsystems",
                         "musicvolume",
                         "mustselectmovementsystem",
                         "mustselectscreenresolution",
                         "names",
                         "needatleast2players",
                         "no",
                         "noinstructionsfoundforyourlanguage",
                         "notfound",
                         "numleaguegames",
                         "numleaguegamesshouldbe",
                         "okay",
                         "oneormorenamesismissing",
                         "options",
                         "original",
                         "pagetext",
                         "pictures",
                         "playernames",
                         "pressbutton",
                         "query",
                         "quit",
                         "quitgame",
                         "rank",
                         "restoretodefault",
                         "roundstogo",
                         "save",
                         "saveandexit",
                         "screenresolutions",
                         "selectyourlanguage",
                         "sfxvolume",
                         "singlegame",
                         "skipturn",
                         "startgame",
                         "supportedlanguages",
                         "thewinners",
                         "unabletoallocate2dobjectid",
                         "unabletoallocate3dobjectid",
                         "unabletoallocatefontid",
                         "unabletoallocatesoundid",
                         "unabletodeletefile",
                         "unabletofindfile",
                         "unabletoinitialise",
                         "unabletouploaddata",
                         "uploaddata",
                         "upto3",
                         "upto3wins",
                         "usefullscreen",
                         "usesystempointer",
                         "wanttovisitwebsite4",
                         "whoisplaying",
                         "yes"};
  vxl::OpenIni((kMedia + "Language.INI").c_str());
  const int count = vxl::ToInt(vxl::GetIni("KEYS", "COUNT", "0"));
  std::vector<std::string> listed;
  for (int i = 0; i < count; ++i) {
    listed.push_back(vxl::GetIni("KEYS", vxl::StringValue(i), "").c_str());
  }
  for (const char* key : kKeys) {
    EXPECT_NE(std::find(listed.begin(), listed.end(), key), listed.end()) << key;
  }
  const int languages = vxl::ToInt(vxl::GetIni("SUPPORTED", "COUNT", "0"));
  std::vector<std::string> codes;
  for (int i = 0; i < languages; ++i) {
    codes.push_back(vxl::GetIni("SUPPORTED", vxl::StringValue(i), "").c_str());
  }
  for (const char* code : {"en", "de", "it", "fr", "es"}) {
    EXPECT_NE(std::find(codes.begin(), codes.end(), code), codes.end()) << code;
  }
  EXPECT_FALSE(vxl::GetIni("SUPPORTED", "VERSION", "").empty());
  EXPECT_FALSE(vxl::GetIni("SUPPORTED", "AUTHOR", "").empty());
  for (const std::string& code : codes) {
    for (const std::string& key : listed) {
      EXPECT_FALSE(vxl::GetIni(code.c_str(), key.c_str(), "").empty()) << code << "/" << key;
    }
  }
  EXPECT_EQ(vxl::IniChanged(), 0);
  vxl::CloseIni();
}

}  // namespace
