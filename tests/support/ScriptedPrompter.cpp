#include "ScriptedPrompter.h"

void ScriptedPrompter::expect(const QString& prompt, int answer)
{
    m_script.append({prompt, answer, QString(), false});
}

void ScriptedPrompter::expectInput(const QString& prompt, const QString& text)
{
    m_script.append({prompt, 0, text, true});
}

void ScriptedPrompter::whileNextBoxIsOpen(std::function<void()> action)
{
    m_whileOpen.append(std::move(action));
}

void ScriptedPrompter::opened(Shown shown)
{
    shown.boxesOpen = m_open;
    m_shown.append(shown);
    if (m_whileOpen.isEmpty())
        return;
    const std::function<void()> action = m_whileOpen.takeFirst();
    ++m_open;
    action();
    --m_open;
}

int ScriptedPrompter::msgBox(const QString& prompt, int style, const QString& title,
                             const QString& details)
{
    opened({prompt, style, title, QString(), details, false});
    for (qsizetype i = 0; i < m_script.size(); ++i) {
        if (!m_script[i].input && m_script[i].prompt == prompt) {
            const int answer = m_script[i].answer;
            m_script.removeAt(i);
            return answer;
        }
    }
    m_unexpected << prompt;
    return core::Prompter::Ok;
}

QString ScriptedPrompter::inputBox(const QString& prompt, const QString& title,
                                   const QString& defaultText)
{
    opened({prompt, 0, title, defaultText, QString(), true});
    for (qsizetype i = 0; i < m_script.size(); ++i) {
        if (m_script[i].input && m_script[i].prompt == prompt) {
            const QString text = m_script[i].text;
            m_script.removeAt(i);
            return text;
        }
    }
    m_unexpected << prompt;
    return QString();
}

QStringList ScriptedPrompter::unused() const
{
    QStringList left;
    for (const Expectation& e : m_script)
        left << e.prompt;
    return left;
}

void ScriptedPrompter::clear()
{
    m_script.clear();
    m_shown.clear();
    m_unexpected.clear();
    m_whileOpen.clear();
}
