#pragma once
// The stacked picture's file: a 24-bit BMP written under a temporary name beside its place and
// renamed into it once complete, so a failure leaves no file and never replaces one.
#include <string>

#include "stacking/stack_image.h"

namespace orvane {

bool WriteStackedPicture(const std::wstring& path, const stacking::BgrImage& picture);

}  // namespace orvane
