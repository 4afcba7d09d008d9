#pragma once
// What the file commands of the strip hand to the shell: the captured files of a selection with
// their companion files, path lists cut into requests of bounded size, and the clipboard's
// file-drop block.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "media/media_lists.h"
#include "media/strip_selection.h"

namespace orvane {

// The shell's path buffer of one request, in UTF-16 units, its terminating NULs included.
constexpr size_t kFileRequestUnits = 131072;

struct SelectedFile {
    std::u16string path;  // the picture or clip, as the media lists spell it
    // Side file, cached thumbnail and measurement rows, or the clip thumbnail.
    std::vector<std::u16string> companions;
};

// The files of the selection found in the lists, in selection order, each once. A picture's
// companions are its side file, cached thumbnail and rows file; a clip (chosen by its thumbnail
// path) is its video file with the thumbnail as companion. Entries not in the lists add nothing.
std::vector<SelectedFile> FilesOfSelection(const std::vector<SelectionEntry>& entries,
                                           const MediaLists& lists);

// How many consecutive paths go into each request so that every request's double-NUL list
// fits in capacity units. Every path is in exactly one request; a path too long for any
// request stands alone.
std::vector<size_t> SplitIntoRequests(const std::vector<std::u16string>& paths, size_t capacity);

// paths[first, first + count) each followed by a NUL, then one more NUL.
std::u16string DoubleNulList(const std::vector<std::u16string>& paths, size_t first, size_t count);

// The CF_HDROP block of a path list: the 20-byte header (list at offset 20, wide characters)
// followed by the paths, each ended by a NUL, and 8 zero bytes ending the list.
std::vector<uint8_t> DropFilesBlock(const std::vector<std::u16string>& paths);

// The packed bitmap of a BMP file's bytes (everything after the 14-byte file header), or empty
// when the bytes are no BMP whose pixels the file holds in full.
std::vector<uint8_t> PackedBitmapOfFile(const std::vector<uint8_t>& file);

}  // namespace orvane
