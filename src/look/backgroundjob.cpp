#include "backgroundjob.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

JobControls::JobControls(const QString &progressName, QWidget *parent)
    : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins({});
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(u"progress"_s);
    m_bar->setAccessibleName(progressName);
    m_bar->setRange(0, JobState::Steps);
    m_cancel = new QPushButton(u"中止(&C)"_s, this);
    m_cancel->setObjectName(u"cancel"_s);
    connect(m_cancel, &QPushButton::clicked, this, &JobControls::cancel);
    row->addWidget(m_bar, 1);
    row->addWidget(m_cancel);
    m_timer = new QTimer(this);
    m_timer->setInterval(50);
    connect(m_timer, &QTimer::timeout, this, [this] { m_bar->setValue(m_state->done()); });
    hide();
}

std::shared_ptr<JobState> JobControls::begin()
{
    m_state = std::make_shared<JobState>();
    m_bar->setValue(0);
    show();
    m_timer->start();
    return m_state;
}

void JobControls::end()
{
    m_timer->stop();
    hide();
}

bool JobControls::running() const
{
    return m_timer->isActive(); // the bar follows the job while it runs
}

void JobControls::cancel()
{
    if (running())
        m_state->cancel();
}

bool JobControls::cancelled() const
{
    return m_state && m_state->cancelled();
}
