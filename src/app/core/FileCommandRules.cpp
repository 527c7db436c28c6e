#include "app/core/FileCommandRules.h"

#include <utility>

#include "files/ImageFiles.h"

namespace orvane {

FileDialogSetup ResultsSaveSetup(Language language, std::string defaultName)
{
    if (language == Language::Japanese) {
        return {"保存先指定",
                {{"CSVファイル(*.csv)", "*.csv"}, {"データファイル(*.mes)", "*.mes"}},
                "csv",
                std::move(defaultName)};
    }
    return {"Save as", {{"CSV File(*.csv)", "*.csv"}, {"Data File(*.mes)", "*.mes"}}, "csv", std::move(defaultName)};
}

FileDialogSetup ResultsOpenSetup(Language language)
{
    if (language == Language::Japanese) {
        return {"ファイルを開く", {{"データファイル(*.mes)", "*.mes"}}, {}, "MESファイル"};
    }
    return {"Open file", {{"Data File(*.mes)", "*.mes"}}, {}, "MES File"};
}

FileDialogSetup ImageSaveSetup(Language language, std::string defaultName)
{
    if (language == Language::Japanese) {
        return {"保存先指定",
                {{"ビットマップファイル(*.bmp)", "*.bmp"},
                 {"JPEGファイル（高画質）(*.jpg)", "*.jpg"},
                 {"JPEGファイル（中画質）(*.jpg)", "*.jpg"},
                 {"JPEGファイル（低画質）(*.jpg)", "*.jpg"}},
                "bmp",
                std::move(defaultName)};
    }
    return {"Save as",
            {{"Bitmap File(*.bmp)", "*.bmp"},
             {"Jpeg File(high)(*.jpg)", "*.jpg"},
             {"Jpeg File(medium)(*.jpg)", "*.jpg"},
             {"Jpeg File(low)(*.jpg)", "*.jpg"}},
            "bmp",
            std::move(defaultName)};
}

std::string ChosenFolder(const std::filesystem::path& chosen)
{
    return chosen.parent_path().string();
}

std::filesystem::path ResultsFilePath(const std::filesystem::path& chosen)
{
    return chosen.parent_path() / (chosen.stem().string() + ".mes");
}

std::filesystem::path ImageFilePath(const std::filesystem::path& chosen, int saveType)
{
    if (saveType >= kSaveTypeJpegHigh && saveType <= kSaveTypeJpegLow) {
        return chosen.parent_path() / (chosen.stem().string() + ".jpg");
    }
    return chosen;
}

std::string DroppedMeasurementsText(Language language, int loaded, int dropped)
{
    if (language == Language::Japanese) {
        return "ファイルが破損しています。" + std::to_string(loaded) + " 件の計測結果を読み込みました。" +
               std::to_string(dropped) + " 件は読み込めませんでした。";
    }
    return "The file is damaged. " + std::to_string(loaded) + " measurements were loaded, " + std::to_string(dropped) +
           " could not be read.";
}

std::string_view ResultsFileCaption(Language language)
{
    return language == Language::Japanese ? "計測結果" : "Results file";
}

} // namespace orvane
