#pragma once

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

// Prints the monotonic time of the watched widget's first paint and then ends the program.
class FirstPaintClock : public QObject {
public:
    explicit FirstPaintClock(QWidget* watched) : m_watched(watched)
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (object == m_watched && event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Stamp once this paint has been handled, then leave.
            QTimer::singleShot(0, [] {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("%lld\n",
                            static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec);
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return QObject::eventFilter(object, event);
    }

private:
    QWidget* m_watched;
    bool m_seen = false;
};
