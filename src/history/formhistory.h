#pragma once

#include "engine/profile.h"
#include "historydatabase.h"
#include "importfile.h"
#include "statistics.h"

#include <QDialog>

class HistoryChart;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The past results window: reads results from files and pasted text into the database, shows
// each number's statistics over a period with a chart of the counts against what chance alone
// gives, and sets one profile's levels from them by a rule, with a preview of the chances. It
// always says that every draw is independent and the figures are no forecast.
class FormHistory : public QDialog
{
    Q_OBJECT

public:
    // The main window's level switch and strength, for the preview's chances.
    FormHistory(
        const QString &databasePath, bool levelsOn, int strength, QWidget *parent = nullptr);

    void readFile(
        const QString &path); // "ファイルから読み込む": a file's results into the database
    void readText(const QString &text); // "貼り付け": pasted results into the database
    void apply(); // "反映": the previewed levels into the chosen profile, once the user agrees

protected:
    void dragEnterEvent(QDragEnterEvent *event) override; // files may be dropped
    void dropEvent(QDropEvent *event) override; // each dropped file is read

private:
    void buildControls();
    // Shows what a read did: its counts and first reasons, or failure when nothing was stored.
    void report(
        const ImportReport &read, const std::vector<RejectedLine> &reasons, const QString &failure);
    void refresh(); // the period, the rule or the stored draws changed: every figure follows

    HistoryDatabase m_database;
    std::vector<PastDraw> m_draws;
    StoredProfiles m_stored;
    bool m_levelsOn;
    int m_strength;
    std::optional<LevelString> m_newLevels;

    QLabel *m_storedLabel = nullptr; // how many draws are stored, and their range
    QLabel *m_report = nullptr; // what the last read did
    QComboBox *m_period = nullptr; // "期間": the last 50, 100 or 200 draws, or all
    QTableWidget *m_table = nullptr; // the 43 numbers' figures and the preview, sortable
    HistoryChart *m_chart = nullptr; // the counts against the expected count and its band
    QComboBox *m_target = nullptr; // "反映先": the profile the levels go to
    QComboBox *m_rule = nullptr; // "方針": often drawn higher, or seldom drawn higher
    QPushButton *m_apply = nullptr; // "反映"
};
