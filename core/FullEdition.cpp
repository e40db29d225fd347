#include "core/Edition.h"

namespace core {

// Kept in a file of its own so that only the program that names it links it.
Edition fullEdition()
{
    Edition e;
    e.programName = QStringLiteral("brel");
    e.desktopEntry = QStringLiteral("org.quizmoor.Quizmoor");
    e.databaseFile = QStringLiteral("qbk09.mdb");
    e.questionCount = 83;
    e.timeLimitMinutes = 120;
    e.passScore = 700;
    e.applicationTitle = QStringLiteral("Quizmoor");
    e.examAvailable = {true, true, true};
    e.answerColumns = 4;
    e.scoreSheetTitle = QStringLiteral("Brel 9x Practice Exam");
    e.categoryLabelSlots = 19;

    e.examMenuCaptions = {QStringLiteral("Brel 9x Practice E&xam #1"),
                          QStringLiteral("Brel 9x Practice E&xam #2"),
                          QStringLiteral("Brel 9x Practice Ex&am #3")};
    e.reviewMenuCaptions = {QStringLiteral("Re&view Exam #1"), QStringLiteral("Rev&iew Exam #2"),
                            QStringLiteral("Revi&ew Exam #3")};
    e.orderingOnMenuBar = false;
    e.namePrompt = QStringLiteral("Please enter your name");
    e.nameTitle = QStringLiteral("Name");
    e.nameDefault = QStringLiteral("Candidate's name");
    e.noticeText =
        QStringLiteral("You will have 83 questions and have to answer in 120 minutes or less. ");
    e.examCaptionNamesExam = true;
    e.examDesignCaption = QStringLiteral("Exam");
    e.showAnswerCaption = QStringLiteral("Show Answer");
    e.reviewCaptionNamesExam = true;
    e.wrongAnswerCaptionNamesExam = true;
    e.exhibitViewerCaption = QStringLiteral("Exhibit");
    e.exhibitButtonsArePictures = false;
    e.wrongAnswerExhibitCaption = QStringLiteral("Exhibit");
    e.reviewExhibitCaption = QStringLiteral("E x h i b i t");
    e.disclaimerLabel = QStringLiteral("Software Agreement(EULA) and  Disclaimer");
    e.aboutDescription = QStringLiteral(
        "Each Exam contains 80+ questions and you have to answer in 120 minutes or less. The "
        "practice tests for Brel 9x exam covers stated exam objectives.  ");
    e.scoreDateLabel = QStringLiteral("Date");
    e.scoreNameLabel = QStringLiteral("Name");

    e.noticeOkStartsAnyExam = true;
    e.noticeOkUnloads = true;
    e.timeOutAsksToEnd = true;
    e.showAnswerHidesExamFirst = true;
    e.showAnswerReturnDiscards = true;
    e.exhibitHidesCaller = true;
    e.reviewEndUnloads = true;
    e.reviewReappliesModeOnActivate = true;
    e.wrongAnswerReturnUnloads = true;
    e.scoreExitClearsExamCode = true;
    return e;
}

} // namespace core
