#include "core/BankCheck.h"

#include "data/DataError.h"
#include "data/Database.h"
#include "data/JetSql.h"
#include "data/Sqlite.h"
#include "data/Statements.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

namespace core {
namespace {

constexpr int answerSlots = 5;
// What every SQLite database file begins with, its closing zero included.
constexpr char sqliteHeader[] = "SQLite format 3";

// A table the run relies on: its columns, and which of them hold Yes/No
// values and texts whose length is limited.
struct Table {
    QString name;
    QString role; // what it holds, in words
    QStringList columns;
    QStringList yesNo;
    QStringList texts;
    bool questions = false; // one row per question, by ID
};

QString number(qint64 n)
{
    return QLocale(QLocale::English).toString(n);
}

QString times(qint64 count)
{
    return count == 2 ? QStringLiteral("twice") : QStringLiteral("%1 times").arg(count);
}

QString typeWords(const QString& sqliteType)
{
    if (sqliteType == u"null")
        return QStringLiteral("nothing");
    if (sqliteType == u"blob")
        return QStringLiteral("binary data");
    return sqliteType; // "text"
}

// A column as the candidate knows it: "answer 3", "the explanation".
QString columnWords(const QString& column)
{
    if (column.startsWith(QLatin1StringView("answer")))
        return QStringLiteral("answer ") + column.mid(6);
    static const QHash<QString, QString> words{
        {QStringLiteral("question"), QStringLiteral("the question")},
        {QStringLiteral("explanation"), QStringLiteral("the explanation")},
        {QStringLiteral("question_type"), QStringLiteral("the question type")},
        {QStringLiteral("cat_desc"), QStringLiteral("the category's description")},
        {QStringLiteral("diagram1"), QStringLiteral("the exhibit's file name")},
        {QStringLiteral("test_name"), QStringLiteral("the test name")},
        {QStringLiteral("number_of_questions"), QStringLiteral("the number of questions")},
        {QStringLiteral("test_disclaimer"), QStringLiteral("the disclaimer")},
        {QStringLiteral("test_description"), QStringLiteral("the description")},
        {QStringLiteral("copyright_date"), QStringLiteral("the copyright")},
        {QStringLiteral("author_name"), QStringLiteral("the author")},
    };
    return words.value(column, column);
}

QStringList numbered(const QString& pattern)
{
    QStringList names;
    for (int k = 1; k <= answerSlots; ++k)
        names << pattern.arg(k);
    return names;
}

QString q(const QString& name)
{
    return data::quoteName(name);
}

QList<Table> tablesFor(int exam, BankUse use)
{
    const QString n = QString::number(exam);
    const QStringList answers = numbered(QStringLiteral("answer%1"));
    const QStringList choices = numbered(QStringLiteral("correctanswer%1"));
    const QStringList questionTexts = QStringList{QStringLiteral("question")} + answers;

    Table key{data::sql::keyTable(exam),
              QStringLiteral("the answer key of exam ") + n,
              QStringList{QStringLiteral("ID"), QStringLiteral("question")} + answers + choices +
                  QStringList{QStringLiteral("explanation"), QStringLiteral("diagram1"),
                              QStringLiteral("question_type")},
              choices,
              questionTexts + QStringList{QStringLiteral("explanation"), QStringLiteral("diagram1"),
                                          QStringLiteral("question_type")},
              true};
    if (use == BankUse::Review)
        return {key};

    Table working{
        data::sql::workingTable(exam),
        QStringLiteral("the questions of exam ") + n,
        QStringList{QStringLiteral("ID"), QStringLiteral("question")} + answers + choices +
            QStringList{QStringLiteral("question_type"), QStringLiteral("catid"),
                        QStringLiteral("cat_desc"), QStringLiteral("diagram1"),
                        QStringLiteral("explanation")},
        choices,
        questionTexts + QStringList{QStringLiteral("question_type"), QStringLiteral("cat_desc"),
                                    QStringLiteral("diagram1"), QStringLiteral("explanation")},
        true};
    const QStringList information{
        QStringLiteral("test_name"),       QStringLiteral("number_of_questions"),
        QStringLiteral("test_disclaimer"), QStringLiteral("test_description"),
        QStringLiteral("copyright_date"),  QStringLiteral("author_name")};
    return {
        working,
        key,
        {QStringLiteral("tblrandom"),
         QStringLiteral("the questions drawn for an exam"),
         {QStringLiteral("sl_no"), QStringLiteral("ID")},
         {},
         {}},
        {QStringLiteral("showans"),
         QStringLiteral("the question whose answer is shown"),
         {QStringLiteral("id")},
         {},
         {}},
        {QStringLiteral("cat"),
         QStringLiteral("the categories"),
         {QStringLiteral("sl_no"), QStringLiteral("cat_desc")},
         {},
         {QStringLiteral("cat_desc")}},
        {QStringLiteral("cat_scores"),
         QStringLiteral("the scores by category"),
         {QStringLiteral("Cat_correct"), QStringLiteral("cat_scores")},
         {},
         {}},
        {data::sql::testInformationTable(),
         QStringLiteral("the test information"),
         information,
         {},
         information},
    };
}

// Every table a question bank may hold, of any exam: a file with none of them
// is something else.
QStringList bankTables()
{
    QStringList names;
    for (int exam = 1; exam <= 3; ++exam)
        names << data::sql::workingTable(exam) << data::sql::keyTable(exam);
    names << QStringLiteral("tblrandom") << QStringLiteral("showans") << QStringLiteral("cat")
          << QStringLiteral("cat_scores") << data::sql::testInformationTable();
    return names;
}

bool blank(QByteArrayView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); });
}

