#include "files/CsvExport.h"

#include <optional>
#include <vector>

#include <system_error>

#include "files/FilesLog.h"
#include "platform/Charset.h"
#include "platform/FileIo.h"

namespace orvane {

std::string CsvText(std::span<const ResultListRow> rows, Language language)
{
    // A row stays far below the 1023 characters the format was written for:
    // the widest value text (-DBL_MAX with three decimals) has 314 characters.
    std::string text(language == Language::Japanese ? kCsvHeaderJapanese : kCsvHeaderEnglish);
    for (const ResultListRow& row : rows) {
        text += row.no;
        text += ',';
        text += row.type;
        text += ',';
        text += row.result;
        text += ',';
        text += row.unit;
        text += "\r\n";
    }
    return Utf8ToLocale(text);
}

int AppendCsvFile(const std::filesystem::path& path, std::span<const ResultListRow> rows, Language language)
{
    std::string contents;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (std::filesystem::exists(status)) {
        const std::optional<std::vector<std::uint8_t>> old = ReadWholeFile(path, kMaxCsvFileBytes);
        if (!old) {
            files::kLog.Warning("cannot append to " + path.string() + ": the existing file cannot be read");
            return 0;
        }
        contents.assign(old->begin(), old->end());
    } else if (status.type() != std::filesystem::file_type::not_found) {
        files::kLog.Warning("cannot append to " + path.string() + ": " + error.message());
        return 0;
    }
    contents += CsvText(rows, language);
    return WriteFileAtomically(path, contents) ? 1 : 0;
}

} // namespace orvane
