#pragma once
// Little-endian reads and writes at explicit offsets of a byte buffer.
#include <cstdint>
#include <cstring>

namespace orvane {

inline void PutU16(uint8_t* out, uint16_t v) {
    out[0] = static_cast<uint8_t>(v);
    out[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(uint8_t* out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void PutU64(uint8_t* out, uint64_t v) {
    for (int i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline uint16_t GetU16(const uint8_t* in) {
    return static_cast<uint16_t>(in[0] | (static_cast<uint16_t>(in[1]) << 8));
}
inline uint32_t GetU32(const uint8_t* in) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(in[i]) << (8 * i);
    return v;
}
inline uint64_t GetU64(const uint8_t* in) {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(in[i]) << (8 * i);
    return v;
}
inline int32_t GetI32(const uint8_t* in) {
    return static_cast<int32_t>(GetU32(in));
}
inline void PutI32(uint8_t* out, int32_t v) {
    PutU32(out, static_cast<uint32_t>(v));
}

inline void PutF64(uint8_t* out, double v) {
    uint64_t bits;
    static_assert(sizeof bits == sizeof v);
    std::memcpy(&bits, &v, sizeof bits);
    PutU64(out, bits);
}
inline double GetF64(const uint8_t* in) {
    const uint64_t bits = GetU64(in);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

}  // namespace orvane
