#include "media/file_requests.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "media/bmp_layout.h"
#include "media/picture_bytes.h"
#include "media/companion_paths.h"
#include "media/text.h"

namespace orvane {

namespace {

void AddNonEmpty(std::vector<std::u16string>& to, std::u16string path) {
    if (!path.empty()) to.push_back(std::move(path));
}

// Position of every upper-cased path of a list; the first of equal ones.
std::unordered_map<std::u16string, size_t> IndexOf(const std::vector<std::u16string>& list) {
    std::unordered_map<std::u16string, size_t> index;
    index.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i) index.emplace(UpperCase(list[i]), i);
    return index;
}

}  // namespace

std::vector<SelectedFile> FilesOfSelection(const std::vector<SelectionEntry>& entries,
                                           const MediaLists& lists) {
    // One look-up per entry instead of a pass over the lists: Delete all of ten thousand
    // captures stays linear.
    const auto pictures = IndexOf(lists.pictures);
    const auto thumbnails = IndexOf(lists.thumbnails);
    const auto videos = IndexOf(lists.videos);
    std::unordered_set<std::u16string> taken;
    std::vector<SelectedFile> files;
    for (const SelectionEntry& entry : entries) {
        const std::u16string upper = UpperCase(entry.path);
        // A clip stands in the strip as its thumbnail: a path of the thumbnail list.
        if (thumbnails.count(upper) != 0) {
            const auto v = videos.find(UpperCase(VideoPathFromThumbnail(upper)));
            if (v == videos.end()) continue;
            const std::u16string& video = lists.videos[v->second];
            if (!taken.insert(UpperCase(video)).second) continue;
            files.push_back({video, {entry.path}});
        } else if (const auto p = pictures.find(upper); p != pictures.end()) {
            const std::u16string& listed = lists.pictures[p->second];
            if (!taken.insert(upper).second) continue;
            SelectedFile file{listed, {}};
            AddNonEmpty(file.companions, SideFilePath(listed));
            AddNonEmpty(file.companions, ThumbnailCachePath(listed));
            AddNonEmpty(file.companions, MeasurementRowsPath(listed));
            files.push_back(std::move(file));
        }
    }
    return files;
}

std::vector<size_t> SplitIntoRequests(const std::vector<std::u16string>& paths, size_t capacity) {
    std::vector<size_t> counts;
    size_t used = 1;  // the final NUL
    size_t count = 0;
    for (const std::u16string& path : paths) {
        const size_t units = path.size() + 1;
        if (count > 0 && used + units > capacity) {
            counts.push_back(count);
            used = 1;
            count = 0;
        }
        used += units;
        ++count;
    }
    if (count > 0) counts.push_back(count);
    return counts;
}

std::u16string DoubleNulList(const std::vector<std::u16string>& paths, size_t first, size_t count) {
    std::u16string list;
    for (size_t i = first; i < first + count && i < paths.size(); ++i) {
        list += paths[i];
        list += u'\0';
    }
    list += u'\0';
    return list;
}

std::vector<uint8_t> DropFilesBlock(const std::vector<std::u16string>& paths) {
    constexpr size_t kHeader = 20;
    size_t units = 0;
    for (const std::u16string& path : paths) units += path.size() + 1;
    std::vector<uint8_t> block(kHeader + 2 * units + 8, 0);
    block[0] = static_cast<uint8_t>(kHeader);  // offset of the list
    block[16] = 1;                             // wide characters
    size_t at = kHeader;
    for (const std::u16string& path : paths) {
        for (char16_t c : path) {
            block[at++] = static_cast<uint8_t>(c & 0xFF);
            block[at++] = static_cast<uint8_t>(c >> 8);
        }
        at += 2;
    }
    return block;
}

std::vector<uint8_t> PackedBitmapOfFile(const std::vector<uint8_t>& file) {
    BmpParts parts;
    if (!FindBmpParts(file.data(), file.size(), parts)) return {};
    // Header and colour table, then the pixels from where the file says they start: a gap
    // before them (allowed by the format) must not shift the picture.
    std::vector<uint8_t> packed;
    packed.reserve(parts.headerBytes + parts.pixelBytes);
    const auto header = file.begin() + BmpFileHeader::kSize;
    packed.insert(packed.end(), header, header + static_cast<std::ptrdiff_t>(parts.headerBytes));
    // A colour count without its table (above 8 bits) is not handed on.
    if (parts.info.colorsUsed == 0) {
        std::fill(packed.begin() + BmpInfoHeader::kColorsUsedOffset,
                  packed.begin() + BmpInfoHeader::kColorsUsedOffset + 4, uint8_t{0});
    }
    const auto pixels = file.begin() + static_cast<std::ptrdiff_t>(parts.pixelOffset);
    packed.insert(packed.end(), pixels, pixels + static_cast<std::ptrdiff_t>(parts.pixelBytes));
    return packed;
}

}  // namespace orvane
