#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Texts inside the program are UTF-8. Files that the reference platform wrote
// in the "ANSI code page" (CSV exports, names in the thumbnail index) use the
// locale's character set (nl_langinfo(CODESET)) through iconv; under the C or
// POSIX locale UTF-8, so Japanese texts are never lost. Characters that the
// target set cannot hold become '?'.
[[nodiscard]] std::string Utf8ToLocale(std::string_view utf8);
[[nodiscard]] std::string LocaleToUtf8(std::string_view text);

// The character set those functions use ("UTF-8", "EUC-JP", ...).
[[nodiscard]] std::string LocaleCharset();

}  // namespace orvane
