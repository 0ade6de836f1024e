#include "placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

// Watches its window and moves it onto its screen when it is shown or when its frame changes.
class Placement : public QObject {
public:
    explicit Placement(QWidget& window) : QObject(&window), m_window(window)
    {
        window.installEventFilter(this);
        fit();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_window && (event->type() == QEvent::Show ||
                                     (event->type() == QEvent::Move && frame() != m_fittedFrame)))
            fit();
        return QObject::eventFilter(watched, event);
    }

private:
    QMargins frame() const
    {
        const QRect inner = m_window.geometry();
        const QRect outer = m_window.frameGeometry();
        return {inner.left() - outer.left(), inner.top() - outer.top(),
                outer.right() - inner.right(), outer.bottom() - inner.bottom()};
    }

    void fit()
    {
        m_fittedFrame = frame();
        const QPoint now = m_window.pos();
        const QScreen* screen = QGuiApplication::screenAt(now);
        if (!screen)
            screen = m_window.screen();
        const QRect area = screen->availableGeometry();
        const QSize outer = m_window.size().grownBy(m_fittedFrame);
        // The least move along one axis; the near edge wins when the window is the longer.
        const auto axis = [](int start, int length, int first, int end) {
            return std::max(first, std::min(start, end - length));
        };
        const QPoint place(axis(now.x(), outer.width(), area.left(), area.left() + area.width()),
                           axis(now.y(), outer.height(), area.top(), area.top() + area.height()));
        if (place != now)
            m_window.move(place);
    }

    QWidget& m_window;
    QMargins m_fittedFrame;
};

} // namespace

void placeAtDesignedPosition(QWidget& window, const QPoint& designed)
{
    window.move(designed);
    new Placement(window);
}
