#pragma once

#include "forms/dialogframe.h"

class QPlainTextEdit;
class QPushButton;

// TForm4, the rules window ("Pravila kviza", menu "&Pravila kviza") with its "Ok" button.
// Its text can be edited; the edits last until the program ends.
class TForm4 : public DialogFrame {
    Q_OBJECT

public:
    explicit TForm4(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr; // the rules text
    QPushButton* Button1 = nullptr;  // "Ok"

    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_filled = false;
};
