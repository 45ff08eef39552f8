#include "formmain.h"

#include "engine/chancefollower.h"
#include "history/formhistory.h"
#include "layouts/mainlayout.h"
#include "menuitems.h"
#include "settings/inifilesaveload.h"
#include "settings/toolchoices.h"
#include "tickets/formcheck.h"
#include "tickets/formtickets.h"
#include "wheels/formwheel.h"

#include <QCheckBox>
#include <QScrollBar>

using namespace IniFileSaveLoad;

// The tool windows of the ツール menu: one of each at a time, for the game last chosen in any of
// them, following the main window's draw settings and logging, and each told when another stored
// something. A window whose game is changed is opened again in its place for that game.

void FormMain::followDrawInput()
{
    const DrawInput input = drawInput();
    m_chances->follow(input);
    if (m_tickets)
        m_tickets->setDrawInput(input, ticketsLog());
    if (m_history)
        m_history->setDrawOptions(input.levelsOn, input.strength);
    if (m_wheel)
        m_wheel->setLogPath(ticketsLog());
}

QString FormMain::ticketsLog() const
{
    return sys1(MainLayout::RecordLog)->isChecked() ? LogFilePath : QString();
}

DrawInput FormMain::drawInput() const
{
    return {ActiveLevels, ActiveBirthday, m_chk1->isChecked(), m_scr1->value()};
}

void FormMain::mTool1_Click(int index)
{
    showTool(index, ReadToolGame());
}

void FormMain::showTool(int index, const Game &game)
{
    const QString database = m_locations.historyDatabase();
    ToolWindow *tool = nullptr;
    if (index == MainLayout::History) {
        if (!m_history) {
            openTool(m_history, index,
                new FormHistory(database, game, m_locations.toolChoicesFile(), m_chk1->isChecked(),
                    m_scr1->value(), this));
            connect(m_history, &FormHistory::levelsApplied, this, &FormMain::loadActiveProfile);
        }
        tool = m_history;
    } else if (index == MainLayout::Tickets) {
        if (!m_tickets) {
            openTool(
                m_tickets, index, new FormTickets(database, game, drawInput(), ticketsLog(), this));
            connect(m_tickets, &FormTickets::ticketsLogged, this, &FormMain::refreshLogItems);
        }
        tool = m_tickets;
    } else if (index == MainLayout::Check) {
        if (!m_check)
            openTool(m_check, index, new FormCheck(database, game, this));
        tool = m_check;
    } else if (index == MainLayout::Wheel) {
        if (!m_wheel) {
            openTool(m_wheel, index, new FormWheel(database, game, ticketsLog(), this));
            connect(m_wheel, &FormWheel::ticketsLogged, this, &FormMain::refreshLogItems);
        }
        tool = m_wheel;
    }
    if (tool) {
        tool->show();
        tool->raise();
        tool->activateWindow();
    }
}

template<typename Tool>
void FormMain::openTool(QPointer<Tool> &slot, int index, Tool *tool)
{
    // Closed, the window is gone at once for the menu: the next command opens a new one.
    slot = tool;
    tool->setAttribute(Qt::WA_DeleteOnClose);
    connect(tool, &QDialog::finished, this, [&slot] { slot = nullptr; });
    connect(tool, &Tool::databaseChanged, this, [this, tool] { databaseChanged(tool); });
    connect(tool, &Tool::gameChosen, this, [this, &slot, index, tool](const Game &game) {
        const QRect place = tool->geometry();
        tool->close();
        showTool(index, game);
        slot->setGeometry(place);
    });
}

void FormMain::databaseChanged(const QObject *origin)
{
    if (m_history && m_history != origin)
        m_history->reload();
    if (m_tickets && m_tickets != origin)
        m_tickets->reload();
    if (m_check && m_check != origin)
        m_check->reload();
    if (m_wheel && m_wheel != origin)
        m_wheel->reload();
}
