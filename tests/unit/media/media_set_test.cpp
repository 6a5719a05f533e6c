// Checks of the shipped media set: the language file has every key in every language, the
// instruction files follow the viewer's line formats, the generated pictures have the sizes
// the game's layout relies on, and every country code has a flag of the common size.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kSource = QUARX_SOURCE_DIR;
const std::string kBuild = QUARX_BINARY_DIR;

std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::stringstream s(text);
  for (std::string line; std::getline(s, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.push_back(line);
  }
  return out;
}

using Ini = std::map<std::string, std::map<std::string, std::string>>;

Ini ParseIni(const std::string& text) {
  Ini ini;
  std::string section;
  for (const std::string& line : Lines(text)) {
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      section = line.substr(1, line.find(']') - 1);
      continue;
    }
    size_t eq = line.find('=');
    if (eq != std::string::npos) ini[section][line.substr(0, eq)] = line.substr(eq + 1);
  }
  return ini;
}

// Width and height from a PNG's header; 0, 0 when the file is missing or not a PNG.
std::pair<int, int> PngSize(const std::string& path) {
  std::string b = ReadAll(path);
  if (b.size() < 24 || b.compare(1, 3, "PNG") != 0) return {0, 0};
  auto be32 = [&](size_t at) {
    return (uint8_t(b[at]) << 24) | (uint8_t(b[at + 1]) << 16) | (uint8_t(b[at + 2]) << 8) |
           uint8_t(b[at + 3]);
  };
  return {static_cast<int>(be32(16)), static_cast<int>(be32(20))};
}

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> out;
  std::string part;
  std::stringstream ss(s);
  while (std::getline(ss, part, sep)) {
    if (!part.empty()) out.push_back(part);
  }
  return out;
}

TEST(LanguageFile, EveryListedKeyHasAWordInEverySupportedLanguage) {
  Ini ini = ParseIni(ReadAll(kSource + "/media/Language.INI"));
  int keys = std::stoi(ini["KEYS"]["COUNT"]);
  int languages = std::stoi(ini["SUPPORTED"]["COUNT"]);
  ASSERT_EQ(keys, 80);
  ASSERT_GE(languages, 5);
  EXPECT_FALSE(ini["SUPPORTED"]["VERSION"].empty());
  EXPECT_FALSE(ini["SUPPORTED"]["AUTHOR"].empty());
  for (int l = 0; l < languages; ++l) {
    const std::string code = ini["SUPPORTED"][std::to_string(l)];
    ASSERT_TRUE(ini.count(code)) << code;
    for (int k = 0; k < keys; ++k) {
      const std::string key = ini["KEYS"][std::to_string(k)];
      EXPECT_FALSE(ini[code][key].empty()) << code << " lacks " << key;
    }
  }
}

TEST(LanguageFile, IsIso88591NotUtf8) {
  std::string text = ReadAll(kSource + "/media/Language.INI");
  ASSERT_FALSE(text.empty());
  // A UTF-8 accented letter is a lead byte 0xC2..0xC3 followed by a continuation byte; Latin-1
  // text has "Ã" or "Â" before such a byte almost never, and ours never.
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    bool lead = uint8_t(text[i]) == 0xC2 || uint8_t(text[i]) == 0xC3;
    bool cont = (uint8_t(text[i + 1]) & 0xC0) == 0x80;
    EXPECT_FALSE(lead && cont) << "UTF-8 sequence at byte " << i;
  }
  EXPECT_NE(text.find("Zur\xFC"
                      "ck"),
            std::string::npos);  // German u-umlaut as one byte
}

