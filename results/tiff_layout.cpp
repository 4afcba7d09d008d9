#include "results/tiff_layout.h"

#include <cmath>
#include <cstring>

#include "media/byte_io.h"

namespace orvane::results {

TiffHeader::Bytes TiffHeader::ToBytes() const {
    Bytes out{};
    PutU16(&out[kByteOrderOffset], byteOrder);
    PutU16(&out[kMagicOffset], magic);
    PutU32(&out[kFirstDirectoryOffset], firstDirectory);
    return out;
}

TiffHeader TiffHeader::FromBytes(const uint8_t* bytes) {
    TiffHeader h;
    h.byteOrder = GetU16(bytes + kByteOrderOffset);
    h.magic = GetU16(bytes + kMagicOffset);
    h.firstDirectory = GetU32(bytes + kFirstDirectoryOffset);
    return h;
}

TiffEntry::Bytes TiffEntry::ToBytes() const {
    Bytes out{};
    PutU16(&out[kTagOffset], tag);
    PutU16(&out[kTypeOffset], type);
    PutU32(&out[kCountOffset], count);
    std::memcpy(&out[kValueOffset], value.data(), value.size());
    return out;
}

TiffEntry TiffEntry::FromBytes(const uint8_t* bytes) {
    TiffEntry e;
    e.tag = GetU16(bytes + kTagOffset);
    e.type = GetU16(bytes + kTypeOffset);
    e.count = GetU32(bytes + kCountOffset);
    std::memcpy(e.value.data(), bytes + kValueOffset, e.value.size());
    return e;
}

TiffRational::Bytes TiffRational::ToBytes() const {
    Bytes out{};
    PutU32(&out[kNumeratorOffset], numerator);
    PutU32(&out[kDenominatorOffset], denominator);
    return out;
}

TiffRational TiffRational::FromBytes(const uint8_t* bytes) {
    return {GetU32(bytes + kNumeratorOffset), GetU32(bytes + kDenominatorOffset)};
}

TiffRational NearestRational(double v) {
    constexpr double kMax = 4294967295.0;
    if (!std::isfinite(v) || !(v > 0)) return {0, 1};
    if (v >= kMax) return {UINT32_MAX, 1};
    // Convergents h/k of the continued fraction of v, kept while both fit in 32 bits.
    double h0 = 1, k0 = 0, h1 = std::floor(v), k1 = 1;
    double x = v - std::floor(v);
    TiffRational best{static_cast<uint32_t>(h1), 1};
    double bestError = std::fabs(v - h1);
    for (int i = 0; i < 64 && x > 0 && bestError > 0; ++i) {
        const double inverse = 1.0 / x;
        const double a = std::floor(inverse);
        x = inverse - a;
        const double h2 = a * h1 + h0;
        const double k2 = a * k1 + k0;
        if (h2 > kMax || k2 > kMax) {
            // The largest semiconvergent that still fits may be closer than the last convergent.
            const double room = std::floor(std::fmin((kMax - h0) / h1, (kMax - k0) / k1));
            if (room >= 1) {
                const double hs = room * h1 + h0;
                const double ks = room * k1 + k0;
                if (std::fabs(v - hs / ks) < bestError) {
                    best = {static_cast<uint32_t>(hs), static_cast<uint32_t>(ks)};
                }
            }
            break;
        }
        h0 = h1;
        k0 = k1;
        h1 = h2;
        k1 = k2;
        const double error = std::fabs(v - h1 / k1);
        if (error < bestError) {
            bestError = error;
            best = {static_cast<uint32_t>(h1), static_cast<uint32_t>(k1)};
        }
    }
    return best;
}

}  // namespace orvane::results
