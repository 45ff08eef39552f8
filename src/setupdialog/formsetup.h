#pragma once

#include "engine/profile.h"

#include <QDialog>

#include <array>

class AccessFrame;
class ChanceFollower;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollBar;

// The appearance-rate settings dialog. It reads the whole profile table when it opens, lets the
// user edit a working copy of the ten profiles' levels, their names, the active choice and the
// birthday, and writes everything back only on OK. Cancel, Esc and the close box drop every
// change. The main window rereads the active profile however the dialog closes.
class FormSetup : public QDialog
{
    Q_OBJECT

public:
    explicit FormSetup(QWidget *parent = nullptr);

    // The main window's level switch and strength, for the chances the sliders' tooltips show.
    void setDrawSettings(bool levelsOn, int strength);

    // Builds the level grid and loads the stored table; run before the dialog is shown.
    void Form_Load();

    // Runs the dialog until it is closed; a failed save brings it back with the edits.
    int exec() override;

    void Com1_Click(int index); // OK, Cancel or Help
    void ComPB_Click(int index); // a profile tool: rename, share string or reset
    void LstPB_Click(); // another profile chosen: its levels go onto the sliders
    void ScrPB_Change(int index); // a level slider moved: its label and the profile follow
    void ChkBD_Click(); // the birthday switched off or on: greys or enables its lists
    void ApplyLevelsToSliders(const LevelString &levels); // each slider to its number's level

    // The birthday value that OK stores.
    BirthdaySetting ComposeBirthday() const;

protected:
    bool event(QEvent *event) override; // the profile list takes the focus when active
    bool eventFilter(QObject *watched, QEvent *event) override; // F1 in an open list

private:
    void buildControls();
    void buildRows();
    void loadBirthday(const BirthdaySetting &birthday);
    void setProfileName(int slot, const QString &name);
    void renameProfile(int slot);
    void followChances();

    // The controls; each array is indexed by the names in formsetup.cpp.
    std::array<AccessFrame *, 2> m_frame1 {}; // the levels frame and the birthday frame
    std::array<QPushButton *, 3> m_com1 {}; // OK, Cancel, Help
    std::array<QLabel *, 5> m_lab1 {}; // the two notes, the list's label, "月" and "日"
    std::array<QLabel *, NumberCount> m_labPB1 {}; // each slider's number, 01 to 43
    std::array<QScrollBar *, NumberCount> m_scrPB {}; // each number's level, 0 to 15
    std::array<QLabel *, NumberCount> m_labPB2 {}; // each slider's level as a figure
    QListWidget *m_lstPB = nullptr; // the ten profiles by name; the chosen one is active
    std::array<QPushButton *, 3> m_comPB {}; // rename, share string, reset
    std::array<QComboBox *, 2> m_cmbBD {}; // the birthday's month and day
    QCheckBox *m_chkBD = nullptr; // "この機能は使用しない": the birthday off

    // The dialog's whole state, which OK saves: the ten profiles as edited, the active one and
    // the birthday. The widgets show it and their signals change it; nothing is read back from
    // them.
    struct State
    {
        ProfileTable profiles;
        int active = 0;
        BirthdayFields birthday;
    };
    State m_state;
    bool m_levelsOn = true;
    int m_strength = 5;
    ChanceFollower *m_chances = nullptr;
};
