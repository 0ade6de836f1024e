#pragma once

#include <QDialog>

class QPlainTextEdit;
class TopTen;

// The Top 10 window: one line per row of the table, rebuilt at every showing.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    explicit TForm2(const TopTen& table, QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr;

    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    const TopTen& m_table;
};

// The line of row k (1 to 10): "k: (IQ score)      name".
std::string topTenLine(int k, const std::string& name, int score);
