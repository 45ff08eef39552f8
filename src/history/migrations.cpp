#include "migrations.h"

using namespace Qt::StringLiterals;

const std::vector<QStringList> &MigrationSteps()
{
    // As shipped, never changed: a step builds the tables of its time, whatever the program
    // holds now.
    static const std::vector<QStringList> steps {
        // 1: the draws.
        QStringList {
            u"CREATE TABLE draws (number INTEGER PRIMARY KEY, date TEXT, n1 INTEGER NOT "
            u"NULL, n2 INTEGER NOT NULL, n3 INTEGER NOT NULL, n4 INTEGER NOT NULL, n5 "
            u"INTEGER NOT NULL, n6 INTEGER NOT NULL, bonus INTEGER, winners1 INTEGER, "
            u"winners2 INTEGER, winners3 INTEGER, winners4 INTEGER, winners5 INTEGER, prize1 "
            u"INTEGER, prize2 INTEGER, prize3 INTEGER, prize4 INTEGER, prize5 INTEGER, "
            u"carry_over INTEGER)"_s},
        // 2: the saved tickets.
        QStringList {u"CREATE TABLE tickets (id INTEGER PRIMARY KEY, draw INTEGER NOT NULL, line "
                     u"INTEGER NOT NULL, n1 INTEGER NOT NULL, n2 INTEGER NOT NULL, n3 INTEGER NOT "
                     u"NULL, n4 INTEGER NOT NULL, n5 INTEGER NOT NULL, n6 INTEGER NOT NULL, UNIQUE "
                     u"(draw, line))"_s},
        // 3: every value of a draw and a ticket checked, and the stores remembered.
        QStringList {
            u"CREATE TABLE checked_draws (number INTEGER PRIMARY KEY CHECK (number BETWEEN 1 "
            u"AND 1000000), date TEXT CHECK (date IS NULL OR date(date) = date), n1 INTEGER "
            u"NOT NULL CHECK (n1 BETWEEN 1 AND 43), n2 INTEGER NOT NULL CHECK (n2 BETWEEN 1 "
            u"AND 43), n3 INTEGER NOT NULL CHECK (n3 BETWEEN 1 AND 43), n4 INTEGER NOT NULL "
            u"CHECK (n4 BETWEEN 1 AND 43), n5 INTEGER NOT NULL CHECK (n5 BETWEEN 1 AND 43), "
            u"n6 INTEGER NOT NULL CHECK (n6 BETWEEN 1 AND 43), bonus INTEGER CHECK (bonus IS "
            u"NULL OR (bonus BETWEEN 1 AND 43 AND bonus NOT IN (n1, n2, n3, n4, n5, n6))), "
            u"winners1 INTEGER CHECK (winners1 >= 0), winners2 INTEGER CHECK (winners2 >= "
            u"0), winners3 INTEGER CHECK (winners3 >= 0), winners4 INTEGER CHECK (winners4 "
            u">= 0), winners5 INTEGER CHECK (winners5 >= 0), prize1 INTEGER CHECK (prize1 >= "
            u"0), prize2 INTEGER CHECK (prize2 >= 0), prize3 INTEGER CHECK (prize3 >= 0), "
            u"prize4 INTEGER CHECK (prize4 >= 0), prize5 INTEGER CHECK (prize5 >= 0), "
            u"carry_over INTEGER CHECK (carry_over >= 0), CHECK (n1 < n2 AND n2 < n3 AND n3 "
            u"< n4 AND n4 < n5 AND n5 < n6))"_s,
            u"INSERT INTO checked_draws (number, n1, n2, n3, n4, n5, n6, date, bonus, "
            u"winners1, winners2, winners3, winners4, winners5, prize1, prize2, prize3, "
            u"prize4, prize5, carry_over) SELECT number, n1, n2, n3, n4, n5, n6, date, "
            u"bonus, winners1, winners2, winners3, winners4, winners5, prize1, prize2, "
            u"prize3, prize4, prize5, carry_over FROM draws"_s,
            u"DROP TABLE draws"_s, u"ALTER TABLE checked_draws RENAME TO draws"_s,
            u"CREATE TABLE checked_tickets (id INTEGER PRIMARY KEY, draw INTEGER NOT NULL "
            u"CHECK (draw BETWEEN 1 AND 1000000), line INTEGER NOT NULL CHECK (line >= 0), "
            u"n1 INTEGER NOT NULL CHECK (n1 BETWEEN 1 AND 43), n2 INTEGER NOT NULL CHECK (n2 "
            u"BETWEEN 1 AND 43), n3 INTEGER NOT NULL CHECK (n3 BETWEEN 1 AND 43), n4 INTEGER "
            u"NOT NULL CHECK (n4 BETWEEN 1 AND 43), n5 INTEGER NOT NULL CHECK (n5 BETWEEN 1 "
            u"AND 43), n6 INTEGER NOT NULL CHECK (n6 BETWEEN 1 AND 43), CHECK (n1 < n2 AND "
            u"n2 < n3 AND n3 < n4 AND n4 < n5 AND n5 < n6), UNIQUE (draw, line))"_s,
            u"INSERT INTO checked_tickets (id, draw, line, n1, n2, n3, n4, n5, n6) SELECT "
            u"id, draw, line, n1, n2, n3, n4, n5, n6 FROM tickets"_s,
            u"DROP TABLE tickets"_s, u"ALTER TABLE checked_tickets RENAME TO tickets"_s,
            u"CREATE TABLE imports (id INTEGER PRIMARY KEY, time TEXT NOT NULL, source TEXT "
            u"NOT NULL)"_s},
        // 4: the tickets the user entered told from those the program made.
        QStringList {
            u"ALTER TABLE tickets ADD COLUMN source INTEGER NOT NULL DEFAULT 0 CHECK (source "
            u"IN (0, 1))"_s},
        // 5: wheel tickets told apart too.
        QStringList {
            u"CREATE TABLE checked_tickets (id INTEGER PRIMARY KEY, draw INTEGER NOT NULL "
            u"CHECK (draw BETWEEN 1 AND 1000000), line INTEGER NOT NULL CHECK (line >= 0), "
            u"n1 INTEGER NOT NULL CHECK (n1 BETWEEN 1 AND 43), n2 INTEGER NOT NULL CHECK (n2 "
            u"BETWEEN 1 AND 43), n3 INTEGER NOT NULL CHECK (n3 BETWEEN 1 AND 43), n4 INTEGER "
            u"NOT NULL CHECK (n4 BETWEEN 1 AND 43), n5 INTEGER NOT NULL CHECK (n5 BETWEEN 1 "
            u"AND 43), n6 INTEGER NOT NULL CHECK (n6 BETWEEN 1 AND 43), source INTEGER NOT "
            u"NULL DEFAULT 0 CHECK (source IN (0, 1, 2)), CHECK (n1 < n2 AND n2 < n3 AND n3 "
            u"< n4 AND n4 < n5 AND n5 < n6), UNIQUE (draw, line))"_s,
            u"INSERT INTO checked_tickets (id, draw, line, n1, n2, n3, n4, n5, n6, source) "
            u"SELECT id, draw, line, n1, n2, n3, n4, n5, n6, source FROM tickets"_s,
            u"DROP TABLE tickets"_s, u"ALTER TABLE checked_tickets RENAME TO tickets"_s},
        // 6: the three games side by side, a draw keyed by its game and number.
        QStringList {
            u"CREATE TABLE game_draws (game TEXT NOT NULL CHECK (game IN ('loto6', 'loto7', "
            u"'miniloto')), number INTEGER NOT NULL CHECK (number BETWEEN 1 AND 1000000), date "
            u"TEXT CHECK (date IS NULL OR date(date) = date), n1 INTEGER NOT NULL CHECK (n1 >= 1), "
            u"n2 INTEGER NOT NULL, n3 INTEGER NOT NULL, n4 INTEGER NOT NULL, n5 INTEGER NOT NULL, "
            u"n6 INTEGER, n7 INTEGER, bonus INTEGER CHECK (bonus IS NULL OR (bonus >= 1 AND bonus "
            u"NOT IN (n1, n2, n3, n4, n5, coalesce(n6, 0), coalesce(n7, 0)))), bonus2 INTEGER "
            u"CHECK (bonus2 IS NULL OR (bonus IS NOT NULL AND bonus2 >= 1 AND bonus2 <> bonus AND "
            u"bonus2 NOT IN (n1, n2, n3, n4, n5, coalesce(n6, 0), coalesce(n7, 0)))), winners1 "
            u"INTEGER CHECK (winners1 >= 0), winners2 INTEGER CHECK (winners2 >= 0), winners3 "
            u"INTEGER CHECK (winners3 >= 0), winners4 INTEGER CHECK (winners4 >= 0), winners5 "
            u"INTEGER CHECK (winners5 >= 0), winners6 INTEGER CHECK (winners6 >= 0), prize1 "
            u"INTEGER CHECK (prize1 >= 0), prize2 INTEGER CHECK (prize2 >= 0), prize3 INTEGER "
            u"CHECK (prize3 >= 0), prize4 INTEGER CHECK (prize4 >= 0), prize5 INTEGER CHECK "
            u"(prize5 >= 0), prize6 INTEGER CHECK (prize6 >= 0), carry_over INTEGER CHECK "
            u"(carry_over >= 0), CHECK (n1 < n2 AND n2 < n3 AND n3 < n4 AND n4 < n5 AND (n6 IS "
            u"NULL OR n5 < n6) AND (n7 IS NULL OR (n6 IS NOT NULL AND n6 < n7))), CHECK (CASE game "
            u"WHEN 'loto6' THEN n6 IS NOT NULL AND n7 IS NULL AND n6 <= 43 AND coalesce(bonus, 0) "
            u"<= 43 AND bonus2 IS NULL AND winners6 IS NULL AND prize6 IS NULL WHEN 'loto7' THEN "
            u"n7 IS NOT NULL AND n7 <= 37 AND coalesce(bonus, 0) <= 37 AND coalesce(bonus2, 0) <= "
            u"37 AND (bonus IS NULL) = (bonus2 IS NULL) ELSE n6 IS NULL AND n7 IS NULL AND n5 <= "
            u"31 AND coalesce(bonus, 0) <= 31 AND bonus2 IS NULL AND winners5 IS NULL AND winners6 "
            u"IS NULL AND prize5 IS NULL AND prize6 IS NULL AND carry_over IS NULL END), PRIMARY "
            u"KEY (game, number))"_s,
            u"INSERT INTO game_draws (game, number, date, n1, n2, n3, n4, n5, n6, bonus, winners1, "
            u"winners2, winners3, winners4, winners5, prize1, prize2, prize3, prize4, prize5, "
            u"carry_over) SELECT 'loto6', number, date, n1, n2, n3, n4, n5, n6, bonus, winners1, "
            u"winners2, winners3, winners4, winners5, prize1, prize2, prize3, prize4, prize5, "
            u"carry_over FROM draws"_s,
            u"DROP TABLE draws"_s, u"ALTER TABLE game_draws RENAME TO draws"_s,
            u"CREATE TABLE game_tickets (id INTEGER PRIMARY KEY, game TEXT NOT NULL CHECK (game IN "
            u"('loto6', 'loto7', 'miniloto')), draw INTEGER NOT NULL CHECK (draw BETWEEN 1 AND "
            u"1000000), line INTEGER NOT NULL CHECK (line >= 0), n1 INTEGER NOT NULL CHECK (n1 >= "
            u"1), n2 INTEGER NOT NULL, n3 INTEGER NOT NULL, n4 INTEGER NOT NULL, n5 INTEGER NOT "
            u"NULL, n6 INTEGER, n7 INTEGER, source INTEGER NOT NULL DEFAULT 0 CHECK (source IN (0, "
            u"1, 2)), CHECK (n1 < n2 AND n2 < n3 AND n3 < n4 AND n4 < n5 AND (n6 IS NULL OR n5 < "
            u"n6) AND (n7 IS NULL OR (n6 IS NOT NULL AND n6 < n7))), CHECK (CASE game WHEN 'loto6' "
            u"THEN n6 IS NOT NULL AND n7 IS NULL AND n6 <= 43 WHEN 'loto7' THEN n7 IS NOT NULL AND "
            u"n7 <= 37 ELSE n6 IS NULL AND n7 IS NULL AND n5 <= 31 END), UNIQUE (game, draw, "
            u"line))"_s,
            u"INSERT INTO game_tickets (game, id, draw, line, n1, n2, n3, n4, n5, n6, source) "
            u"SELECT 'loto6', id, draw, line, n1, n2, n3, n4, n5, n6, source FROM tickets"_s,
            u"DROP TABLE tickets"_s, u"ALTER TABLE game_tickets RENAME TO tickets"_s,
            u"ALTER TABLE imports ADD COLUMN game TEXT NOT NULL DEFAULT 'loto6' CHECK (game IN "
            u"('loto6', 'loto7', 'miniloto'))"_s},
        // 7: the last check of each game's source, and what its index answered.
        QStringList {
            u"CREATE TABLE source_checks (game TEXT PRIMARY KEY CHECK (game IN ('loto6', "
            u"'loto7', 'miniloto')), time TEXT NOT NULL, address TEXT NOT NULL, etag TEXT, "
            u"last_modified TEXT, newest INTEGER NOT NULL CHECK (newest BETWEEN 0 AND "
            u"1000000), brought TEXT NOT NULL)"_s},
    };
    return steps;
}
