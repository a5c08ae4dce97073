// The orientation a camera records for a photo (the TIFF and EXIF tag 274),
// read with bounds checks from TIFF structures: a TIFF file's first image
// directory, or the Exif block of a JPEG. Also the image directory reading
// that the picture header check uses for TIFF files. Free of the window
// system, so it is tested natively (Pixels.h turns the pixels).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/PictureHeader.h"

namespace tessaly::picture {

// Tag 274. Values 1 to 8; 1 is upright.
constexpr uint16_t kTiffOrientationTag = 274;

// One image directory of a TIFF structure, read through a ByteReader whose
// offsets count from the structure's first byte ("II" or "MM").
class TiffDirectory {
 public:
  struct Entry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    uint64_t valueAt = 0;  // where the value lies: inside the entry, or where it points
  };

  // Reads the header and the first directory. False when the header is not
  // a TIFF header or the directory's entry count is unreadable; entries cut
  // off by the end of the data are left out (Truncated() tells).
  bool ReadFirst(const ByteReader& read);
  bool Truncated() const { return truncated_; }
  const Entry* Find(uint16_t tag) const;
  // The `index`th value of a BYTE, SHORT or LONG entry; false when the tag
  // is absent, of another type, the index is past its count or the value
  // lies outside the data.
  bool Number(uint16_t tag, uint32_t& value, uint32_t index = 0) const;
  // All values of a SHORT or LONG entry, at most `limit` of them; false
  // when any is unreadable or there are more than `limit`.
  bool Numbers(uint16_t tag, std::vector<uint32_t>& values, uint32_t limit) const;

 private:
  uint16_t Get16(const uint8_t* p) const;
  uint32_t Get32(const uint8_t* p) const;

  const ByteReader* read_ = nullptr;
  bool bigEndian_ = false;
  bool truncated_ = false;
  std::vector<Entry> entries_;
};

// The orientation of a TIFF structure's first directory; 1 when the tag is
// absent, unreadable or out of range, or the directory is cut short.
uint16_t TiffOrientation(const ByteReader& read);
// The same over the TIFF structure of an Exif block (the bytes after
// "Exif\0\0").
uint16_t ExifOrientation(const void* tiff, std::size_t size);
// The orientation in the first Exif block of a JPEG file held in memory (the
// segments before the image data are walked); 1 when there is none or it is
// damaged.
uint16_t JpegExifOrientation(const void* jpeg, std::size_t size);
// The same, reading the JPEG file through `read`.
uint16_t JpegExifOrientation(const ByteReader& read);

}  // namespace tessaly::picture
