#pragma once
// Values quoted in messages. A message quotes what it refuses so the user can
// find it, but a value may be megabytes long (a number of millions of digits,
// a name that is no name): only its start is quoted, with its length.

#include <cstddef>
#include <string>
#include <string_view>

namespace qf {

// At most this many bytes of a value are quoted whole.
inline constexpr std::size_t kExcerptLimit = 60;

// The text itself when it is at most kExcerptLimit bytes; else its first
// bytes (whole UTF-8 characters) and "... (N bytes)".
std::string excerpt(std::string_view text);

}  // namespace qf
