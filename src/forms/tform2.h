#pragma once

#include "forms/dialogframe.h"
#include "forms/forms.h"

class QPlainTextEdit;
class TopTen;

// TForm2, the Top 10 window ("Highscores", menu "&Top 10"): one line per row, rebuilt at showing.
class TForm2 : public DialogFrame {
    Q_OBJECT

public:
    explicit TForm2(const TopTen& table, QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr; // the ten rows, read only

    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    FormPointer<TForm2> m_formPointer{Form2, this};
    const TopTen& m_table;
};

// The line of row k (1 to 10): "k: (IQ score)      name".
std::string topTenLine(int k, const std::string& name, int score);
