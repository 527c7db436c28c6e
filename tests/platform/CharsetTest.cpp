#include "platform/Charset.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace orvane {
namespace {

// Sets LC_ALL for the duration of a test; the process locale stays "C", so
// the functions read the environment as a program would before InitLocale.
class ScopedLcAll {
public:
    explicit ScopedLcAll(const char* value)
    {
        if (const char* old = std::getenv("LC_ALL")) {
            m_old = old;
        }
        ::setenv("LC_ALL", value, 1);
    }
    ScopedLcAll(const ScopedLcAll&) = delete;
    ScopedLcAll& operator=(const ScopedLcAll&) = delete;
    ~ScopedLcAll()
    {
        if (m_old) {
            ::setenv("LC_ALL", m_old->c_str(), 1);
        } else {
            ::unsetenv("LC_ALL");
        }
    }

private:
    std::optional<std::string> m_old;
};

bool LocaleInstalled(const char* name)
{
    const locale_t locale = ::newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        return false;
    }
    ::freelocale(locale);
    return true;
}

const std::string kJapanese = "計測データ_ＭＳ Ｐゴシック.csv";

TEST(Charset, CAndPosixLocalesUseUtf8)
{
    for (const char* name : {"C", "POSIX"}) {
        ScopedLcAll locale(name);
        EXPECT_EQ(LocaleCharset(), "UTF-8") << name;
        EXPECT_EQ(Utf8ToLocale(kJapanese), kJapanese) << name;
        EXPECT_EQ(LocaleToUtf8(kJapanese), kJapanese) << name;
    }
}

TEST(Charset, Utf8LocaleRoundTrip)
{
    ScopedLcAll locale("C.UTF-8");
    EXPECT_EQ(LocaleCharset(), "UTF-8");
    EXPECT_EQ(LocaleToUtf8(Utf8ToLocale(kJapanese)), kJapanese);
}

TEST(Charset, EucJpLocaleRoundTrip)
{
    if (!LocaleInstalled("ja_JP.EUC-JP")) {
        GTEST_SKIP() << "locale ja_JP.EUC-JP is not installed";
    }
    ScopedLcAll locale("ja_JP.EUC-JP");
    EXPECT_EQ(LocaleCharset(), "EUC-JP");
    const std::string local = Utf8ToLocale("計測");
    EXPECT_EQ(local, "\xB7\xD7\xC2\xAC");
    EXPECT_EQ(LocaleToUtf8(local), "計測");
}

TEST(Charset, ProgramLocaleIsUsedAfterSetlocale)
{
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) {
        GTEST_SKIP() << "C.UTF-8 is not installed";
    }
    const std::string charset = LocaleCharset();
    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(charset, "UTF-8");
}

TEST(Charset, ConvertsJapaneseBetweenSets)
{
    EXPECT_EQ(ConvertCharset("計測", "UTF-8", "EUC-JP"), "\xB7\xD7\xC2\xAC");
    EXPECT_EQ(ConvertCharset("計測", "UTF-8", "CP932"), "\x8C\x76\x91\xAA");
    EXPECT_EQ(ConvertCharset("\x8C\x76\x91\xAA", "CP932", "UTF-8"), "計測");
    EXPECT_EQ(ConvertCharset(ConvertCharset(kJapanese, "UTF-8", "EUC-JP"), "EUC-JP", "UTF-8"), kJapanese);
}

TEST(Charset, UnconvertibleCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(ConvertCharset("a計b\U0001F600c", "UTF-8", "ISO-8859-1"), "a?b?c");
    EXPECT_EQ(ConvertCharset("é", "UTF-8", "ISO-8859-1"), "\xE9");
}

TEST(Charset, InvalidInputNeverBreaksConversion)
{
    // Stray continuation byte, truncated sequence at the end, overlong form, surrogate.
    EXPECT_EQ(ConvertCharset("a\x80z", "UTF-8", "EUC-JP"), "a?z");
    EXPECT_EQ(ConvertCharset("ab\xE8\xA8", "UTF-8", "EUC-JP"), "ab?");
    EXPECT_EQ(ConvertCharset("\xC0\xAFx", "UTF-8", "UTF-8"), "??x");
    EXPECT_EQ(ConvertCharset("\xED\xA0\x80x", "UTF-8", "UTF-8"), "???x");
    EXPECT_EQ(ConvertCharset("ok\xFF", "EUC-JP", "UTF-8"), "ok?");
    EXPECT_EQ(ConvertCharset("", "UTF-8", "EUC-JP"), "");
}

TEST(Charset, UnknownSetKeepsAsciiOnly)
{
    EXPECT_EQ(ConvertCharset("ab計", "UTF-8", "NO-SUCH-CHARSET"), "ab???");
}

TEST(Charset, StatefulTargetEndsInInitialState)
{
    // ISO-2022-JP must switch back to ASCII at the end of the text.
    const std::string encoded = ConvertCharset("計", "UTF-8", "ISO-2022-JP");
    EXPECT_EQ(encoded, "\x1B$B7W\x1B(B");
    EXPECT_EQ(ConvertCharset(encoded, "ISO-2022-JP", "UTF-8"), "計");
}

TEST(Charset, LongTextGrowsOutput)
{
    std::string text;
    for (int i = 0; i < 2000; ++i) {
        text += "計";
    }
    const std::string converted = ConvertCharset(text, "UTF-8", "UTF-16LE");
    EXPECT_EQ(converted.size(), 4000u);
    EXPECT_EQ(ConvertCharset(converted, "UTF-16LE", "UTF-8"), text);
}

} // namespace
} // namespace orvane
