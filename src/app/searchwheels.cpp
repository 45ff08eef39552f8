// Writes a game's shipped wheels: for every cell from drawn + 1 to 20 numbers and every guarantee
// short of drawn/drawn, or only the cells named (as 15:3/3), searches for the given seconds: half
// of them for designs that a group maps onto themselves (each group a share, or only the groups
// named), the rest for any design, from the best found. Keeps the smallest once it has been
// verified whole, and prints which group gave it. With --afresh the search starts as though the
// file held no design, and the file's design is replaced only by a smaller one. With --anneal=T
// the search without symmetry is an annealing held at temperature T.
// Usage: nmr_searchwheels GAME FILE [SECONDS [SEED [CELL... [--groups=NAME,...] [--afresh]
//        [--anneal=T]]]]
#include "wheels/coversearch.h"
#include "wheels/wheelsearch.h"
#include "wheels/wheelsizes.h"
#include "wheels/wheeltable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

// Whether the design has tickets of the game's size alone, and satisfies the guarantee.
bool IsWhole(int v, int drawn, Guarantee guarantee, const std::vector<Block> &design)
{
    return !design.empty()
        && std::ranges::all_of(design, [&](Block ticket) { return std::popcount(ticket) == drawn; })
        && WheelMatches(v, drawn, design).coverage(guarantee).holes == 0;
}

