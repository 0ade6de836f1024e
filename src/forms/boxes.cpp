#include "boxes.h"

#include "game/errors.h"

#include <QMessageBox>
#include <QPushButton>
#include <exception>

namespace {

int runBox(QMessageBox& box)
{
    // A question or name holding "<b>" is text, not markup.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec();
}

} // namespace

void showMessageBox(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kApplicationTitle),
                    QString::fromStdString(text), QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    runBox(box);
}

bool askConfirmation(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), QString::fromStdString(text));
    // One role for both: the desktop's own order of yes and no buttons (no first on GNOME)
    // must not turn "&Yes", "&No" around.
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::ActionRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::ActionRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    runBox(box);
    return box.clickedButton() == yes;
}

std::string errorBoxText(const std::string& message, const std::string& detail)
{
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += ".";
    if (!detail.empty())
        text += "\n" + detail;
    return text;
}

void showErrorBox(const std::string& message, const std::string& detail)
{
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kApplicationTitle),
                    QString::fromStdString(errorBoxText(message, detail)), QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    runBox(box);
}

void runHandler(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const GameError& error) {
        showErrorBox(error.what(), error.detail());
    } catch (const std::exception& error) {
        showErrorBox(error.what());
    } catch (...) {
        showErrorBox("Unknown error");
    }
}
