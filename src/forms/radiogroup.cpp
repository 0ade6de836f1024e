#include "radiogroup.h"

#include <QButtonGroup>
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

void RadioGroup::rebuild()
{
    if (m_itemIndex >= count())
        m_itemIndex = count() - 1;
    const std::size_t itemCount = static_cast<std::size_t>(count());
    while (m_buttons.size() < itemCount) {
        auto* button = new QRadioButton(this);
        m_group->addButton(button, static_cast<int>(m_buttons.size()));
        m_buttons.push_back(button);
    }
    // No button of an exclusive group can be unchecked while exclusivity holds.
    m_group->setExclusive(false);
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        QRadioButton* button = m_buttons[i];
        const bool used = i < itemCount;
        // An answer such as "Tom & Jerry" shows its "&" rather than underlining the next letter.
        if (used)
            button->setText(QString(m_items[static_cast<qsizetype>(i)])
                                .replace(QLatin1Char('&'), QLatin1String("&&")));
        button->setChecked(used && static_cast<int>(i) == m_itemIndex);
        button->setVisible(used);
    }
    m_group->setExclusive(true);
    arrange();
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

void RadioGroup::onButtonClicked(int position)
{
    if (position == m_itemIndex)
        return;
    m_itemIndex = position;
    emit clicked();
}
