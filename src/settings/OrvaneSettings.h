#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "image/BitmapTypes.h"
#include "settings/Guid.h"

namespace orvane {

class ProfileFile;

// The product section of the settings file.
inline constexpr std::string_view kOrvaneSection = "Orvane";

// Member names mirror the keys ("color.font.lfHeight" is color.font.lfHeight,
// "m_ScaleData.Pos.x" is m_ScaleData.Pos.x), so the dialogs bind to the same
// names the file uses. A default-constructed value holds every key's default.

// The font of measurement texts, kept as the fields of the platform font record.
struct LogFontSettings {
    std::int32_t lfHeight = -21; // < 0: pixel size
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 128; // Shift-JIS
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    std::string lfFaceName = "ＭＳ Ｐゴシック"; // at most kFaceNameMaxChars characters

    friend bool operator==(const LogFontSettings&, const LogFontSettings&) = default;
};

inline constexpr std::size_t kFaceNameMaxChars = 31;
inline constexpr std::size_t kFolderMaxChars = 259;

struct CursorCrosshairsSettings {
    int ShowCenter = 0;
    COLORREF Color = RGB(255, 255, 255);

    friend bool operator==(const CursorCrosshairsSettings&, const CursorCrosshairsSettings&) = default;
};

// Colours, pens, grid, focus line and angle options ("color.*").
struct ColorSettings {
    LogFontSettings font;
    COLORREF text = RGB(0, 255, 255);
    COLORREF line = RGB(0, 255, 0);
    int linesize = 1;
    COLORREF wave = RGB(255, 128, 128);
    int wavesize = 1;
    int focusflg = 0;
    int focuspos = 240; // half the initial capture height of 480
    int focusscale = 0;
    int gridflg = 0;
    COLORREF grid = RGB(128, 128, 255);
    int gridsize = 100;
    int angle = 45;
    int anglebaseline = 0;
    int showangle = 1;
    CursorCrosshairsSettings CursorCrosshairs;

    friend bool operator==(const ColorSettings&, const ColorSettings&) = default;
};

// The scale bar ("m_ScaleData.*").
struct ScaleDataSettings {
    struct Point {
        int x = 0;
        int y = 0;
        friend bool operator==(const Point&, const Point&) = default;
    };
    struct Extent {
        int cx = 0;
        int cy = 0;
        friend bool operator==(const Extent&, const Extent&) = default;
    };
    struct RealX {
        double x = 0.0;
        friend bool operator==(const RealX&, const RealX&) = default;
    };

    int Visible = 0;
    int Type = 0;        // 0 X bar, 1 X-Y bar
    Point Pos{590, 430}; // initial capture size 640 x 480 less 50
    Extent Size{10, 10}; // in the calibration unit
    RealX Scale{10.0};
    double Scalexy = 10.0;

    friend bool operator==(const ScaleDataSettings&, const ScaleDataSettings&) = default;
};

// The magnet ("MagnetData.*").
struct MagnetDataSettings {
    int TH = 128;
    int Size = 10;
    int Show = 0;
    int Vector = 0; // 0 edge, 1 white edges, 2 black edges, 3 binary

    friend bool operator==(const MagnetDataSettings&, const MagnetDataSettings&) = default;
};

// The main window's normal-position rectangle and maximised state. The
// rectangle has no fixed default: the caller puts the window's current
// rectangle here before reading, so missing keys keep it.
struct WindowPlacementSettings {
    int Window_Left = 0;
    int Window_Right = 0;
    int Window_Top = 0;
    int Window_Bottom = 0;
    int Window_Max = 0;

    friend bool operator==(const WindowPlacementSettings&, const WindowPlacementSettings&) = default;
};

// Every key of section "Orvane".
struct OrvaneSettings {
    int type = 1;   // kept and written back only
    int resize = 3; // kept and written back only
    ColorSettings color;
    int width = 1280; // capture size until a camera section is read
    int height = 1024;
    std::int64_t frameTime = 333333; // "Frame" 300 (30.0 frames per second), in 100-ns units
    int Device = -1;                 // -1: choose the camera by priority
    int m_FilterIndex = 1;           // save type 1..4
    int SmartTee = 0;
    int ShowQX4Dlg = 0;
    Guid SubType = kKeepSubtype;
    int m_WB_R = 0;
    int m_WB_G = 0;
    int m_WB_B = 0;
    int m_WB_Flg = 0;
    int m_Bai = 1; // zoom list index: 0 fit, 1 "x1" ... 21 "x5"
    double m_Bai_X = 0.0;
    double m_Bai_Y = 0.0;
    ScaleDataSettings m_ScaleData;
    RECT m_CalibSet{10, 10, 630, 470}; // stored as reals, held as whole pixels
    int AutoMinSize = 6;
    int AutoMaxSize = 200;
    std::string savedir;  // image folder; empty until ApplyDefaultFolders
    std::string savedir2; // results folder; empty until ApplyDefaultFolders
    int FocusSelect = 0;
    MagnetDataSettings MagnetData;
    WindowPlacementSettings window;
    int EnableAllTools = 1; // 0 keeps the shipped product's restricted set of tools

    friend bool operator==(const OrvaneSettings&, const OrvaneSettings&) = default;
};

// Reads section "Orvane". A missing key keeps the value `settings` holds (the
// defaults, or the window rectangle the caller put there); values are taken as
// they stand, without clamping. "Frame" becomes the frame time 100000000 /
// Frame; a "Frame" of 0 or less keeps the frame time. The "m_CalibSet" reals
// are truncated toward zero.
void LoadOrvaneSection(const ProfileFile& profile, OrvaneSettings& settings);

// Writes every key of section "Orvane" in the order the file has always had,
// so one save leaves the whole key set in the file. "Frame" is 100000000 /
// frameTime (300 when the frame time is 0 or less).
void SaveOrvaneSection(ProfileFile& profile, const OrvaneSettings& settings);

// Reads only the window placement keys (the window reads them when it is first
// shown); missing keys keep the values in `placement`.
void LoadWindowPlacement(const ProfileFile& profile, WindowPlacementSettings& placement);

// Fills an empty "savedir" with dataFolder + "bmp" and an empty "savedir2" with
// dataFolder + "result" (joined as text: the data folder brings its own
// separator, or none) and creates each folder so filled. Creation failures are logged
// and otherwise ignored.
void ApplyDefaultFolders(OrvaneSettings& settings, std::string_view dataFolder);

} // namespace orvane
