#pragma once

#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <compare>
#include <initializer_list>
#include <span>
#include <vector>

// The lottery the main window draws for: six distinct numbers from 1 to 43, and a bonus number
// besides. The profiles, the settings dialog and the main window's draw are built on these two.
inline constexpr int NumberCount = 43;
inline constexpr int DrawnCount = 6;

// "1 から 43"
inline QString NumberRangeText()
{
    return QStringLiteral("1 から %1").arg(NumberCount);
}

// C(n, k), 0 when k is out of 0..n.
qint64 Binomial(int n, int k);

// The numbers of a ticket or a draw: as many as the game draws, held in place (no allocation),
// so that tens of thousands of tickets stay cheap to copy and compare. Ordered as they read,
// the first number first.
class Numbers
{
public:
    static constexpr int Capacity = 7; // the most numbers any game draws

    Numbers() = default;
    Numbers(std::initializer_list<int> values)
        : Numbers(std::span<const int>(values.begin(), values.size()))
    { }
    // The first Capacity of them at most.
    explicit Numbers(std::span<const int> values)
        : m_size(int(std::min<std::size_t>(values.size(), Capacity)))
    {
        std::copy_n(values.begin(), m_size, m_values.begin());
    }

    int size() const { return m_size; }
    int *begin() { return m_values.data(); }
    int *end() { return m_values.data() + m_size; }
    const int *begin() const { return m_values.data(); }
    const int *end() const { return m_values.data() + m_size; }
    int &operator[](std::size_t i) { return m_values[i]; }
    int operator[](std::size_t i) const { return m_values[i]; }
    int front() const { return m_values[0]; }
    int back() const { return m_values[std::size_t(m_size - 1)]; }
    void push_back(int number) { m_values[std::size_t(m_size++)] = number; }
    bool contains(int number) const { return std::find(begin(), end(), number) != end(); }
    // Into ascending order; by insertion, which is quickest for so few.
    void sort()
    {
        for (int i = 1; i < m_size; ++i) {
            for (int j = i; j > 0 && m_values[std::size_t(j - 1)] > m_values[std::size_t(j)]; --j)
                std::swap(m_values[std::size_t(j - 1)], m_values[std::size_t(j)]);
        }
    }

    friend bool operator==(const Numbers &a, const Numbers &b)
    {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend std::strong_ordering operator<=>(const Numbers &a, const Numbers &b)
    {
        return std::lexicographical_compare_three_way(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    std::array<int, Capacity> m_values {};
    int m_size = 0;
};

// A value that orders numbers as they read, the first number first.
qint64 NumbersKey(const Numbers &numbers);

// One line of a game's grade table: a ticket holding `matches` of the drawn numbers and at least
// `bonusMatches` of the bonus numbers.
struct GradeRule
{
    int matches = 0;
    int bonusMatches = 0;
};

// A game as every tool takes it: its numbers, its grades, its price and the columns of its
// official results file. Every count and chance of a game is worked out from these.
struct Game
{
    QString key; // as the command line and the settings name it
    QString name; // as the windows show it
    int numbers = 0; // drawn from 1 to numbers
    int drawn = 0;
    int bonuses = 0;
    int price = 0; // yen a ticket
    std::vector<GradeRule> grades; // 1等 first; a ticket takes the first it fits
    // The official file's columns: the drawn numbers' (第1数字 …) and the bonus numbers'.
    QStringList numberColumns;
    QStringList bonusColumns;
    bool carryOver = true; // whether the file has a キャリーオーバー column
    // Whether the profiles' levels, the level switch and the birthday apply to its draws: only
    // the main window's game, whose 43 numbers the profiles hold.
    bool levels = false;

    int gradeCount() const { return int(grades.size()); }
    // The most numbers a ticket may fix (軸数字) or two tickets share: all but one.
    int mostFixed() const { return drawn - 1; }
    // C(numbers, drawn): every ticket there is.
    qint64 combinations() const { return Binomial(numbers, drawn); }

    // 1 for 1等 and on, 0 for none.
    int gradeOf(int matches, int bonusMatches) const;
    // The grade a ticket with that many of the drawn numbers gets at least, whatever the bonus.
    int leastGradeOf(int matches) const { return gradeOf(matches, 0); }
    // How many of all tickets win each grade, by counting every way to hold so many drawn and
    // bonus numbers. Without the bonus known, a ticket is graded as if it held none.
    std::vector<qint64> gradeCombinations(bool bonusKnown = true) const;
    // The same over combinations(): the chance of one random ticket in one draw.
    std::vector<double> gradeChances(bool bonusKnown = true) const;
    // Of any prize.
    double winningChance() const;
};

// Six of 1 to 43 and a bonus, five grades, 200 円 a ticket: the main window's game.
const Game &Loto6();
// Seven of 1 to 37 and two bonus numbers, six grades, 300 円 a ticket.
const Game &Loto7();
// Five of 1 to 31 and a bonus, four grades, 200 円 a ticket, no carry-over.
const Game &MiniLoto();
// The three, in the order the windows offer them.
std::vector<const Game *> Games();
// The game a key ("loto7") or a name ("ロト7", full-width letters and digits too) names, or none.
const Game *FindGame(const QString &text);
// "loto6|loto7|miniloto", for a usage message.
QString GameKeysText();

// "1等", or "—" for no grade.
QString GradeText(int grade);

// What every window that shows figures of chance says first: "抽せんは毎回独立しています。どの
// 数字も、これまでに何が出たかに関係なく、毎回同じ 6/43（約 14.0%）の確率です。"
QString SameChanceText(const Game &game);
