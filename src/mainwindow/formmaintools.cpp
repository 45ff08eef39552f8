#include "formmain.h"

#include "engine/chancefollower.h"
#include "history/formhistory.h"
#include "layouts/mainlayout.h"
#include "menuitems.h"
#include "platform/seams.h"
#include "settings/inifilesaveload.h"
#include "settings/toolchoices.h"
#include "tickets/formcheck.h"
#include "tickets/formtickets.h"
#include "update/updatesession.h"
#include "wheels/formwheel.h"

#include <QCheckBox>
#include <QScrollBar>

using namespace IniFileSaveLoad;
using namespace Qt::StringLiterals;

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
    if (index == MainLayout::Update) {
        fetchResults(Games(), this);
    } else if (index == MainLayout::CheckAtStart) {
        const bool check = !ReadCheckAtStart().value_or(false);
        if (WriteCheckAtStart(check))
            m_mTool1[MainLayout::CheckAtStart]->setChecked(check);
    } else {
        showTool(index, ReadToolGame());
    }
}

void FormMain::checkAtStart()
{
    const std::optional<bool> agreed = ReadCheckAtStart();
    m_mTool1[MainLayout::CheckAtStart]->setChecked(agreed.value_or(false));
    if (agreed.value_or(false) && updates().automaticDue(Seams::now()))
        updates().start(Games());
}

void FormMain::fetchResults(const std::vector<const Game *> &games, QWidget *asking)
{
    if (!ReadCheckAtStart()) {
        const bool check = Seams::message(asking, QMessageBox::Question,
                               u"これからは、起動したときにも最新の結果を取得しますか？\n"
                               u"（6 時間に 1 回まで。ツール メニューの「起動時に最新の結果を取得」"
                               u"でいつでも変えられます）"_s,
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes;
        if (WriteCheckAtStart(check))
            m_mTool1[MainLayout::CheckAtStart]->setChecked(check);
    }
    updates().start(games);
}

UpdateSession &FormMain::updates()
{
    if (m_updates)
        return *m_updates;
    m_updates = new UpdateSession(m_locations.historyDatabase(), m_locations.sourcesFile(), this);
    connect(m_updates, &UpdateSession::progressed, this,
        [this](const QString &doing, int done, int total) {
            if (m_history)
                m_history->showUpdateProgress(doing, done, total);
        });
    connect(m_updates, &UpdateSession::finished, this,
        [this](const QString &report, const std::vector<const Game *> &graded) {
            if (m_history)
                m_history->showUpdateReport(report);
            databaseChanged(nullptr);
            // The grades of the tickets saved for the draws that came, shown at once.
            if (!graded.empty() && !m_check)
                showTool(MainLayout::Check, *graded.front(), false);
        });
    return *m_updates;
}

void FormMain::showTool(int index, const Game &game, bool activate)
{
    const QString database = m_locations.historyDatabase();
    ToolWindow *tool = nullptr;
    if (index == MainLayout::History) {
        if (!m_history) {
            openTool(m_history, index,
                new FormHistory(database, game, m_locations.toolChoicesFile(), m_chk1->isChecked(),
                    m_scr1->value(), this));
            connect(m_history, &FormHistory::levelsApplied, this, &FormMain::loadActiveProfile);
            connect(m_history, &FormHistory::updateAsked, this, [this](bool allGames) {
                fetchResults(allGames ? Games() : std::vector {&m_history->game()}, m_history);
            });
            connect(m_history, &FormHistory::updateCancelled, this, [this] { updates().cancel(); });
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
    if (tool && activate) {
        tool->show();
        tool->raise();
        tool->activateWindow();
    } else if (tool) {
        tool->setAttribute(Qt::WA_ShowWithoutActivating);
        tool->show();
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
