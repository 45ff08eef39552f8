#include "toolwindow.h"

#include "databasewatch.h"
#include "look/programstyle.h"
#include "look/tooltable.h"
#include "platform/module1.h"
#include "settings/toolchoices.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

using namespace Qt::StringLiterals;

ToolWindow::ToolWindow(
    const QString &databasePath, const Game &game, const QString &title, QWidget *parent)
    : QDialog(parent, ToolWindowFlags)
    , m_game(game)
    , m_database(databasePath)
{
    setWindowTitle(title);
}

QGridLayout *ToolWindow::gridUnderGameChoice()
{
    auto *outer = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    outer->addLayout(row);
    auto *choice = new QComboBox(this);
    m_gameChoice = choice;
    choice->setObjectName(u"game"_s);
    choice->setAccessibleName(u"ゲーム"_s);
    const std::vector<const Game *> games = Games();
    for (const Game *each : games) {
        choice->addItem(each->name, each->key);
        if (each->key == m_game.key)
            choice->setCurrentIndex(choice->count() - 1);
    }
    auto *label = new QLabel(u"ゲーム(&G):"_s, this);
    label->setBuddy(choice);
    row->addWidget(label);
    row->addWidget(choice);
    row->addStretch();
    connect(choice, &QComboBox::activated, this, [this, games](int index) {
        if (games[std::size_t(index)]->key == m_game.key)
            return;
        WriteToolGame(*games[std::size_t(index)]);
        emit gameChosen(*games[std::size_t(index)]);
    });
    auto *grid = new QGridLayout;
    outer->addLayout(grid, 1);
    return grid;
}

void ToolWindow::frame(
    QSize size, const QString &helpPage, const QString &helpSection, std::function<void()> reread)
{
    resize(size);
    KeepToolWindowWhole(this);
    Module1::ShowHelpPageOnF1(this, helpPage, helpSection);
    m_watch = new DatabaseWatch(this, m_database, std::move(reread));
    // The window opens on its own first control, the game choice a Shift+Tab or Alt+G away.
    for (QWidget *next = m_gameChoice ? m_gameChoice->nextInFocusChain() : nullptr;
         next && next != m_gameChoice; next = next->nextInFocusChain()) {
        if (next->isEnabled() && !next->isHidden() && (next->focusPolicy() & Qt::TabFocus)) {
            next->setFocus();
            break;
        }
    }
}

void ToolWindow::reload()
{
    m_watch->reload();
}
