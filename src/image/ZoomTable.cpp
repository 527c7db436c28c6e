#include "image/ZoomTable.h"

#include <array>

namespace orvane {
namespace {

// Entry 0 is 1.0 as well: fit mode uses it when it clamps the pan. The entries
// are the doubles nearest to 1.0, 1.2 ... 5.0 (tenths divided by ten, as a
// table of literals holds them), not 1.0 + 0.2 * (i - 1) accumulated in binary:
// that gives 2.4000000000000004 and trunc(12 / f) = 4 where the view expects 5.
constexpr std::array<double, kZoomCount> MakeZoomTable()
{
    std::array<double, kZoomCount> table{};
    table[0] = 1.0;
    for (int i = 1; i < kZoomCount; ++i) {
        table[static_cast<std::size_t>(i)] = (10 + 2 * (i - 1)) / 10.0;
    }
    return table;
}

constexpr std::array<double, kZoomCount> kZoomTable = MakeZoomTable();

} // namespace

double ZoomFactor(int index)
{
    return IsValidZoomIndex(index) ? kZoomTable[static_cast<std::size_t>(index)] : 1.0;
}

std::string ZoomListText(int index, Language language)
{
    if (!IsValidZoomIndex(index)) {
        return {};
    }
    const bool japanese = language == Language::Japanese;
    if (index == kZoomFit) {
        return japanese ? "全画面表示" : "full-screen";
    }
    // Worked in tenths so that the text never shows a rounding error of the table.
    const int tenths = 10 + 2 * (index - 1);
    std::string number = std::to_string(tenths / 10);
    if (tenths % 10 != 0) {
        number += '.';
        number += static_cast<char>('0' + tenths % 10);
    }
    return japanese ? number + "倍" : "x" + number;
}

std::vector<std::string> ZoomListTexts(Language language)
{
    std::vector<std::string> texts;
    texts.reserve(kZoomCount);
    for (int i = 0; i < kZoomCount; ++i) {
        texts.push_back(ZoomListText(i, language));
    }
    return texts;
}

} // namespace orvane
