#pragma once

#include "history/toolwindow.h"
#include "look/backgroundjob.h"
#include "wheelchancesmodel.h"
#include "wheelmaker.h"

class MadeTicketsPanel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// "ホイール": tickets over 7 to 20 chosen numbers that guarantee a match in some ticket when
// enough of the drawn numbers are among them. Each wheel is checked against every case before it
// is shown, with the exact chance of each number of hits and the best match then. A shipped
// design is shown at once; a search, with progress and 中止, runs only under a limit of tickets
// or when asked to improve the design. The window says that a wheel changes only how wins fall
// on its tickets, never their chance. The tickets are copied, logged and saved as the tickets
// window's are.
class FormWheel : public ToolWindow
{
    Q_OBJECT

public:
    // The main window's log: empty while logging is off.
    FormWheel(const QString &databasePath, const Game &game, const QString &logPath,
        QWidget *parent = nullptr);

    void make(); // "作成"
    void improve(); // "改善": a search from the wheel shown for one with fewer tickets
    bool searching() const;
    void cancelSearch(); // "中止": the best wheel found so far is shown
    void seed(quint32 value); // the next 作成 starts from this seed rather than the clock
    void setLogPath(const QString &logPath);
    void copy();
    void save();

signals:
    void ticketsLogged(); // tickets were appended to the log

private:
    void buildControls();
    void startSearch(const WheelSearchRequest &request);
    void searchDone(std::vector<Block> found);
    void showWheel(Wheel wheel, const QString &status);

    std::optional<quint32> m_seed;
    std::vector<int> m_chosen; // ascending
    quint32 m_wheelSeed = 0; // the order the design is put onto the chosen numbers in
    std::optional<Wheel> m_wheel;
    bool m_improving = false;
    Guarantee m_searched; // the guarantee of the search running or last run
    WheelChancesModel m_chances;

    JobControls *m_jobControls = nullptr;
    std::optional<BackgroundJob<std::vector<Block>>> m_search;

    QLineEdit *m_chosenEdit = nullptr; // "選んだ数字"
    QComboBox *m_guarantee = nullptr; // "保証"
    QSpinBox *m_most = nullptr; // "口数の上限": なし, or 1 and more
    QPushButton *m_make = nullptr;
    QPushButton *m_improve = nullptr;
    QLabel *m_cost = nullptr; // the tickets and what they cost
    QLabel *m_coverage = nullptr; // the guarantee as checked
    QLabel *m_expected = nullptr; // the expected winning tickets in a draw
    MadeTicketsPanel *m_panel = nullptr;
};
