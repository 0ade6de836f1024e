#pragma once

#include "forms/dialogframe.h"
#include "forms/forms.h"

class QLabel;
class QPlainTextEdit;

// TForm5, the about window ("Info", menu "O kvizu..."): the picture and a few lines on the game.
class TForm5 : public DialogFrame {
    Q_OBJECT

public:
    explicit TForm5(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;        // the picture
    QPlainTextEdit* Memo1 = nullptr; // the lines on the game and its author

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fill();

    FormPointer<TForm5> m_formPointer{Form5, this};
    bool m_filled = false;
};
