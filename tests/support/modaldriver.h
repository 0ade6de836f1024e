#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

// Answers the modal boxes and windows a test opens, once they are active: each one seen is
// recorded and then given the next scripted key (Enter when the script is empty) on its focused
// button, or handled by a scripted action.
class ModalDriver : public QObject {
public:
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        // As they stand on the screen, left to right.
        QStringList buttons;
        QString defaultButton;
        bool plainText = false;
    };

    ModalDriver();

    // Keys to press in the coming boxes, in order, with their modifiers.
    std::deque<QKeyCombination> keys;
    // Actions for the coming modal windows that are not message boxes (e.g. the name entry).
    std::deque<std::function<void(QWidget*)>> windowActions;
    std::vector<Seen> seen;
    int windowsSeen = 0;

    QStringList texts() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void poll();

    QTimer m_timer;
    QPointer<QWidget> m_window;
    int m_waited = 0;
};
