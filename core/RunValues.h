#pragma once

#include <QString>

namespace core {

// The values an exam run keeps for as long as the program runs, read and
// written by the windows of the run. All start empty (0 or ""); the integers
// are wider than the 16 bits they ever need, so no counter can overflow.
struct RunValues {
    int examCode = 0; // 1..3 exam, 11/22/33 review of that exam
    QString candidateName;
    int questionCount = 0; // questions per exam, set at start-up
    int timeLimitMinutes = 0;
    int questionNo = 0;      // the exam window's question on screen, from 1
    QString exhibitPath;     // diagram1 of the question whose exhibit is wanted
    int wrongAnswerExam = 0; // exam under wrong-answer review, 0 otherwise
    int passScore = 0;
};

} // namespace core
