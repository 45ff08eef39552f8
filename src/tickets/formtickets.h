#pragma once

#include "engine/uniformsource.h"
#include "history/toolwindow.h"
#include "ticketdraw.h"

#include <optional>

class MadeTicketsPanel;
class QLineEdit;
class QSpinBox;

// "まとめて予想": several tickets at once, drawn as the main window draws, with fixed and
// excluded numbers and a limit on the numbers two tickets share. The tickets can be copied,
// are logged while the main window logs, and can be saved for a draw to be checked later.
class FormTickets : public ToolWindow
{
    Q_OBJECT

public:
    // The main window's draw inputs, and its log: empty while logging is off.
    FormTickets(const QString &databasePath, const Game &game, const DrawInput &draw,
        const QString &logPath, QWidget *parent = nullptr);

    void make(); // "作成": draws the tickets, or says why it cannot and keeps those shown
    void copy(); // "コピー": the tickets onto the clipboard, a line each
    // "保存": the tickets into the database, for the chosen draw; for a draw already stored only
    // once the user agrees, and with no draw chosen only once the user gives one.
    void save();
    void seed(quint32 value); // the next 作成 starts from this seed rather than the clock
    // The main window's draw inputs or its log changed: the next 作成 follows them.
    void setDrawInput(const DrawInput &draw, const QString &logPath);

signals:
    void ticketsLogged(); // tickets were appended to the log

private:
    void buildControls();

    DrawInput m_draw;
    UniformSource m_random;
    std::optional<quint32> m_seed;

    QSpinBox *m_count = nullptr; // "口数": 1 to 20
    QLineEdit *m_fixed = nullptr; // "軸数字": numbers every ticket holds
    QLineEdit *m_excluded = nullptr; // "除外数字": numbers no ticket holds
    QSpinBox *m_overlap = nullptr; // "共通数字の上限": 0 to 5
    MadeTicketsPanel *m_panel = nullptr; // the tickets made, saved and copied
};
