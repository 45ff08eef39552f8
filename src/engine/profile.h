#pragma once

#include "game.h"

#include <QString>

#include <array>

// The appearance-rate profiles: the 43 per-number levels a draw is biased by, the ten named
// profiles the user keeps, and the birthday option. The text encodings here are pure; the
// storage operations read and write section "Probability" of the settings file.
//
// The settings dialog and the main window use different defaults for absent keys: the dialog
// shows named profiles and an enabled (but empty) birthday, while the main window draws with
// plain default levels and no birthday.

inline constexpr int ProfileCount = 10;
inline constexpr int MinimumLevel = 0;
inline constexpr int MiddleLevel = 8;
inline constexpr int MaximumLevel = 15;

// One hexadecimal digit per number 1..43. Written with upper-case digits, read leniently.
using LevelString = QString;

// Five characters: the on/off flag ("1" or "0"), the month and the day as two digits each,
// where "00" means not chosen.
using BirthdaySetting = QString;

struct AppearanceProfile
{
    QString name;
    LevelString levels;

    friend bool operator==(const AppearanceProfile &, const AppearanceProfile &) = default;
};

using ProfileTable = std::array<AppearanceProfile, ProfileCount>;

struct StoredProfiles
{
    ProfileTable profiles;
    qint32 activeIndex = 0; // as stored; the file may hold an index with no slot
    BirthdaySetting birthday;
};

struct ActiveProfile
{
    LevelString levels;
    BirthdaySetting birthday;
};

struct BirthdayFields
{
    bool on = false;
    int month = 0; // 0 when not chosen
    int day = 0; // 0 when not chosen
};

LevelString DefaultLevelString();

// The level of number k (1..43): the hexadecimal digit at position k of either case, and 0 for
// any other character or a position beyond the end of the text.
int LevelAt(const LevelString &levels, int number);

// The upper-case hexadecimal digit of a level 0..15.
QChar LevelDigit(int level);

// The levels as the program uses them: exactly 43 upper-case digits, LevelAt of 1..43.
LevelString CanonicalLevels(const LevelString &levels);

// A profile name is one line: each line break (CR LF, CR or LF) becomes a blank.
QString OneLineName(const QString &name);

// What the settings file gives back of a profile name: at most 210 bytes of code page 932 (a
// value's limit less the levels and the blank), not splitting a character, and '?' for each
// character the code page cannot hold. cut tells whether the end was lost, and unstorable lists
// each character that became '?', once.
struct StoredName
{
    QString name;
    bool cut = false;
    QString unstorable;
};
StoredName StoreName(const QString &name);

// "levels name", as stored between double quotes, with the canonical levels and a one-line
// name; and back: the first 43 characters are the levels, the 44th is skipped whatever it holds,
// and the rest is the name.
QString ProfileValue(const AppearanceProfile &profile);
AppearanceProfile ProfileFromValue(const QString &value);

// The value of a field's leading decimal digits, 0 when it starts with none, and the largest int
// when they stand for more.
int LeadingDecimal(QStringView field);

BirthdaySetting ComposeBirthday(bool on, int month, int day);
// The dialog's reading: on exactly when the flag is "1"; month and day from the leading
// decimal digits of their fields, 0 when a field starts with no digit.
BirthdayFields ParseBirthday(const BirthdaySetting &birthday);

// The settings dialog's read, with canonical levels, and save of the whole section, in the
// stored order; false unless every key was written.
StoredProfiles ReadProfileTable();
bool WriteProfileTable(
    qint32 activeIndex, const ProfileTable &profiles, const BirthdaySetting &birthday);

// One profile's save, name and levels, as the whole section's save writes it.
bool WriteProfile(int slot, const AppearanceProfile &profile);

// The main window's read of the active profile's levels and the birthday.
ActiveProfile ReadActiveProfile();

// The level switch and the draw strength, kept in section "Setup" as one number: 100 and over
// while the switch is on, the strength in its last two digits.
struct LevelSetting
{
    bool on = true;
    int strength = 5; // 0..15
};
LevelSetting ReadLevelSetting();
