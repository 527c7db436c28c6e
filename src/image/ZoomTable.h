#pragma once

#include <string>
#include <vector>

#include "platform/StringTable.h"

namespace orvane {

// The display magnifications offered by the zoom list: index 0 fits the picture
// to the free space, indices 1..21 magnify by 1.0, 1.2 ... 5.0.
inline constexpr int kZoomCount = 22;
inline constexpr int kZoomFit = 0;
inline constexpr int kZoomDefault = 1; // "x1"

// True for an index the zoom list holds (0..21).
[[nodiscard]] constexpr bool IsValidZoomIndex(int index)
{
    return index >= 0 && index < kZoomCount;
}

// Zoom index i -> magnification f(i) = 1.0 + 0.2 * (i - 1) for i >= 1; f(0) = 1.0
// (fit mode clamps the pan with it). Indices outside 0..21 give 1.0.
[[nodiscard]] double ZoomFactor(int index);

// Zoom index -> its list text: 0 "full-screen", i "x" + f(i) with one decimal
// unless whole ("x1", "x1.2" ... "x5"); in Japanese "全画面表示", "1倍", "1.2倍" ... "5倍".
// Empty for an index outside 0..21.
[[nodiscard]] std::string ZoomListText(int index, Language language);

// The 22 entries of the zoom list, in list order.
[[nodiscard]] std::vector<std::string> ZoomListTexts(Language language);

} // namespace orvane
