#include "picture/PictureHeader.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "picture/Exif.h"

namespace tessaly::picture {
namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
uint32_t Be32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

class Source {
 public:
  explicit Source(const ByteReader& read) : read_(read) {}
  // True when all `size` bytes were there.
  bool Get(uint64_t offset, void* buffer, std::size_t size) const { return read_(offset, buffer, size) == size; }
  // True when the file reaches `end` bytes (its last byte is readable).
  bool Reaches(uint64_t end) const {
    uint8_t last;
    return end == 0 || Get(end - 1, &last, 1);
  }
  const ByteReader& Reader() const { return read_; }

 private:
  const ByteReader& read_;
};

PictureHeaderInfo Invalid(PictureFormat format) {
  PictureHeaderInfo info;
  info.format = format;
  return info;
}

PictureHeaderInfo Raster(PictureFormat format, uint32_t width, uint32_t height) {
  PictureHeaderInfo info;
  info.format = format;
  info.width = width;
  info.height = height;
  info.valid = width > 0 && height > 0;
  return info;
}

// Uncompressed rows must all be in the file: the decoder reads them only
// when the picture is drawn.
bool BmpRowsInFile(const Source& src, uint32_t offBits, uint64_t width, uint64_t height, uint16_t bitCount) {
  if (offBits == 0 || bitCount == 0) return true;  // no offset given: the decoder finds the rows itself
  const uint64_t stride = (width * bitCount + 31) / 32 * 4;
  return src.Reaches(offBits + stride * height);
}

PictureHeaderInfo ReadBmp(const Source& src) {
  uint8_t h[26];
  if (!src.Get(0, h, 18)) return Invalid(PictureFormat::Bmp);
  const uint32_t offBits = Le32(h + 10);
  const uint32_t infoSize = Le32(h + 14);
  if (infoSize == 12) {  // OS/2 BITMAPCOREHEADER: 16-bit sizes
    if (!src.Get(0, h, 26)) return Invalid(PictureFormat::Bmp);
    PictureHeaderInfo info = Raster(PictureFormat::Bmp, Le16(h + 18), Le16(h + 20));
    if (!BmpRowsInFile(src, offBits, info.width, info.height, Le16(h + 24))) info.valid = false;
    return info;
  }
  if (infoSize < 16 || !src.Get(0, h, 26)) return Invalid(PictureFormat::Bmp);
  uint8_t rest[54];
  if (infoSize >= 40 && !src.Get(0, rest, sizeof rest)) return Invalid(PictureFormat::Bmp);
  const int32_t width = static_cast<int32_t>(Le32(h + 18));
  const int32_t height = static_cast<int32_t>(Le32(h + 22));  // negative: top-down rows
  if (width <= 0 || height == 0 || height == INT32_MIN) return Invalid(PictureFormat::Bmp);
  PictureHeaderInfo info =
      Raster(PictureFormat::Bmp, static_cast<uint32_t>(width), static_cast<uint32_t>(height < 0 ? -height : height));
  if (infoSize >= 40) {
    const uint32_t compression = Le32(rest + 30);
    const bool uncompressed = compression == 0 || compression == 3 || compression == 6;  // RGB, bit fields
    if (uncompressed && !BmpRowsInFile(src, offBits, info.width, info.height, Le16(rest + 28))) info.valid = false;
  }
  return info;
}

PictureHeaderInfo ReadGif(const Source& src) {
  uint8_t h[13];
  if (!src.Get(0, h, sizeof h)) return Invalid(PictureFormat::Gif);
  return Raster(PictureFormat::Gif, Le16(h + 6), Le16(h + 8));
}

bool IsStartOfFrame(uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

PictureHeaderInfo ReadJpeg(const Source& src) {
  // Walk the marker segments up to the first start-of-frame.
  uint64_t offset = 2;
  for (int segments = 0; segments < 100000; ++segments) {
    uint8_t m[2];
    if (!src.Get(offset, m, 2) || m[0] != 0xFF) return Invalid(PictureFormat::Jpeg);
    offset += 2;
    while (m[1] == 0xFF) {  // fill bytes before the marker code
      if (!src.Get(offset, &m[1], 1)) return Invalid(PictureFormat::Jpeg);
      ++offset;
    }
    const uint8_t marker = m[1];
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA || marker == 0x00)
      return Invalid(PictureFormat::Jpeg);  // image data or end before any frame
    uint8_t len[2];
    if (!src.Get(offset, len, 2)) return Invalid(PictureFormat::Jpeg);
    const uint16_t length = Be16(len);
    if (length < 2) return Invalid(PictureFormat::Jpeg);
    if (IsStartOfFrame(marker)) {
      uint8_t f[5];  // precision, height, width
      if (length < 8 || !src.Get(offset + 2, f, sizeof f)) return Invalid(PictureFormat::Jpeg);
      PictureHeaderInfo info = Raster(PictureFormat::Jpeg, Be16(f + 3), Be16(f + 1));
      info.orientation = JpegExifOrientation(src.Reader());
      return info;
    }
    offset += length;
  }
  return Invalid(PictureFormat::Jpeg);
}

// The signature, the header chunk, then every chunk's length up to the end
// chunk: a file cut anywhere ends before it.
PictureHeaderInfo ReadPng(const Source& src) {
  uint8_t h[24];
  if (!src.Get(0, h, sizeof h) || Be32(h + 8) != 13 || std::memcmp(h + 12, "IHDR", 4) != 0)
    return Invalid(PictureFormat::Png);
  const uint32_t width = Be32(h + 16), height = Be32(h + 20);
  if (width > 0x7FFFFFFFu || height > 0x7FFFFFFFu) return Invalid(PictureFormat::Png);
  PictureHeaderInfo info = Raster(PictureFormat::Png, width, height);
  uint64_t offset = 8;
  bool data = false;
  for (long chunks = 0; chunks < 4000000; ++chunks) {
    uint8_t c[8];
    if (!src.Get(offset, c, sizeof c)) return Invalid(PictureFormat::Png);
    const uint32_t length = Be32(c);
    if (length > 0x7FFFFFFFu) return Invalid(PictureFormat::Png);
    if (std::memcmp(c + 4, "IDAT", 4) == 0) data = true;
    if (std::memcmp(c + 4, "IEND", 4) == 0) {
      if (!data) info.valid = false;
      return info;
    }
    offset += 12ull + length;
  }
  return info;  // more chunks than any real picture has: left to the decoder
}

// The first directory's size, and its strips or tiles all within the file.
PictureHeaderInfo ReadTiff(const Source& src) {
  TiffDirectory dir;
  if (!dir.ReadFirst(src.Reader()) || dir.Truncated()) return Invalid(PictureFormat::Tiff);
  uint32_t width = 0, height = 0;
  if (!dir.Number(256, width) || !dir.Number(257, height)) return Invalid(PictureFormat::Tiff);
  PictureHeaderInfo info = Raster(PictureFormat::Tiff, width, height);
  const uint32_t kLimit = 1u << 22;
  std::vector<uint32_t> offsets, counts;
  const bool strips = dir.Find(273) != nullptr;
  if (!dir.Numbers(strips ? 273 : 324, offsets, kLimit) || !dir.Numbers(strips ? 279 : 325, counts, kLimit) ||
      offsets.empty() || offsets.size() != counts.size())
    return Invalid(PictureFormat::Tiff);
  uint64_t end = 0;
  for (std::size_t i = 0; i < offsets.size(); ++i)
    end = std::max<uint64_t>(end, static_cast<uint64_t>(offsets[i]) + counts[i]);
  if (!src.Reaches(end)) info.valid = false;
  info.orientation = TiffOrientation(src.Reader());
  return info;
}

PictureHeaderInfo ReadPlaceableWmf(const Source& src) {
  uint8_t h[22 + 18];  // placeable header, then the metafile header
  if (!src.Get(0, h, sizeof h)) return Invalid(PictureFormat::PlaceableWmf);
  const int16_t left = static_cast<int16_t>(Le16(h + 6)), top = static_cast<int16_t>(Le16(h + 8));
  const int16_t right = static_cast<int16_t>(Le16(h + 10)), bottom = static_cast<int16_t>(Le16(h + 12));
  const uint16_t inch = Le16(h + 14);
  const uint16_t type = Le16(h + 22), headerWords = Le16(h + 24);
  PictureHeaderInfo info;
  info.format = PictureFormat::PlaceableWmf;
  info.valid = inch != 0 && right != left && bottom != top && (type == 1 || type == 2) && headerWords == 9;
  // The metafile's own size (in 16-bit words) must lie within the file: a
  // cut file would decode to an empty picture.
  const uint64_t words = Le32(h + 22 + 6);
  uint8_t last = 0;
  if (words < 9 || !src.Get(22 + words * 2 - 1, &last, 1)) info.valid = false;
  return info;
}

PictureHeaderInfo ReadEmf(const Source& src) {
  uint8_t h[88];
  if (!src.Get(0, h, sizeof h)) return Invalid(PictureFormat::Emf);
  PictureHeaderInfo info;
  info.format = PictureFormat::Emf;
  info.valid = Le32(h) == 1 && Le32(h + 4) >= 88 && Le32(h + 40) == 0x464D4520u;  // " EMF"
  return info;
}

}  // namespace

