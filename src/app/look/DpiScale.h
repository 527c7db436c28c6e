#pragma once

class QWidget;

namespace orvane {

// a × b ÷ c computed in 64 bits and rounded to the nearest integer, halves
// away from zero (Windows' MulDiv); -1 when c is 0 or the result does not fit.
[[nodiscard]] int MulDiv(int a, int b, int c);

// Turns the window's 96-dpi layout values into screen pixels. The dots per
// inch are read once (ForWidget) and then kept, as the window caches them.
class DpiScale {
public:
    DpiScale() = default; // 96 × 96: values pass unchanged
    DpiScale(int dpiX, int dpiY);

    // The widget's logical dots per inch. Under Qt 6 the device pixel ratio
    // already absorbs most of a dense screen, so this is usually 96.
    [[nodiscard]] static DpiScale ForWidget(const QWidget& widget);

    // n × dpi ÷ 96, rounded as MulDiv rounds.
    [[nodiscard]] int DpiScaleX(int n) const { return MulDiv(n, m_dpiX, 96); }
    [[nodiscard]] int DpiScaleY(int n) const { return MulDiv(n, m_dpiY, 96); }

    [[nodiscard]] int dpiX() const { return m_dpiX; }
    [[nodiscard]] int dpiY() const { return m_dpiY; }

    friend bool operator==(const DpiScale&, const DpiScale&) = default;

private:
    int m_dpiX = 96;
    int m_dpiY = 96;
};

} // namespace orvane
