#include "tools/FocusMeter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tools/MagnetSobel.h"

namespace orvane {

namespace {

// The single-precision circle test of the sharpness.
bool InsideCircle(int dx, int dy, int radius)
{
    return std::sqrt(static_cast<float>(dx * dx + dy * dy)) <= static_cast<float>(radius);
}

// The largest dx >= 0 inside the circle on row dy, or -1 when the row misses it.
int HalfChord(int dy, int radius)
{
    if (!InsideCircle(0, dy, radius)) {
        return -1;
    }
    const double squared = static_cast<double>(radius) * radius - static_cast<double>(dy) * dy;
    int dx = static_cast<int>(std::sqrt(std::max(squared, 0.0)));
    while (InsideCircle(dx + 1, dy, radius)) {
        ++dx;
    }
    while (dx > 0 && !InsideCircle(dx, dy, radius)) {
        --dx;
    }
    return dx;
}

void GreyOf(const FrameImage& frame, int pictureRow, int left, int width, std::uint16_t* grey)
{
    const int bytesPerPixel = frame.bytesPerPixel();
    const std::uint8_t* pixels = frame.Row(pictureRow) + static_cast<std::ptrdiff_t>(left) * bytesPerPixel;
    switch (bytesPerPixel) {
    case 1: sobel::GreyRow8(pixels, width, grey); break;
    case 2: sobel::GreyRow16(pixels, width, grey); break;
    default: sobel::GreyRow(pixels, bytesPerPixel, width, grey); break;
    }
}

} // namespace

int FocusFullScale(int scaleIndex)
{
    return kFocusFullScale[static_cast<std::size_t>(std::clamp(scaleIndex, 0, 9))];
}

int FocusSharpness(const FrameImage& frame, const RECT& area, std::vector<std::uint16_t>& grey)
{
    const int bytesPerPixel = frame.bytesPerPixel();
    if (frame.isEmpty() || bytesPerPixel < 1 || bytesPerPixel > 4) {
        return 0;
    }
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    // The block of grey rows read: the area cut to the frame.
    const int left = std::max(area.left, 0);
    const int top = std::max(area.top, 0);
    const int right = std::min(area.right, frame.width());
    const int bottom = std::min(area.bottom, frame.height());
    if (areaWidth < 3 || areaHeight < 3 || right - left < 3 || bottom - top < 3) {
        return 0;
    }
    const int blockWidth = right - left;
    grey.resize(static_cast<std::size_t>(blockWidth) * static_cast<std::size_t>(bottom - top));
    const auto greyRow = [&grey, blockWidth, top](int pictureRow) {
        return grey.data() + static_cast<std::ptrdiff_t>(pictureRow - top) * blockWidth;
    };
    for (int row = top; row < bottom; ++row) {
        GreyOf(frame, row, left, blockWidth, greyRow(row));
    }

    const int radius = areaWidth / 2;
    std::vector<float> magnitudes(static_cast<std::size_t>(blockWidth));
    double sum = 0.0;
    long long counted = 0;
    for (int i = 1; i <= areaHeight - 2; ++i) {
        const int row = area.top + i;
        if (row - 1 < top || row + 1 >= bottom) {
            continue;
        }
        const int halfChord = HalfChord(areaHeight / 2 - i, radius);
        if (halfChord < 0) {
            continue;
        }
        // Inner columns j with |W / 2 - j| <= halfChord, as picture columns inside the block's inner part.
        const int firstColumn = std::max(area.left + std::max(1, areaWidth / 2 - halfChord), left + 1);
        const int lastColumn = std::min(area.left + std::min(areaWidth - 2, areaWidth / 2 + halfChord), right - 2);
        if (lastColumn < firstColumn) {
            continue;
        }
        counted += sobel::MagnitudeRow(greyRow(row - 1), greyRow(row), greyRow(row + 1), firstColumn - left,
                                       lastColumn - left, magnitudes.data());
        // Several partial sums, so that the additions overlap.
        float partial[8] = {};
        const int n = lastColumn - firstColumn + 1;
        int k = 0;
        for (; k + 8 <= n; k += 8) {
            for (int lane = 0; lane < 8; ++lane) {
                partial[lane] += magnitudes[static_cast<std::size_t>(k + lane)];
            }
        }
        for (; k < n; ++k) {
            partial[0] += magnitudes[static_cast<std::size_t>(k)];
        }
        for (const float value : partial) {
            sum += value;
        }
    }
    return counted > 0 ? static_cast<int>(sum / static_cast<double>(counted)) : 0;
}

MeterBars MeterGeometry(int clientHeight, int comboHeight, int scaleIndex, int value, int peak)
{
    const int fullScale = FocusFullScale(scaleIndex);
    const int top = std::max(comboHeight, 0);
    const int usable = std::max(clientHeight - top, 0);
    const auto barTop = [&](int v) {
        const long long offset = static_cast<long long>(fullScale - v) * usable / fullScale;
        return top + static_cast<int>(std::clamp<long long>(offset, 0, usable));
    };
    return MeterBars{top, top + usable, barTop(peak), barTop(value)};
}

bool FocusLineRightPress(int& flag, int position, double imageY)
{
    if (flag != 1 || !(std::fabs(imageY - position) < kFocusLineGrab)) {
        return false;
    }
    flag = 2;
    return true;
}

bool FocusLineMove(int flag, int& position, int imageRow, bool insidePicture)
{
    if (flag != 2 || !insidePicture) {
        return false;
    }
    position = imageRow;
    return true;
}

void FocusLineRelease(int& flag)
{
    if (flag != 0) {
        flag = 1;
    }
}

bool NearFocusLine(int flag, int position, int viewY, const ViewTransform& transform)
{
    if (flag == 0) {
        return false;
    }
    const int lineY = TruncateToInt(transform.ToBackBuffer({0.0, static_cast<double>(position)}).y);
    return std::abs(viewY - lineY) < kFocusLineCursorPixels;
}

} // namespace orvane
