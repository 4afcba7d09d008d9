#pragma once
// The settings of calibrated results, in a key of their own under the program's settings key
// (removal deletes them with it): whether the live picture shows its scale bar, and whether
// saved copies are stamped with one.
#include <windows.h>

#include "editor/geometry/measure_units.h"

namespace orvane::results {

struct ResultsSettings {
    bool showLiveBar = false;
    bool stampBar = false;
};

ResultsSettings ReadResultsSettings();
void WriteResultsSettings(const ResultsSettings& settings);

// The unit the editor measures in (its stored properties), for bars shown outside it.
editor::Unit StoredMeasureUnit();

}  // namespace orvane::results
