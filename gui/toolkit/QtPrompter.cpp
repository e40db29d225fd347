#include "gui/toolkit/QtPrompter.h"

#include "gui/toolkit/RepeatingTimer.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace gui {

int QtPrompter::msgBox(const QString& prompt, int style, const QString& title,
                       const QString& details)
{
    // Also for the boxes shown without a Program (a handler's escaped failure).
    RepeatingTimer::Hold hold;
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    // Messages quote names from the question bank: shown as written, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(prompt);
    if (!details.isEmpty())
        box.setDetailedText(details);
    switch (style) {
    case core::Prompter::OkCancelQuestion:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case core::Prompter::YesNoWarning:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return core::Prompter::Ok;
    case QMessageBox::Yes:
        return core::Prompter::Yes;
    case QMessageBox::No:
        return core::Prompter::No;
    default:
        return core::Prompter::Cancel;
    }
}

QString QtPrompter::inputBox(const QString& prompt, const QString& title,
                             const QString& defaultText)
{
    RepeatingTimer::Hold hold;
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

} // namespace gui
