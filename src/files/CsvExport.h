#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "measure/ResultList.h"
#include "platform/StringTable.h"

// CSV export of the results list, for other programs (never read back).
namespace orvane {

inline constexpr std::string_view kCsvHeaderEnglish = "No.,Type,Result,Unit\r\n";
inline constexpr std::string_view kCsvHeaderJapanese = "No.,計測内容,測定値,単位\r\n";

// An existing CSV file larger than this is not appended to.
inline constexpr std::size_t kMaxCsvFileBytes = std::size_t{256} << 20;

// The header line of the language, then one "%s,%s,%s,%s\r\n" line per row
// with its columns "No.", "Type", "Result" and "Unit" (no quoting), converted
// from UTF-8 to the locale's character set.
[[nodiscard]] std::string CsvText(std::span<const ResultListRow> rows, Language language);

// Appends CsvText to `path`, created when missing: an existing file keeps its
// contents and receives a further header and the rows at its end. The old
// contents and the new text are written together through a temporary file
// renamed into place, so a failure at any point leaves the file as it was.
// 1 when written; 0 when an existing file cannot be read (or is larger than
// kMaxCsvFileBytes) or the new one cannot be written.
int AppendCsvFile(const std::filesystem::path& path, std::span<const ResultListRow> rows, Language language);

} // namespace orvane
