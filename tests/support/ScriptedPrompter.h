#pragma once

#include "core/Prompter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Answers message boxes and input boxes from a script instead of a person.
// Each expectation names the prompt it answers; a prompt nobody scripted is
// answered with OK/"" and recorded, so a test can fail on it.
class ScriptedPrompter final : public core::Prompter {
public:
    struct Shown {
        QString prompt;
        int style = 0;
        QString title;
        QString defaultText; // input boxes
        QString details;     // message boxes: the technical detail offered
        bool input = false;
        int boxesOpen = 0; // boxes already open when this one opened: 0 unless nested
    };

    // The next message box with this prompt answers `answer` (core::Prompter::Ok,
    // core::Prompter::Yes, ...).
    void expect(const QString& prompt, int answer);
    // The next input box with this prompt answers `text`.
    void expectInput(const QString& prompt, const QString& text);
    // Runs `action` while the next box is open, before it is answered: what
    // a real box's own event loop would let happen meanwhile (a timer coming
    // due, a second box).
    void whileNextBoxIsOpen(std::function<void()> action);
    int boxesOpen() const { return m_open; }

    int msgBox(const QString& prompt, int style, const QString& title,
               const QString& details = QString()) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;

    const QList<Shown>& shown() const { return m_shown; }
    const Shown& last() const { return m_shown.last(); }
    // Prompts that came without an expectation.
    const QStringList& unexpected() const { return m_unexpected; }
    // Expectations no prompt used.
    QStringList unused() const;
    void clear();

private:
    void opened(Shown shown);

    struct Expectation {
        QString prompt;
        int answer = 0;
        QString text;
        bool input = false;
    };
    QList<Expectation> m_script;
    QList<Shown> m_shown;
    QStringList m_unexpected;
    QList<std::function<void()>> m_whileOpen;
    int m_open = 0;
};
