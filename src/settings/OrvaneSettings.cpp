#include "settings/OrvaneSettings.h"

#include <filesystem>

#include <system_error>

#include "platform/ProfileFile.h"
#include "settings/SettingsLog.h"
#include "settings/ValueForms.h"

namespace orvane {
namespace {

constexpr std::int64_t kDefaultFrame = 300;
constexpr std::size_t kSubTypeMaxChars = 63;

// Reads and writes of one section, with the value forms of the file: integers
// "%d" with the current value as default, reals "%f", texts with a length limit.
class SectionIo {
public:
    explicit SectionIo(std::string_view section) : m_section(section) {}

    void Read(const ProfileFile& profile, std::string_view key, int& value) const
    {
        value = profile.GetInt(m_section, key, value);
    }
    void Read(const ProfileFile& profile, std::string_view key, std::uint8_t& value) const
    {
        // A byte member keeps the low byte, as the platform's byte fields do.
        value = static_cast<std::uint8_t>(profile.GetInt(m_section, key, value));
    }
    void Read(const ProfileFile& profile, std::string_view key, COLORREF& value) const
    {
        value = static_cast<COLORREF>(profile.GetInt(m_section, key, static_cast<int>(value)));
    }
    void Read(const ProfileFile& profile, std::string_view key, double& value) const
    {
        value = profile.GetReal(m_section, key, value);
    }
    void ReadTruncated(const ProfileFile& profile, std::string_view key, std::int32_t& value) const
    {
        value = TruncateToInt(profile.GetReal(m_section, key, value));
    }
    void Read(const ProfileFile& profile, std::string_view key, std::string& value, std::size_t maxChars) const
    {
        value = profile.GetString(m_section, key, value, maxChars);
    }

    void Write(ProfileFile& profile, std::string_view key, int value) const { profile.WriteInt(m_section, key, value); }
    void Write(ProfileFile& profile, std::string_view key, std::uint8_t value) const
    {
        profile.WriteInt(m_section, key, value);
    }
    void Write(ProfileFile& profile, std::string_view key, COLORREF value) const
    {
        // "%d" of the colour as the signed 32-bit value it has always been.
        profile.WriteInt(m_section, key, static_cast<std::int32_t>(value));
    }
    void Write(ProfileFile& profile, std::string_view key, double value) const
    {
        profile.WriteReal(m_section, key, value);
    }
    void Write(ProfileFile& profile, std::string_view key, const std::string& value) const
    {
        profile.WriteString(m_section, key, value);
    }

    [[nodiscard]] std::string_view section() const { return m_section; }

private:
    std::string_view m_section;
};

const SectionIo kOrvane{kOrvaneSection};

void ReadWindowPlacement(const ProfileFile& profile, WindowPlacementSettings& w)
{
    kOrvane.Read(profile, "Window_Left", w.Window_Left);
    kOrvane.Read(profile, "Window_Right", w.Window_Right);
    kOrvane.Read(profile, "Window_Top", w.Window_Top);
    kOrvane.Read(profile, "Window_Bottom", w.Window_Bottom);
    kOrvane.Read(profile, "Window_Max", w.Window_Max);
}

void CreateFolder(const std::string& folder)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(folder), error);
    if (error) {
        kSettingsLog.Warning("cannot create folder " + folder + ": " + error.message());
    }
}

} // namespace