// In characters, as the windows count them, without decoding the text: a
// text is as long as its bytes that start a character.
bool tooLong(QByteArrayView text)
{
    if (text.size() <= longestBankText)
        return false;
    const auto characters = std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    return characters > longestBankText;
}

// What the scan of a table of questions keeps for the checks that pair the
// exam's two tables.
struct Scanned {
    std::vector<qint64> ids; // whole-number IDs, in stored order
    struct Key {
        qint64 id = 0;
        int correct = 0; // answers marked correct
        bool single = false;
    };
    std::vector<Key> keys;       // the answer key's rows, by ID once sorted
    std::vector<qint64> singles; // the working table's single-answer questions
};

class Checker {
public:
    Checker(data::Database& db, int exam, BankUse use)
        : m_db(db), m_exam(exam), m_use(use), m_tables(tablesFor(exam, use))
    {
    }

    // False when the file holds none of a bank's tables.
    bool readCatalog()
    {
        m_db.eachRow(QStringLiteral("SELECT name, type FROM sqlite_master "
                                    "WHERE type IN ('table', 'view')"),
                     {}, [this](const data::Database::Row& row) {
                         m_catalog.insert(row.value(0).toString().toLower(),
                                          row.value(1).toString());
                         return true;
                     });
        for (const QString& name : bankTables()) {
            if (m_catalog.contains(name.toLower()))
                return true;
        }
        return false;
    }

    // False when the file is damaged, or could not be checked: then nothing
    // in it can be relied on.
    bool checkIntegrity()
    {
        QStringList faults;
        try {
            m_db.eachRow(QStringLiteral("PRAGMA quick_check(10)"), {},
                         [&faults](const data::Database::Row& row) {
                             faults << row.value(0).toString();
                             return true;
                         });
        } catch (const data::DataError& error) {
            if (error.kind() == data::DataError::Kind::NotADatabase)
                throw;
            // An index in a sort order this program lacks cannot be checked;
            // checkSchema() has said so.
            if (!anyProblem())
                problem(Kind::File, QStringLiteral("the file could not be checked for damage"),
                        error.technical());
            return false;
        }
        if (faults == QStringList{QStringLiteral("ok")})
            return true;
        problem(Kind::File,
                QStringLiteral("the file is damaged, so its questions cannot be trusted"),
                QStringLiteral("integrity check: ") + faults.join(QStringLiteral("; ")));
        return false;
    }

    void checkSchema()
    {
        for (const Table& table : m_tables) {
            if (checkTable(table))
                m_usable.insert(table.name);
        }
    }

