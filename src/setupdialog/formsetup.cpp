#include "formsetup.h"

#include "accessframe.h"
#include "engine/chancefollower.h"
#include "layouts/setupgrid.h"
#include "layouts/setuplayout.h"
#include "layouts/twips.h"
#include "look/fonts.h"
#include "look/hscrollbar.h"
#include "platform/module1.h"
#include "platform/placement.h"
#include "platform/seams.h"
#include "productinfo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>

using namespace Qt::StringLiterals;

namespace {

enum DialogButton { Ok = 0, Cancel = 1, Help = 2 };
enum ProfileTool { Rename = 0, Share = 1, Reset = 2 };
enum BirthdayList { Month = 0, Day = 1 };
enum Frame { LevelsFrame = 0, BirthdayFrame = 1 };
enum Label { LevelsNote = 0, BirthdayNote = 1, ProfilesLabel = 2, MonthLabel = 3, DayLabel = 4 };

QString text(const char16_t *caption)
{
    return QString::fromUtf16(caption);
}

// The name of element index of a control array, as in "ScrPB(4)".
QString elementName(QStringView array, qsizetype index)
{
    return u"%1(%2)"_s.arg(array).arg(index);
}

// The profile list: once an item is selected, one always stays selected, whatever the keys and
// clicks (Ctrl+Space and Ctrl+click would otherwise deselect it).
class ProfileList : public QListWidget
{
public:
    using QListWidget::QListWidget;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex &index, const QEvent *event) const override
    {
        const auto command = QListWidget::selectionCommand(index, event);
        return command.testFlag(QItemSelectionModel::Deselect) ? QItemSelectionModel::NoUpdate
                                                               : command;
    }
};

QFont levelLabelFont(bool bold)
{
    QFont font = JapaneseFont(JapaneseFace::UIGothic, 9);
    font.setPointSizeF(SetupLayout::LevelLabelTenthPoints / 100.0);
    font.setBold(bold);
    return font;
}

} // namespace

FormSetup::FormSetup(QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
            | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    for (AppearanceProfile &profile : m_state.profiles)
        profile.levels = CanonicalLevels({});
    setFont(JapaneseFont(JapaneseFace::UIGothic, 9));
    setFixedSize(
        Twips::toPixels(SetupLayout::ClientWidth), Twips::toPixels(SetupLayout::ClientHeight));
    // Each level slider's tooltip, and its description for a screen reader, give its number's
    // chance to be drawn with the working levels and the birthday as they stand.
    m_chances = new ChanceFollower(
        [this](const DrawInput &input, const ChanceFollower::Chances &chances) {
            for (int i = 0; i < NumberCount; ++i) {
                const QString text = u"%1：出現レベル %2 ─ 1 回の予想に入る確率 %3（強さ %4）"_s
                                         .arg(i + 1, 2, 10, QChar(u'0'))
                                         .arg(LevelAt(input.levels, i + 1))
                                         .arg(ChanceText(chances[std::size_t(i)]))
                                         .arg(input.strength);
                m_scrPB[i]->setToolTip(text);
                m_scrPB[i]->setAccessibleDescription(text);
            }
        },
        this);
    buildControls();
}

void FormSetup::setDrawSettings(bool levelsOn, int strength)
{
    m_levelsOn = levelsOn;
    m_strength = strength;
}

void FormSetup::followChances()
{
    m_chances->follow(
        {m_state.profiles[m_state.active].levels, ComposeBirthday(), m_levelsOn, m_strength});
}

