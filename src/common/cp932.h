#pragma once
// Text files of the program are written in the Japanese code page 932
// (Shift_JIS), converted from the UTF-8 text built in memory, and end with the
// converter's terminating 0x00 byte.

#include <cstddef>
#include <string>
#include <string_view>

namespace qf {

struct Cp932Text {
    bool ok = false;
    std::string bytes;  // the converted text followed by one 0x00 byte
    std::string error;  // why the text was refused when !ok
};

// Converts the whole text with iconv, however long: a cut file would be lost
// data reported as saved. Text that code page 932 cannot represent, or that is
// not valid UTF-8, is refused as a whole with a message naming the character.
Cp932Text toCp932(std::string_view utf8);

struct FileWriteResult {
    bool ok = false;
    std::string error;    // "<path>: <system reason>" when !ok
    int errorNumber = 0;  // the system's errno when creating or writing failed
};

// Writes the bytes as they are, replacing the file only once they are all on
// the disk (see atomic_file.h).
FileWriteResult writeBytesToFile(const std::string& path, std::string_view bytes);

// toCp932, then writeBytesToFile; nothing is written when the text is refused.
FileWriteResult writeCp932File(const std::string& path, std::string_view utf8);

}  // namespace qf
