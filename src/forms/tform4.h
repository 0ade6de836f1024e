#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The rules window. Its text can be edited; the edits last until the program ends.
class TForm4 : public QDialog {
    Q_OBJECT

public:
    explicit TForm4(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button1 = nullptr;

    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;
};
