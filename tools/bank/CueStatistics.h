#pragma once

#include "BankModel.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// How far the form of the choices, rather than knowing the topic, gives the
// answers away: the cues a test-wise candidate looks for. bankbuild --stats
// shows them to the writers, and the shipped-bank test holds the built banks
// to the same limits.
namespace bank {

// Every limit in one place, for the tool and the test alike.
struct CueLimits {
    // "Pick the longest choice" may beat a blind pick by at most this share of
    // the questions.
    static constexpr double longestOverChance = 0.04;
    // The shares of correct and of wrong choices holding an absolute word
    // ("always", "never", ...) may differ by at most this much, either way:
    // candidates are taught that such words mark a wrong choice, and a bank
    // that avoids them in its wrong choices teaches the opposite.
    static constexpr double absoluteWordGap = 0.03;
    // No key pair of the two-of-four questions may come up more than this many
    // times its fair share, a sixth of them.
    static constexpr double pairOverFairShare = 1.5;
    // The correct position of the four-choice single-answer questions stays as
    // even as the banks were written: every position within this fraction of
    // its fair share, a quarter of them. Over the whole bank (175 such
    // questions, now 39 to 49 a position, 0.89 to 1.12 of a fair 43.75) a
    // quarter leaves the writers room to move several keys, while always
    // answering one position gains at most about six points over a blind pick.
    // One exam holds only 17 to 53 of them, where a single question moves a
    // position by 8 to 24 % of its share, so an exam gets two fifths (now 0.85
    // to 1.18).
    static constexpr double bankPositionSpread = 0.25;
    static constexpr double examPositionSpread = 0.40;
};

// What the figures cover: the smaller sample of one exam is allowed a looser
// spread of positions.
enum class CueScope { Exam, Bank };

// The words candidates learn to distrust, matched whole and in any case.
bool hasAbsoluteWord(const QString& text);

struct CueStatistics {
    qsizetype questions = 0;
    // Questions answered by picking the longest choice (characters, trimmed);
    // a tie counts the share of the tied choices that are correct.
    double longestCorrect = 0;
    // Questions a blind pick answers: over questions, correct / choices.
    double blindCorrect = 0;
    qsizetype correctChoices = 0;
    qsizetype wrongChoices = 0;
    qsizetype correctWithAbsoluteWord = 0;
    qsizetype wrongWithAbsoluteWord = 0;
    qsizetype correctCharacters = 0;
    qsizetype wrongCharacters = 0;
    // Two-of-four questions (four choices, two correct) by their key, in the
    // order of keyPairNames.
    std::array<qsizetype, 6> keyPairs{};
    // Single-answer questions by correct position: all of them (up to five
    // choices), and those with four choices, which the spread limit covers.
    std::array<qsizetype, 5> singlePositions{};
    std::array<qsizetype, 4> fourChoicePositions{};

    static constexpr std::array<const char*, 6> keyPairNames = {"12", "13", "14", "23", "24", "34"};

    // Counts one question in. Positions outside its choices are ignored, so an
    // unfinished bank still gives figures.
    void add(const Question& question);
    CueStatistics& operator+=(const CueStatistics& other);

    double longestCorrectShare() const;
    double chanceShare() const;
    double absoluteWordInCorrectShare() const;
    double absoluteWordInWrongShare() const;
    double averageCorrectLength() const;
    double averageWrongLength() const;
    qsizetype twoOfFour() const;
    qsizetype fourChoiceSingles() const;
};

CueStatistics cueStatistics(const QList<Question>& questions);

struct CueCheck {
    QString name;    // "longest choice correct"
    QString figures; // "48.9 % vs chance 33.5 % (limit: chance + 4.0 points)"
    bool passed = true;
};

// The statistics held to each limit in CueLimits, in the order declared there.
QList<CueCheck> checkCues(const CueStatistics& statistics, CueScope scope);

// A writer's summary: one "PASS  name: figures" or "FAIL  ..." line per check,
// then the average lengths.
QStringList cueReport(const CueStatistics& statistics, CueScope scope);

} // namespace bank
