#pragma once

#include <QGroupBox>

#include <functional>

// A frame whose access key moves the focus to a control the dialog chooses, which may depend on
// what is greyed at the moment. (Qt's group box would return to whichever child had the focus
// last.)
class AccessFrame : public QGroupBox
{
    Q_OBJECT

public:
    using Target = std::function<QWidget *()>;

    AccessFrame(const QString &title, QWidget *parent);
    void setAccessTarget(Target target) { m_target = std::move(target); }

protected:
    bool event(QEvent *event) override;

private:
    Target m_target;
};
