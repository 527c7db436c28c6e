#include "platform/Charset.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include "platform/Log.h"

namespace orvane {
namespace {

inline constexpr log::Logger kLog{"orvane.platform"};

bool IsUtf8Name(std::string_view name)
{
    return name == "UTF-8" || name == "utf-8" || name == "UTF8" || name == "utf8";
}

// The C and POSIX locales report plain ASCII; texts there are taken as UTF-8
// so that Japanese names survive.
std::string Effective(const char* codeset)
{
    if (codeset == nullptr || codeset[0] == '\0' || std::strcmp(codeset, "ANSI_X3.4-1968") == 0 ||
        std::strcmp(codeset, "ASCII") == 0 || std::strcmp(codeset, "US-ASCII") == 0) {
        return "UTF-8";
    }
    return codeset;
}

// Length of the valid UTF-8 sequence at the start of `text`, 0 when invalid
// (overlong forms, surrogates and values past U+10FFFF are invalid).
std::size_t Utf8SequenceLength(std::string_view text)
{
    const auto lead = static_cast<std::uint8_t>(text[0]);
    std::size_t length = 0;
    std::uint32_t codePoint = 0;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<std::uint8_t>(text[i]);
        if ((byte & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    const bool overlong = (length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000);
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (overlong || surrogate || codePoint > 0x10FFFF) {
        return 0;
    }
    return length;
}

std::string SanitizeUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            out += '?';
            text.remove_prefix(1);
        } else {
            out.append(text.substr(0, length));
            text.remove_prefix(length);
        }
    }
    return out;
}

std::string AsciiOnly(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            c = '?';
        }
    }
    return out;
}

class IconvHandle {
public:
    IconvHandle(const std::string& from, const std::string& to) : m_handle(::iconv_open(to.c_str(), from.c_str())) {}
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    ~IconvHandle()
    {
        if (valid()) {
            ::iconv_close(m_handle);
        }
    }
    [[nodiscard]] bool valid() const { return m_handle != reinterpret_cast<iconv_t>(-1); }
    [[nodiscard]] iconv_t get() const { return m_handle; }

private:
    iconv_t m_handle;
};

std::string EnvironmentCharset()
{
    const locale_t environment = ::newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (environment == static_cast<locale_t>(nullptr)) {
        return Effective(nullptr);
    }
    std::string codeset = Effective(::nl_langinfo_l(CODESET, environment));
    ::freelocale(environment);
    return codeset;
}

} // namespace

std::string LocaleCharset()
{
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    if (current != nullptr && std::strcmp(current, "C") != 0 && std::strcmp(current, "POSIX") != 0) {
        return Effective(::nl_langinfo(CODESET));
    }
    return EnvironmentCharset();
}

std::string ConvertCharset(std::string_view text, std::string_view fromCharset, std::string_view toCharset)
{
    const std::string from(fromCharset);
    const std::string to(toCharset);
    if (IsUtf8Name(from) && IsUtf8Name(to)) {
        return SanitizeUtf8(text);
    }
    IconvHandle converter(from, to);
    if (!converter.valid()) {
        kLog.Warning("no conversion from " + from + " to " + to);
        return AsciiOnly(text);
    }
    const bool utf8Source = IsUtf8Name(from);
    std::string out(text.size() * 2 + 16, '\0');
    std::size_t written = 0;
    auto grow = [&out] { out.resize(out.size() * 2); };
    char* input = const_cast<char*>(text.data()); // iconv takes char** but does not write through it
    std::size_t inputLeft = text.size();
    while (inputLeft > 0) {
        char* output = out.data() + written;
        std::size_t outputLeft = out.size() - written;
        const std::size_t result = ::iconv(converter.get(), &input, &inputLeft, &output, &outputLeft);
        const int error = errno;
        written = out.size() - outputLeft;
        if (result != static_cast<std::size_t>(-1)) {
            continue;
        }
        if (error == E2BIG) {
            grow();
            continue;
        }
        // Invalid or unconvertible input: one '?' for the character (for one
        // byte when the source's character length is unknown), then go on.
        if (written == out.size()) {
            grow();
        }
        out[written++] = '?';
        std::size_t skip = 1;
        if (error == EINVAL) {
            skip = inputLeft; // a sequence cut off at the end
        } else if (utf8Source) {
            skip = std::max<std::size_t>(1, Utf8SequenceLength(std::string_view(input, inputLeft)));
        }
        input += skip;
        inputLeft -= skip;
    }
    // Ends a stateful target (ISO-2022-JP) in its initial shift state.
    for (;;) {
        char* output = out.data() + written;
        std::size_t outputLeft = out.size() - written;
        const std::size_t result = ::iconv(converter.get(), nullptr, nullptr, &output, &outputLeft);
        const int error = errno;
        written = out.size() - outputLeft;
        if (result == static_cast<std::size_t>(-1) && error == E2BIG) {
            grow();
            continue;
        }
        break;
    }
    out.resize(written);
    return out;
}

std::string Utf8ToLocale(std::string_view utf8)
{
    return ConvertCharset(utf8, "UTF-8", LocaleCharset());
}

std::string LocaleToUtf8(std::string_view text)
{
    return ConvertCharset(text, LocaleCharset(), "UTF-8");
}

bool InitLocale()
{
    const bool accepted = std::setlocale(LC_ALL, "") != nullptr;
    if (!accepted) {
        kLog.Warning("the locale named by the environment is not installed; using the C locale");
    }
    std::setlocale(LC_NUMERIC, "C");
    return accepted;
}

} // namespace orvane
