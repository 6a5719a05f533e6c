// WAV and Ogg Vorbis writers for the generated sounds and tunes.
#include "tools/mediagen/audio_io.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace mediagen {

namespace {

void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}

bool WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "mediagen: cannot write %s\n", path.c_str());
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

bool WriteWavMono(const std::string& path, const std::vector<float>& samples) {
  std::vector<uint8_t> b;
  uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  Put32(b, 36 + dataBytes);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put32(b, 16);
  Put16(b, 1);  // PCM
  Put16(b, 1);  // mono
  Put32(b, kRate);
  Put32(b, kRate * 2);
  Put16(b, 2);
  Put16(b, 16);
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  Put32(b, dataBytes);
  for (float s : samples) {
    long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    Put16(b, static_cast<uint16_t>(static_cast<int16_t>(v)));
  }
  return WriteAll(path, b);
}

bool WriteOgg(const std::string& path, const Stereo& audio, const std::string& title,
              float quality) {
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, 2, kRate, quality) != 0) {
    vorbis_info_clear(&vi);
    return false;
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "TITLE", title.c_str());
  vorbis_comment_add_tag(&vc, "ARTIST", "Quarx");
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 0x51554152);  // fixed serial: same tune, same bytes
  std::vector<uint8_t> bytes;
  auto flushPage = [&](ogg_page& og) {
    bytes.insert(bytes.end(), og.header, og.header + og.header_len);
    bytes.insert(bytes.end(), og.body, og.body + og.body_len);
  };
  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&vd, &vc, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &headerComment);
  ogg_stream_packetin(&os, &headerCode);
  ogg_page og;
  while (ogg_stream_flush(&os, &og) != 0) flushPage(og);
  const size_t total = audio.left.size(), chunk = 4096;
  for (size_t at = 0; at <= total; at += chunk) {
    size_t n = std::min(chunk, total - std::min(at, total));
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
      std::copy(audio.left.begin() + at, audio.left.begin() + at + n, buffer[0]);
      std::copy(audio.right.begin() + at, audio.right.begin() + at + n, buffer[1]);
      vorbis_analysis_wrote(&vd, static_cast<int>(n));
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet op;
      while (vorbis_bitrate_flushpacket(&vd, &op) != 0) {
        ogg_stream_packetin(&os, &op);
        while (ogg_stream_pageout(&os, &og) != 0) flushPage(og);
      }
    }
    if (n == 0) break;
  }
  while (ogg_stream_flush(&os, &og) != 0) flushPage(og);
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return WriteAll(path, bytes);
}

}  // namespace mediagen
