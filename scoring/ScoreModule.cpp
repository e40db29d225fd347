#include "ScoreModule.h"

#include "Form3.h"
#include "Program.h"

namespace scoring::Module1 {

void ShowTitleAndPassScore(app::Program& program)
{
    Form3& sheet = program.form<Form3>();
    sheet.setExamTitle(program.edition().scoreSheetTitle);
    program.run().PassScore = program.edition().passScore;
    sheet.setPassScoreText(QString::number(program.run().PassScore) + QStringLiteral("/1000"));
}

} // namespace scoring::Module1
