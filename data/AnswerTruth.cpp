#include "data/AnswerTruth.h"

#include "data/DataError.h"
#include "data/Database.h"
#include "data/Statements.h"

namespace data {

void readAnswersByTruth(Database& db, const QString& table, const QString& rowFilter)
{
    db.Execute(sql::dropTemporaryView(table));
    const auto info = db.tableInfo(table);
    if (!info)
        throw DataError(DataError::Kind::MissingTable, db.fileName(),
                        QStringLiteral("the table \"%1\" is missing").arg(table));
    db.Execute(sql::answersByTruthView(info->name, info->columns, rowFilter));
}

} // namespace data