void FormSetup::buildControls()
{
    for (std::size_t i = 0; i < m_frame1.size(); ++i) {
        m_frame1[i] = new AccessFrame(text(SetupLayout::Frame1[i].caption), this);
        m_frame1[i]->setGeometry(Twips::toPixels(SetupLayout::Frame1[i].rect));
    }
    QGroupBox *levelsFrame = m_frame1[LevelsFrame];
    QGroupBox *birthdayFrame = m_frame1[BirthdayFrame];
    m_frame1[LevelsFrame]->setAccessTarget([this] { return m_scrPB[0]; });
    m_frame1[BirthdayFrame]->setAccessTarget([this]() -> QWidget * {
        return m_cmbBD[Month]->isEnabled() ? static_cast<QWidget *>(m_cmbBD[Month]) : m_chkBD;
    });

    for (std::size_t i = 0; i < m_com1.size(); ++i) {
        m_com1[i] = new QPushButton(text(SetupLayout::Com1[i].caption), this);
        m_com1[i]->setObjectName(elementName(u"Com1", i));
        m_com1[i]->setGeometry(Twips::toPixels(SetupLayout::Com1[i].rect));
        connect(
            m_com1[i], &QPushButton::clicked, this, [this, i] { Com1_Click(static_cast<int>(i)); });
    }
    m_com1[Ok]->setDefault(true);

    // Element 0 of each row array; the other 42 are copies made when the dialog opens.
    m_labPB1[0] = new QLabel(u"0"_s, levelsFrame);
    m_scrPB[0] = new HScrollBar(levelsFrame);
    m_labPB2[0] = new QLabel(u"0"_s, levelsFrame);

    for (std::size_t i = 0; i < m_lab1.size(); ++i) {
        m_lab1[i] = new QLabel(text(SetupLayout::Lab1[i].caption),
            i == LevelsNote || i == ProfilesLabel ? levelsFrame : birthdayFrame);
        m_lab1[i]->setGeometry(Twips::toPixels(SetupLayout::Lab1[i].rect));
    }
    m_lab1[MonthLabel]->setFont(JapaneseFont(JapaneseFace::PGothic, 9));
    m_lab1[DayLabel]->setFont(JapaneseFont(JapaneseFace::PGothic, 9));

    m_lstPB = new ProfileList(levelsFrame);
    m_lstPB->setObjectName(u"LstPB"_s);
    m_lstPB->setAccessibleName(u"設定リスト"_s);
    m_lstPB->setGeometry(Twips::toPixels(SetupLayout::LstPB));
    m_lstPB->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every name on one line, ending in an ellipsis where it is wider than the list: a
    // horizontal scroll bar would hide one of the four rows. The tooltip has the whole name.
    m_lstPB->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lab1[ProfilesLabel]->setBuddy(m_lstPB);
    connect(m_lstPB, &QListWidget::currentRowChanged, this, &FormSetup::LstPB_Click);

    for (std::size_t i = 0; i < m_comPB.size(); ++i) {
        m_comPB[i] = new QPushButton(text(SetupLayout::ComPB[i].caption), levelsFrame);
        m_comPB[i]->setObjectName(elementName(u"ComPB", i));
        m_comPB[i]->setGeometry(Twips::toPixels(SetupLayout::ComPB[i].rect));
        connect(m_comPB[i], &QPushButton::clicked, this,
            [this, i] { ComPB_Click(static_cast<int>(i)); });
    }

    const std::array<int, 2> itemCounts {SetupLayout::MonthCount, SetupLayout::DayCount};
    for (std::size_t i = 0; i < m_cmbBD.size(); ++i) {
        m_cmbBD[i] = new QComboBox(birthdayFrame);
        m_cmbBD[i]->setObjectName(elementName(u"CmbBD", i));
        m_cmbBD[i]->setAccessibleName(i == 0 ? u"誕生月"_s : u"誕生日"_s);
        m_cmbBD[i]->setGeometry(Twips::toPixels(SetupLayout::CmbBD[i]));
        for (int item = 1; item <= itemCounts[i]; ++item)
            m_cmbBD[i]->addItem(QString::number(item));
        m_cmbBD[i]->setCurrentIndex(-1);
        // The lists hold 1 to 12 and 1 to 31 in order; no selection is 0.
        connect(m_cmbBD[i], &QComboBox::currentIndexChanged, this, [this, i](int index) {
            (i == Month ? m_state.birthday.month : m_state.birthday.day) = index + 1;
            followChances();
        });
    }

    m_chkBD = new QCheckBox(text(SetupLayout::ChkBD.caption), birthdayFrame);
    m_chkBD->setObjectName(u"ChkBD"_s);
    m_chkBD->setGeometry(Twips::toPixels(SetupLayout::ChkBD.rect));
    connect(m_chkBD, &QCheckBox::toggled, this, &FormSetup::ChkBD_Click);

    // Keyboard preview: F1 opens the help whichever control has the focus, and from the open
    // list of a drop-down, which is a window of its own.
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { Com1_Click(Help); });
    for (QComboBox *list : m_cmbBD)
        list->view()->installEventFilter(this);
}

