#pragma once
// Splitting one fuzz input into the parts a target needs.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace ketrilo::fuzz {

// The input as text.
inline std::string_view AsText(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The next part of text up to a NUL byte (or the end); text moves past it.
inline std::string_view NextPart(std::string_view& text) {
    const size_t end = text.find('\0');
    const std::string_view part = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return part;
}

// The first eight bytes of the input as a signed 64-bit value (missing bytes are 0).
inline int64_t FirstInt64(const uint8_t* data, size_t size) {
    uint64_t bits = 0;
    std::memcpy(&bits, data, size < sizeof bits ? size : sizeof bits);
    return static_cast<int64_t>(bits);
}

// The input read a byte at a time; past its end every byte reads 0.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint32_t Next() { return m_at < m_size ? m_data[m_at++] : 0; }
    uint32_t Next16() { return Next() | Next() << 8; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

} // namespace ketrilo::fuzz

// Stops the run as a finding when a property does not hold, in every build type.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "check failed at %s:%d: %s\n", __FILE__, __LINE__, #condition);   \
            __builtin_trap();                                                                      \
        }                                                                                          \
    } while (0)
