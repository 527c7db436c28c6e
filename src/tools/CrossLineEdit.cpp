#include "tools/CrossLineEdit.h"

#include <cmath>
#include <cstdio>

#include "tools/CrossLineDrawing.h"

namespace orvane {

std::string CrossLineLabel(std::size_t index)
{
    return index == 0 ? std::string("Master") : "Slave_" + std::to_string(index);
}

std::string TrimmedReal(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string result(text);
    if (result.find('.') != std::string::npos) {
        while (!result.empty() && result.back() == '0') {
            result.pop_back();
        }
        if (!result.empty() && result.back() == '.') {
            result.pop_back();
        }
    }
    return result == "-0" ? std::string("0") : result;
}

std::size_t AddCrossLine(std::vector<CrossLine>& lines, std::optional<std::size_t> colourFrom, int type, int size,
                         int draw)
{
    CrossLine line;
    line.Show = 1;
    line.Type = type;
    line.Color = colourFrom && *colourFrom < lines.size() ? lines[*colourFrom].Color : 0x00FF00;
    line.Size = size;
    line.Draw = draw;
    lines.push_back(line);
    return lines.size() - 1;
}

std::optional<std::size_t> RemoveCrossLine(std::vector<CrossLine>& lines, std::size_t index)
{
    if (index == 0 || index >= lines.size()) {
        return std::nullopt;
    }
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index));
    return index - 1;
}

CrossLineDistance DistanceBetween(const std::vector<CrossLine>& lines, std::size_t a, std::size_t b,
                                  PointD unitsPerPixel)
{
    const IntPoint pa = CrossLinePosition(lines, a);
    const IntPoint pb = CrossLinePosition(lines, b);
    CrossLineDistance distance;
    distance.dx = (double(pb.x) - pa.x) * unitsPerPixel.x;
    distance.dy = (double(pb.y) - pa.y) * unitsPerPixel.y;
    distance.xy = std::sqrt(distance.dx * distance.dx + distance.dy * distance.dy);
    return distance;
}

} // namespace orvane