    void checkRows()
    {
        const QString working = data::sql::workingTable(m_exam);
        const QString key = data::sql::keyTable(m_exam);
        if (m_use == BankUse::Exam && m_usable.contains(QStringLiteral("cat"))) {
            guarded(table(QStringLiteral("cat")), [&] {
                m_categories = count(QStringLiteral("SELECT count(*) FROM cat"));
                if (m_categories == 0)
                    problem(Kind::Table, QStringLiteral("cat lists no categories"));
            });
        }
        std::map<QString, Scanned> scanned;
        for (const Table& t : m_tables) {
            if (m_usable.contains(t.name) && (t.questions || !t.texts.isEmpty()))
                guarded(t, [&] { scanned[t.name] = scan(t); });
        }
        for (const auto& [name, facts] : scanned) {
            if (facts.ids.empty())
                continue;
            const qint64 duplicated = reportDuplicates(name, facts.ids);
            // The draw finds its questions by a unique index on ID; duplicates,
            // told of already, are why there can be none.
            if (name == working && duplicated == 0 &&
                m_workingKey.compare(QLatin1StringView("ID"), Qt::CaseInsensitive) != 0)
                problem(Kind::Ids, QStringLiteral("%1 has no unique index on ID, which drawing its "
                                                  "questions needs")
                                       .arg(name));
        }
        if (scanned.count(working) && scanned.count(key))
            pair(working, scanned[working], key, scanned[key]);
    }

    // Every statement of the run, as the windows and grading issue them,
    // prepared (never run): whatever the checks above did not foresee.
    void checkStatements()
    {
        const int exam = m_exam;
        const QString working = data::sql::workingTable(exam);
        const QString key = data::sql::keyTable(exam);
        struct Use {
            QString purpose;
            QString sql;
        };
        QList<Use> uses;
        if (m_use == BankUse::Review) {
            uses << Use{key + QStringLiteral(": the answer key cannot be read"),
                        data::sql::reviewExam(exam)};
        } else {
            const QString draw = QStringLiteral("tblrandom cannot hold the questions drawn");
            const QString choices = working + QStringLiteral(": the choices cannot be stored");
            const QString shown =
                QStringLiteral("showans cannot hold the question whose answer is shown");
            const QString grading = QStringLiteral("exam %1 cannot be graded").arg(exam);
            uses << Use{draw, data::sql::deleteRandomDraw()}
                 << Use{draw, QStringLiteral("INSERT INTO tblrandom (sl_no, ID) VALUES (1, 1)")}
                 << Use{working + QStringLiteral(": its questions cannot be drawn"),
                        QStringLiteral("SELECT ID FROM %1 WHERE rowid = 1").arg(q(working))}
                 << Use{working + QStringLiteral(": the questions drawn cannot be read"),
                        data::sql::examQuestionsInDrawOrder(exam)}
                 << Use{choices, data::sql::resetDrawnChoices(exam, answerSlots)}
                 << Use{choices, data::sql::resetChoices(exam, answerSlots)}
                 << Use{shown, data::sql::deleteShownAnswer()}
                 << Use{shown, QStringLiteral("INSERT INTO showans (id) VALUES (1)")}
                 << Use{key + QStringLiteral(": the answer of a question cannot be shown"),
                        data::sql::shownAnswer(exam)}
                 << Use{grading, data::sql::correctAnswers(exam, answerSlots)}
                 << Use{grading, data::sql::wrongAnswers(exam)}
                 << Use{grading, data::sql::categoryQuestions(exam, 0)}
                 << Use{grading, data::sql::categoryCorrectAnswers(exam, answerSlots, 0)}
                 << Use{grading, data::sql::deleteCategoryScores()}
                 << Use{grading, QStringLiteral("SELECT * FROM cat")}
                 << Use{grading, QStringLiteral("SELECT * FROM cat_scores")}
                 << Use{QStringLiteral("the wrong answers of exam %1 cannot be reviewed").arg(exam),
                        data::sql::wrongAnswerReviewInDrawOrder(exam)}
                 << Use{QStringLiteral("the test information cannot be read"),
                        QStringLiteral("SELECT * FROM ") + q(data::sql::testInformationTable())};
        }
        QSet<QString> told;
        for (const Use& use : uses) {
            const QString sql = data::rewriteJetSql(use.sql);
            const QString why = m_db.statementProblem(sql);
            if (why.isEmpty() || told.contains(use.purpose))
                continue;
            told.insert(use.purpose);
            problem(Kind::Table, use.purpose, why + QStringLiteral("\nStatement: ") + sql);
        }
    }

