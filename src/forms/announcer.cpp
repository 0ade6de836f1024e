#include "announcer.h"

#include <QAccessibleWidget>
#include <QTimer>
#include <QWidget>

namespace {

// Long enough for a screen reader to have spoken the focus of a window that a closed box handed
// back, which would otherwise cut the announcement short.
constexpr int kDeliveryDelayMs = 300;
// How long the notification stays shown; showing it again is what a screen reader hears.
constexpr int kShownMs = 100;

const QString kNoticeName = QStringLiteral("mudracqScreenReaderNotice");

QAccessibleInterface* noticeAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("QWidget") && object->objectName() == kNoticeName)
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget& window)
    : QObject(&window), m_window(window), m_notice(new QWidget(&window))
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(noticeAccessible);
        return true;
    }();
    (void)factoryInstalled;
    m_notice->setObjectName(kNoticeName);
    // Sized nothing and never in the tab order: it paints no pixel and takes no key.
    m_notice->setFixedSize(0, 0);
    m_notice->setFocusPolicy(Qt::NoFocus);
    m_notice->hide();
}

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

QString Announcer::lastAnnouncement() const
{
    return m_notice->accessibleName();
}

void Announcer::deliver()
{
    if (m_pending.isEmpty())
        return;
    if (!m_window.isActiveWindow()) {
        QTimer::singleShot(kDeliveryDelayMs, this, &Announcer::deliver);
        return;
    }
    m_notice->hide();
    m_notice->setAccessibleName(m_pending.join(QStringLiteral(". ")));
    m_pending.clear();
    m_notice->show();
    QTimer::singleShot(kShownMs, m_notice, &QWidget::hide);
}
