#include "results/csv.h"

namespace orvane::results {

std::string CsvField(std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(field);
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string CsvRecordText(const std::vector<std::string>& fields) {
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        out += CsvField(fields[i]);
    }
    out += kCrLf;
    return out;
}

std::vector<CsvRecord> ParseCsv(std::string_view text, size_t maxRecords) {
    if (text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
        text.remove_prefix(kUtf8ByteOrderMark.size());
    }
    std::vector<CsvRecord> records;
    CsvRecord record;
    std::string field;
    bool quoted = false;    // inside a quoted part
    bool anything = false;  // the current record has begun
    size_t i = 0;
    auto endRecord = [&](bool terminated) {
        record.fields.push_back(std::move(field));
        field.clear();
        record.terminated = terminated;
        records.push_back(std::move(record));
        record = CsvRecord{};
        anything = false;
    };
    while (i < text.size() && records.size() < maxRecords) {
        const char c = text[i++];
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (i < text.size() && text[i] == '"') {
                field += '"';
                ++i;
            } else {
                quoted = false;
            }
            continue;
        }
        anything = true;
        if (c == '"' && field.empty()) {
            quoted = true;
        } else if (c == ',') {
            record.fields.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i < text.size() && text[i] == '\n') ++i;
            endRecord(true);
        } else {
            field += c;
        }
    }
    if ((anything || quoted) && records.size() < maxRecords) endRecord(false);
    return records;
}

}  // namespace orvane::results
