#pragma once
// The media lists hold upper-case paths. On Windows case does not matter; under Wine every
// folder of a path whose case differs from the disk's is looked up by reading its parent folder
// whole, and the side-file folder's parent is the picture folder, with thousands of files. So
// file operations use the folder as the disk spells it, found once and remembered.
#include <string>

namespace orvane {

// path with its folder part spelled as on the disk; path itself when the folder does not exist.
std::wstring DiskCasePath(const std::wstring& path);

}  // namespace orvane
