#include "announcer.h"

#include <QTimer>
#include <QWidget>

namespace {

// Long enough for a screen reader to take the focus event of a closed box's return first.
constexpr int kDeliveryDelayMs = 150;

} // namespace

Announcer::Announcer(QWidget& window) : QObject(&window), m_window(window) {}

void Announcer::add(const QString& sentence)
{
    if (!sentence.isEmpty())
        m_pending.append(sentence);
}

void Announcer::flush()
{
    if (!m_pending.isEmpty())
        QTimer::singleShot(kDeliveryDelayMs, this, &Announcer::deliver);
}

void Announcer::deliver()
{
    if (m_pending.isEmpty())
        return;
    QWidget* focused = m_window.focusWidget();
    if (!m_window.isActiveWindow() || !focused) {
        QTimer::singleShot(kDeliveryDelayMs, this, &Announcer::deliver);
        return;
    }
    const QString text = m_pending.join(QStringLiteral(". "));
    m_pending.clear();
    // A description left on another control would be read again when the focus returns there.
    if (m_target && m_target != focused)
        m_target->setAccessibleDescription(QString());
    // The same text twice is still a change the reader hears.
    focused->setAccessibleDescription(QString());
    focused->setAccessibleDescription(text);
    m_target = focused;
    m_last = text;
}
