#include "waitnotice.h"

#include "forms/boxes.h"

#include <QCoreApplication>
#include <QProgressDialog>

WaitNotice::~WaitNotice()
{
    hide();
}

void WaitNotice::show(QWidget* over, const QString& text)
{
    if (!m_dialog) {
        m_dialog = new QProgressDialog(over);
        m_dialog->setWindowTitle(QString::fromLatin1(kApplicationTitle));
        m_dialog->setCancelButton(nullptr); // the wait ends by itself within seconds
        m_dialog->setRange(0, 0);           // a busy bar: how long is not known
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
    }
    if (m_dialog->labelText() != text)
        m_dialog->setLabelText(text);
    m_dialog->show();
    // The caller waits on this thread: let the windows draw, but keep the player's input queued.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void WaitNotice::hide()
{
    delete m_dialog.data();
}
