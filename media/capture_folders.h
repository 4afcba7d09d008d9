#pragma once
// Which folders can hold captures: a full path (a drive and a root, or a network share), short
// enough for every capture name and companion file that goes into it.
#include <string>
#include <string_view>

#include "media/capture_names.h"

namespace orvane {

// "C:\..." or "\\server\share..."; not ".", "Pictures", "C:Pictures" or "\Pictures", which
// name different folders depending on the current one.
bool IsFullyQualifiedFolder(std::u16string_view folder);

// Forward slashes as backslashes, runs of separators as one (but the two of a share), and no
// separator at the end but after a drive's root.
std::u16string NormalisedFolder(std::u16string_view folder);

// True when a capture of this kind fits into folder together with its companions: the side
// file, cached thumbnail and measurement rows of a picture; the thumbnail in the "thumb" side
// folder of a clip. The folder must be fully qualified.
bool FolderHoldsCaptures(CaptureKind kind, std::u16string_view folder);

// The longest folder that holds captures of the kind.
size_t LongestCaptureFolder(CaptureKind kind);

}  // namespace orvane
