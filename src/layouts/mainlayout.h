#pragma once

#include "layoutdata.h"

#include <array>

// The main window's arrangement: client area, controls, decorative lines and both menus.
namespace MainLayout {

inline constexpr int ClientWidth = 4935;
inline constexpr int ClientHeight = 2655;

inline constexpr TwipsRect Chk1 {240, 360, 1770, 240};
inline constexpr TwipsRect Scr1 {2040, 360, 2625, 225};
inline constexpr TwipsRect TxtDisp {240, 960, 4455, 630};
inline constexpr TwipsRect Com1 {240, 1680, 4455, 735};
inline constexpr TwipsRect Shp1 {2025, 345, 2655, 255};

inline constexpr std::array<PanelLine, 4> Line1 {{
    {0, 0, 4950, 0, ColourRole::ButtonShadow},
    {0, 15, 4950, 15, ColourRole::Highlight3D},
    {240, 825, 4680, 825, ColourRole::ButtonShadow},
    {255, 840, 4680, 840, ColourRole::Highlight3D, 2},
}};

inline constexpr std::array<PanelLine, 6> Line2 {{
    {120, 120, 4800, 120, ColourRole::Highlight3D},
    {120, 120, 120, 2520, ColourRole::Highlight3D},
    {120, 2520, 4800, 2520, ColourRole::DarkShadow3D},
    {4800, 120, 4800, 2535, ColourRole::DarkShadow3D},
    {135, 2505, 4800, 2505, ColourRole::ButtonShadow},
    {4785, 135, 4785, 2520, ColourRole::ButtonShadow},
}};

inline constexpr int Scr1Minimum = 0;
inline constexpr int Scr1Maximum = 15;
inline constexpr int Scr1SmallChange = 1;
inline constexpr int Scr1LargeChange = 2;
inline constexpr int Timer1IntervalMs = 100;

inline constexpr const char16_t *MSysCaption = u"システム(&S)";
inline constexpr const char16_t *MToolCaption = u"ツール(&T)";
inline constexpr const char16_t *MHelpCaption = u"ヘルプ(&H)";

// Indexes of the system menu's items that other code names.
enum SysItem {
    ThemeFirst = 0,
    ThemeLast = 4,
    CentreOnScreen = 6,
    RecordLog = 7,
    OpenLog = 9,
    DeleteLog = 10,
    Settings = 12,
    Copy = 14,
    Draw = 16,
    Reset = 17,
    Exit = 19,
};

inline const std::array<MenuItem, 20> MSys1 {{
    {u"液晶 &1 （オレンジ）", nullptr, true, true},
    {u"液晶 &2 （グリーン）", nullptr, true, true},
    {u"液晶 &3 （エメラルド グリーン）", nullptr, true, true},
    {u"液晶 &4 （ブルー）", nullptr, true, true},
    {u"液晶 &5 （ラベンダー）", nullptr, true, true},
    {u"-"},
    {u"画面の中央に表示(&P)", nullptr, true, true},
    {u"ログファイルに記録(&S)", nullptr, true, true},
    {u"-"},
    {u"ログファイルを開く(&L)", "Ctrl+L"},
    {u"ログファイルを削除(&D)"},
    {u"-"},
    {u"出現率の設定(&O)...", "Ctrl+O"},
    {u"-"},
    {u"コピー(&C)", "Ctrl+C", false},
    {u"-"},
    {u"予想値をゲット(&G)", "Ctrl+G"},
    {u"リセット(&R)", "F2"},
    {u"-"},
    {u"終了(&X)", "Ctrl+W"},
}};

enum ToolItem { History = 0, Tickets = 1, Check = 2, Wheel = 3, Update = 5, CheckAtStart = 6 };

inline const std::array<MenuItem, 7> MTool1 {{
    {u"当せん番号の履歴(&H)...", "Ctrl+H"},
    {u"まとめて予想(&M)...", "Ctrl+M"},
    {u"当せん確認(&K)...", "Ctrl+K"},
    {u"ホイール(&W)...", "Ctrl+J"},
    {u"-"},
    {u"最新の結果を取得(&U)"},
    {u"起動時に最新の結果を取得(&S)", nullptr, true, true},
}};

enum HelpItem { Contents = 0, About = 2 };

// "F1" is part of the caption only; the window's key handler answers the key itself.
inline const std::array<MenuItem, 3> MHelp1 {{
    {u"目次(&C)            F1"},
    {u"-"},
    {u"バージョン情報(&A)..."},
}};

inline constexpr const char16_t *Com1Caption = u"予想値をゲット";

} // namespace MainLayout