void FormSetup::buildRows()
{
    // The designed level label is too narrow for two digits in the stand-in fonts: it grows to
    // the right, into the gap before the next column, until the widest level fits.
    QLabel probe;
    probe.setFont(levelLabelFont(false));
    int levelWidth = Twips::toPixels(SetupLayout::LabPB2.width);
    for (int level = MinimumLevel; level <= MaximumLevel; ++level) {
        probe.setText(QString::number(level));
        levelWidth = std::max(levelWidth, probe.sizeHint().width());
    }

    for (int i = 0; i < NumberCount; ++i) {
        if (i >= 1) {
            m_labPB1[i] = new QLabel(u"0"_s, m_frame1[LevelsFrame]);
            m_labPB2[i] = new QLabel(u"0"_s, m_frame1[LevelsFrame]);
            m_scrPB[i] = new HScrollBar(m_frame1[LevelsFrame]);
        }
        m_labPB1[i]->setObjectName(elementName(u"LabPB1", i));
        m_labPB2[i]->setObjectName(elementName(u"LabPB2", i));
        QScrollBar *slider = m_scrPB[i];
        slider->setObjectName(elementName(u"ScrPB", i));
        slider->setAccessibleName(u"数字 %1 の出現レベル"_s.arg(i + 1, 2, 10, QChar(u'0')));
        slider->setRange(MinimumLevel, MaximumLevel);
        slider->setSingleStep(SetupLayout::ScrPBSmallChange);
        slider->setPageStep(SetupLayout::ScrPBLargeChange);
        m_labPB1[i]->setFont(levelLabelFont(true));
        m_labPB2[i]->setFont(levelLabelFont(false));

        const GridPosition at = SetupGridPosition(i + 1, Twips::LogicalDpi);
        m_labPB1[i]->setGeometry(Twips::toPixels(at.numberLeft), Twips::toPixels(at.top),
            Twips::toPixels(SetupLayout::LabPB1.width),
            Twips::toPixels(SetupLayout::LabPB1.height));
        slider->setGeometry(Twips::toPixels(at.sliderLeft), Twips::toPixels(at.top),
            Twips::toPixels(SetupLayout::ScrPB.width), Twips::toPixels(SetupLayout::ScrPB.height));
        m_labPB2[i]->setGeometry(Twips::toPixels(at.levelLeft), Twips::toPixels(at.top), levelWidth,
            Twips::toPixels(SetupLayout::LabPB2.height));
        m_labPB1[i]->setText(u"%1"_s.arg(i + 1, 2, 10, QChar(u'0')));
        for (QWidget *element : {static_cast<QWidget *>(m_labPB1[i]),
                 static_cast<QWidget *>(slider), static_cast<QWidget *>(m_labPB2[i])})
            element->show();

        // valueChanged follows a dragged thumb as well, so the label moves with it.
        connect(slider, &QScrollBar::valueChanged, this, [this, i] { ScrPB_Change(i); });
    }

    // Tab order: the dialog buttons, the 43 sliders in number order, then the list, the
    // profile tools and the birthday controls.
    QWidget *previous = m_com1[Help];
    setTabOrder(m_com1[Ok], m_com1[Cancel]);
    setTabOrder(m_com1[Cancel], m_com1[Help]);
    for (QWidget *next : m_scrPB) {
        setTabOrder(previous, next);
        previous = next;
    }
    for (QWidget *next : std::initializer_list<QWidget *> {m_lstPB, m_comPB[Rename], m_comPB[Share],
             m_comPB[Reset], m_cmbBD[Month], m_cmbBD[Day], m_chkBD}) {
        setTabOrder(previous, next);
        previous = next;
    }
}

void FormSetup::Form_Load()
{
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    buildRows();

    const StoredProfiles stored = ReadProfileTable();
    for (int slot = 0; slot < ProfileCount; ++slot) {
        m_lstPB->addItem(QString());
        setProfileName(slot, stored.profiles[slot].name);
        m_state.profiles[slot].levels = stored.profiles[slot].levels;
    }
    // A stored index with no slot selects slot 0, so that the list always has a selection
    // and the sliders always show a profile.
    const bool valid = stored.activeIndex >= 0 && stored.activeIndex < ProfileCount;
    m_lstPB->setCurrentRow(valid ? stored.activeIndex : 0);

    loadBirthday(stored.birthday);
    setWindowTitle(QString::fromUtf16(ApplicationTitle) + text(SetupLayout::CaptionSuffix));
    move(CentredTopLeft(size()));
    QGuiApplication::restoreOverrideCursor();
}

int FormSetup::exec()
{
    // OK hides the dialog, which ends the modal loop, before it saves; when the save fails the
    // dialog shows again and the loop is run again.
    int result = QDialog::exec();
    while (isVisible())
        result = QDialog::exec();
    return result;
}

bool FormSetup::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1) {
        Com1_Click(Help);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool FormSetup::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        m_lstPB->setFocus(Qt::ActiveWindowFocusReason);
    return QDialog::event(event);
}

