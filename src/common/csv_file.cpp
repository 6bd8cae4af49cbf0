#include "common/csv_file.h"

#include "common/cp932.h"

namespace qf {

std::string unixLines(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

CsvBytes csvFileBytes(std::string_view utf8, CsvEncoding encoding) {
    if (encoding == CsvEncoding::Utf8) return {true, unixLines(utf8), {}};
    Cp932Text text = toCp932(utf8);
    return {text.ok, std::move(text.bytes), std::move(text.error)};
}

}  // namespace qf
