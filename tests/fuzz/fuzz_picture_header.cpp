// The header check of picture files on any bytes: what it accepts is a known
// format with a size within the decoding limit, and the orientation it reads
// is one of the eight.
#include "FuzzSupport.h"
#include "picture/PictureHeader.h"

using namespace tessaly::picture;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const PictureHeaderInfo info = ReadPictureHeader(data, size);
  const bool acceptable = PictureHeaderAcceptable(info);
  FUZZ_CHECK(!acceptable || (info.valid && info.format != PictureFormat::Unknown));
  if (acceptable &&
      (info.format == PictureFormat::Bmp || info.format == PictureFormat::Gif || info.format == PictureFormat::Jpeg ||
       info.format == PictureFormat::Png || info.format == PictureFormat::Tiff)) {
    FUZZ_CHECK(info.width > 0 && info.height > 0);
    FUZZ_CHECK(uint64_t{info.width} * info.height * 4 <= kMaxDecodedBytes);
  }
  FUZZ_CHECK(PictureFormatName(info.format) != nullptr);
  // Only JPEG and TIFF record an orientation; it is always one of the eight.
  FUZZ_CHECK(info.orientation >= 1 && info.orientation <= 8);
  if (info.format != PictureFormat::Jpeg && info.format != PictureFormat::Tiff) FUZZ_CHECK(info.orientation == 1);

  return 0;
}
