#include "core/QuestionDraw.h"

#include "data/Database.h"
#include "data/Recordset.h"
#include "data/RowSampler.h"
#include "data/Statements.h"
#include "data/TableRecordset.h"

#include <chrono>
#include <random>

namespace core {

bool drawQuestions(const QString& databaseFile, int exam, int count)
{
    auto db = data::Database::OpenDatabase(databaseFile);
    data::Database::Transaction transaction(*db);
    const bool drawn = drawQuestions(db, exam, count);
    // Too few questions: the earlier draw goes too, so no exam runs on it.
    transaction.commit();
    return drawn;
}

bool drawQuestions(const data::DatabasePtr& db, int exam, int count)
{
    const QString table = data::sql::workingTable(exam);
    db->Execute(data::sql::deleteRandomDraw());

    // Opening the table as the draw's source also checks it is there, with its key.
    data::TableRecordset source(db, table);
    source.setIndex(QStringLiteral("primaryKey"));
    std::mt19937_64 random(std::random_device{}() ^
                           quint64(std::chrono::steady_clock::now().time_since_epoch().count()));
    const std::vector<qint64> ids =
        data::sampleRows(*db, source.tableName(), QStringLiteral("ID"), count, random);
    if (int(ids.size()) < count)
        return false;

    auto drawn = db->OpenRecordset(QStringLiteral("tblrandom"), data::dbOpenDynaset);
    for (int i = 0; i < count; ++i) {
        drawn->AddNew();
        drawn->setValue(QStringLiteral("sl_no"), i + 1);
        drawn->setValue(QStringLiteral("ID"), ids[std::size_t(i)]);
        drawn->Update();
    }
    return true;
}

} // namespace core
