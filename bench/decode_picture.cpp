// Decodes one picture with the codec the program reads it with, and nothing
// else: the anchor for the program's whole runs in bench_process. With
// --page-buffers it takes the picture's memory as the program does
// (imaging/picture_memory.h), for the second, stricter anchor.

#include <cstdio>
#include <cstring>

#include "imaging/image_file.h"
#include "imaging/picture_memory.h"

int main(int argc, char** argv) {
    const bool pageBuffers = argc == 3 && std::strcmp(argv[1], "--page-buffers") == 0;
    if (argc != 2 && !pageBuffers) return 2;
    if (pageBuffers) qf::usePageBuffersForPictures();
    const qf::PictureFileRead r = qf::readPictureFile(argv[argc - 1], int64_t{1} << 40);
    if (r.image.empty()) return 1;
    std::printf("%d x %d\n", r.image.cols, r.image.rows);
    return 0;
}
