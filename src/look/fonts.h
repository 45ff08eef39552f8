#pragma once

#include <QFont>

// The designed Japanese desktop fonts, each followed by its nearest free analogue.
enum class JapaneseFace { UIGothic, PGothic, Gothic, PMincho };

QFont JapaneseFont(JapaneseFace face, int pointSize);
