#pragma once

#include "engine/draw.h"
#include "engine/uniformsource.h"
#include "layouts/layoutdata.h"
#include "platform/programlocations.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <array>
#include <memory>
#include <vector>

class ChanceFollower;
class FormCheck;
class FormHistory;
class FormTickets;
class FormWheel;
class LcdDisplay;
class QAction;
class QCheckBox;
class InstanceLock;
class QMenu;
class QPushButton;
class QScrollBar;
class UpdateSession;
struct Game;

// The main window. It draws six numbers onto the simulated display, shows the level switch and
// the draw strength, plays the title animation, and keeps its own state in the settings file's
// section "Setup": read once by Form_Load, written once when the window closes. Each handler
// reads its controls, asks the engine, and writes the result back.
class FormMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit FormMain(const ProgramLocations &locations, QWidget *parent = nullptr);
    ~FormMain() override;

    // Start-up. False when another copy already runs with the same settings file: the program
    // then ends at once, having touched nothing.
    bool Form_Load();

    void Com1_Click(); // draws six numbers onto the display and appends them to the log
    void Chk1_Click(); // the level switch or strength changed: shows the level indicator
    void Timer1_Timer(); // one step of the title animation
    void mSys1_Click(int index); // a command of the system menu, by its item (MainLayout::SysItem)
    void mSys_Click(); // the system menu opens: enables the items that can run now
    // A command of the tools menu, by its item (MainLayout::ToolItem): opens its window beside
    // this one, or brings it to the front when it is open already.
    void mTool1_Click(int index);
    // Once the window is up: the official results are checked when the user agreed to it and
    // no check came in the last six hours.
    void checkAtStart();
    void mHelp1_Click(int index); // a command of the help menu, by its item (MainLayout::HelpItem)
    bool Form_KeyDown(int key, Qt::KeyboardModifiers modifiers); // F1, before any control

    const QString &logFilePath() const { return LogFilePath; }
    const QString &logViewCopyPath() const { return LogViewCopyPath; }
    const QString &logViewerCommand() const { return LogViewerCommand; }
    const std::array<int, 6> &drawnNumbers() const { return m_list1; }
    const LevelString &activeLevels() const { return ActiveLevels; }
    const BirthdaySetting &activeBirthday() const { return ActiveBirthday; }
    QAction *sys1(int index) const { return m_mSys1.at(static_cast<std::size_t>(index)); }
    bool isTimer1Enabled() const { return m_timer1.isActive(); }
    const QString &timer1Tag() const { return m_timer1Tag; }

protected:
    bool event(QEvent *event) override; // Form_Activate, and placing by the frame once framed
    void closeEvent(QCloseEvent *event) override; // Form_Unload, once
    bool eventFilter(QObject *watched, QEvent *event) override; // keyboard preview: F1, Enter

private:
    void buildControls();
    void buildMenus();
    void Form_Activate();
    void Form_Unload();
    void placeByFrame();
    void refreshLogItems();
    void refreshCopyItem();
    void openLog();
    void deleteLog();
    void loadActiveProfile();
    DrawInput drawInput() const; // the active profile with the level switch and strength
    void followDrawInput(); // the chances and the open tool windows follow the draw's inputs
    QString ticketsLog() const; // where the tickets window logs: empty while logging is off
    // Opens it for the game unless it is open, and brings it to the front; without activate,
    // beside this window without taking the focus.
    void showTool(int index, const Game &game, bool activate = true);
    // Kept until closed, told what others store, opened again for another game when asked.
    template<typename Tool>
    void openTool(QPointer<Tool> &slot, int index, Tool *tool);
    void databaseChanged(const QObject *origin); // every open tool window but origin reloads
    // "最新の結果を取得": asks once whether to check at start-up too, then checks the games.
    void fetchResults(const std::vector<const Game *> &games, QWidget *asking);
    UpdateSession &updates(); // made at the first check, never before the window is up

    ProgramLocations m_locations;
    std::unique_ptr<InstanceLock> m_instanceLock;
    bool m_loaded = false;
    bool m_placedByFrame = false;

    QCheckBox *m_chk1 = nullptr; // the level switch, captioned with the level indicator
    QScrollBar *m_scr1 = nullptr; // the draw strength, 0 to 15
    LcdDisplay *m_txtDisp = nullptr; // the simulated display
    QPushButton *m_com1 = nullptr; // the big draw button, the window's default
    std::array<QAction *, 20> m_mSys1 {}; // the system menu's items, by MainLayout::SysItem
    std::array<QAction *, 7> m_mTool1 {}; // the tools menu's items, by MainLayout::ToolItem
    std::array<QAction *, 3> m_mHelp1 {}; // the help menu's items, by MainLayout::HelpItem
    QPointer<FormHistory> m_history; // the tool windows, while open
    QPointer<FormTickets> m_tickets;
    QPointer<FormCheck> m_check;
    QPointer<FormWheel> m_wheel;
    UpdateSession *m_updates = nullptr;

    // The timer's step counter lives beside it as text, as the animation expects.
    QTimer m_timer1;
    QString m_timer1Tag = QStringLiteral("0");

    // The drawn numbers in ascending order; they stay until the next draw.
    std::array<int, 6> m_list1 {};
    UniformSource m_random;
    ChanceFollower *m_chances = nullptr;

    // The inputs of a draw and the log's places keep the names the program has always used
    // for them, which every part of it refers to, rather than take the member prefix.
    LevelString ActiveLevels;
    BirthdaySetting ActiveBirthday;
    QString LogFilePath;
    QString LogViewCopyPath;
    QString LogViewerCommand;
};
