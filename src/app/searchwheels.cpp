// Writes a game's shipped wheels: for every cell from drawn + 1 to 20 numbers and every guarantee
// short of drawn/drawn, or only the cells named (as 15:3/3), searches from the design the file
// holds (if any) for the given seconds, and keeps the smaller of the two once the new one has
// been verified whole.
// Usage: nmr_searchwheels GAME FILE [SECONDS [SEED [CELL...]]]
#include "wheels/wheelsearch.h"
#include "wheels/wheeltable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const Game *named = FindGame(arguments.value(1));
    if (arguments.size() < 3 || !named) {
        QTextStream(stderr) << "usage: nmr_searchwheels " << GameKeysText()
                            << " FILE [SECONDS [SEED [CELL...]]]\n";
        return 2;
    }
    const Game &game = *named;
    const QString path = arguments[2];
    const double seconds = arguments.value(3, QStringLiteral("5")).toDouble();
    const quint32 seed = arguments.value(4, QStringLiteral("1")).toUInt();
    const QStringList cells = arguments.mid(5);
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
            std::vector<Block> &kept = table[{v, guarantee.t, guarantee.m}];
            QElapsedTimer timer;
            timer.start();
            const std::vector<Block> found = SearchWheel(
                {v, guarantee, std::nullopt, seed, kept, 1'000'000'000'000, game.drawn},
                [&](const WheelSearchProgress &) { return timer.elapsed() < seconds * 1000; });
            const bool whole = WheelMatches(v, game.drawn, found).coverage(guarantee).holes == 0;
            if (whole && (kept.empty() || found.size() < kept.size()))
                kept = found;
            out << v << ' ' << guarantee.t << '/' << guarantee.m << ": " << kept.size()
                << " tickets (bound " << LowerBound(v, game.drawn, guarantee) << "), "
                << timer.elapsed() / 1000.0 << " s\n";
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
