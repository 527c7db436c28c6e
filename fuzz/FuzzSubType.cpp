#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "settings/Guid.h"

// The "SubType" text: any text reads as some GUID, whose text form reads back
// as the same GUID and has 32 uppercase hexadecimal digits.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const orvane::Guid read = orvane::ParseSubTypeText(text, orvane::kKeepSubtype);
    const std::string written = orvane::FormatSubTypeText(read);
    if (written.size() != 32 || written.find_first_not_of("0123456789ABCDEF") != std::string::npos) {
        orvane::fuzz::Fail("SubType text is not 32 uppercase hexadecimal digits");
    }
    if (orvane::ParseSubTypeText(written, orvane::Guid{}) != read) {
        orvane::fuzz::Fail("SubType text does not read back as the same GUID");
    }
    return 0;
}