void LoadOrvaneSection(const ProfileFile& profile, OrvaneSettings& s)
{
    const SectionIo& io = kOrvane;
    io.Read(profile, "type", s.type);
    io.Read(profile, "resize", s.resize);

    LogFontSettings& font = s.color.font;
    io.Read(profile, "color.font.lfHeight", font.lfHeight);
    io.Read(profile, "color.font.lfWidth", font.lfWidth);
    io.Read(profile, "color.font.lfEscapement", font.lfEscapement);
    io.Read(profile, "color.font.lfOrientation", font.lfOrientation);
    io.Read(profile, "color.font.lfWeight", font.lfWeight);
    io.Read(profile, "color.font.lfItalic", font.lfItalic);
    io.Read(profile, "color.font.lfUnderline", font.lfUnderline);
    io.Read(profile, "color.font.lfStrikeOut", font.lfStrikeOut);
    io.Read(profile, "color.font.lfCharSet", font.lfCharSet);
    io.Read(profile, "color.font.lfOutPrecision", font.lfOutPrecision);
    io.Read(profile, "color.font.lfClipPrecision", font.lfClipPrecision);
    io.Read(profile, "color.font.lfQuality", font.lfQuality);
    io.Read(profile, "color.font.lfPitchAndFamily", font.lfPitchAndFamily);
    io.Read(profile, "color.font.lfFaceName", font.lfFaceName, kFaceNameMaxChars);

    ColorSettings& color = s.color;
    io.Read(profile, "color.text", color.text);
    io.Read(profile, "color.line", color.line);
    io.Read(profile, "color.linesize", color.linesize);
    io.Read(profile, "color.wave", color.wave);
    io.Read(profile, "color.wavesize", color.wavesize);
    io.Read(profile, "color.focusflg", color.focusflg);
    io.Read(profile, "color.focuspos", color.focuspos);
    io.Read(profile, "color.focusscale", color.focusscale);
    io.Read(profile, "color.gridflg", color.gridflg);
    io.Read(profile, "color.grid", color.grid);
    io.Read(profile, "color.gridsize", color.gridsize);
    io.Read(profile, "color.angle", color.angle);
    io.Read(profile, "color.anglebaseline", color.anglebaseline);
    io.Read(profile, "color.showangle", color.showangle);
    io.Read(profile, "color.CursorCrosshairs.ShowCenter", color.CursorCrosshairs.ShowCenter);
    io.Read(profile, "color.CursorCrosshairs.Color", color.CursorCrosshairs.Color);

    io.Read(profile, "width", s.width);
    io.Read(profile, "height", s.height);
    ReadFrameKey(profile, io.section(), "Frame", s.frameTime);
    io.Read(profile, "Device", s.Device);
    io.Read(profile, "m_FilterIndex", s.m_FilterIndex);
    io.Read(profile, "SmartTee", s.SmartTee);
    io.Read(profile, "ShowQX4Dlg", s.ShowQX4Dlg);
    s.SubType = ParseSubTypeText(profile.GetString(io.section(), "SubType", "", kSubTypeMaxChars), s.SubType);
    io.Read(profile, "m_WB_R", s.m_WB_R);
    io.Read(profile, "m_WB_G", s.m_WB_G);
    io.Read(profile, "m_WB_B", s.m_WB_B);
    io.Read(profile, "m_WB_Flg", s.m_WB_Flg);

    io.Read(profile, "m_Bai", s.m_Bai);
    io.Read(profile, "m_Bai_X", s.m_Bai_X);
    io.Read(profile, "m_Bai_Y", s.m_Bai_Y);

    ScaleDataSettings& scale = s.m_ScaleData;
    io.Read(profile, "m_ScaleData.Visible", scale.Visible);
    io.Read(profile, "m_ScaleData.Type", scale.Type);
    io.Read(profile, "m_ScaleData.Pos.x", scale.Pos.x);
    io.Read(profile, "m_ScaleData.Pos.y", scale.Pos.y);
    io.Read(profile, "m_ScaleData.Size.cx", scale.Size.cx);
    io.Read(profile, "m_ScaleData.Size.cy", scale.Size.cy);
    io.Read(profile, "m_ScaleData.Scale.x", scale.Scale.x);
    io.Read(profile, "m_ScaleData.Scalexy", scale.Scalexy);

    io.ReadTruncated(profile, "m_CalibSet.left", s.m_CalibSet.left);
    io.ReadTruncated(profile, "m_CalibSet.top", s.m_CalibSet.top);
    io.ReadTruncated(profile, "m_CalibSet.right", s.m_CalibSet.right);
    io.ReadTruncated(profile, "m_CalibSet.bottom", s.m_CalibSet.bottom);
    io.Read(profile, "AutoMinSize", s.AutoMinSize);
    io.Read(profile, "AutoMaxSize", s.AutoMaxSize);

    io.Read(profile, "savedir", s.savedir, kFolderMaxChars);
    io.Read(profile, "savedir2", s.savedir2, kFolderMaxChars);

    io.Read(profile, "FocusSelect", s.FocusSelect);
    io.Read(profile, "MagnetData.TH", s.MagnetData.TH);
    io.Read(profile, "MagnetData.Size", s.MagnetData.Size);
    io.Read(profile, "MagnetData.Show", s.MagnetData.Show);
    io.Read(profile, "MagnetData.Vector", s.MagnetData.Vector);

    ReadWindowPlacement(profile, s.window);
    io.Read(profile, "EnableAllTools", s.EnableAllTools);
}

