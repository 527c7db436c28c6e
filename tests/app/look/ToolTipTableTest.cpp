#include "app/look/ToolTipTable.h"

#include <array>
#include <set>

#include <gtest/gtest.h>

namespace orvane {
namespace {

struct Expected {
    int controlId;
    const char* text;
};

// The tooltips as the window shows them, string 200 first.
constexpr std::array<Expected, 21> kExpected{{
    {1130, "カメラ映像の表示／非表示を切り替えます"},
    {1087, "現在の映像を画像として保存します"},
    {1088, "保存先のフォルダを設定します"},
    {1132, "カメラの設定をします"},
    {1131, "画像保存の際計測ラインを表示した状態で保存します"},
    {1133, "サムネイル画面を表示します"},
    {1122, "ホワイトバランスを自動調節します"},
    {1099, "表示倍率を変更します"},
    {1019, "２点間の距離を測ります"},
    {1113, "指定した多角形の面積を測ります"},
    {1114, "円の直径を計ります"},
    {1115, "円の直径と２円間の距離を測ります"},
    {1120, "垂線の距離を測ります"},
    {1121, "角度を測ります"},
    {1119, "測定項目を削除します"},
    {1116, "計測結果を読み込みます"},
    {1117, "計測線などの色を設定します"},
    {1127, "計測結果を保存します"},
    {1124, "校正値を設定します"},
    {1125, "校正値を選択します"},
    {1118, "計測結果を表示します"},
}};

TEST(ToolTipTableTest, HoldsTheTwentyOneTextsExactly)
{
    const std::span<const ToolTipEntry> table = ToolTipTable();
    ASSERT_EQ(table.size(), kExpected.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(table[i].stringId, 200 + static_cast<int>(i));
        EXPECT_EQ(table[i].controlId, kExpected[i].controlId);
        EXPECT_EQ(table[i].text, kExpected[i].text);
    }
}

TEST(ToolTipTableTest, OneTipPerControl)
{
    std::set<int> controls;
    for (const ToolTipEntry& entry : ToolTipTable()) {
        EXPECT_TRUE(controls.insert(entry.controlId).second) << entry.controlId;
    }
}

} // namespace
} // namespace orvane
