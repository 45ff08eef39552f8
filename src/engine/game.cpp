#include "game.h"

#include <numeric>

using namespace Qt::StringLiterals;

qint64 Binomial(int n, int k)
{
    if (k < 0 || k > n)
        return 0;
    qint64 value = 1;
    for (int i = 1; i <= k; ++i)
        value = value * (n - k + i) / i;
    return value;
}

qint64 NumbersKey(const Numbers &numbers)
{
    qint64 key = 0;
    for (const int number : numbers)
        key = key * 64 + number; // every number of every game is below 64
    return key;
}

int Game::gradeOf(int matches, int bonusMatches) const
{
    for (std::size_t i = 0; i < grades.size(); ++i) {
        if (grades[i].matches == matches && bonusMatches >= grades[i].bonusMatches)
            return int(i) + 1;
    }
    return 0;
}

std::vector<qint64> Game::gradeCombinations(bool bonusKnown) const
{
    // A ticket holding m drawn and b bonus numbers: C(drawn, m) ways for the one, C(bonuses, b)
    // for the other, and the rest from the numbers neither drawn nor bonus.
    std::vector<qint64> counts(grades.size(), 0);
    const int neither = numbers - drawn - bonuses;
    for (int m = 0; m <= drawn; ++m) {
        for (int b = 0; b <= std::min(bonuses, drawn - m); ++b) {
            if (const int grade = gradeOf(m, bonusKnown ? b : 0); grade > 0) {
                counts[std::size_t(grade - 1)]
                    += Binomial(drawn, m) * Binomial(bonuses, b) * Binomial(neither, drawn - m - b);
            }
        }
    }
    return counts;
}

std::vector<double> Game::gradeChances(bool bonusKnown) const
{
    const std::vector<qint64> counts = gradeCombinations(bonusKnown);
    std::vector<double> chances;
    for (const qint64 count : counts)
        chances.push_back(double(count) / double(combinations()));
    return chances;
}

double Game::winningChance() const
{
    const std::vector<double> chances = gradeChances();
    return std::accumulate(chances.begin(), chances.end(), 0.0);
}

namespace {

// The official file names the drawn numbers 第1数字 and on.
Game withColumns(Game game)
{
    for (int i = 1; i <= game.drawn; ++i)
        game.numberColumns << u"第%1数字"_s.arg(i);
    return game;
}

} // namespace

const Game &Loto6()
{
    static const Game game = withColumns({u"loto6"_s, u"ロト6"_s, NumberCount, DrawnCount, 1, 200,
        {{6, 0}, {5, 1}, {5, 0}, {4, 0}, {3, 0}}, {}, {u"BONUS数字"_s}, true, true});
    return game;
}

const Game &Loto7()
{
    static const Game game = withColumns({u"loto7"_s, u"ロト7"_s, 37, 7, 2, 300,
        {{7, 0}, {6, 1}, {6, 0}, {5, 0}, {4, 0}, {3, 1}}, {}, {u"BONUS数字1"_s, u"BONUS数字2"_s}});
    return game;
}

const Game &MiniLoto()
{
    static const Game game = withColumns({u"miniloto"_s, u"ミニロト"_s, 31, 5, 1, 200,
        {{5, 0}, {4, 1}, {4, 0}, {3, 0}}, {}, {u"BONUS数字"_s}, false});
    return game;
}

std::vector<const Game *> Games()
{
    return {&Loto6(), &Loto7(), &MiniLoto()};
}

const Game *FindGame(const QString &text)
{
    const QString wanted = text.normalized(QString::NormalizationForm_KC).trimmed();
    for (const Game *game : Games()) {
        if (wanted.compare(game->key, Qt::CaseInsensitive) == 0 || wanted == game->name)
            return game;
    }
    return nullptr;
}

QString GameKeysText()
{
    QStringList keys;
    for (const Game *game : Games())
        keys << game->key;
    return keys.join(u'|');
}

QString SameChanceText(const Game &game)
{
    return u"抽せんは毎回独立しています。どの数字も、これまでに何が出たかに関係なく、毎回同じ "
           u"%1/%2（約 %3%）の確率です。"_s.arg(game.drawn)
               .arg(game.numbers)
               .arg(QString::number(100.0 * game.drawn / game.numbers, 'f', 1));
}

QString GradeText(int grade)
{
    return grade == 0 ? u"—"_s : u"%1等"_s.arg(grade);
}