void SaveOrvaneSection(ProfileFile& profile, const OrvaneSettings& s)
{
    const SectionIo& io = kOrvane;
    io.Write(profile, "type", s.type);
    io.Write(profile, "resize", s.resize);

    const LogFontSettings& font = s.color.font;
    io.Write(profile, "color.font.lfHeight", font.lfHeight);
    io.Write(profile, "color.font.lfWidth", font.lfWidth);
    io.Write(profile, "color.font.lfEscapement", font.lfEscapement);
    io.Write(profile, "color.font.lfOrientation", font.lfOrientation);
    io.Write(profile, "color.font.lfWeight", font.lfWeight);
    io.Write(profile, "color.font.lfItalic", font.lfItalic);
    io.Write(profile, "color.font.lfUnderline", font.lfUnderline);
    io.Write(profile, "color.font.lfStrikeOut", font.lfStrikeOut);
    io.Write(profile, "color.font.lfCharSet", font.lfCharSet);
    io.Write(profile, "color.font.lfOutPrecision", font.lfOutPrecision);
    io.Write(profile, "color.font.lfClipPrecision", font.lfClipPrecision);
    io.Write(profile, "color.font.lfQuality", font.lfQuality);
    io.Write(profile, "color.font.lfPitchAndFamily", font.lfPitchAndFamily);
    io.Write(profile, "color.font.lfFaceName", font.lfFaceName);

    const ColorSettings& color = s.color;
    io.Write(profile, "color.text", color.text);
    io.Write(profile, "color.line", color.line);
    io.Write(profile, "color.linesize", color.linesize);
    io.Write(profile, "color.wave", color.wave);
    io.Write(profile, "color.wavesize", color.wavesize);
    io.Write(profile, "color.focusflg", color.focusflg);
    io.Write(profile, "color.focuspos", color.focuspos);
    io.Write(profile, "color.focusscale", color.focusscale);
    io.Write(profile, "color.gridflg", color.gridflg);
    io.Write(profile, "color.grid", color.grid);
    io.Write(profile, "color.gridsize", color.gridsize);
    io.Write(profile, "color.angle", color.angle);
    io.Write(profile, "color.anglebaseline", color.anglebaseline);
    io.Write(profile, "color.showangle", color.showangle);
    io.Write(profile, "color.CursorCrosshairs.ShowCenter", color.CursorCrosshairs.ShowCenter);
    io.Write(profile, "color.CursorCrosshairs.Color", color.CursorCrosshairs.Color);

    io.Write(profile, "width", s.width);
    io.Write(profile, "height", s.height);
    WriteFrameKey(profile, io.section(), "Frame", s.frameTime, kDefaultFrame);
    io.Write(profile, "Device", s.Device);
    io.Write(profile, "SmartTee", s.SmartTee);
    io.Write(profile, "ShowQX4Dlg", s.ShowQX4Dlg);
    io.Write(profile, "SubType", FormatSubTypeText(s.SubType));
    io.Write(profile, "m_WB_R", s.m_WB_R);
    io.Write(profile, "m_WB_G", s.m_WB_G);
    io.Write(profile, "m_WB_B", s.m_WB_B);
    io.Write(profile, "m_WB_Flg", s.m_WB_Flg);
    io.Write(profile, "m_Bai", s.m_Bai);
    io.Write(profile, "m_Bai_X", s.m_Bai_X);
    io.Write(profile, "m_Bai_Y", s.m_Bai_Y);
    io.Write(profile, "savedir", s.savedir);
    io.Write(profile, "savedir2", s.savedir2);
    io.Write(profile, "m_FilterIndex", s.m_FilterIndex);

    const ScaleDataSettings& scale = s.m_ScaleData;
    io.Write(profile, "m_ScaleData.Visible", scale.Visible);
    io.Write(profile, "m_ScaleData.Type", scale.Type);
    io.Write(profile, "m_ScaleData.Pos.x", scale.Pos.x);
    io.Write(profile, "m_ScaleData.Pos.y", scale.Pos.y);
    io.Write(profile, "m_ScaleData.Size.cx", scale.Size.cx);
    io.Write(profile, "m_ScaleData.Size.cy", scale.Size.cy);
    io.Write(profile, "m_ScaleData.Scale.x", scale.Scale.x);
    io.Write(profile, "m_ScaleData.Scalexy", scale.Scalexy);

    io.Write(profile, "m_CalibSet.left", static_cast<double>(s.m_CalibSet.left));
    io.Write(profile, "m_CalibSet.top", static_cast<double>(s.m_CalibSet.top));
    io.Write(profile, "m_CalibSet.right", static_cast<double>(s.m_CalibSet.right));
    io.Write(profile, "m_CalibSet.bottom", static_cast<double>(s.m_CalibSet.bottom));
    io.Write(profile, "AutoMinSize", s.AutoMinSize);
    io.Write(profile, "AutoMaxSize", s.AutoMaxSize);
    io.Write(profile, "FocusSelect", s.FocusSelect);
    io.Write(profile, "MagnetData.TH", s.MagnetData.TH);
    io.Write(profile, "MagnetData.Size", s.MagnetData.Size);
    io.Write(profile, "MagnetData.Show", s.MagnetData.Show);
    io.Write(profile, "MagnetData.Vector", s.MagnetData.Vector);

    const WindowPlacementSettings& w = s.window;
    io.Write(profile, "Window_Max", w.Window_Max);
    io.Write(profile, "Window_Left", w.Window_Left);
    io.Write(profile, "Window_Right", w.Window_Right);
    io.Write(profile, "Window_Top", w.Window_Top);
    io.Write(profile, "Window_Bottom", w.Window_Bottom);

    io.Write(profile, "EnableAllTools", s.EnableAllTools);
}

void LoadWindowPlacement(const ProfileFile& profile, WindowPlacementSettings& placement)
{
    ReadWindowPlacement(profile, placement);
}

void ApplyDefaultFolders(OrvaneSettings& settings, std::string_view dataFolder)
{
    if (settings.savedir.empty()) {
        settings.savedir = std::string(dataFolder) + "bmp";
        CreateFolder(settings.savedir);
    }
    if (settings.savedir2.empty()) {
        settings.savedir2 = std::string(dataFolder) + "result";
        CreateFolder(settings.savedir2);
    }
}

} // namespace orvane
