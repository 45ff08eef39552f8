#include "formmain.h"

#include "aboutbox/formabout.h"
#include "engine/chancefollower.h"
#include "engine/levelindicator.h"
#include "engine/resultlog.h"
#include "engine/titleanimation.h"
#include "history/formhistory.h"
#include "layouts/mainlayout.h"
#include "layouts/twips.h"
#include "lcdtheme.h"
#include "look/appicon.h"
#include "look/fonts.h"
#include "look/hscrollbar.h"
#include "look/lcddisplay.h"
#include "mainpanel.h"
#include "menuitems.h"
#include "platform/instancelock.h"
#include "platform/module1.h"
#include "platform/placement.h"
#include "platform/seams.h"
#include "productinfo.h"
#include "settings/inifilesaveload.h"
#include "setupdialog/formsetup.h"
#include "tickets/formcheck.h"
#include "tickets/formtickets.h"
#include "wheels/formwheel.h"

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>

using namespace IniFileSaveLoad;
using namespace Qt::StringLiterals;

namespace {

const QString setup = u"Setup"_s;
constexpr int drawPoints = 25;
constexpr int indicatorPoints = 10;

} // namespace

FormMain::FormMain(const ProgramLocations &locations, QWidget *parent)
    : QMainWindow(parent,
        Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
            | Qt::WindowCloseButtonHint)
    , m_locations(locations)
{
    // The designed caption is the default log viewer's name until the window is first active.
    setWindowTitle(QString::fromUtf16(Module1::DefaultLogViewer));
    setWindowIcon(AppIcon());
    setFont(JapaneseFont(JapaneseFace::UIGothic, 9));
    buildControls();
    buildMenus();
    setFixedSize(Twips::toPixels(MainLayout::ClientWidth),
        menuBar()->sizeHint().height() + Twips::toPixels(MainLayout::ClientHeight));

    // The strength slider's tooltip names the active profile's most and least likely numbers.
    m_chances = new ChanceFollower(
        [this](const DrawInput &input, const ChanceFollower::Chances &chances) {
            m_scr1->setToolTip(MostAndLeastLikely(input.strength, chances));
        },
        this);

    m_timer1.setInterval(MainLayout::Timer1IntervalMs);
    connect(&m_timer1, &QTimer::timeout, this, &FormMain::Timer1_Timer);
}

FormMain::~FormMain() = default;

void FormMain::buildControls()
{
    auto *panel = new MainPanel(this);
    setCentralWidget(panel);

    m_chk1 = new QCheckBox(panel);
    m_chk1->setObjectName(u"Chk1"_s);
    m_chk1->setFont(JapaneseFont(JapaneseFace::PGothic, 9));
    m_chk1->setGeometry(Twips::toPixels(MainLayout::Chk1));

    m_scr1 = new HScrollBar(panel);
    m_scr1->setObjectName(u"Scr1"_s);
    m_scr1->setAccessibleName(u"強さ"_s);
    m_scr1->setRange(MainLayout::Scr1Minimum, MainLayout::Scr1Maximum);
    m_scr1->setSingleStep(MainLayout::Scr1SmallChange);
    m_scr1->setPageStep(MainLayout::Scr1LargeChange);
    m_scr1->setGeometry(Twips::toPixels(MainLayout::Scr1));

    m_txtDisp = new LcdDisplay(panel);
    m_txtDisp->setObjectName(u"TxtDisp"_s);
    m_txtDisp->setAccessibleName(u"表示"_s);
    m_txtDisp->setGeometry(Twips::toPixels(MainLayout::TxtDisp));

    m_com1 = new QPushButton(QString::fromUtf16(MainLayout::Com1Caption), panel);
    m_com1->setObjectName(u"Com1"_s);
    m_com1->setFont(JapaneseFont(JapaneseFace::PGothic, 9));
    m_com1->setDefault(true);
    m_com1->setGeometry(Twips::toPixels(MainLayout::Com1));

    setTabOrder(m_chk1, m_scr1);
    setTabOrder(m_scr1, m_txtDisp);
    setTabOrder(m_txtDisp, m_com1);

    // Keyboard preview: the window sees every key of its own widgets, the menu bar included,
    // before the focused one does.
    QCoreApplication::instance()->installEventFilter(this);

    connect(m_chk1, &QCheckBox::toggled, this, &FormMain::Chk1_Click);
    connect(m_scr1, &QScrollBar::valueChanged, this, &FormMain::Chk1_Click); // Scr1_Change
    connect(m_scr1, &QScrollBar::sliderMoved, this, &FormMain::Chk1_Click); // Scr1_Scroll
    connect(m_com1, &QPushButton::clicked, this, &FormMain::Com1_Click);
}

