#include "gui/shell/UnusableBank.h"

#include "data/DataError.h"
#include "gui/toolkit/Program.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace gui {
namespace {

// More would not fit a box; the details say more.
constexpr int problemsShown = 10;
constexpr int problemsDetailed = 200;

QString moreText(qsizetype more)
{
    return QStringLiteral("and %1 more").arg(more);
}

QString unusableBankMessage(const core::BankVerdict& verdict, int exam, core::BankUse use)
{
    const QString name = QFileInfo(verdict.file).fileName();
    const QString unchanged = QStringLiteral("The file was left as it was.");
    if (!verdict.notABank.isEmpty())
        return QStringLiteral("%1 is not a question bank: %2.\n\n%3")
            .arg(name, verdict.notABank, unchanged);
    QString text =
        use == core::BankUse::Exam
            ? QStringLiteral("%1 cannot be used for exam %2:\n").arg(name).arg(exam)
            : QStringLiteral("%1 cannot be used to review exam %2:\n").arg(name).arg(exam);
    const qsizetype shown = std::min<qsizetype>(verdict.problems.size(), problemsShown);
    for (qsizetype i = 0; i < shown; ++i)
        text += QStringLiteral("\n- ") + verdict.problems.at(i).text;
    if (verdict.problems.size() > shown)
        text += QStringLiteral("\n") + moreText(verdict.problems.size() - shown) + u'.';
    return text + QStringLiteral("\n\n") + unchanged;
}

QString unusableBankDetails(const core::BankVerdict& verdict)
{
    QStringList lines{QStringLiteral("File: ") + QDir::toNativeSeparators(verdict.file)};
    if (!verdict.notABank.isEmpty())
        lines << QStringLiteral("Not a question bank: ") + verdict.notABank +
                     (verdict.notABankDetail.isEmpty()
                          ? QString()
                          : QStringLiteral(" (") + verdict.notABankDetail + u')');
    const qsizetype detailed = std::min<qsizetype>(verdict.problems.size(), problemsDetailed);
    for (qsizetype i = 0; i < detailed; ++i) {
        const core::BankProblem& problem = verdict.problems.at(i);
        lines << QStringLiteral("- ") + problem.text;
        if (!problem.detail.isEmpty())
            lines << QStringLiteral("  ") +
                         QString(problem.detail).replace(u'\n', QStringLiteral("\n  "));
    }
    if (verdict.problems.size() > detailed)
        lines << moreText(verdict.problems.size() - detailed);
    return lines.join(u'\n');
}

} // namespace

bool bankReadyFor(Program& program, int exam, core::BankUse use)
{
    try {
        const core::BankVerdict verdict =
            core::checkBank(program.edition().databaseFile, exam, use);
        if (verdict.usable())
            return true;
        program.msgBox(unusableBankMessage(verdict, exam, use), core::Prompter::OkOnly, QString(),
                       unusableBankDetails(verdict));
    } catch (const data::DataError& error) {
        program.reportDataError(error);
    }
    return false;
}

} // namespace gui
