#include "modaldriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTest>

ModalDriver::ModalDriver()
{
    connect(&m_timer, &QTimer::timeout, this, &ModalDriver::poll);
    m_timer.start(5);
}

QStringList ModalDriver::texts() const
{
    QStringList result;
    for (const Seen& box : seen)
        result << box.text;
    return result;
}

void ModalDriver::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
        // A window shown again after closing is a new showing.
        if (modal == m_window)
            return;
        m_window = modal;
        modal->installEventFilter(this);
        ++windowsSeen;
        if (!windowActions.empty()) {
            auto action = windowActions.front();
            windowActions.pop_front();
            action(modal);
        }
        return;
    }
    if (box->property("handledByTest").toBool())
        return;
    box->setProperty("handledByTest", true);
    Seen record;
    record.title = box->windowTitle();
    record.text = box->text();
    record.icon = box->icon();
    record.plainText = box->textFormat() == Qt::PlainText;
    for (QAbstractButton* button : box->buttons())
        record.buttons << button->text();
    if (box->defaultButton())
        record.defaultButton = box->defaultButton()->text();
    seen.push_back(record);
    const int key = keys.empty() ? Qt::Key_Return : keys.front();
    if (!keys.empty())
        keys.pop_front();
    QTest::keyClick(box, static_cast<Qt::Key>(key));
}

bool ModalDriver::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Hide)
        m_window = nullptr;
    return QObject::eventFilter(watched, event);
}
