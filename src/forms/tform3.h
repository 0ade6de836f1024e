#pragma once

#include <QDialog>

// The name-entry window, shown when a result enters the Top 10.
class TForm3 : public QDialog {
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);
};
