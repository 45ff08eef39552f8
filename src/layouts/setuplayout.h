#pragma once

#include "layoutdata.h"

#include <array>

// The settings dialog's arrangement. Controls inside a frame are placed relative to the frame;
// the frames and the dialog buttons relative to the client area. The level grid is not stored:
// it is built from element 0 of each row array by pixel rules (see SetupGrid).
namespace SetupLayout {

inline constexpr int ClientWidth = 8190;
inline constexpr int ClientHeight = 5655;

struct Captioned
{
    TwipsRect rect;
    const char16_t *caption;
};

inline constexpr std::array<Captioned, 2> Frame1 {{
    {{120, 120, 7950, 3795}, u"出現率の設定(&P)"},
    {{120, 4035, 7950, 1005}, u"あなたの誕生日(&B)"},
}};

inline constexpr std::array<Captioned, 3> Com1 {{
    {{3960, 5235, 1290, 315}, u"OK"},
    {{5370, 5235, 1290, 315}, u"キャンセル"},
    {{6780, 5235, 1290, 315}, u"ヘルプ(&H)"},
}};

// Element 0 of the row arrays: left, width and height; the top is the grid's first row.
inline constexpr TwipsRect LabPB1 {150, 0, 285, 225};
inline constexpr TwipsRect ScrPB {405, 0, 870, 180};
inline constexpr TwipsRect LabPB2 {1320, 0, 210, 225};
inline constexpr int LevelLabelTenthPoints = 975; // "MS UI Gothic" 9.75 point

inline constexpr int ScrPBSmallChange = 1;
inline constexpr int ScrPBLargeChange = 5;

// Lab1(0) to Lab1(4): Lab1(0) and Lab1(2) stand in Frame1(0), the others in Frame1(1).
inline constexpr std::array<Captioned, 5> Lab1 {{
    {{120, 3510, 7755, 225},
        u"出現率は 0 から 15 までの数値で設定します。 0 でほぼ除外になり、15 "
        u"で最も出現率が高くなります。"},
    {{120, 720, 7755, 225},
        u"誕生日は、あなたに縁のある数字です。この数字を番号選択に利用します。"},
    {{6510, 1245, 1290, 225}, u"設定リスト(&L) :"},
    {{2310, 330, 345, 225}, u"月"},
    {{3510, 330, 345, 225}, u"日"},
}};

inline constexpr TwipsRect LstPB {6510, 1455, 1290, 780};

inline constexpr std::array<Captioned, 3> ComPB {{
    {{6510, 2280, 1290, 315}, u"名前変更(&N)..."},
    {{6510, 2640, 1290, 315}, u"設定情報(&S)..."},
    {{6510, 3000, 1290, 315}, u"リセット(&R)"},
}};

inline constexpr std::array<TwipsRect, 2> CmbBD {{
    {1620, 270, 645, 300},
    {2820, 270, 645, 300},
}};
inline constexpr int MonthCount = 12;
inline constexpr int DayCount = 31;

inline constexpr Captioned ChkBD {{5160, 285, 2415, 255}, u"この機能は使用しない(&D)"};

inline constexpr auto CaptionSuffix = u" の設定";

inline constexpr auto RenamePrompt = u"設定名を変更します。";
inline constexpr auto RenameCaption = u"名前の変更";
inline constexpr auto NameTooLong = u"名前が長すぎるため、後ろが切れます。";
inline constexpr auto NameUnstorable = u"次の文字は保存できないため「?」になります：%1";
inline constexpr auto NameQuestion = u"この名前はそのままでは保存できません。\r\n%1\r\n\r\n"
                                     u"次の名前で保存しますか？\r\n%2";
inline constexpr auto SaveFailed = u"設定を保存できませんでした。\r\n"
                                   u"設定ファイルに書き込めません。";
inline constexpr auto SharePrompt
    = u"この文字列をコピーまたは書き換えることで、容易に出現率を設定することができます。"
      u"設定値を他の方へ伝えたり、バックアップする際にご利用ください。"
      u"この文字列は Webサイトなどで公開することもできます。";
inline constexpr auto ShareCaption = u"設定情報";
inline constexpr auto ResetQuestion = u"現在選択中の設定をリセットします。\r\n"
                                      u"すべて最小値にするには [はい] を\r\n"
                                      u"すべて中間値にするには [いいえ] を選択してください。";

} // namespace SetupLayout
