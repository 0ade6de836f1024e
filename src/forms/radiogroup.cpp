#include "radiogroup.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QRadioButton>
#include <algorithm>

RadioGroup::RadioGroup(QWidget* parent) : QGroupBox(parent), m_group(new QButtonGroup(this))
{
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, &RadioGroup::onButtonClicked);
}

QString RadioGroup::item(int position) const
{
    return m_items.value(position);
}

QRadioButton* RadioGroup::button(int position) const
{
    if (position < 0 || position >= count())
        return nullptr;
    return m_buttons[static_cast<std::size_t>(position)];
}

void RadioGroup::clearItems()
{
    m_items.clear();
    m_itemIndex = -1;
    rebuild();
}

void RadioGroup::insertItem(int position, const QString& text)
{
    m_items.insert(std::clamp(position, 0, count()), text);
    rebuild();
}

void RadioGroup::replaceItem(int position, const QString& text)
{
    if (position < 0 || position >= count())
        return;
    m_items[position] = text;
    rebuild();
}

void RadioGroup::removeItem(int position)
{
    if (position < 0 || position >= count())
        return;
    m_items.removeAt(position);
    rebuild();
}

void RadioGroup::setItemIndex(int position)
{
    m_itemIndex = (position >= 0 && position < count()) ? position : -1;
    rebuild();
}

void RadioGroup::focusAnswers()
{
    if (QRadioButton* stop = tabStop())
        stop->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
}

void RadioGroup::rebuild()
{
    if (m_itemIndex >= count())
        m_itemIndex = count() - 1;
    const std::size_t itemCount = static_cast<std::size_t>(count());
    while (m_buttons.size() < itemCount)
        addButton();
    // No button of an exclusive group can be unchecked while exclusivity holds.
    m_group->setExclusive(false);
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        QRadioButton* button = m_buttons[i];
        const bool used = i < itemCount;
        // An answer such as "Tom & Jerry" shows its "&" rather than underlining the next letter.
        if (used) {
            button->setText(QString(m_items[static_cast<qsizetype>(i)])
                                .replace(QLatin1Char('&'), QLatin1String("&&")));
            button->setVisible(true);
        }
        button->setChecked(used && static_cast<int>(i) == m_itemIndex);
    }
    m_group->setExclusive(true);
    // A hidden button would hand the focus on to the next control of the window: the focus
    // stays with the answers, on the group itself while there are none.
    const QWidget* focused = window()->focusWidget();
    const auto unused = m_buttons.begin() + static_cast<std::ptrdiff_t>(itemCount);
    if (focused == this || std::find(unused, m_buttons.end(), focused) != m_buttons.end())
        focusAnswers();
    for (std::size_t i = itemCount; i < m_buttons.size(); ++i)
        m_buttons[i]->setVisible(false);
    updateTabStop();
    arrange();
}

void RadioGroup::addButton()
{
    auto* button = new QRadioButton(this);
    button->installEventFilter(this);
    // A new widget comes last in the window's tab order; the buttons belong where the group
    // stands, after the control before it.
    QWidget* before = m_buttons.empty() ? nullptr : m_buttons.back();
    for (QWidget* w = previousInFocusChain(); !before && w && w != this;
         w = w->previousInFocusChain())
        if (w->focusPolicy() != Qt::NoFocus && !isAncestorOf(w))
            before = w;
    if (before)
        QWidget::setTabOrder(before, button);
    m_group->addButton(button, static_cast<int>(m_buttons.size()));
    m_buttons.push_back(button);
}

QRadioButton* RadioGroup::tabStop() const
{
    return count() == 0 ? nullptr : button(std::max(m_itemIndex, 0));
}

void RadioGroup::updateTabStop()
{
    const QRadioButton* stop = tabStop();
    for (QRadioButton* button : m_buttons)
        button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

void RadioGroup::arrange()
{
    if (m_items.isEmpty())
        return;
    // One column: every button gets an equal share of the height below the frame's caption line.
    const int lineHeight = fontMetrics().height();
    const int usable = height() - lineHeight - 5;
    const int rows = count();
    const int rowHeight = usable / rows;
    const int top = lineHeight + 1 + (usable % rows) / 2;
    const int width = this->width() - 10;
    for (int i = 0; i < rows; ++i)
        m_buttons[static_cast<std::size_t>(i)]->setGeometry(8, top + i * rowHeight, width,
                                                            rowHeight);
}

void RadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    arrange();
}

void RadioGroup::focusInEvent(QFocusEvent* event)
{
    // Not the frame's own choice of a child, which may be a button about to be hidden: the tab
    // stop, or the group itself while it has no answers.
    if (QRadioButton* stop = tabStop())
        stop->setFocus(event->reason());
}

bool RadioGroup::eventFilter(QObject* watched, QEvent* event)
{
    auto* from = qobject_cast<QRadioButton*>(watched);
    if (!from || event->type() != QEvent::KeyPress)
        return QGroupBox::eventFilter(watched, event);
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        selectByArrow(from, -1);
        return true;
    case Qt::Key_Down:
    case Qt::Key_Right:
        selectByArrow(from, 1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Some desktops have Enter press the focused button; on an answer it would choose it
        // unasked, and a player pressing Enter to get through the boxes would answer with it.
        // Enter answers only from Odgovori.
        return true;
    default:
        return QGroupBox::eventFilter(watched, event);
    }
}

void RadioGroup::selectByArrow(QRadioButton* from, int step)
{
    const auto found = std::find(m_buttons.begin(), m_buttons.end(), from);
    const int position = static_cast<int>(found - m_buttons.begin());
    if (position >= count())
        return;
    QRadioButton* to = button((position + step + count()) % count());
    to->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    // Selecting by key is a click, raised only when the answer was not selected already.
    to->click();
}

void RadioGroup::onButtonClicked(int position)
{
    if (position == m_itemIndex)
        return;
    m_itemIndex = position;
    updateTabStop();
    emit clicked();
}