PictureHeaderInfo ReadPictureHeader(const ByteReader& read) {
  const Source src(read);
  uint8_t sig[6] = {};
  if (!src.Get(0, sig, 4)) return PictureHeaderInfo{};
  if (sig[0] == 'B' && sig[1] == 'M') return ReadBmp(src);
  if (sig[0] == 0xFF && sig[1] == 0xD8 && sig[2] == 0xFF) return ReadJpeg(src);
  if (sig[0] == 0x89 && sig[1] == 'P' && sig[2] == 'N' && sig[3] == 'G') {
    uint8_t rest[4];
    if (src.Get(4, rest, 4) && std::memcmp(rest, "\r\n\x1A\n", 4) == 0) return ReadPng(src);
    return PictureHeaderInfo{};
  }
  if ((sig[0] == 'I' && sig[1] == 'I' && sig[2] == 42 && sig[3] == 0) ||
      (sig[0] == 'M' && sig[1] == 'M' && sig[2] == 0 && sig[3] == 42))
    return ReadTiff(src);
  if (Le32(sig) == 0x9AC6CDD7u) return ReadPlaceableWmf(src);
  if (Le32(sig) == 1) {
    uint8_t emf[4];
    if (src.Get(40, emf, 4) && Le32(emf) == 0x464D4520u) return ReadEmf(src);
    return PictureHeaderInfo{};
  }
  if (src.Get(0, sig, 6) && (std::memcmp(sig, "GIF87a", 6) == 0 || std::memcmp(sig, "GIF89a", 6) == 0))
    return ReadGif(src);
  return PictureHeaderInfo{};
}

