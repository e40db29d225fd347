#include "CueStatistics.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace bank {
namespace {

// A figure exactly at its limit passes, whatever floating-point rounding made
// of the two.
constexpr double slack = 1e-9;

double share(double part, double whole)
{
    return whole > 0 ? part / whole : 0.0;
}

QString percent(double fraction)
{
    return QString::number(100.0 * fraction, 'f', 1) + QStringLiteral(" %");
}

QString points(double fraction)
{
    return QString::number(100.0 * fraction, 'f', 1) + QStringLiteral(" points");
}

// "1:15 2:14 3:13 4:15"; the fifth position only where a question has one.
template <std::size_t N> QString positions(const std::array<qsizetype, N>& counts)
{
    QStringList parts;
    for (std::size_t k = 0; k < N; ++k) {
        if (k < 4 || counts[k] > 0)
            parts << QStringLiteral("%1:%2").arg(k + 1).arg(counts[k]);
    }
    return parts.join(u' ');
}

// The whole numbers of questions from `fewest` to `most`.
qsizetype atLeast(double fewest)
{
    return qsizetype(std::ceil(fewest - slack));
}

qsizetype atMost(double most)
{
    return qsizetype(std::floor(most + slack));
}

// Index of the key {a, b}, a < b, in CueStatistics::keyPairs.
int keyPairIndex(int a, int b)
{
    static constexpr int index[3][4] = {{-1, 0, 1, 2}, {-1, -1, 3, 4}, {-1, -1, -1, 5}};
    return index[a - 1][b - 1];
}

CueCheck longestCheck(const CueStatistics& s)
{
    const double over = s.longestCorrectShare() - s.chanceShare();
    return {QStringLiteral("longest choice correct"),
            QStringLiteral("%1 vs chance %2 (limit: chance + %3)")
                .arg(percent(s.longestCorrectShare()), percent(s.chanceShare()),
                     points(CueLimits::longestOverChance)),
            over <= CueLimits::longestOverChance + slack};
}

CueCheck absoluteWordCheck(const CueStatistics& s)
{
    const double gap = s.absoluteWordInCorrectShare() - s.absoluteWordInWrongShare();
    return {QStringLiteral("absolute words"),
            QStringLiteral("in %1 of correct vs %2 of wrong choices (limit: %3 apart)")
                .arg(percent(s.absoluteWordInCorrectShare()), percent(s.absoluteWordInWrongShare()),
                     points(CueLimits::absoluteWordGap)),
            std::abs(gap) <= CueLimits::absoluteWordGap + slack};
}

CueCheck keyPairCheck(const CueStatistics& s)
{
    const qsizetype total = s.twoOfFour();
    const qsizetype most = atMost(CueLimits::pairOverFairShare * double(total) / 6.0);
    QStringList pairs;
    bool passed = true;
    for (std::size_t k = 0; k < s.keyPairs.size(); ++k) {
        pairs << QStringLiteral("%1:%2")
                     .arg(QLatin1StringView(CueStatistics::keyPairNames[k]))
                     .arg(s.keyPairs[k]);
        passed = passed && s.keyPairs[k] <= most;
    }
    return {QStringLiteral("two-of-four key pairs"),
            QStringLiteral("%1 of %2 (limit: at most %3 each)")
                .arg(pairs.join(u' '))
                .arg(total)
                .arg(most),
            passed};
}

CueCheck positionCheck(const CueStatistics& s, CueScope scope)
{
    const double spread =
        scope == CueScope::Bank ? CueLimits::bankPositionSpread : CueLimits::examPositionSpread;
    const double fair = double(s.fourChoiceSingles()) / 4.0;
    const qsizetype fewest = atLeast((1.0 - spread) * fair);
    const qsizetype most = atMost((1.0 + spread) * fair);
    const bool passed = std::all_of(s.fourChoicePositions.begin(), s.fourChoicePositions.end(),
                                    [&](qsizetype n) { return n >= fewest && n <= most; });
    return {QStringLiteral("single-answer positions"),
            QStringLiteral("%1; of four choices %2 (limit: %3 to %4 each)")
                .arg(positions(s.singlePositions), positions(s.fourChoicePositions))
                .arg(fewest)
                .arg(most),
            passed};
}

} // namespace

