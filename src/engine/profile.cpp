#include "profile.h"

#include "settings/cp932.h"
#include "settings/inifilesaveload.h"

#include <algorithm>
#include <limits>

using namespace IniFileSaveLoad;

namespace {

const QString section = QStringLiteral("Probability");
const QString activeKey = QStringLiteral("PB");
const QString birthdayKey = QStringLiteral("BirthDay");
constexpr qsizetype nameStart = NumberCount + 1; // after the levels and the separating blank

QString profileKey(int slot)
{
    return activeKey + QString::number(slot);
}

} // namespace

int LeadingDecimal(QStringView field)
{
    // Saturates at the largest int rather than overflow on a long run of digits.
    int number = 0;
    for (QChar c : field) {
        if (c < u'0' || c > u'9')
            break;
        const int digit = c.unicode() - u'0';
        if (number > (std::numeric_limits<int>::max() - digit) / 10)
            return std::numeric_limits<int>::max();
        number = number * 10 + digit;
    }
    return number;
}

LevelString DefaultLevelString()
{
    return LevelString(NumberCount, LevelDigit(MiddleLevel));
}

int LevelAt(const LevelString &levels, int number)
{
    if (number < 1 || number > NumberCount || number > levels.size())
        return 0;
    const char16_t c = levels[number - 1].unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return 0;
}

QChar LevelDigit(int level)
{
    return QChar(u"0123456789ABCDEF"[level & 0xF]);
}

LevelString CanonicalLevels(const LevelString &levels)
{
    LevelString canonical(NumberCount, QChar());
    for (int number = 1; number <= NumberCount; ++number)
        canonical[number - 1] = LevelDigit(LevelAt(levels, number));
    return canonical;
}

QString OneLineName(const QString &name)
{
    // By hand rather than by a regular expression, which matches nothing in a text that holds a
    // lone surrogate, and would leave its line breaks in.
    QString line;
    line.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const bool lineBreak = name[i] == u'\r' || name[i] == u'\n';
        line += lineBreak ? QChar(u' ') : name[i];
        if (name[i] == u'\r' && i + 1 < name.size() && name[i + 1] == u'\n')
            ++i;
    }
    return line;
}

StoredName StoreName(const QString &name)
{
    constexpr qsizetype nameLimit = ValueLimit - nameStart;
    const QByteArray bytes = Cp932::encode(name);
    const qsizetype kept = Cp932::characterBoundary(bytes, nameLimit);
    StoredName stored {Cp932::decode(QByteArrayView(bytes).first(kept)), kept < bytes.size(), {}};
    for (qsizetype i = 0; i < name.size();) {
        const qsizetype width = name[i].isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
        const QString character = name.mid(i, width);
        if (Cp932::encode(character) == "?" && character != u"?"
            && !stored.unstorable.contains(character))
            stored.unstorable += character;
        i += width;
    }
    return stored;
}

QString ProfileValue(const AppearanceProfile &profile)
{
    return u'"' + CanonicalLevels(profile.levels) + u' ' + OneLineName(profile.name) + u'"';
}

AppearanceProfile ProfileFromValue(const QString &value)
{
    return {
        value.size() > nameStart ? value.sliced(nameStart) : QString(), value.left(NumberCount)};
}

BirthdaySetting ComposeBirthday(bool on, int month, int day)
{
    return QStringLiteral("%1%2%3")
        .arg(QChar(on ? u'1' : u'0'))
        .arg(month, 2, 10, QChar(u'0'))
        .arg(day, 2, 10, QChar(u'0'));
}

BirthdayFields ParseBirthday(const BirthdaySetting &birthday)
{
    const QStringView text(birthday);
    return {text.startsWith(u'1'), LeadingDecimal(text.mid(1, 2)), LeadingDecimal(text.mid(3, 2))};
}

StoredProfiles ReadProfileTable()
{
    StoredProfiles stored;
    for (int slot = 0; slot < ProfileCount; ++slot) {
        const QString fallback
            = DefaultLevelString() + QStringLiteral(" Setting") + QString::number(slot + 1);
        stored.profiles[slot]
            = ProfileFromValue(ReadIniString(section, profileKey(slot), fallback));
        stored.profiles[slot].levels = CanonicalLevels(stored.profiles[slot].levels);
    }
    stored.activeIndex = ReadIniInt(section, activeKey, 0);
    stored.birthday = ReadIniString(section, birthdayKey, QStringLiteral("10000"));
    return stored;
}

bool WriteProfileTable(
    qint32 activeIndex, const ProfileTable &profiles, const BirthdaySetting &birthday)
{
    bool written = WriteIniString(section, activeKey, QString::number(activeIndex));
    for (int slot = 0; slot < ProfileCount; ++slot)
        written &= WriteProfile(slot, profiles[slot]);
    return WriteIniString(section, birthdayKey, birthday) && written;
}

bool WriteProfile(int slot, const AppearanceProfile &profile)
{
    return WriteIniString(section, profileKey(slot), ProfileValue(profile));
}

LevelSetting ReadLevelSetting()
{
    const auto level
        = static_cast<qint16>(ReadIniInt(QStringLiteral("Setup"), QStringLiteral("Level"), 105));
    // A remainder the slider cannot take (16 to 99, or negative) is held at its nearest end.
    return {level > 99, std::clamp(level % 100, 0, 15)};
}

ActiveProfile ReadActiveProfile()
{
    // The stored index is kept in a byte, so only its low eight bits choose the key; an index
    // with no slot finds no key and gives the default levels.
    const int slot = ReadIniInt(section, activeKey, 0) & 0xFF;
    const QString levels = ReadIniString(section, profileKey(slot), DefaultLevelString());
    return {levels.left(NumberCount), ReadIniString(section, birthdayKey, QStringLiteral("00000"))};
}