PictureHeaderInfo ReadPictureHeader(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  return ReadPictureHeader([bytes, size](uint64_t offset, void* buffer, std::size_t n) -> std::size_t {
    if (offset >= size) return 0;
    const std::size_t count = static_cast<std::size_t>(std::min<uint64_t>(n, size - offset));
    std::memcpy(buffer, bytes + offset, count);
    return count;
  });
}

bool PictureHeaderAcceptable(const PictureHeaderInfo& info) {
  if (!info.valid) return false;
  switch (info.format) {
    case PictureFormat::PlaceableWmf:
    case PictureFormat::Emf: return true;
    case PictureFormat::Bmp:
    case PictureFormat::Gif:
    case PictureFormat::Jpeg:
    case PictureFormat::Png:
    case PictureFormat::Tiff: return static_cast<uint64_t>(info.width) * info.height * 4 <= kMaxDecodedBytes;
    case PictureFormat::Unknown: break;
  }
  return false;
}

const char* PictureFormatName(PictureFormat format) {
  switch (format) {
    case PictureFormat::Bmp: return "BMP";
    case PictureFormat::Gif: return "GIF";
    case PictureFormat::Jpeg: return "JPEG";
    case PictureFormat::Png: return "PNG";
    case PictureFormat::Tiff: return "TIFF";
    case PictureFormat::PlaceableWmf: return "WMF";
    case PictureFormat::Emf: return "EMF";
    case PictureFormat::Unknown: break;
  }
  return "unknown";
}

}  // namespace tessaly::picture
