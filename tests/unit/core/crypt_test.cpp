// Blowfish against the published test vectors, and the little-endian block
// layout, padding and hexadecimal form of the hiscore text encryption on top.
#include "runtime/core/crypt.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "runtime/core/text.h"

namespace vxl {
namespace {

uint64_t Hex64(const char* hex) {
  return std::stoull(hex, nullptr, 16);
}

void KeyFromHex(BlowfishKey& key, const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  BlowfishSetKey(key, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<int>(bytes.size()));
}

// The published vectors write a block as 16 hex digits, left half first, each
// half big-endian.
TEST(CryptTest, BlockCipherMatchesPublishedVectors) {
  const struct {
    const char* key;
    const char* plain;
    const char* cipher;
  } cases[] = {
      {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
      {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
      {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
      {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
      {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
      {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
      {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
      {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
      {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
      {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
      {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
      {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
      {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
      {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
      {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
      {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
      {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
      {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
      {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
      {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
      {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
      {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
      {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
      {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
      {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
      {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
      {"0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2"},
      {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
      {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
      {"0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4"},
      {"FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC"},
      {"0123456789ABCDEF", "0000000000000000", "245946885754369A"},
      {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"},
      // Keys of other lengths: the key bytes cycle into the 18 subkey words.
      {"F0", "FEDCBA9876543210", "F9AD597C49DB005E"},
      {"F0E1D2C3B4A59687", "FEDCBA9876543210", "E87A244E2CC85E82"},
      {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210", "05044B62FA52D080"},
  };
  for (const auto& c : cases) {
    BlowfishKey key;
    KeyFromHex(key, c.key);
    const uint64_t plain = Hex64(c.plain), cipher = Hex64(c.cipher);
    uint32_t left = static_cast<uint32_t>(plain >> 32), right = static_cast<uint32_t>(plain);
    BlowfishEncryptBlock(key, left, right);
    EXPECT_EQ((uint64_t{left} << 32) | right, cipher) << "key " << c.key << " plain " << c.plain;
    BlowfishDecryptBlock(key, left, right);
    EXPECT_EQ((uint64_t{left} << 32) | right, plain) << "key " << c.key << " plain " << c.plain;
  }
}

std::string HexLittle(uint32_t left, uint32_t right) {
  char out[17];
  const uint32_t halves[2] = {left, right};
  for (int h = 0; h < 2; ++h) {
    for (int k = 0; k < 4; ++k) {
      std::snprintf(out + 8 * h + 2 * k, 3, "%02x", (halves[h] >> (8 * k)) & 0xff);
    }
  }
  return out;
}

TEST(CryptTest, EncryptTextReadsAndWritesEachHalfLittleEndian) {
  const StringValue key("hiscore-key");
  BlowfishKey schedule;
  BlowfishSetKey(schedule, reinterpret_cast<const unsigned char*>(key.c_str()), key.length());
  // "ABCDEFGH": bytes 0-3 make the left half with 'A' (0x41) least significant.
  uint32_t left = 0x44434241u, right = 0x48474645u;
  BlowfishEncryptBlock(schedule, left, right);
  EXPECT_EQ(std::string(EncryptText(key, "ABCDEFGH").c_str()), HexLittle(left, right));

  // The same through a published vector: key 0x00 * 8, plain block 0 -> 4EF99745 6198DD78,
  // so each half's bytes come out reversed: 4597f94e 78dd9861.
  const StringValue zeroKey(std::string_view("\0\0\0\0\0\0\0\0", 8));
  const StringValue zeroBlock(std::string_view("\0\0\0\0\0\0\0\0", 8));
  EXPECT_EQ(EncryptText(zeroKey, zeroBlock), "4597f94e78dd9861");
}

TEST(CryptTest, PaddingBlocksAndHexForm) {
  const StringValue key("k3y");
  EXPECT_EQ(EncryptText(key, ""), "");
  const StringValue padded(std::string_view("abc\0\0\0\0\0", 8));
  EXPECT_EQ(EncryptText(key, "abc"), EncryptText(key, padded));
  EXPECT_EQ(EncryptText(key, "abcdefgh").length(), 16);  // no padding block
  const StringValue two = EncryptText(key, "abcdefgh1");
  ASSERT_EQ(two.length(), 32);
  // ECB: the first block is enciphered on its own.
  EXPECT_EQ(Mid(two, 0, 16), EncryptText(key, "abcdefgh"));
  for (int i = 0; i < two.length(); ++i) {
    const char c = static_cast<char>(two[i]);
    EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')) << two.c_str();
  }
  EXPECT_NE(EncryptText("other", "abc"), EncryptText(key, "abc"));
}

TEST(CryptTest, DecryptTextUndoesEncryptText) {
  const StringValue key("upload");
  const char* texts[] = {"x", "Quarx|1234|de|Linux", "exactly8", "\xe9\xe8 latin-1 bytes \xff"};
  for (const char* text : texts) {
    const StringValue cipher = EncryptText(key, text);
    EXPECT_EQ(DecryptText(key, cipher), text);
    EXPECT_EQ(DecryptText(key, Upper(cipher)), text);  // either letter case reads
    EXPECT_NE(DecryptText("wrong", cipher), text);
  }
}

TEST(CryptTest, DecryptTextRejectsMalformedHex) {
  const StringValue key("upload");
  const StringValue good = EncryptText(key, "payload!");
  const StringValue cases[] = {"", Mid(good, 0, 15), good + "00", Mid(good, 0, 15) + "g",
                               ReplaceText(good, Mid(good, 3, 1), " ")};
  for (const StringValue& hex : cases) EXPECT_EQ(DecryptText(key, hex), "") << hex.c_str();
}

TEST(CryptTest, EmptyKeyIsTheSingleZeroByte) {
  const StringValue zero(std::string_view("\0", 1));
  EXPECT_EQ(EncryptText("", "text"), EncryptText(zero, "text"));
  EXPECT_EQ(DecryptText("", EncryptText("", "text")), "text");
  BlowfishKey a, b;
  BlowfishSetKey(a, nullptr, 0);
  const unsigned char z = 0;
  BlowfishSetKey(b, &z, 1);
  uint32_t l1 = 1, r1 = 2, l2 = 1, r2 = 2;
  BlowfishEncryptBlock(a, l1, r1);
  BlowfishEncryptBlock(b, l2, r2);
  EXPECT_EQ(l1, l2);
  EXPECT_EQ(r1, r2);
}

}  // namespace
}  // namespace vxl
