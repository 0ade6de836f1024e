#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;

// The about window: the picture and a few lines about the game.
class TForm5 : public QDialog {
    Q_OBJECT

public:
    explicit TForm5(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fill();

    bool m_filled = false;
};