    bool anyProblem() const { return !m_found.empty(); }
    QList<BankProblem> problems()
    {
        std::stable_sort(m_found.begin(), m_found.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        QList<BankProblem> sorted;
        sorted.reserve(qsizetype(m_found.size()));
        for (const auto& found : m_found)
            sorted << found.second;
        return sorted;
    }

private:
    // What a problem is about; the message tells the weightiest first.
    enum class Kind { File, Table, Ids, Pairing, Key, YesNo, Category, Length };

    void problem(Kind kind, const QString& text, const QString& detail = QString())
    {
        m_found.push_back({kind, BankProblem{text, detail}});
    }

    const Table& table(const QString& name) const
    {
        for (const Table& t : m_tables) {
            if (t.name == name)
                return t;
        }
        return m_tables.first();
    }

    template <typename Body> void guarded(const Table& t, Body&& body)
    {
        try {
            body();
        } catch (const data::DataError& error) {
            problem(Kind::Table, QStringLiteral("%1 (%2) cannot be read").arg(t.name, t.role),
                    error.technical());
        }
    }

    qint64 count(const QString& sql)
    {
        qint64 n = 0;
        m_db.eachRow(sql, {}, [&n](const data::Database::Row& row) {
            n = row.integer(0);
            return false;
        });
        return n;
    }

    // Present as a table with every column the run uses.
    bool checkTable(const Table& t)
    {
        const QString type = m_catalog.value(t.name.toLower());
        if (type.isEmpty()) {
            problem(Kind::Table,
                    QStringLiteral("the table %1 (%2) is missing").arg(t.name, t.role));
            return false;
        }
        if (type != u"table") {
            problem(Kind::Table,
                    QStringLiteral("%1 (%2) is a view, not a table").arg(t.name, t.role));
            return false;
        }
        const auto info = m_db.tableInfo(t.name);
        if (!info)
            return false;
        bool complete = true;
        for (const QString& column : t.columns) {
            if (!info->columns.contains(column, Qt::CaseInsensitive)) {
                problem(Kind::Table, QStringLiteral("%1 has no column %2").arg(t.name, column));
                complete = false;
            }
        }
        // Both are written by their place in the table.
        if (t.name == u"showans" && complete &&
            (info->columns.size() < 2 ||
             info->columns.at(1).compare(QLatin1StringView("id"), Qt::CaseInsensitive) != 0)) {
            problem(Kind::Table, QStringLiteral("showans must have its column id in second place"));
            complete = false;
        }
        if (t.name == u"cat_scores" && info->columns.size() < 5) {
            problem(Kind::Table, QStringLiteral("cat_scores has %1 columns; the scores need five")
                                     .arg(info->columns.size()));
            complete = false;
        }
        checkIndexes(t);
        if (t.name == data::sql::workingTable(m_exam))
            m_workingKey = info->keyColumn;
        return complete;
    }

    // An index whose sort order this program lacks fails every change of its table.
    void checkIndexes(const Table& t)
    {
        QList<std::pair<QString, QString>> collations; // index, sort order
        m_db.eachRow(QStringLiteral("SELECT il.name, x.coll FROM pragma_index_list(?1) AS il, "
                                    "pragma_index_xinfo(il.name) AS x "
                                    "WHERE x.key = 1 AND x.coll IS NOT NULL"),
                     {t.name}, [&collations](const data::Database::Row& row) {
                         collations.append({row.value(0).toString(), row.value(1).toString()});
                         return true;
                     });
        for (const auto& [index, collation] : collations) {
            const QString why =
                // Only a comparison asks SQLite for the sort order.
                m_db.statementProblem(QStringLiteral("SELECT 'a' < 'b' COLLATE ") + q(collation));
            if (!why.isEmpty())
                problem(Kind::Table,
                        QStringLiteral("%1 has an index that needs a sort order this program "
                                       "does not have")
                            .arg(t.name),
                        QStringLiteral("index %1: %2").arg(index, why));
        }
    }

    // One pass over a table: each row's Yes/No values, text lengths and, for
    // the answer key, its marks; for the working table, its category. What
    // takes two tables is gathered for pair().
    Scanned scan(const Table& t)
    {
        const QString working = data::sql::workingTable(m_exam);
        const bool isKey = t.name == data::sql::keyTable(m_exam);
        const bool isWorking = t.name == working;
        const bool categories = isWorking && m_categories > 0;
        QStringList select;
        if (t.questions)
            select << QStringLiteral("ID") << QStringLiteral("question_type");
        if (categories)
            select << QStringLiteral("catid");
        const int yesNoAt = int(select.size());
        select << t.yesNo;
        const int textsAt = int(select.size());
        select << t.texts;
        QStringList quoted;
        for (const QString& column : select)
            quoted << q(column);
        const int answersAt = textsAt + int(t.texts.indexOf(QStringLiteral("answer1")));

        Scanned facts;
        qint64 withoutId = 0, oddIds = 0;
        m_db.eachRow(
            QStringLiteral("SELECT %1 FROM %2").arg(quoted.join(QStringLiteral(", ")), q(t.name)),
            {}, [&](const data::Database::Row& row) {
                qint64 id = 0;
                // How a problem names the row; made only for a problem.
                const auto where = [&t, &id] {
                    return t.questions ? QStringLiteral("%1: question ID %2").arg(t.name).arg(id)
                                       : t.name;
                };
                if (t.questions) {
                    if (row.isNull(0)) {
                        ++withoutId;
                        return true;
                    }
                    if (!row.isInteger(0)) {
                        ++oddIds;
                        return true;
                    }
                    id = row.integer(0);
                    facts.ids.push_back(id);
                }
                bool marksKnown = true;
                int correct = 0;
                for (int k = 0; k < int(t.yesNo.size()); ++k) {
                    if (!row.isNumber(yesNoAt + k)) {
                        problem(Kind::YesNo, QStringLiteral("%1: %2 holds %3, not Yes or No")
                                                 .arg(where(), t.yesNo.at(k),
                                                      typeWords(row.typeName(yesNoAt + k))));
                        marksKnown = false;
                    } else if (row.number(yesNoAt + k) != 0) {
                        ++correct;
                    }
                }
                for (int k = 0; k < int(t.texts.size()); ++k) {
                    if (tooLong(row.bytes(textsAt + k)))
                        problem(Kind::Length, QStringLiteral("%1: %2 is longer than %3 characters")
                                                  .arg(where(), columnWords(t.texts.at(k)),
                                                       number(longestBankText)));
                }
                if (!t.questions)
                    return true;
                const bool single = row.bytes(1) == QByteArrayView("single_answer");
                if (isWorking && single)
                    facts.singles.push_back(id);
                if (categories)
                    checkCategory(where, row, 2);
                if (isKey && marksKnown) {
                    if (correct == 0)
                        problem(Kind::Key, QStringLiteral("%1 has no correct answer").arg(where()));
                    else if (single && correct != 1)
                        problem(Kind::Key,
                                QStringLiteral("%1 is a single-answer question with %2 correct "
                                               "answers")
                                    .arg(where())
                                    .arg(correct));
                    for (int k = 0; k < answerSlots; ++k) {
                        if (row.number(yesNoAt + k) != 0 && blank(row.bytes(answersAt + k)))
                            problem(Kind::Key,
                                    QStringLiteral("%1 marks answer %2 correct, but answer %2 "
                                                   "is empty")
                                        .arg(where())
                                        .arg(k + 1));
                    }
                    facts.keys.push_back({id, correct, single});
                }
                return true;
            });
        if (withoutId == 1)
            problem(Kind::Ids, QStringLiteral("%1: a question has no ID").arg(t.name));
        else if (withoutId > 1)
            problem(Kind::Ids,
                    QStringLiteral("%1: %2 questions have no ID").arg(t.name, number(withoutId)));
        if (oddIds == 1)
            problem(Kind::Ids,
                    QStringLiteral("%1: a question's ID is not a whole number").arg(t.name));
        else if (oddIds > 1)
            problem(Kind::Ids,
                    QStringLiteral("%1: %2 questions have IDs that are not whole numbers")
                        .arg(t.name, number(oddIds)));
        return facts;
    }

    // Grading counts the questions of categories 0 to K - 1, K the rows of cat.
    template <typename Where>
    void checkCategory(const Where& where, const data::Database::Row& row, int column)
    {
        if (!row.isNumber(column)) {
            problem(Kind::Category, QStringLiteral("%1 has no category").arg(where()));
            return;
        }
        const double category = row.number(column);
        if (category == std::floor(category) && category >= 0 && category < double(m_categories))
            return;
        const QString listed = m_categories == 1 ? QStringLiteral("0")
                                                 : QStringLiteral("0 to %1").arg(m_categories - 1);
        problem(Kind::Category, QStringLiteral("%1 is in category %2, but cat lists %3 only")
                                    .arg(where(), row.value(column).toString(), listed));
    }

    // Returns how many IDs appear more than once.
    qint64 reportDuplicates(const QString& name, std::vector<qint64> ids)
    {
        std::sort(ids.begin(), ids.end());
        qint64 duplicated = 0;
        for (auto it = ids.begin(); it != ids.end();) {
            const auto next = std::upper_bound(it, ids.end(), *it);
            if (next - it > 1) {
                ++duplicated;
                problem(Kind::Ids, QStringLiteral("%1: question ID %2 appears %3")
                                       .arg(name)
                                       .arg(*it)
                                       .arg(times(next - it)));
            }
            it = next;
        }
        return duplicated;
    }

    // Every question that can be drawn has its answer in the key, with one
    // correct answer where the exam window offers one choice only.
    void pair(const QString& working, const Scanned& questions, const QString& key,
              Scanned& answers)
    {
        std::sort(answers.keys.begin(), answers.keys.end(),
                  [](const Scanned::Key& a, const Scanned::Key& b) { return a.id < b.id; });
        std::vector<qint64> keyIds = answers.ids;
        std::sort(keyIds.begin(), keyIds.end());
        for (qint64 id : questions.ids) {
            if (!std::binary_search(keyIds.begin(), keyIds.end(), id))
                problem(Kind::Pairing,
                        QStringLiteral("%1: there is no answer for question ID %2 of %3")
                            .arg(key)
                            .arg(id)
                            .arg(working));
        }
        for (qint64 id : questions.singles) {
            const auto found = std::lower_bound(
                answers.keys.begin(), answers.keys.end(), id,
                [](const Scanned::Key& k, qint64 wanted) { return k.id < wanted; });
            // A key that calls it single-answer itself has been told of.
            if (found != answers.keys.end() && found->id == id && !found->single &&
                found->correct > 1)
                problem(Kind::Key,
                        QStringLiteral("%1: question ID %2 is a single-answer question in %3 "
                                       "with %4 correct answers")
                            .arg(key)
                            .arg(id)
                            .arg(working)
                            .arg(found->correct));
        }
    }

    data::Database& m_db;
    int m_exam;
    BankUse m_use;
    QList<Table> m_tables;
    QHash<QString, QString> m_catalog; // lower-case name -> "table" or "view"
    QSet<QString> m_usable;
    QString m_workingKey;
    qint64 m_categories = 0;
    std::vector<std::pair<Kind, BankProblem>> m_found;
};

} // namespace

