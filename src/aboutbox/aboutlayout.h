#pragma once

#include "layouts/layoutdata.h"

// The About box's arrangement, and the product's own web address and maker's line.
namespace AboutLayout {

inline constexpr int ClientWidth = 4935;
inline constexpr int ClientHeight = 2940;
inline constexpr auto Caption = u"バージョン情報";

inline constexpr TwipsRect Com1 {3645, 150, 1140, 315};
inline constexpr auto Com1Caption = u"OK";
inline constexpr TwipsRect Txt1 {150, 1905, 3345, 900};
inline constexpr TwipsRect Img1 {150, 150, 480, 480};

// Lab1(1) to Lab1(5); the link, Lab1(1), sizes itself to its text from this corner.
inline constexpr TwipsRect Lab1Link {1680, 975, 0, 225};
inline constexpr TwipsRect Lab1Title {780, 90, 2520, 360};
inline constexpr TwipsRect Lab1Version {840, 495, 1200, 225};
inline constexpr TwipsRect Lab1Maker {840, 735, 4050, 225};
inline constexpr TwipsRect Lab1Website {840, 975, 840, 225};

inline constexpr auto WebsiteText = u"Website :";
inline constexpr auto Disclaimer
    = u"本ソフトウェアの目的は番号選択支援ですが、確実な当選を保証するものではありません。";

inline constexpr auto WebAddress = u"https://numerisphere.example/";
inline constexpr auto MakerLine = u"Copyright (C) 2026 Numerisphere 開発チーム";

} // namespace AboutLayout
