#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

// A framed column of radio buttons, one per item, spread evenly over the group's height.
// The selection is a position number: changing the items keeps it (clamped to the last item,
// none after clearing) and never counts as a click. The group is one stop in the window's tab
// order, where it was created: the selected button, or the first when none is selected. An arrow
// key moves to the next or previous button (round the ends) and selects it at once, as a click;
// Enter does nothing here.
class RadioGroup : public QGroupBox {
    Q_OBJECT

public:
    explicit RadioGroup(QWidget* parent = nullptr);

    int count() const { return static_cast<int>(m_items.size()); }
    QString item(int position) const;
    void clearItems();
    void insertItem(int position, const QString& text);
    void replaceItem(int position, const QString& text);
    void removeItem(int position);

    // The selected position, -1 when none is selected.
    int itemIndex() const { return m_itemIndex; }
    void setItemIndex(int position);
    // The button of an item, for focus and tests.
    QRadioButton* button(int position) const;
    // Gives the keyboard focus to the group's tab stop (to the group itself while it is empty).
    void focusAnswers();

signals:
    // The player selected an item that was not selected before.
    void clicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuild();
    void arrange();
    void addButton();
    QRadioButton* tabStop() const;
    void updateTabStop();
    void selectByArrow(QRadioButton* from, int step);
    void onButtonClicked(int position);

    QStringList m_items;
    int m_itemIndex = -1;
    QButtonGroup* m_group;
    std::vector<QRadioButton*> m_buttons;
};
