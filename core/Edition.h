#pragma once

#include <QString>
#include <array>

namespace core {

// Everything that tells the full edition from the demo: constants, texts and
// behaviour switches. Each program carries exactly one of these records and
// every window reads its edition differences from it, never from elsewhere.
struct Edition {
    // --- constants
    QString programName;  // "brel", "brel_demo"
    QString desktopEntry; // its menu entry's name, without ".desktop"
    QString databaseFile; // "qbk09.mdb", "qbk009.mdb"
    int questionCount = 0;
    int timeLimitMinutes = 0;
    int passScore = 700;
    QString applicationTitle;
    int versionMajor = 9;
    int versionMinor = 0;
    int versionRevision = 0;
    std::array<bool, 3> examAvailable{}; // exams that can be started and reviewed
    int answerColumns = 4;               // graded and reset on the score sheet's Exit
    QString scoreSheetTitle;
    int categoryLabelSlots = 19;

    // --- texts
    std::array<QString, 3> examMenuCaptions;
    std::array<QString, 3> reviewMenuCaptions;
    bool orderingOnMenuBar = false; // demo: "&Ordering" is a command of the menu bar
    QString namePrompt;
    QString nameTitle;
    QString nameDefault;
    QString noticeText;
    bool examCaptionNamesExam = true; // "Exam #1"; otherwise examDesignCaption stays
    QString examDesignCaption;
    QString showAnswerCaption;
    bool reviewCaptionNamesExam = true; // "Review Exam #1"; otherwise reviewDesignCaption
    QString reviewDesignCaption;
    bool wrongAnswerCaptionNamesExam = true; // "Exam #1 wrong answers"
    QString wrongAnswerDesignCaption;
    QString exhibitViewerCaption;
    bool exhibitButtonsArePictures = false; // review windows: picture box instead of a button
    QString wrongAnswerExhibitCaption;      // when it is a button
    QString reviewExhibitCaption;
    QString disclaimerLabel;
    QString aboutDescription;
    QString scoreDateLabel;
    QString scoreNameLabel;

    // --- behaviour switches
    bool noticeOkStartsAnyExam = true; // demo: exam 1 only
    bool noticeOkUnloads = true;       // demo: hides the notice
    bool timeOutAsksToEnd = true;      // demo: tells, then ends without asking
    QString timeOutMessage;
    bool showAnswerHidesExamFirst = true; // demo: shows the answer window first
    bool showAnswerReturnDiscards = true; // demo: unloads without discarding
    bool exhibitHidesCaller = true;       // demo: the caller stays visible
    bool reviewEndUnloads = true;         // demo: only hides, clock running
    bool reviewReappliesModeOnActivate = true;
    bool wrongAnswerReturnUnloads = true; // demo: hides and discards
    bool scoreExitClearsExamCode = true;  // demo: the score sheet's Exit keeps the exam number

    QString version() const;                    // "Version 9.0.0"
    QString examCaption(int exam) const;        // exam window
    QString reviewCaption(int exam) const;      // review-exam window
    QString wrongAnswerCaption(int exam) const; // wrong-answer window
    bool offersExam(int exam) const { return exam >= 1 && exam <= 3 && examAvailable[exam - 1]; }
};

Edition fullEdition();
Edition demoEdition();

} // namespace core
