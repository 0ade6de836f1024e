#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QWidget;

// Tells a screen reader what a window shows without moving the keyboard focus: the text is the
// name of a notification the window shows for a moment, drawn nowhere, which screen readers speak
// as it appears. Nothing a sighted player sees changes.
class Announcer : public QObject {
public:
    explicit Announcer(QWidget& window);

    // Queues a sentence for the next announcement.
    void add(const QString& sentence);
    // Speaks the queued sentences, in order, once the window is active again (a box that was
    // open has handed the focus back) and a screen reader has read the focused control.
    void flush();
    // The text of the notification last shown, for tests.
    QString lastAnnouncement() const;

private:
    void deliver();

    QWidget& m_window;
    QWidget* m_notice;
    QStringList m_pending;
};
