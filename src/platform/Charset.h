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

// The character set those functions use ("UTF-8", "EUC-JP", ...): that of
// the program's LC_CTYPE when InitLocale set one, else that of the
// environment (LC_ALL, LC_CTYPE, LANG), so it is right even before InitLocale.
[[nodiscard]] std::string LocaleCharset();

// Conversion between two iconv character sets; characters the target cannot
// hold and invalid input become '?'. An unknown set gives the ASCII part of
// the text with every other byte as '?'.
[[nodiscard]] std::string ConvertCharset(std::string_view text, std::string_view fromCharset,
                                         std::string_view toCharset);

// Called once at the start of main(): takes the user's locale for character
// classification and messages, and keeps the C locale's numbers so that
// printf-style formatting of files always uses '.'. False when the
// environment names a locale that is not installed (the C locale stays).
bool InitLocale();

} // namespace orvane
