#pragma once

#include <QString>

namespace data {

// The statements the windows issue are written in the Jet dialect. SQLite
// accepts all of it but three forms; this turns exactly those into their
// SQLite equivalent and leaves every other character alone:
//   "delete * from t"              -> "delete from t"
//   "UPDATE t SET t.c = ..."       -> "UPDATE t SET c = ..."
//   the Yes/No literals            -> 1/0
// Quoted strings and [bracketed] names are never touched.
QString rewriteJetSql(const QString& sql);

} // namespace data
