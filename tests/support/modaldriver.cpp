#include "modaldriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <utility>

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
    // On a real desktop the window manager activates a new window a moment after it is shown;
    // keys and access letters reach it only then.
    if (!modal->isActiveWindow() && ++m_waited < 200)
        return;
    m_waited = 0;
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
    QList<QAbstractButton*> buttons = box->buttons();
    std::sort(buttons.begin(), buttons.end(), [](const QWidget* a, const QWidget* b) {
        const QPoint pa = a->mapToGlobal(QPoint()), pb = b->mapToGlobal(QPoint());
        return std::pair(pa.x(), pa.y()) < std::pair(pb.x(), pb.y());
    });
    for (const QAbstractButton* button : buttons)
        record.buttons << button->text();
    if (box->defaultButton())
        record.defaultButton = box->defaultButton()->text();
    seen.push_back(record);
    const QKeyCombination key = keys.empty() ? QKeyCombination(Qt::Key_Return) : keys.front();
    if (!keys.empty())
        keys.pop_front();
    QWidget* focused = box->focusWidget() ? box->focusWidget() : box;
    QTest::keyClick(focused, key.key(), key.keyboardModifiers());
}

bool ModalDriver::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Hide)
        m_window = nullptr;
    return QObject::eventFilter(watched, event);
}
