// Checks a picture file before it is handed to the decoder: the format from
// its signature, for raster formats the size its header claims, that the
// image data the header points to lies within the file (BMP, PNG, TIFF), and
// the orientation a camera recorded (JPEG, TIFF). Free of the window system,
// so it is tested natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace tessaly::picture {

enum class PictureFormat { Unknown, Bmp, Gif, Jpeg, Png, Tiff, PlaceableWmf, Emf };

struct PictureHeaderInfo {
  PictureFormat format = PictureFormat::Unknown;
  // Raster size the header claims, in pixels (0 for metafiles).
  uint32_t width = 0;
  uint32_t height = 0;
  // False when the header is damaged, truncated or claims no size, or the
  // image data it points to ends past the end of the file.
  bool valid = false;
  // The recorded orientation (1 to 8, 1 upright), from a JPEG's Exif block
  // or a TIFF's first directory; 1 for other formats and damaged blocks.
  uint16_t orientation = 1;
};

// The largest 32-bit-per-pixel decode accepted: 1.5 GB.
constexpr uint64_t kMaxDecodedBytes = 1536ull * 1024 * 1024;

// Reads up to `size` bytes at `offset` into `buffer`; returns how many it got.
using ByteReader = std::function<std::size_t(uint64_t offset, void* buffer, std::size_t size)>;

// Reads the header through `read`.
PictureHeaderInfo ReadPictureHeader(const ByteReader& read);
// The same over bytes in memory.
PictureHeaderInfo ReadPictureHeader(const void* data, std::size_t size);

// True when the header names a supported format, is intact and its decode
// stays within kMaxDecodedBytes.
bool PictureHeaderAcceptable(const PictureHeaderInfo& info);

const char* PictureFormatName(PictureFormat format);

}  // namespace tessaly::picture