bool hasAbsoluteWord(const QString& text)
{
    static const QRegularExpression words(
        QStringLiteral("\\b(always|never|only|all|none|every|cannot|must)\\b"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return words.match(text).hasMatch();
}

void CueStatistics::add(const Question& question)
{
    QStringList choices;
    for (const QString& answer : question.answers)
        choices << answer.trimmed();
    const int count = int(choices.size());
    if (count == 0)
        return;

    QSet<int> correct;
    for (int position : question.correct) {
        if (position >= 1 && position <= count)
            correct.insert(position);
    }

    ++questions;
    blindCorrect += double(correct.size()) / count;

    qsizetype longest = 0;
    for (const QString& choice : choices)
        longest = std::max(longest, choice.size());
    int tied = 0;
    int tiedCorrect = 0;
    for (int k = 1; k <= count; ++k) {
        const QString& choice = choices.at(k - 1);
        const bool isCorrect = correct.contains(k);
        if (choice.size() == longest) {
            ++tied;
            tiedCorrect += isCorrect ? 1 : 0;
        }
        const qsizetype absolute = hasAbsoluteWord(choice) ? 1 : 0;
        if (isCorrect) {
            ++correctChoices;
            correctWithAbsoluteWord += absolute;
            correctCharacters += choice.size();
        } else {
            ++wrongChoices;
            wrongWithAbsoluteWord += absolute;
            wrongCharacters += choice.size();
        }
    }
    longestCorrect += double(tiedCorrect) / tied;

    if (count == 4 && correct.size() == 2) {
        const QList<int> key(correct.cbegin(), correct.cend());
        ++keyPairs[std::size_t(keyPairIndex(std::min(key[0], key[1]), std::max(key[0], key[1])))];
    }
    if (question.type == QLatin1StringView("single_answer") && correct.size() == 1) {
        const int position = *correct.cbegin();
        if (position <= int(singlePositions.size()))
            ++singlePositions[std::size_t(position - 1)];
        if (count == 4)
            ++fourChoicePositions[std::size_t(position - 1)];
    }
}

CueStatistics& CueStatistics::operator+=(const CueStatistics& other)
{
    questions += other.questions;
    longestCorrect += other.longestCorrect;
    blindCorrect += other.blindCorrect;
    correctChoices += other.correctChoices;
    wrongChoices += other.wrongChoices;
    correctWithAbsoluteWord += other.correctWithAbsoluteWord;
    wrongWithAbsoluteWord += other.wrongWithAbsoluteWord;
    correctCharacters += other.correctCharacters;
    wrongCharacters += other.wrongCharacters;
    for (std::size_t k = 0; k < keyPairs.size(); ++k)
        keyPairs[k] += other.keyPairs[k];
    for (std::size_t k = 0; k < singlePositions.size(); ++k)
        singlePositions[k] += other.singlePositions[k];
    for (std::size_t k = 0; k < fourChoicePositions.size(); ++k)
        fourChoicePositions[k] += other.fourChoicePositions[k];
    return *this;
}

double CueStatistics::longestCorrectShare() const
{
    return share(longestCorrect, double(questions));
}

double CueStatistics::chanceShare() const
{
    return share(blindCorrect, double(questions));
}

double CueStatistics::absoluteWordInCorrectShare() const
{
    return share(double(correctWithAbsoluteWord), double(correctChoices));
}

double CueStatistics::absoluteWordInWrongShare() const
{
    return share(double(wrongWithAbsoluteWord), double(wrongChoices));
}

double CueStatistics::averageCorrectLength() const
{
    return share(double(correctCharacters), double(correctChoices));
}

double CueStatistics::averageWrongLength() const
{
    return share(double(wrongCharacters), double(wrongChoices));
}

qsizetype CueStatistics::twoOfFour() const
{
    qsizetype total = 0;
    for (qsizetype n : keyPairs)
        total += n;
    return total;
}

qsizetype CueStatistics::fourChoiceSingles() const
{
    qsizetype total = 0;
    for (qsizetype n : fourChoicePositions)
        total += n;
    return total;
}

CueStatistics cueStatistics(const QList<Question>& questions)
{
    CueStatistics statistics;
    for (const Question& question : questions)
        statistics.add(question);
    return statistics;
}

QList<CueCheck> checkCues(const CueStatistics& statistics, CueScope scope)
{
    return {longestCheck(statistics), absoluteWordCheck(statistics), keyPairCheck(statistics),
            positionCheck(statistics, scope)};
}

QStringList cueReport(const CueStatistics& statistics, CueScope scope)
{
    QStringList lines;
    for (const CueCheck& check : checkCues(statistics, scope))
        lines << (check.passed ? QStringLiteral("PASS  ") : QStringLiteral("FAIL  ")) + check.name +
                     QStringLiteral(": ") + check.figures;
    lines << QStringLiteral("      average length: correct %1, wrong %2 characters")
                 .arg(statistics.averageCorrectLength(), 0, 'f', 1)
                 .arg(statistics.averageWrongLength(), 0, 'f', 1);
    return lines;
}

} // namespace bank
