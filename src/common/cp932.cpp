#include "common/cp932.h"

#include "common/atomic_file.h"

#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace qf {
namespace {

// The code point starting at s (valid UTF-8 or not), for the refusal message.
std::string describeCharAt(std::string_view s) {
    const auto b = static_cast<unsigned char>(s[0]);
    int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || static_cast<std::size_t>(len) > s.size()) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "byte 0x%02X (not UTF-8)", b);
        return buf;
    }
    unsigned cp = len == 1 ? b : b & (0x7F >> len);
    for (int i = 1; i < len; ++i) cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
    char buf[64];
    std::snprintf(buf, sizeof buf, "U+%04X \"%.*s\"", cp, len, s.data());
    return buf;
}

class Converter {
public:
    Converter() : cd_(iconv_open("CP932", "UTF-8")) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

}  // namespace

Cp932Text toCp932(std::string_view utf8) {
    Cp932Text out;
    Converter conv;
    if (!conv.ok()) {
        out.error =
            std::string("Code page 932 conversion is not available: ") + std::strerror(errno);
        return out;
    }
    // No character takes more bytes in code page 932 than in UTF-8, so one
    // pass fills at most the input's size; E2BIG still grows the buffer.
    std::string buf(utf8.size() + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    std::size_t used = 0;
    while (true) {
        char* dst = buf.data() + used;
        std::size_t dstLeft = buf.size() - used;
        const std::size_t r = iconv(conv.get(), &in, &inLeft, &dst, &dstLeft);
        used = buf.size() - dstLeft;
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            buf.resize(buf.size() * 2);
            continue;
        }
        // EILSEQ: not representable or not UTF-8; EINVAL: a sequence cut short.
        const std::size_t at = utf8.size() - inLeft;
        out.error = "The text cannot be written in code page 932 (Shift_JIS): " +
                    describeCharAt(utf8.substr(at)) + " at byte " + std::to_string(at) +
                    " has no equivalent there.";
        return out;
    }
    buf.resize(used);
    buf.push_back('\0');
    out.bytes = std::move(buf);
    out.ok = true;
    return out;
}

FileWriteResult writeBytesToFile(const std::string& path, std::string_view bytes) {
    const AtomicWriteResult w = writeFileAtomically(path, bytes);
    return {w.ok, w.error, w.errorNumber};
}

FileWriteResult writeCp932File(const std::string& path, std::string_view utf8) {
    Cp932Text text = toCp932(utf8);
    if (!text.ok) return {false, text.error};
    return writeBytesToFile(path, text.bytes);
}

}  // namespace qf
