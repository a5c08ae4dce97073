// The orientation readers on any bytes: a TIFF structure (an Exif block's
// payload, or the start of a TIFF file) and a JPEG's segments. Whatever the
// bytes, the answer is an orientation from 1 to 8, and a directory's values
// are read only within the data.
#include <algorithm>
#include <vector>

#include "picture/Exif.h"
#include "FuzzSupport.h"

using namespace tessaly::picture;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint16_t exif = ExifOrientation(data, size);
  FUZZ_CHECK(exif >= 1 && exif <= 8);
  const uint16_t jpeg = JpegExifOrientation(data, size);
  FUZZ_CHECK(jpeg >= 1 && jpeg <= 8);

  // The directory as the header check reads a TIFF file's: every value
  // asked for comes from inside the data.
  const ByteReader read = [data, size](uint64_t offset, void* buffer, std::size_t n) -> std::size_t {
    if (offset >= size) return 0;
    const std::size_t count = offset + n > size ? static_cast<std::size_t>(size - offset) : n;
    std::copy(data + offset, data + offset + count, static_cast<uint8_t*>(buffer));
    return count;
  };
  TiffDirectory dir;
  if (dir.ReadFirst(read)) {
    for (uint16_t tag : {256, 257, 273, 274, 279, 324, 325}) {
      uint32_t value = 0;
      if (const TiffDirectory::Entry* e = dir.Find(tag)) {
        FUZZ_CHECK(e->tag == tag);
        if (dir.Number(tag, value, e->count ? e->count - 1 : 0)) FUZZ_CHECK(e->count > 0);
      }
      std::vector<uint32_t> values;
      if (dir.Numbers(tag, values, 4096)) FUZZ_CHECK(values.size() <= 4096);
    }
  }
  FUZZ_CHECK(TiffOrientation(read) == exif);
  return 0;
}
