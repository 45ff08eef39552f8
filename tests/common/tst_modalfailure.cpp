// A check that fails while a modal dialog is open. This suite is meant to fail, and at once: CTest
// expects it to fail, and a run that hangs until its timeout counts as a failure of the test.
#include "common/windowfixture.h"

#include <QDialog>

class tst_ModalFailure : public QObject
{
    Q_OBJECT

private slots:
    void failsAtOnce()
    {
        QDialog dialog;
        whenModal(this, [] { QVERIFY(false); });
        dialog.exec();
    }
};

QTEST_MAIN(tst_ModalFailure)
#include "tst_modalfailure.moc"