void FormMain::buildMenus()
{
    QMenu *mSys = menuBar()->addMenu(QString::fromUtf16(MainLayout::MSysCaption));
    AddMenuItems(mSys, MainLayout::MSys1, m_mSys1, this, [this](int item) { mSys1_Click(item); });
    connect(mSys, &QMenu::aboutToShow, this, &FormMain::mSys_Click);

    QMenu *mTool = menuBar()->addMenu(QString::fromUtf16(MainLayout::MToolCaption));
    AddMenuItems(
        mTool, MainLayout::MTool1, m_mTool1, this, [this](int item) { mTool1_Click(item); });

    QMenu *mHelp = menuBar()->addMenu(QString::fromUtf16(MainLayout::MHelpCaption));
    AddMenuItems(
        mHelp, MainLayout::MHelp1, m_mHelp1, this, [this](int item) { mHelp1_Click(item); });

    // Copy is offered while the display holds a draw's result. Following the display keeps
    // the shortcut right without opening the menu; the log items follow the draws that write
    // the log and the command that deletes it.
    connect(m_txtDisp, &LcdDisplay::displayTextChanged, this, &FormMain::refreshCopyItem);
}

bool FormMain::Form_Load()
{
    const QString iniPath = m_locations.settingsFile();

    const QString temporary = Module1::GetTempDirectory();
    m_instanceLock = std::make_unique<InstanceLock>(iniPath, temporary);
    if (!m_instanceLock->acquire())
        return false;

    SetIniPath(iniPath);
    Module1::SetHelpDirectory(m_locations.helpDirectory);

    const LevelSetting level = ReadLevelSetting();
    m_scr1->setValue(level.strength);
    m_chk1->setChecked(level.on);
    Chk1_Click();

    // Only a theme is replayed: another index would run a menu command before the window is up.
    const qint16 theme = static_cast<qint16>(ReadIniInt(setup, u"Display"_s, 1));
    if (theme >= MainLayout::ThemeFirst && theme <= MainLayout::ThemeLast)
        mSys1_Click(theme);
    if (static_cast<qint16>(ReadIniInt(setup, u"WinPos"_s, 0)) == 0)
        mSys1_Click(MainLayout::CentreOnScreen);
    if (static_cast<qint16>(ReadIniInt(setup, u"Log"_s, 1)) != 0)
        mSys1_Click(MainLayout::RecordLog);

    // The designed caption is the default viewer.
    const QString viewer = ReadIniString(setup, u"LogViewer"_s, {});
    const LogPaths log = ResolveLogPaths(
        {ReadIniString(setup, u"LogFile"_s, {}), viewer, QFileInfo(viewer).isFile()},
        Module1::AppendBackslash(m_locations.programDirectory),
        temporary.isEmpty() ? QString() : Module1::AppendBackslash(temporary), windowTitle());
    LogFilePath = log.log;
    LogViewCopyPath = log.copy;
    LogViewerCommand = log.viewer;

    // Before the window is shown it has no frame yet; placeByFrame() centres it again by its
    // outer size once the desktop has framed it.
    move(StartingTopLeft(sys1(MainLayout::CentreOnScreen)->isChecked(),
        {Twips::toPixels(ReadIniInt(setup, u"WinPosX"_s, 0)),
            Twips::toPixels(ReadIniInt(setup, u"WinPosY"_s, 0))},
        frameGeometry().size()));

    loadActiveProfile();

    Timer1_Timer();
    m_timer1.start();
    m_loaded = true;
    return true;
}

