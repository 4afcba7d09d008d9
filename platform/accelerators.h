#pragma once
// A copy of an accelerator table without some of its commands.
#include <windows.h>

#include <cstdint>

#include "platform/handles.h"

namespace orvane {

// The entries of table whose command leaves(command) is false; empty when table is null or the
// copy cannot be made.
UniqueAccelerators AcceleratorsWithout(HACCEL table, bool (*leaves)(uint32_t command));

}  // namespace orvane
