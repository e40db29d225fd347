#include "Module3.h"

#include "Database.h"
#include "Program.h"
#include "Recordset.h"
#include "RowSampler.h"
#include "Statements.h"
#include "TableRecordset.h"

#include <chrono>
#include <random>

namespace exam {

bool DrawRandomQuestions(app::Program& program, int count)
{
    app::Program& p = program;
    const int exam = p.edition().offersExam(p.run().ExamCode) ? p.run().ExamCode : 1;
    const QString table = data::sql::workingTable(exam);

    auto db = data::Database::OpenDatabase(p.edition().databaseFile);
    data::Database::Transaction transaction(*db);
    db->Execute(data::sql::deleteRandomDraw());

    // Opening the table as the draw's source also checks it is there, with its key.
    data::TableRecordset source(db, table);
    source.setIndex(QStringLiteral("primaryKey"));
    std::mt19937_64 random(std::random_device{}() ^
                           quint64(std::chrono::steady_clock::now().time_since_epoch().count()));
    const std::vector<qint64> ids =
        data::sampleRows(*db, source.tableName(), QStringLiteral("ID"), count, random);
    if (int(ids.size()) < count) {
        transaction.commit();
        p.MsgBox(QStringLiteral("Request is greated than the total number of records."));
        return false;
    }

    auto drawn = db->OpenRecordset(QStringLiteral("tblrandom"), data::dbOpenDynaset);
    for (int i = 0; i < count; ++i) {
        drawn->AddNew();
        drawn->setValue(QStringLiteral("sl_no"), i + 1);
        drawn->setValue(QStringLiteral("ID"), ids[std::size_t(i)]);
        drawn->Update();
    }
    transaction.commit();
    return true;
}

} // namespace exam