void FormMain::loadActiveProfile()
{
    const ActiveProfile active = ReadActiveProfile();
    ActiveLevels = active.levels;
    ActiveBirthday = active.birthday;
    if (m_history)
        m_history->reloadProfiles();
    followDrawInput();
}

void FormMain::Form_Activate()
{
    setWindowTitle(QString::fromUtf16(ApplicationTitle));
}

bool FormMain::Form_KeyDown(int key, Qt::KeyboardModifiers)
{
    if (key != Qt::Key_F1)
        return false;
    Module1::ShowHelpPage(u"main.htm"_s);
    return true;
}

void FormMain::Form_Unload()
{
    if (!LogViewCopyPath.isEmpty())
        QFile::remove(LogViewCopyPath);

    int theme = 0;
    while (theme <= MainLayout::ThemeLast && !sys1(theme)->isChecked())
        ++theme;
    const int level = (m_chk1->isChecked() ? 100 : 0) + m_scr1->value();

    WriteIniString(setup, u"Log"_s, sys1(MainLayout::RecordLog)->isChecked() ? u"1"_s : u"0"_s);
    WriteIniString(setup, u"Display"_s, QString::number(theme));
    WriteIniString(setup, u"Level"_s, QString::number(level));
    WriteIniString(
        setup, u"WinPos"_s, sys1(MainLayout::CentreOnScreen)->isChecked() ? u"0"_s : u"1"_s);
    WriteIniString(setup, u"WinPosX"_s, QString::number(Twips::fromPixels(x())));
    WriteIniString(setup, u"WinPosY"_s, QString::number(Twips::fromPixels(y())));
    m_instanceLock->release();
}

void FormMain::Com1_Click()
{
    m_timer1.stop();
    m_random.reseedFromClock();
    const DrawResult result = DrawNumbers(drawInput(), m_random);
    m_list1 = result.numbers;
    m_txtDisp->setDisplayText(result.text);
    m_txtDisp->setPointSize(drawPoints);
    // A screen reader hears the result as it appears.
    QAccessibleValueChangeEvent announcement(m_txtDisp, result.text);
    QAccessible::updateAccessibility(&announcement);
    if (sys1(MainLayout::RecordLog)->isChecked())
        AppendLogLine(LogFilePath, Seams::now(), result.text);
    refreshLogItems();
}

void FormMain::Chk1_Click()
{
    m_timer1.stop();
    if (m_txtDisp->pointSize() != indicatorPoints)
        m_txtDisp->setPointSize(indicatorPoints);
    m_scr1->setEnabled(m_chk1->isChecked());
    const LevelIndicator indicator = LevelIndicatorFor(m_chk1->isChecked(), m_scr1->value());
    m_chk1->setText(indicator.caption);
    m_txtDisp->setDisplayText(indicator.display);
    followDrawInput();
}

void FormMain::Timer1_Timer()
{
    const quint8 step = NextTitleStep(m_timer1Tag);
    const TitleFrame frame = TitleFrameAt(step, Seams::now().date());
    if (frame.text)
        m_txtDisp->setDisplayText(*frame.text);
    if (frame.pointSize)
        m_txtDisp->setPointSize(*frame.pointSize);
    if (frame.reseed)
        m_random.reseedFromClock();
    if (frame.stop)
        m_timer1.stop();
    m_timer1Tag = QString::number(step);
}

