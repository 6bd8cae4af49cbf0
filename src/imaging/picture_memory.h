#pragma once
// Pictures made by OpenCV or by the program (decoded, mapped, processed,
// converted) take their memory in huge-page blocks once they are 1 MiB or
// larger (see common/page_buffer.h); smaller matrices keep OpenCV's own
// allocator. The program turns it on once at start, before its first picture.

namespace qf {

void usePageBuffersForPictures();

}  // namespace qf
