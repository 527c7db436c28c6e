#include "app/core/FileMessages.h"

namespace orvane {
namespace {

bool Japanese(Language language)
{
    return language == Language::Japanese;
}

} // namespace

std::string_view SaveCaption(Language language)
{
    return Japanese(language) ? "保存" : "Save";
}

std::string SaveFailedText(Language language, const std::filesystem::path& path, std::string_view reason)
{
    const std::string why(reason.empty() ? (Japanese(language) ? "書き込めませんでした" : "it could not be written")
                                         : reason);
    if (Japanese(language)) {
        return "ファイルを保存できませんでした。\n" + path.string() + "\n(" + why + ")";
    }
    return "The file was not saved.\n" + path.string() + "\n(" + why + ")";
}

std::string_view NothingToSaveText(Language language)
{
    return Japanese(language) ? "保存する計測結果がありません。" : "There are no measurements to save.";
}

std::string SavedNoteText(Language language, const std::filesystem::path& path)
{
    return (Japanese(language) ? "保存しました: " : "Saved ") + path.filename().string();
}

std::string_view DiscardMeasurementsQuestion(Language language)
{
    return Japanese(language) ? "保存していない計測結果があります。破棄して計測結果を読み込みますか？"
                              : "The measurements have not been saved. Discard them and load a results file?";
}

std::string ResultsNotLoadedText(Language language, const std::filesystem::path& path, bool readable)
{
    if (Japanese(language)) {
        return (readable ? "計測結果ファイルではないか、計測結果が含まれていません。\n"
                         : "ファイルを読み込めませんでした。\n") +
               path.string();
    }
    return (readable ? "This is not a results file, or it holds no measurements.\n" : "The file could not be read.\n") +
           path.string();
}

std::string_view OpenPictureCaption(Language language)
{
    return Japanese(language) ? "画像を開く" : "Open picture";
}

std::string PictureUnreadableText(Language language, const std::filesystem::path& path)
{
    if (Japanese(language)) {
        return "画像を読み込めませんでした。\n" + path.string();
    }
    return "The picture could not be read.\n" + path.string();
}

std::string PictureIncompleteText(Language language, const std::filesystem::path& path)
{
    if (Japanese(language)) {
        return "画像ファイルが途中で終わっています。読み込めた部分を表示します。\n" + path.string();
    }
    return "The picture file ends early; the part that could be read is shown.\n" + path.string();
}

} // namespace orvane
