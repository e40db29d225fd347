#include "core/Edition.h"

namespace core {

// Kept in a file of its own so that only the program that names it links it.
Edition demoEdition()
{
    Edition e;
    e.programName = QStringLiteral("brel_demo");
    e.desktopEntry = QStringLiteral("org.quizmoor.QuizmoorDemo");
    e.databaseFile = QStringLiteral("qbk009.mdb");
    e.questionCount = 30;
    e.timeLimitMinutes = 30;
    e.passScore = 700;
    e.applicationTitle = QStringLiteral("Quizmoor");
    e.examAvailable = {true, false, false};
    e.answerColumns = 5;
    e.scoreSheetTitle = QStringLiteral("Corvane(R) Brel 9x Practice Exam Demo");
    e.categoryLabelSlots = 18;

    e.examMenuCaptions = {QStringLiteral("Brel 9x &Exam #1 Demo"),
                          QStringLiteral("Brel 9x  E&xam #2"), QStringLiteral("Brel 9x  Ex&am #3")};
    e.reviewMenuCaptions = {QStringLiteral("&Review Exam #1 Demo"),
                            QStringLiteral("Rev&iew Exam #2"), QStringLiteral("Revi&ew Exam #3")};
    e.orderingOnMenuBar = true;
    e.namePrompt = QStringLiteral("Please enter your name:");
    e.nameTitle = QStringLiteral("Name");
    e.nameDefault = QStringLiteral("Candidate's Name Here");
    e.noticeText =
        QStringLiteral("You will have 30 questions and have to answer in 30 minutes or less. ");
    e.examCaptionNamesExam = false;
    e.examDesignCaption = QStringLiteral("Demo Exam");
    e.showAnswerCaption = QStringLiteral("Show Answer!");
    e.reviewCaptionNamesExam = false;
    e.reviewDesignCaption = QStringLiteral("Review - Demo Exam ");
    e.wrongAnswerCaptionNamesExam = false;
    e.wrongAnswerDesignCaption = QStringLiteral("Correct Answers -Demo Exam");
    e.exhibitViewerCaption = QStringLiteral("Image");
    e.exhibitButtonsArePictures = true;
    e.disclaimerLabel = QStringLiteral("Software Agreement and Disclaimer");
    e.aboutDescription = QStringLiteral(
        "The Demo Exam contains 30 questions and you have to answer in 30 minutes or less. Full "
        "version contains 3 individual tests with atleast 80 questions each. The practice exams "
        "cover Corvane (R) Brel 9x  Exam Objectives.  ");
    e.scoreDateLabel = QStringLiteral("Date:");
    e.scoreNameLabel = QStringLiteral("Name:");

    e.noticeOkStartsAnyExam = false;
    e.noticeOkUnloads = false;
    e.timeOutAsksToEnd = false;
    e.timeOutMessage =
        QStringLiteral("Sorry! You have exceeded the allowed time! Click OK to continue.");
    e.showAnswerHidesExamFirst = false;
    e.showAnswerReturnDiscards = false;
    e.exhibitHidesCaller = false;
    e.reviewEndUnloads = false;
    e.reviewReappliesModeOnActivate = false;
    e.wrongAnswerReturnUnloads = false;
    e.scoreExitClearsExamCode = false;
    return e;
}

} // namespace core
