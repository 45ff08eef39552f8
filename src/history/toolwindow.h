#pragma once

#include "engine/game.h"
#include "historydatabase.h"

#include <QDialog>

#include <functional>

class DatabaseWatch;
class QGridLayout;

// The frame every tool window shares: a window of its own beside the main window, over the
// database of past results and saved tickets, kept current (when activated after another
// connection changed the database, on F5, and when told), never smaller than its controls need,
// with its help page on F1.
class ToolWindow : public QDialog
{
    Q_OBJECT

public:
    void reload(); // the database changed: what the window shows is read again

    const Game &game() const { return m_game; }

signals:
    void databaseChanged(); // the window stored something: the other windows follow
    // The user chose another game, now remembered for the next tool window: this one is to be
    // opened again for it.
    void gameChosen(const Game &game);

protected:
    ToolWindow(
        const QString &databasePath, const Game &game, const QString &title, QWidget *parent);

    // The window's layout: "ゲーム(&G)" and its choice at the top, and under it the grid
    // returned, for the window's own controls.
    QGridLayout *gridUnderGameChoice();

    // Once the controls are built: the size to open at, the help page and its section, and how
    // the window reads the database again.
    void frame(QSize size, const QString &helpPage, const QString &helpSection,
        std::function<void()> reread);

    const Game &m_game;
    HistoryDatabase m_database;
    DatabaseWatch *m_watch = nullptr;

private:
    QWidget *m_gameChoice = nullptr;
};
