// Picture file bytes built by the header and EXIF tests: TIFF structures
// with chosen directory entries, PNG chunk sequences, JPEG segments.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace picturebytes {

using Bytes = std::vector<uint8_t>;

inline void Append(Bytes& b, std::initializer_list<uint8_t> more) { b.insert(b.end(), more); }
inline void Append(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }

inline void PutBe32(Bytes& b, uint32_t v) {
  for (int i = 3; i >= 0; --i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A TIFF structure written in either byte order.
class TiffBuilder {
 public:
  explicit TiffBuilder(bool bigEndian = false) : big_(bigEndian) {}

  struct Field {
    uint16_t tag, type;
    std::vector<uint32_t> values;
  };
  // SHORT (3) or LONG (4) values; the builder places values longer than
  // four bytes after the directory.
  TiffBuilder& Add(uint16_t tag, uint16_t type, std::vector<uint32_t> values) {
    fields_.push_back({tag, type, std::move(values)});
    return *this;
  }
  // Bytes after the directory and its values (image data).
  TiffBuilder& Data(Bytes data) {
    data_ = std::move(data);
    return *this;
  }
  // Where the image data will start, for strip offsets.
  uint32_t DataOffset() const {
    uint32_t at = 8 + 2 + static_cast<uint32_t>(fields_.size()) * 12 + 4;
    for (const Field& f : fields_) {
      const uint32_t bytes = static_cast<uint32_t>(f.values.size()) * (f.type == 3 ? 2 : 4);
      if (bytes > 4) at += bytes;
    }
    return at;
  }

  Bytes Build() const {
    Bytes b;
    if (big_)
      Append(b, {'M', 'M', 0, 42});
    else
      Append(b, {'I', 'I', 42, 0});
    Put32(b, 8);
    Put16(b, static_cast<uint16_t>(fields_.size()));
    uint32_t extra = 8 + 2 + static_cast<uint32_t>(fields_.size()) * 12 + 4;
    Bytes tail;
    for (const Field& f : fields_) {
      Put16(b, f.tag);
      Put16(b, f.type);
      Put32(b, static_cast<uint32_t>(f.values.size()));
      Bytes values;
      for (uint32_t v : f.values) {
        if (f.type == 3)
          Put16(values, static_cast<uint16_t>(v));
        else
          Put32(values, v);
      }
      if (values.size() <= 4) {
        values.resize(4, 0);
        Append(b, values);
      } else {
        Put32(b, extra);
        extra += static_cast<uint32_t>(values.size());
        Append(tail, values);
      }
    }
    Put32(b, 0);  // no next directory
    Append(b, tail);
    Append(b, data_);
    return b;
  }

 private:
  void Put16(Bytes& b, uint16_t v) const {
    if (big_)
      Append(b, {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
    else
      Append(b, {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
  }
  void Put32(Bytes& b, uint32_t v) const {
    if (big_) {
      Put16(b, static_cast<uint16_t>(v >> 16));
      Put16(b, static_cast<uint16_t>(v));
    } else {
      Put16(b, static_cast<uint16_t>(v));
      Put16(b, static_cast<uint16_t>(v >> 16));
    }
  }

  bool big_;
  std::vector<Field> fields_;
  Bytes data_;
};

// An Exif structure with one orientation entry (and a camera-make entry
// before it, as cameras write).
inline Bytes ExifTiff(uint16_t orientation, bool bigEndian = false) {
  return TiffBuilder(bigEndian).Add(271, 2, {}).Add(274, 3, {orientation}).Build();
}

// An APP1 segment holding `tiff` after "Exif\0\0".
inline Bytes ExifSegment(const Bytes& tiff) {
  Bytes b = {0xFF, 0xE1};
  const std::size_t length = 2 + 6 + tiff.size();
  Append(b, {static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)});
  Append(b, {'E', 'x', 'i', 'f', 0, 0});
  Append(b, tiff);
  return b;
}

// SOI, the given segments, then a frame header and a scan header.
inline Bytes JpegWith(const Bytes& segments, uint16_t width = 64, uint16_t height = 48) {
  Bytes b = {0xFF, 0xD8};
  Append(b, segments);
  Append(b, {0xFF, 0xC0, 0x00, 0x11, 0x08, static_cast<uint8_t>(height >> 8), static_cast<uint8_t>(height),
             static_cast<uint8_t>(width >> 8), static_cast<uint8_t>(width), 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
  Append(b, {0xFF, 0xDA, 0x00, 0x08, 1, 1, 0, 0, 0x3F, 0});
  return b;
}

// A PNG: signature, header chunk, the named chunks with `size` bytes each
// (CRCs are not checked by the header reader, so they are zero).
inline Bytes Png(uint32_t width, uint32_t height, std::initializer_list<std::pair<std::string, uint32_t>> chunks) {
  Bytes b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  PutBe32(b, 13);
  Append(b, {'I', 'H', 'D', 'R'});
  PutBe32(b, width);
  PutBe32(b, height);
  Append(b, {8, 6, 0, 0, 0});
  PutBe32(b, 0);
  for (const auto& [type, size] : chunks) {
    PutBe32(b, size);
    b.insert(b.end(), type.begin(), type.end());
    b.resize(b.size() + size + 4, 0x5A);
  }
  return b;
}

inline Bytes GoodPng(uint32_t width, uint32_t height) { return Png(width, height, {{"IDAT", 40}, {"IEND", 0}}); }

// An uncompressed RGB TIFF with `strips` strips of equal size.
inline Bytes StripTiff(uint32_t width, uint32_t height, uint32_t strips, bool bigEndian = false,
                       uint32_t orientation = 0) {
  const uint32_t rows = (height + strips - 1) / strips;
  const uint32_t stripBytes = width * rows * 3;
  TiffBuilder t(bigEndian);
  std::vector<uint32_t> offsets(strips), counts(strips, stripBytes);
  t.Add(256, 4, {width}).Add(257, 4, {height}).Add(258, 3, {8, 8, 8}).Add(259, 3, {1}).Add(262, 3, {2});
  t.Add(273, 4, offsets);
  if (orientation) t.Add(274, 3, {orientation});
  t.Add(277, 3, {3}).Add(278, 4, {rows}).Add(279, 4, counts);
  const uint32_t at = t.DataOffset();
  TiffBuilder real(bigEndian);
  for (uint32_t i = 0; i < strips; ++i) offsets[i] = at + i * stripBytes;
  real.Add(256, 4, {width}).Add(257, 4, {height}).Add(258, 3, {8, 8, 8}).Add(259, 3, {1}).Add(262, 3, {2});
  real.Add(273, 4, offsets);
  if (orientation) real.Add(274, 3, {orientation});
  real.Add(277, 3, {3}).Add(278, 4, {rows}).Add(279, 4, counts);
  real.Data(Bytes(static_cast<std::size_t>(stripBytes) * strips, 0x80));
  return real.Build();
}

}  // namespace picturebytes