void FormSetup::Com1_Click(int index)
{
    switch (index) {
    case Ok: {
        // The dialog disappears before the settings file is written, and comes back with the
        // edits when they could not be saved.
        hide();
        QCoreApplication::processEvents();
        if (WriteProfileTable(m_state.active, m_state.profiles, ComposeBirthday())) {
            accept();
            break;
        }
        show();
        Seams::message(this, QMessageBox::Critical, text(SetupLayout::SaveFailed));
        break;
    }
    case Cancel:
        reject();
        break;
    case Help:
        Module1::ShowHelpPage(u"option.htm"_s);
        break;
    default:
        break;
    }
}

void FormSetup::LstPB_Click()
{
    if (m_lstPB->currentRow() < 0)
        return;
    m_state.active = m_lstPB->currentRow();
    ApplyLevelsToSliders(m_state.profiles[m_state.active].levels);
    followChances();
}

void FormSetup::ApplyLevelsToSliders(const LevelString &levels)
{
    for (int i = 0; i < NumberCount; ++i)
        m_scrPB[i]->setValue(LevelAt(levels, i + 1));
}

void FormSetup::ScrPB_Change(int index)
{
    const int value = m_scrPB[index]->value();
    m_labPB2[index]->setText(QString::number(value));
    // The levels are canonical, 43 digits long, from the moment the dialog is made.
    m_state.profiles[m_state.active].levels[index] = LevelDigit(value);
    followChances();
}

void FormSetup::ComPB_Click(int index)
{
    switch (index) {
    case Rename:
        renameProfile(m_state.active);
        break;
    case Share: {
        // The sliders take what they can of the string, and the profile follows them.
        const QString shared = Seams::input(this, text(SetupLayout::ShareCaption),
            text(SetupLayout::SharePrompt), m_state.profiles[m_state.active].levels);
        if (!shared.isEmpty())
            ApplyLevelsToSliders(shared);
        break;
    }
    case Reset: {
        const auto answer
            = Seams::message(this, QMessageBox::Question, text(SetupLayout::ResetQuestion),
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        if (answer == QMessageBox::Yes || answer == QMessageBox::No) {
            for (QScrollBar *slider : m_scrPB)
                slider->setValue(answer == QMessageBox::Yes ? MinimumLevel : MiddleLevel);
        }
        break;
    }
    default:
        break;
    }
}

void FormSetup::setProfileName(int slot, const QString &name)
{
    m_state.profiles[slot].name = name;
    QListWidgetItem *item = m_lstPB->item(slot);
    item->setText(name);
    item->setToolTip(name);
}

void FormSetup::renameProfile(int slot)
{
    const QString entered = OneLineName(Seams::input(this, text(SetupLayout::RenameCaption),
        text(SetupLayout::RenamePrompt), m_state.profiles[slot].name));
    if (entered.isEmpty())
        return;
    // The user sees what the file will keep of a name before it is kept.
    const StoredName stored = StoreName(entered);
    if (stored.cut || !stored.unstorable.isEmpty()) {
        QStringList reasons;
        if (stored.cut)
            reasons << text(SetupLayout::NameTooLong);
        if (!stored.unstorable.isEmpty())
            reasons << text(SetupLayout::NameUnstorable).arg(stored.unstorable);
        const auto answer = Seams::message(this, QMessageBox::Question,
            text(SetupLayout::NameQuestion).arg(reasons.join(u"\r\n"_s), stored.name),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer != QMessageBox::Yes)
            return;
    }
    setProfileName(slot, stored.name);
}

void FormSetup::loadBirthday(const BirthdaySetting &birthday)
{
    // A month or day the lists do not hold (only a hand-edited file has one) shows as no
    // selection, and is stored as "00" if the dialog is saved.
    const BirthdayFields fields = ParseBirthday(birthday);
    const auto within = [](int value, int last) { return value >= 1 && value <= last ? value : 0; };
    m_state.birthday = {fields.on, within(fields.month, SetupLayout::MonthCount),
        within(fields.day, SetupLayout::DayCount)};
    m_chkBD->setChecked(!m_state.birthday.on);
    m_cmbBD[Month]->setCurrentIndex(m_state.birthday.month - 1);
    m_cmbBD[Day]->setCurrentIndex(m_state.birthday.day - 1);
    ChkBD_Click();
}

void FormSetup::ChkBD_Click()
{
    m_state.birthday.on = !m_chkBD->isChecked();
    for (QWidget *control : std::initializer_list<QWidget *> {
             m_cmbBD[Month], m_lab1[MonthLabel], m_cmbBD[Day], m_lab1[DayLabel]})
        control->setEnabled(m_state.birthday.on);
    followChances();
}

BirthdaySetting FormSetup::ComposeBirthday() const
{
    return ::ComposeBirthday(m_state.birthday.on, m_state.birthday.month, m_state.birthday.day);
}
