#include "formabout.h"

#include "aboutlayout.h"
#include "layouts/twips.h"
#include "look/appicon.h"
#include "look/fonts.h"
#include "platform/module1.h"
#include "productinfo.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextEdit>

using namespace Qt::StringLiterals;

namespace {

enum Label { Link = 1, Title = 2, Version = 3, Maker = 4, Website = 5 };

} // namespace

FormAbout::FormAbout(QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
            | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QString::fromUtf16(AboutLayout::Caption));
    setFont(JapaneseFont(JapaneseFace::UIGothic, 9));
    setFixedSize(
        Twips::toPixels(AboutLayout::ClientWidth), Twips::toPixels(AboutLayout::ClientHeight));

    m_com1 = new QPushButton(QString::fromUtf16(AboutLayout::Com1Caption), this);
    m_com1->setGeometry(Twips::toPixels(AboutLayout::Com1));
    m_com1->setDefault(true);
    connect(m_com1, &QPushButton::clicked, this, [this] { Com1_Click(0); });

    m_txt1 = new QTextEdit(this);
    m_txt1->setGeometry(Twips::toPixels(AboutLayout::Txt1));
    m_txt1->setReadOnly(true);
    m_txt1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_txt1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_txt1->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_txt1->setFont(JapaneseFont(JapaneseFace::PGothic, 9));
    QPalette face = m_txt1->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    m_txt1->setPalette(face);

    const std::array<std::pair<Label, TwipsRect>, 5> labels {{
        {Link, AboutLayout::Lab1Link},
        {Title, AboutLayout::Lab1Title},
        {Version, AboutLayout::Lab1Version},
        {Maker, AboutLayout::Lab1Maker},
        {Website, AboutLayout::Lab1Website},
    }};
    for (const auto &[index, rect] : labels) {
        m_lab1[index] = new QLabel(this);
        m_lab1[index]->setGeometry(Twips::toPixels(rect));
    }
    m_lab1[Version]->setText(u"Version "_s + QString::fromUtf16(ApplicationVersion));
    m_lab1[Maker]->setText(QString::fromUtf16(AboutLayout::MakerLine));
    m_lab1[Website]->setText(QString::fromUtf16(AboutLayout::WebsiteText));

    QFont title = JapaneseFont(JapaneseFace::PMincho, 18);
    title.setBold(true);
    title.setItalic(true);
    m_lab1[Title]->setFont(title);

    QLabel *link = m_lab1[Link];
    QFont underlined = JapaneseFont(JapaneseFace::UIGothic, 9);
    underlined.setUnderline(true);
    link->setFont(underlined);
    QPalette blue = link->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 192));
    link->setPalette(blue);
    link->setCursor(Qt::PointingHandCursor);
    link->installEventFilter(this);

    m_img1 = new QLabel(this);
    m_img1->setGeometry(Twips::toPixels(AboutLayout::Img1));
    m_img1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Form_Load();
}

void FormAbout::Form_Load()
{
    QLabel *link = m_lab1[Link];
    link->setText(QString::fromUtf16(AboutLayout::WebAddress));
    link->resize(link->sizeHint());
    m_lab1[Title]->setText(QString::fromUtf16(ApplicationTitle));
    m_txt1->setPlainText(QString::fromUtf16(AboutLayout::Disclaimer));
    m_img1->setPixmap(QPixmap::fromImage(AppIconImage()));
}

void FormAbout::Com1_Click(int index)
{
    if (index == 0)
        accept();
}

void FormAbout::Lab1_Click(int index)
{
    if (index == Link)
        Module1::ShellOpen(m_lab1[Link]->text()); // a failure is not reported
}

bool FormAbout::eventFilter(QObject *watched, QEvent *event)
{
    // A click on the link: the left button pressed on it and released over it. A press dragged
    // off the link and released elsewhere opens nothing.
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (watched != m_lab1[Link] || (!press && event->type() != QEvent::MouseButtonRelease))
        return QDialog::eventFilter(watched, event);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return QDialog::eventFilter(watched, event);
    if (press)
        m_linkPressed = true;
    else if (std::exchange(m_linkPressed, false)
        && m_lab1[Link]->rect().contains(mouse->position().toPoint()))
        Lab1_Click(Link);
    return true;
}
