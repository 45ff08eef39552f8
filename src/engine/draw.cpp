#include "draw.h"

#include "uniformsource.h"

#include <QStringList>

#include <cmath>

namespace {

// Every conversion to an integer rounds to the nearest, ties to even.
int rounded(double value)
{
    return static_cast<int>(std::lrint(value));
}

} // namespace

std::vector<int> BirthdayBonusNumbers(const DrawInput &input)
{
    const QStringView birthday(input.birthday);
    if (!input.levelsOn || (LeadingDecimal(birthday.left(1)) & 1) == 0)
        return {};
    const BirthdayFields fields = ParseBirthday(input.birthday);
    const auto month = static_cast<quint8>(fields.month);
    const auto day = static_cast<quint8>(fields.day);
    quint8 digitSum = 0;
    for (qsizetype i = 1; i <= 4; ++i)
        digitSum += static_cast<quint8>(LeadingDecimal(birthday.mid(i, 1)));
    return {month, day, static_cast<quint8>(month + day), digitSum};
}

LevelString WithBirthdayBonus(const DrawInput &input, UniformSource &random)
{
    // Exactly 43 places, so that a short text still reads as level 0 where it ends.
    LevelString working = input.levels.left(NumberCount).leftJustified(NumberCount, u'0');

    for (const int number : BirthdayBonusNumbers(input)) {
        if (number == 0)
            continue;
        const float r = random.next();
        const int raised = std::min(
            rounded(LevelAt(working, number) + 1 + input.strength * static_cast<double>(r) / 2),
            MaximumLevel);
        if (number <= NumberCount)
            working[number - 1] = LevelDigit(raised);
    }
    return working;
}

int PickNumber(const DrawInput &input, const LevelString &working, UniformSource &random,
    const NumberSet &taken)
{
    const int v = input.strength;
    for (;;) {
        const int attempts
            = input.levelsOn ? rounded(v + (2 * v + 5) * static_cast<double>(random.next())) : 0;
        int candidate = 0;
        for (int t = 0; t <= attempts; ++t) {
            candidate = rounded(42 * static_cast<double>(random.next()) + 1);
            if (LevelAt(working, candidate) > 15 * static_cast<double>(random.next()))
                break;
        }
        if (!taken[std::size_t(candidate)])
            return candidate;
    }
}

std::array<int, 6> DrawSix(const DrawInput &input, UniformSource &random, const NumberSet &fixed,
    const NumberSet &excluded)
{
    const LevelString working = WithBirthdayBonus(input, random);

    NumberSet drawn = fixed;
    NumberSet taken = fixed | excluded;
    for (int count = int(fixed.count()); count < 6; ++count) {
        const int picked = PickNumber(input, working, random, taken);
        taken[std::size_t(picked)] = drawn[std::size_t(picked)] = true;
    }

    std::array<int, 6> numbers {};
    auto next = numbers.begin();
    for (int number = 1; number <= NumberCount; ++number) {
        if (drawn[std::size_t(number)])
            *next++ = number;
    }
    return numbers;
}

QString DrawText(std::span<const int> numbers)
{
    QStringList items;
    for (const int number : numbers)
        items << QStringLiteral("%1").arg(number, 2, 10, QChar(u'0'));
    return items.join(u' ');
}

DrawResult DrawNumbers(const DrawInput &input, UniformSource &random)
{
    const std::array<int, 6> numbers = DrawSix(input, random);
    return {numbers, DrawText(numbers)};
}
