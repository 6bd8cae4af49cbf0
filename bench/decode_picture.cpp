// Decodes one picture with the codec the program reads it with, and nothing
// else: the anchor for the program's whole runs in bench_process.

#include <cstdio>

#include "imaging/image_file.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const qf::PictureFileRead r = qf::readPictureFile(argv[1], int64_t{1} << 40);
    if (r.image.empty()) return 1;
    std::printf("%d x %d\n", r.image.cols, r.image.rows);
    return 0;
}
