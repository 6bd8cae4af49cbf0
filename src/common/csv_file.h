#pragma once
// The two forms a CSV file of the program is written in: code page 932 with
// CR LF line ends and a final NUL (the form stored workflows read), or UTF-8
// with LF line ends and no NUL, for today's spreadsheets and scripts. The
// text is built once, in UTF-8 with CR LF; only its bytes differ.

#include <string>
#include <string_view>

namespace qf {

enum class CsvEncoding { Cp932, Utf8 };

// The program's texts end lines with CR LF; LF alone for a UTF-8 file and a
// terminal.
std::string unixLines(std::string_view text);

struct CsvBytes {
    bool ok = false;
    std::string bytes;
    std::string error;  // why the text was refused (a character code page 932 lacks)
};

CsvBytes csvFileBytes(std::string_view utf8, CsvEncoding encoding);

}  // namespace qf
