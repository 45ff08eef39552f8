#pragma once

#include "drawsmodel.h"
#include "engine/profile.h"
#include "exportresults.h"
#include "importfile.h"
#include "look/backgroundjob.h"
#include "statistics.h"
#include "statisticsmodel.h"
#include "toolwindow.h"

#include <memory>

class HistoryChart;
class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QSpinBox;
class QTableView;

// The past results window. Its first tab shows each number's statistics over a period with a
// chart of the counts against what chance alone gives, and sets one profile's levels from them
// by a rule, with a preview of the chances; it always says that every draw is independent and
// the figures are no forecast. Its second lists every stored draw, to be mended or removed.
// Files and pasted text are read and stored off the user-interface thread, with progress and
// a Cancel that leaves the database as it was.
class FormHistory : public ToolWindow
{
    Q_OBJECT

public:
    // The main window's level switch and strength, for the preview's chances; the period and the
    // chart's axis shown last are read from choicesPath and kept there as they change (with an
    // empty path, not kept).
    FormHistory(const QString &databasePath, const Game &game, const QString &choicesPath,
        bool levelsOn, int strength, QWidget *parent = nullptr);
    using ToolWindow::reload; // read again, unless a read is running

    // A check of the official results runs: what it does, and how many of the game's files are
    // done of how many (0 of 0 while not known). Then its report, once it ended.
    void showUpdateProgress(const QString &doing, int done, int total);
    void showUpdateReport(const QString &report);

    void readFile(const QString &path); // "ファイルから読み込む": a file's results
    void readText(const QString &text); // "貼り付け": pasted results
    bool importing() const;
    bool writable() const; // the database can be written, or will be once a lock passes
    void cancelImport(); // "中止"

    void apply(); // "反映": the previewed levels into the chosen profile, once the user agrees
    void mendDraw(int row); // "修正": the draw of a row of the stored draws' table, in a dialog
    void removeDraws(const QList<int> &rows); // "削除", once the user agrees

    // "CSV に書き出す": the stored draws, or the statistics table as shown. The reason when the
    // file could not be written, empty when it was.
    QString exportDraws(const QString &path, ExportEncoding encoding) const;
    QString exportStatistics(const QString &path, ExportEncoding encoding) const;

    // The main window's level switch or strength changed: the preview follows.
    void setDrawOptions(bool levelsOn, int strength);
    void reloadProfiles(); // the profiles may have changed: their names and levels are read again

signals:
    void levelsApplied(); // a profile's levels were written to the settings file
    // "最新の結果を取得" for the window's game, or for every game, and its "中止".
    void updateAsked(bool allGames);
    void updateCancelled();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override; // files may be dropped
    void dropEvent(QDropEvent *event) override; // the dropped files are read
    void showEvent(QShowEvent *event) override;

private:
    // What to read: a file, or pasted text when path is empty.
    struct Source
    {
        QString path;
        QString text;
    };
    struct Outcome;

    void buildControls();
    QWidget *statisticsTab();
    QWidget *drawsTab();
    void startImport(std::vector<Source> sources);
    void importDone(Outcome &outcome);
    void reload(std::vector<PastDraw> draws); // the stored draws changed, to these
    void refresh(); // the period, the rule or the stored draws changed: every figure follows
    void recallChoice(); // the period and the axis as they were last left
    void keepChoice();
    void fitScreen(); // never taller or wider than the screen's available area
    DrawRange chosenRange() const;
    // Asks where and in which encoding, then writes, telling a failure.
    void exportAs(QString (FormHistory::*write)(const QString &, ExportEncoding) const);

    DrawStore m_store {m_database, m_game};
    QString m_choicesPath;
    std::optional<DrawRange> m_recalledRange; // a chosen range, until there are draws to show it
    StoredProfiles m_stored;
    bool m_levelsOn;
    int m_strength;
    std::optional<LevelString> m_newLevels;
    PeriodStatistics m_figures; // of the period shown

    StatisticsModel m_statistics;
    DrawsModel m_draws;
    QSortFilterProxyModel *m_statisticsView = nullptr;
    QSortFilterProxyModel *m_drawsView = nullptr;

    JobControls *m_jobControls = nullptr;
    std::optional<BackgroundJob<std::shared_ptr<Outcome>>> m_import;

    QLabel *m_storedLabel = nullptr; // how many draws are stored, their range, missing ones
    QLabel *m_sourceLabel = nullptr; // when the database was last read into, and from what, and
                                     // when the source was last checked, from where, with what
    QList<QPushButton *> m_updateButtons; // "最新の結果を取得", for the game and for all
    QProgressBar *m_updateBar = nullptr; // a check's files done, with its "中止"
    QPushButton *m_updateCancel = nullptr;
    QPlainTextEdit *m_report = nullptr; // what the last read did
    QComboBox *m_period = nullptr; // "期間": the last 50, 100 or 200 draws, all, or chosen
    QSpinBox *m_from = nullptr; // a chosen period's first and last draw
    QSpinBox *m_to = nullptr;
    QLabel *m_rangeLabel = nullptr; // the period's own draws and dates
    QCheckBox *m_fromZero = nullptr; // "縦軸を 0 から"
    QTableView *m_table = nullptr; // the 43 numbers' figures and the preview, sortable
    QTableView *m_drawsTable = nullptr; // the stored draws, sortable
    QLabel *m_goToReason = nullptr; // why 回へ移動 found no draw
    HistoryChart *m_chart = nullptr; // the counts against the expected count and its band
    QComboBox *m_target = nullptr; // "反映先": the profile the levels go to
    QComboBox *m_rule = nullptr; // "方針"
    QPushButton *m_apply = nullptr; // "反映"
    QList<QWidget *> m_writers; // the controls that write the database, off while it is read
};
