#pragma once

#include "forms/dialogframe.h"
#include "forms/forms.h"

#include <string>

class QLineEdit;
class QPushButton;

// TForm3, the name-entry window ("Cestitamo!!!"), shown when a game's IQ earns a Top 10 place.
// However it is closed ("OK", Enter, the close box), the text in its field is taken as the
// player's name; Escape does not close it.
class TForm3 : public DialogFrame {
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);

    QLineEdit* Edit1 = nullptr;     // the name field
    QPushButton* Button1 = nullptr; // "OK"

    // The text taken when the window last closed, without line breaks, as UTF-8 bytes.
    const std::string& playerName() const { return m_playerName; }

    void FormShow();
    void Button1Click();
    // Enter in the field does what "OK" does; true when the key was Enter.
    bool Edit1KeyDown(int key);
    void FormClose();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeName();

    FormPointer<TForm3> m_formPointer{Form3, this};
    std::string m_playerName;
};
