#include "media/file_requests.h"

#include <algorithm>

#include "media/bmp_layout.h"
#include "media/companion_paths.h"
#include "media/text.h"

namespace orvane {

namespace {

bool SameText(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && UpperCase(a) == UpperCase(b);
}

bool Listed(const std::vector<SelectedFile>& files, std::u16string_view path) {
    return std::any_of(files.begin(), files.end(),
                       [&](const SelectedFile& f) { return SameText(f.path, path); });
}

void AddNonEmpty(std::vector<std::u16string>& to, std::u16string path) {
    if (!path.empty()) to.push_back(std::move(path));
}

}  // namespace

std::vector<SelectedFile> FilesOfSelection(const std::vector<SelectionEntry>& entries,
                                           const MediaLists& lists) {
    std::vector<SelectedFile> files;
    for (const SelectionEntry& entry : entries) {
        const std::u16string upper = UpperCase(entry.path);
        if (IsVideoThumbnailPath(upper)) {
            const std::u16string video = VideoPathFromThumbnail(upper);
            if (video.empty()) continue;
            for (const std::u16string& listed : lists.videos) {
                if (!SameText(listed, video) || Listed(files, listed)) continue;
                files.push_back({listed, {entry.path}});
            }
        } else {
            for (const std::u16string& listed : lists.pictures) {
                if (!SameText(listed, upper) || Listed(files, listed)) continue;
                SelectedFile file{listed, {}};
                AddNonEmpty(file.companions, SideFilePath(listed));
                AddNonEmpty(file.companions, ThumbnailCachePath(listed));
                AddNonEmpty(file.companions, MeasurementRowsPath(listed));
                files.push_back(std::move(file));
            }
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
    constexpr size_t kHeaders = BmpFileHeader::kSize + BmpInfoHeader::kSize;
    if (file.size() < kHeaders) return {};
    const BmpFileHeader head = BmpFileHeader::FromBytes(file.data());
    const BmpInfoHeader info = BmpInfoHeader::FromBytes(file.data() + BmpFileHeader::kSize);
    if (head.type != 0x4D42 || info.headerSize < BmpInfoHeader::kSize ||
        info.headerSize > file.size() - BmpFileHeader::kSize) {
        return {};
    }
    uint64_t pixels = info.imageSize;
    if (info.compression == kBiRgb || info.compression == 3) {
        const uint64_t stride = DibStride(info.width, info.bitCount);
        const int64_t height = info.height;
        if (stride == 0 || height == 0) return {};
        pixels = stride * static_cast<uint64_t>(height < 0 ? -height : height);
    }
    if (head.pixelOffset < kHeaders || head.pixelOffset > file.size() ||
        pixels > file.size() - head.pixelOffset) {
        return {};
    }
    return std::vector<uint8_t>(file.begin() + BmpFileHeader::kSize, file.end());
}

}  // namespace orvane
