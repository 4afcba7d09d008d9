#pragma once
// The rows file: the measurement table of a picture, kept beside its side file (the side
// folder, the same name, ".csv"). It is CSV (RFC 4180, UTF-8, CRLF) with a header line of
// fixed keys, so other programs can read it too:
//
//   number,kind,angle_mode,unit,magnification,pixel_factor,scale,length,edges,total,
//   perimeter,circumference,arc_length,area,radius,diameter,angle,points
//
// kind is the figure's kind number (0 calibration, 1 line, 6..13 as the figures number them),
// angle_mode the line's lock (0, 90, 45), unit 0 mm, 1 um, 2 mil, 3 inch. Numbers are the
// shortest decimal text of the double ("nan" for a value shown as "---"), empty for a value
// the figure does not show; edges are "v;v;...", points "x y;x y;..." in picture pixels.
// A picture without rows has no rows file.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "media/media_files.h"
#include "results/measurement_row.h"

namespace orvane::results {

// The file's text for the rows.
std::string RowsFileText(std::span<const MeasurementRow> rows);

// The rows of a rows file's text, numbered 1, 2, ... in file order. Columns are found by their
// keys (unknown ones are ignored, so later files with more columns still read). A record that
// does not parse whole (a missing or unknown kind, unit or number, a point that is no pair of
// integers, more than 1024 points or edges, a field count unlike the header's, the last record
// of a file cut short) is left out; a text without the header gives no rows.
std::vector<MeasurementRow> ParseRowsFile(std::string_view text);

// Largest rows file read, and most rows taken from it.
inline constexpr size_t kMaxRowsFileBytes = 16u << 20;
inline constexpr size_t kMaxRows = 100000;

// The rows of the picture's rows file; none when it is missing, unreadable or damaged.
std::vector<MeasurementRow> ReadRowsFile(std::u16string_view mediaPath, MediaFiles& files);

// What keeping the rows of a picture takes. The caller writes with MediaFiles and removes the
// file with the platform (a missing file is no error).
struct RowsFileUpdate {
    enum class Step {
        kWrite,   // write bytes to path
        kRemove,  // no rows: path must not exist
        kNone,    // the picture path names no rows file (not a capture, too long)
    };
    Step step = Step::kNone;
    std::u16string path;
    std::string bytes;
};
RowsFileUpdate PlanRowsFile(std::u16string_view mediaPath, std::span<const MeasurementRow> rows);

// Runs a kWrite update; true when it was written. Other steps write nothing and answer false.
bool WriteRowsFile(const RowsFileUpdate& update, MediaFiles& files);

}  // namespace orvane::results
