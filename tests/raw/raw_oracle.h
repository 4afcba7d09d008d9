#pragma once
// A plain, step-by-step implementation of the raw conversion with full-frame planes; the
// production path must agree with it byte for byte.
#include <cstdint>
#include <vector>

#include "capture/raw/raw_pars.h"

namespace orvane::oracle {

void GammaTable(const CRawPars& p, uint8_t table[256]);
void ToneTable(const CRawPars& p, uint8_t table[256]);

// W x H x 3 output as the conversion returns it; raw holds at least W x H bytes.
std::vector<uint8_t> Convert(const CRawPars& p, int w, int h, const std::vector<uint8_t>& raw);

}  // namespace orvane::oracle
