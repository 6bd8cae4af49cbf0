#include "common/excerpt.h"

namespace qf {

std::string excerpt(std::string_view text) {
    if (text.size() <= kExcerptLimit) return std::string(text);
    // Room for the length note within about the limit.
    std::size_t cut = kExcerptLimit - 16;
    // A cut inside a UTF-8 character would leave a broken byte in the message.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return std::string(text.substr(0, cut)) + "... (" + std::to_string(text.size()) + " bytes)";
}

}  // namespace qf