void FormMain::mSys1_Click(int index)
{
    if (index >= MainLayout::ThemeFirst && index <= MainLayout::ThemeLast) {
        const LcdColours &colours = LcdTheme[static_cast<std::size_t>(index)];
        m_txtDisp->setColours(colours.background, colours.text);
        for (int theme = MainLayout::ThemeFirst; theme <= MainLayout::ThemeLast; ++theme)
            sys1(theme)->setChecked(false);
        sys1(index)->setChecked(true);
        return;
    }
    switch (index) {
    case MainLayout::CentreOnScreen:
        sys1(index)->setChecked(!sys1(index)->isChecked());
        break;
    case MainLayout::RecordLog:
        sys1(index)->setChecked(!sys1(index)->isChecked());
        followDrawInput();
        break;
    case MainLayout::OpenLog:
        openLog();
        break;
    case MainLayout::DeleteLog:
        deleteLog();
        break;
    case MainLayout::Settings: {
        FormSetup dialog(this);
        dialog.setDrawSettings(m_chk1->isChecked(), m_scr1->value());
        dialog.Form_Load();
        dialog.exec();
        loadActiveProfile();
        break;
    }
    case MainLayout::Copy:
        QGuiApplication::clipboard()->setText(m_txtDisp->displayText());
        break;
    case MainLayout::Draw:
        Com1_Click();
        break;
    case MainLayout::Reset:
        m_txtDisp->setDisplayText({});
        m_timer1Tag = u"0"_s;
        m_timer1.start();
        m_chk1->setFocus();
        break;
    case MainLayout::Exit:
        close();
        break;
    default:
        break;
    }
}

void FormMain::mSys_Click()
{
    refreshLogItems();
    refreshCopyItem();
}

void FormMain::refreshLogItems()
{
    const bool logExists = QFileInfo(LogFilePath).isFile();
    sys1(MainLayout::OpenLog)->setEnabled(logExists);
    sys1(MainLayout::DeleteLog)->setEnabled(logExists);
}

void FormMain::refreshCopyItem()
{
    sys1(MainLayout::Copy)->setEnabled(m_txtDisp->displayText().size() == DrawResultLength);
}

void FormMain::mHelp1_Click(int index)
{
    if (index == MainLayout::Contents) {
        Module1::ShowHelpPage(u"index.htm"_s);
    } else if (index == MainLayout::About) {
        FormAbout about(this);
        about.exec();
    }
}

void FormMain::openLog()
{
    // The viewer works on a copy, so draws can go on appending to the log while it is open.
    // Without a private directory there is no copy, and no viewer is started on nothing.
    bool shown = !LogViewCopyPath.isEmpty();
    if (shown) {
        QFile::remove(LogViewCopyPath);
        const bool copied = QFile::copy(LogFilePath, LogViewCopyPath);
        QStringList command = ViewerCommandLine(
            LogViewerCommand, QFileInfo(LogViewerCommand).isFile(), LogViewCopyPath);
        const QString program = command.takeFirst();
        shown = Seams::startDetached(program, command) && copied;
    }
    if (!shown)
        Seams::message(this, QMessageBox::Critical, u"実行できません。"_s);
}

void FormMain::deleteLog()
{
    const auto answer = Seams::message(this, QMessageBox::Question,
        u"ログファイルを削除します。よろしいですか？"_s, QMessageBox::Yes | QMessageBox::No,
        QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return;
    if (!QFile::remove(LogFilePath))
        Seams::message(this, QMessageBox::Critical, u"削除できません。"_s);
    refreshLogItems();
}

void FormMain::placeByFrame()
{
    m_placedByFrame = true;
    if (sys1(MainLayout::CentreOnScreen)->isChecked() && frameGeometry().size() != size())
        move(CentredTopLeft(frameGeometry().size()));
}

bool FormMain::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) {
        if (!m_placedByFrame)
            placeByFrame();
        Form_Activate();
    }
    return QMainWindow::event(event);
}

void FormMain::closeEvent(QCloseEvent *event)
{
    for (QDialog *tool :
        std::initializer_list<QDialog *> {m_history, m_tickets, m_check, m_wheel}) {
        if (tool)
            tool->close();
    }
    if (m_loaded)
        Form_Unload();
    m_loaded = false;
    event->accept();
}

bool FormMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()
        || static_cast<QWidget *>(watched)->window() != this)
        return QMainWindow::eventFilter(watched, event);

    const auto *key = static_cast<QKeyEvent *>(event);
    if (Form_KeyDown(key->key(), key->modifiers()))
        return true;
    // Enter clicks the default button, also from the check box and the slider: each press at
    // once, and a held key once. The display is a multi-line box and keeps the key, and the
    // menu bar uses it for itself.
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && (watched == m_chk1 || watched == m_scr1 || watched == m_com1)) {
        if (!key->isAutoRepeat())
            m_com1->click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