BankVerdict checkBank(const QString& databaseFile, int exam, BankUse use)
{
    BankVerdict verdict;
    const QFileInfo info(databaseFile);
    verdict.file = info.absoluteFilePath();
    if (!info.isFile())
        throw data::DataError(data::DataError::Kind::MissingFile, verdict.file, QString());
    if (info.size() == 0) {
        verdict.notABank = QStringLiteral("the file is empty");
        return verdict;
    }
    QFile file(verdict.file);
    if (!file.open(QIODevice::ReadOnly))
        throw data::DataError(data::DataError::Kind::ReadOnly, verdict.file, file.errorString());
    const QByteArray header = file.read(sizeof sqliteHeader);
    file.close();
    if (header != QByteArrayView(sqliteHeader, sizeof sqliteHeader)) {
        verdict.notABank = QStringLiteral("it is not a database file");
        verdict.notABankDetail = QStringLiteral("the file does not begin as an SQLite database");
        return verdict;
    }

    try {
        auto db = data::Database::OpenDatabase(verdict.file);
        // Read through memory mapping, the file is read once for the integrity
        // check and the scans find its pages at hand. The mapping ends with the connection.
        db->eachRow(QStringLiteral("PRAGMA mmap_size = 268435456"), {},
                    [](const data::Database::Row&) { return true; });
        Checker checker(*db, exam, use);
        if (!checker.readCatalog()) {
            verdict.notABank = QStringLiteral("it has none of the tables a bank needs");
            return verdict;
        }
        checker.checkSchema();
        if (checker.checkIntegrity()) {
            checker.checkRows();
            if (!checker.anyProblem())
                checker.checkStatements();
        }
        verdict.problems = checker.problems();
    } catch (const data::DataError& error) {
        if (error.kind() != data::DataError::Kind::NotADatabase)
            throw;
        // An SQLite file whose first pages cannot be read.
        verdict.problems << BankProblem{
            QStringLiteral("the file is damaged, so its questions cannot be trusted"),
            error.technical()};
    }
    return verdict;
}

} // namespace core