TEST(Instructions, ChaptersAndPicturesFollowTheViewerFormats) {
  Ini ini = ParseIni(ReadAll(kSource + "/media/Language.INI"));
  int languages = std::stoi(ini["SUPPORTED"]["COUNT"]);
  for (int l = 0; l < languages; ++l) {
    const std::string code = ini["SUPPORTED"][std::to_string(l)];
    const std::string folder = kSource + "/media/instructions/" + code + "/";
    std::vector<std::string> index = Lines(ReadAll(folder + "chapters.txt"));
    ASSERT_GE(index.size(), 2u) << code;
    index.pop_back();  // the viewer never reads the last line
    EXPECT_EQ(index.size(), 8u) << code;
    for (const std::string& line : index) {
      std::vector<std::string> fields = Split(line, ',');
      ASSERT_EQ(fields.size(), 2u) << code << ": " << line;
      std::vector<std::string> page = Lines(ReadAll(folder + fields[1]));
      ASSERT_GE(page.size(), 2u) << fields[1];
      page.pop_back();
      for (const std::string& text : page) {
        if (text.rfind("<-", 0) != 0) continue;
        ASSERT_EQ(text.substr(text.size() - 2), "->") << text;
        std::vector<std::string> pic = Split(text.substr(2, text.size() - 4), ',');
        ASSERT_EQ(pic.size(), 3u) << text;
        EXPECT_GT(PngSize(kBuild + "/Media/Instructions/" + pic[2]).first, 0) << pic[2];
      }
    }
  }
}

struct PictureSize {
  const char* file;
  int width, height;
};

TEST(GeneratedPictures, HaveTheSizesTheLayoutReliesOn) {
  const PictureSize table[] = {
      {"Tile.png", 168, 42},          {"P1_1Ball.png", 42, 42},
      {"P4_3Ball.png", 42, 42},       {"P2_Protector.png", 42, 42},
      {"Podium.png", 639, 150},       {"Title.png", 1024, 256},
      {"GameOptions.png", 504, 63},   {"Disintegrator.png", 48, 48},
      {"Exploder.png", 48, 48},       {"Protector.png", 48, 48},
      {"Small_Ingame.png", 256, 256}, {"Medium_Ingame.png", 384, 384},
      {"Large_Ingame.png", 512, 512}, {"HiscoreFont.png", 640, 640},
      {"TitleFont.png", 288, 416},
  };
  for (const PictureSize& p : table) {
    auto size = PngSize(kBuild + "/media-stage/ProgramData/" + p.file);
    EXPECT_EQ(size.first, p.width) << p.file;
    EXPECT_EQ(size.second, p.height) << p.file;
  }
  auto font = PngSize(kBuild + "/Media/smalfont.png");
  EXPECT_LT(font.first, font.second);  // taller than wide: the 256-glyph layout
  EXPECT_EQ(font.first % 16, 0);
}

TEST(Flags, EveryCountryCodeHasAPictureOfTheSameSize) {
  const std::string codes =
      "AC AD AE AF AG AI AL AM AN AO AP AQ AR AS AT AU AW AX AZ BA BB BD BE BF BG BH BI BJ BL BM "
      "BN BO BR BS BT BV BW BY BZ CA CB CC CD CF CG CH CI CK CL CM CN CO CP CR CS CU CV CX CY CZ "
      "DE DG DJ DK DM DO DZ EA EC EE EG EH ER ES ET EU FI FJ FK FM FO FR FS FX GA GB GD GE GF GG "
      "GH GI GL GM GN GP GQ GR GS GT GU GW GY HK HM HN HR HT HU HW IC ID IE IL IM IN IO IQ IR IS "
      "IT JE JI JM JO JP KE KG KH KI KM KN KP KR KS KW KY KZ LA LB LC LI LK LR LS LT LU LV LY MA "
      "MB MC MD MF MG MH MI MK ML MM MN MO MP MQ MR MS MT MU MV MW MX MY MZ NA NC NE NF NG NI NK "
      "NL NO NP NR NT NU NZ OM PA PE PF PG PH PK PL PM PN PR PS PT PW PY QA RE RO RS RU RW SA SB "
      "SC SD SE SG SH SI SJ SK SL SM SN SO SR ST SU SV SY SZ TA TC TD TF TG TH TJ TK TL TM TN TO "
      "TP TR TT TV TW TZ UA UG UK UM US UY UZ VA VC VE VG VI VN VS VU WF WK WS XK YE YT YU ZA ZM "
      "ZR ZW";
  std::vector<std::string> list = Split(codes, ' ');
  ASSERT_EQ(list.size(), 272u);
  for (const std::string& code : list) {
    auto size = PngSize(kSource + "/media/flags/" + code + ".png");
    EXPECT_EQ(size, std::make_pair(48, 36)) << code;
  }
}

}  // namespace
