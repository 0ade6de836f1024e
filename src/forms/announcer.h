#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QWidget;

// Tells a screen reader what a window shows without moving the keyboard focus: the text becomes
// the accessible description of the window's focused control, which screen readers speak when it
// changes. Nothing a sighted player sees changes.
class Announcer : public QObject {
public:
    explicit Announcer(QWidget& window);

    // Queues a sentence for the next announcement.
    void add(const QString& sentence);
    // Speaks the queued sentences, in order, once the window is active again (a box that was
    // open has handed the focus back).
    void flush();
    // The text last given to a control, for tests.
    QString lastAnnouncement() const { return m_last; }

private:
    void deliver();

    QWidget& m_window;
    QStringList m_pending;
    QPointer<QWidget> m_target;
    QString m_last;
};
