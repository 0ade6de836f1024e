#pragma once

#include "forms/dialogframe.h"
#include "forms/forms.h"

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
    FormPointer<TForm4> m_formPointer{Form4, this};
    bool m_filled = false;
};
