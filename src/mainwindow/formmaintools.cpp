#include "formmain.h"

#include "engine/chancefollower.h"
#include "history/formhistory.h"
#include "layouts/mainlayout.h"
#include "menuitems.h"
#include "settings/inifilesaveload.h"
#include "tickets/formcheck.h"
#include "tickets/formtickets.h"
#include "wheels/formwheel.h"

#include <QCheckBox>
#include <QScrollBar>

using namespace IniFileSaveLoad;

// The tool windows of the ツール menu: one of each at a time, following the main window's draw
// settings and logging, and each told when another stored something.

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
    const QString database = m_locations.historyDatabase();
    QDialog *tool = nullptr;
    if (index == MainLayout::History) {
        if (!m_history) {
            openTool(m_history,
                new FormHistory(database, m_locations.toolChoicesFile(), m_chk1->isChecked(),
                    m_scr1->value(), this));
            connect(m_history, &FormHistory::levelsApplied, this, &FormMain::loadActiveProfile);
        }
        tool = m_history;
    } else if (index == MainLayout::Tickets) {
        if (!m_tickets) {
            openTool(m_tickets, new FormTickets(database, drawInput(), ticketsLog(), this));
            connect(m_tickets, &FormTickets::ticketsLogged, this, &FormMain::refreshLogItems);
        }
        tool = m_tickets;
    } else if (index == MainLayout::Check) {
        if (!m_check)
            openTool(m_check, new FormCheck(database, this));
        tool = m_check;
    } else if (index == MainLayout::Wheel) {
        if (!m_wheel) {
            openTool(m_wheel, new FormWheel(database, ticketsLog(), this));
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
void FormMain::openTool(QPointer<Tool> &slot, Tool *tool)
{
    // Closed, the window is gone at once for the menu: the next command opens a new one.
    slot = tool;
    tool->setAttribute(Qt::WA_DeleteOnClose);
    connect(tool, &QDialog::finished, this, [&slot] { slot = nullptr; });
    connect(tool, &Tool::databaseChanged, this, [this, tool] { databaseChanged(tool); });
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
