#pragma once
// Comma-separated text as RFC 4180 has it: fields holding a comma, a quote, CR or LF are
// quoted with their quotes doubled, records end with CRLF.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::results {

inline constexpr std::string_view kCrLf = "\r\n";
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The field as it is written between separators.
std::string CsvField(std::string_view field);
// The fields joined by commas, then CRLF.
std::string CsvRecordText(const std::vector<std::string>& fields);

struct CsvRecord {
    std::vector<std::string> fields;
    // False for the last record of a text that stops without a line end (or inside a quoted
    // field): a file cut short.
    bool terminated = true;
};

// Reads records ended by CRLF, LF or CR; quoted fields may hold separators, line ends and
// doubled quotes. Leniently, a quote inside an unquoted field is kept as a character and text
// after a closing quote is added to the field. Stops after maxRecords records. A leading UTF-8
// byte-order mark is skipped.
std::vector<CsvRecord> ParseCsv(std::string_view text, size_t maxRecords);

}  // namespace orvane::results
