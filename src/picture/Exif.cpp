#include "picture/Exif.h"

#include <algorithm>
#include <cstring>

namespace tessaly::picture {
namespace {

// Bytes per value of each TIFF field type (0: a type we do not read).
uint32_t TypeSize(uint16_t type) {
  switch (type) {
    case 1:
    case 2:
    case 6:
    case 7: return 1;  // BYTE, ASCII, SBYTE, UNDEFINED
    case 3:
    case 8: return 2;  // SHORT, SSHORT
    case 4:
    case 9:
    case 11:
    case 13: return 4;  // LONG, SLONG, FLOAT, IFD
    case 5:
    case 10:
    case 12: return 8;  // RATIONAL, SRATIONAL, DOUBLE
    default: return 0;
  }
}

bool Unsigned(uint16_t type) { return type == 1 || type == 3 || type == 4; }

uint16_t ValidOrientation(uint32_t value) { return value >= 1 && value <= 8 ? static_cast<uint16_t>(value) : 1; }

ByteReader MemoryReader(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  return [bytes, size](uint64_t offset, void* buffer, std::size_t n) -> std::size_t {
    if (!bytes || offset >= size) return 0;
    const std::size_t count = static_cast<std::size_t>(std::min<uint64_t>(n, size - offset));
    std::memcpy(buffer, bytes + offset, count);
    return count;
  };
}

// An Exif block's payload is at most a segment long.
constexpr std::size_t kMaxSegment = 65535;

}  // namespace

uint16_t TiffDirectory::Get16(const uint8_t* p) const {
  return bigEndian_ ? static_cast<uint16_t>((p[0] << 8) | p[1]) : static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t TiffDirectory::Get32(const uint8_t* p) const {
  const uint32_t a = p[0], b = p[1], c = p[2], d = p[3];
  return bigEndian_ ? (a << 24) | (b << 16) | (c << 8) | d : a | (b << 8) | (c << 16) | (d << 24);
}

bool TiffDirectory::ReadFirst(const ByteReader& read) {
  read_ = &read;
  entries_.clear();
  truncated_ = false;
  uint8_t h[8];
  if (read(0, h, sizeof h) != sizeof h) return false;
  if (h[0] == 'I' && h[1] == 'I')
    bigEndian_ = false;
  else if (h[0] == 'M' && h[1] == 'M')
    bigEndian_ = true;
  else
    return false;
  if (Get16(h + 2) != 42) return false;
  const uint64_t at = Get32(h + 4);
  uint8_t n[2];
  if (at < 8 || read(at, n, 2) != 2) return false;
  const std::size_t count = Get16(n);
  std::vector<uint8_t> raw(count * 12);
  const std::size_t got = raw.empty() ? 0 : read(at + 2, raw.data(), raw.size());
  const std::size_t whole = std::min(got, raw.size()) / 12;
  truncated_ = whole < count;
  entries_.reserve(whole);
  for (std::size_t i = 0; i < whole; ++i) {
    const uint8_t* e = &raw[i * 12];
    Entry entry;
    entry.tag = Get16(e);
    entry.type = Get16(e + 2);
    entry.count = Get32(e + 4);
    const uint64_t bytes = static_cast<uint64_t>(entry.count) * TypeSize(entry.type);
    entry.valueAt = bytes <= 4 ? at + 2 + i * 12 + 8 : Get32(e + 8);
    entries_.push_back(entry);
  }
  return true;
}

const TiffDirectory::Entry* TiffDirectory::Find(uint16_t tag) const {
  for (const Entry& e : entries_)
    if (e.tag == tag) return &e;
  return nullptr;
}

bool TiffDirectory::Number(uint16_t tag, uint32_t& value, uint32_t index) const {
  const Entry* e = Find(tag);
  if (!e || !read_ || !Unsigned(e->type) || index >= e->count) return false;
  const uint32_t size = TypeSize(e->type);
  uint8_t b[4];
  if ((*read_)(e->valueAt + static_cast<uint64_t>(index) * size, b, size) != size) return false;
  value = size == 1 ? b[0] : size == 2 ? Get16(b) : Get32(b);
  return true;
}

bool TiffDirectory::Numbers(uint16_t tag, std::vector<uint32_t>& values, uint32_t limit) const {
  values.clear();
  const Entry* e = Find(tag);
  if (!e || !read_ || (e->type != 3 && e->type != 4) || e->count > limit) return false;
  const uint32_t size = TypeSize(e->type);
  std::vector<uint8_t> raw(static_cast<std::size_t>(e->count) * size);
  if (!raw.empty() && (*read_)(e->valueAt, raw.data(), raw.size()) != raw.size()) return false;
  values.reserve(e->count);
  for (uint32_t i = 0; i < e->count; ++i) values.push_back(size == 2 ? Get16(&raw[i * 2]) : Get32(&raw[i * 4]));
  return true;
}

uint16_t TiffOrientation(const ByteReader& read) {
  // A directory cut short is damaged: none of it is trusted.
  TiffDirectory dir;
  uint32_t value = 1;
  if (!dir.ReadFirst(read) || dir.Truncated() || !dir.Number(kTiffOrientationTag, value)) return 1;
  return ValidOrientation(value);
}

uint16_t ExifOrientation(const void* tiff, std::size_t size) { return TiffOrientation(MemoryReader(tiff, size)); }

uint16_t JpegExifOrientation(const ByteReader& read) {
  uint8_t soi[2];
  if (read(0, soi, 2) != 2 || soi[0] != 0xFF || soi[1] != 0xD8) return 1;
  uint64_t offset = 2;
  for (int segments = 0; segments < 1000; ++segments) {
    uint8_t m[2];
    if (read(offset, m, 2) != 2 || m[0] != 0xFF) return 1;
    offset += 2;
    while (m[1] == 0xFF) {  // fill bytes
      if (read(offset, &m[1], 1) != 1) return 1;
      ++offset;
    }
    const uint8_t marker = m[1];
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA || marker == 0x00) return 1;
    uint8_t len[2];
    if (read(offset, len, 2) != 2) return 1;
    const uint16_t length = static_cast<uint16_t>((len[0] << 8) | len[1]);
    if (length < 2) return 1;
    if (marker == 0xE1 && length >= 8) {
      uint8_t id[6];
      if (read(offset + 2, id, 6) == 6 && std::memcmp(id, "Exif\0\0", 6) == 0) {
        // The block may be cut by the end of the file: what is there is read.
        std::vector<uint8_t> payload(std::min<std::size_t>(length - 8u, kMaxSegment));
        const std::size_t got = payload.empty() ? 0 : read(offset + 8, payload.data(), payload.size());
        return ExifOrientation(payload.data(), std::min(got, payload.size()));
      }
    }
    offset += length;
  }
  return 1;
}

uint16_t JpegExifOrientation(const void* jpeg, std::size_t size) {
  return JpegExifOrientation(MemoryReader(jpeg, size));
}

}  // namespace tessaly::picture