// The shipped wheels' sizes beside the records and the bounds, as the README's tables and then
// the help page's.
int PrintSizes(const QString &recordsPath)
{
    QFile file(recordsPath);
    if (!file.open(QIODevice::ReadOnly)) {
        QTextStream(stderr) << "cannot read " << recordsPath << '\n';
        return 1;
    }
    const WheelRecords records = ReadWheelRecords(QString::fromUtf8(file.readAll()));
    QTextStream out(stdout);
    QString html;
    for (const Game *game : Games()) {
        const std::vector<WheelSize> sizes = WheelSizes(*game, records, ProofSteps);
        out << game->name << "\n\n" << WheelSizesMarkdown(sizes) << '\n';
        html += u"<h3>%1</h3>\n"_s.arg(game->name) + WheelSizesHtml(sizes);
    }
    out << html;
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.value(1) == u"--table"_s)
        return PrintSizes(arguments.value(2));
    QStringList cells = arguments.mid(5);
    // --groups=A,B: only those groups, by name, and then none; --anneal=T: a temperature above 0.
    QStringList only;
    std::optional<double> temperature;
    bool understood = true;
    for (const QString &cell : std::as_const(cells)) {
        if (cell.startsWith(u"--groups="_s))
            only += cell.mid(9).split(u',');
        if (cell.startsWith(u"--anneal="_s)) {
            temperature = cell.mid(9).toDouble(&understood);
            understood = understood && *temperature > 0;
        }
    }
    const Game *named = FindGame(arguments.value(1));
    if (arguments.size() < 3 || !named || !understood) {
        QTextStream(stderr) << "usage: nmr_searchwheels " << GameKeysText()
                            << " FILE [SECONDS [SEED [CELL... [--groups=NAME,...] [--afresh]"
                               " [--anneal=T]]]]\n"
                            << "       nmr_searchwheels --table RECORDS\n";
        return 2;
    }
    const Game &game = *named;
    const QString path = arguments[2];
    const double seconds = arguments.value(3, QStringLiteral("5")).toDouble();
    const quint32 seed = arguments.value(4, QStringLiteral("1")).toUInt();
    const bool afresh = cells.contains(u"--afresh"_s);
    cells.removeIf([](const QString &cell) { return cell.startsWith(u"--"_s); });
    QFile file(path);
    WheelTable table = file.open(QIODevice::ReadOnly)
        ? ReadWheelTable(QString::fromUtf8(file.readAll()))
        : WheelTable {};
    file.close();
    QTextStream out(stdout);
    for (int v = FewestChosen(game); v <= MostChosen; ++v) {
        for (const Guarantee guarantee : Guarantees(game)) {
            const QString cell
                = QStringLiteral("%1:%2/%3").arg(v).arg(guarantee.t).arg(guarantee.m);
            if (guarantee.t == game.drawn || (!cells.isEmpty() && !cells.contains(cell)))
                continue;
            std::vector<Block> &stored = table[{v, guarantee.t, guarantee.m}];
            // A damaged file's design is searched again rather than kept.
            if (!IsWhole(v, game.drawn, guarantee, stored))
                stored.clear();
            std::vector<Block> kept = afresh ? std::vector<Block> {} : stored;
            QElapsedTimer timer;
            timer.start();
            // Where the kept design came from: the file, or the searches that improved on it.
            QString how = kept.empty() ? QString() : u"shipped"_s;
            const auto then = [&](const QString &search) {
                return how.isEmpty() ? search : how + u", then "_s + search;
            };
            const auto consider = [&](const std::vector<Block> &found, const QString &name) {
                if ((kept.empty() || found.size() < kept.size())
                    && IsWhole(v, game.drawn, guarantee, found))
                    kept = found, how = name;
            };
            // Until the time is up or a design is as small as the bound allows.
            const auto bound = std::size_t(LowerBound(v, game.drawn, guarantee));
            const auto within = [&](double end) {
                return timer.elapsed() < end * 1000 && (kept.empty() || kept.size() > bound);
            };
            const auto until = [&](double end) {
                return [&, end](int cost) { return std::size_t(cost) > bound && within(end); };
            };
            // A quarter of the time among the groups, a share each; another quarter for the
            // three that gave the smallest designs, from those designs; then the rest without
            // symmetry from the best design found.
            // No group with more elements than the design is to have tickets: than the one kept,
            // or than the bound when there is none.
            std::vector<PositionGroup> groups
                = SearchGroups(v, std::max<std::size_t>({2, kept.size(), bound}));
            if (!only.isEmpty()) {
                std::erase_if(groups, [&](const PositionGroup &group) {
                    return group.name != u"1"_s && !only.contains(group.name);
                });
            }
            std::vector<std::pair<std::vector<Block>, const PositionGroup *>> found;
            for (std::size_t at = 1; at < groups.size(); ++at) {
                found.emplace_back(SearchCover({v, game.drawn, guarantee, seed, {}}, groups[at],
                                       until(seconds / 4 * double(at) / double(groups.size() - 1))),
                    &groups[at]);
                consider(found.back().first, groups[at].name);
            }
            std::erase_if(found, [](const auto &each) { return each.first.empty(); });
            std::ranges::sort(found, {}, [](const auto &each) { return each.first.size(); });
            found.resize(std::min<std::size_t>(found.size(), 3));
            for (std::size_t at = 0; at < found.size(); ++at) {
                const auto &[design, group] = found[at];
                consider(SearchCover({v, game.drawn, guarantee, seed + 1, design}, *group,
                             until(seconds / 4 * (1 + double(at + 1) / double(found.size())))),
                    group->name);
            }
            if (!temperature && CoverPairs(v, game.drawn, guarantee, 1) <= MostCoverPairs) {
                consider(SearchCover({v, game.drawn, guarantee, seed, kept}, groups.front(),
                             until(seconds)),
                    then(u"1"_s));
            } else {
                consider(SearchWheel({v, guarantee, std::nullopt, seed, kept, 1'000'000'000'000,
                                         game.drawn, temperature},
                             [&](const WheelSearchProgress &) { return within(seconds); }),
                    then(temperature ? u"annealing at %1"_s.arg(*temperature) : u"annealing"_s));
            }
            if (!kept.empty() && (stored.empty() || kept.size() < stored.size()))
                stored = kept;
            else if (afresh && !stored.empty())
                how = u"shipped (this search: %1)"_s.arg(kept.size());
            out << v << ' ' << guarantee.t << '/' << guarantee.m << ": " << stored.size()
                << " tickets (bound " << bound << "), " << how << ", " << timer.elapsed() / 1000.0
                << " s\n";
            out.flush();
            QFile written(path);
            if (!written.open(QIODevice::WriteOnly | QIODevice::Truncate)
                || written.write(WheelTableText(table).toUtf8()) < 0) {
                QTextStream(stderr) << "cannot write " << path << '\n';
                return 1;
            }
        }
    }
    return 0;
}
