#include "BankWriter.h"

#include "BankSource.h"
#include "data/Schema.h"
#include "data/Sqlite.h"
#include "data/Statements.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

namespace bank {
namespace {

// The database's answer and choice columns.
constexpr int answerSlots = 5;

// ---- exhibits ---------------------------------------------------------------

void saveFile(const QString& target, const QByteArray& bytes)
{
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw BankError(target + QStringLiteral(": cannot write: ") + out.errorString());
}

QString renderSvg(const QString& source, const QDir& outDir)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw BankError(source +
                        QStringLiteral(": drawing an SVG exhibit needs a QGuiApplication"));
    QSvgRenderer renderer(source);
    if (!renderer.isValid())
        throw BankError(source + QStringLiteral(": not a readable SVG drawing"));
    const QSize size = renderer.defaultSize();
    if (size.isEmpty())
        throw BankError(source + QStringLiteral(": the drawing has no width and height"));

    QImage image(size * 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    painter.end();

    const QString name = QFileInfo(source).completeBaseName() + QStringLiteral("@2x.png");
    const QString target = outDir.filePath(name);
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || !out.commit())
        throw BankError(target + QStringLiteral(": cannot write: ") + out.errorString());
    return name;
}

QString copyPicture(const QString& source, const QDir& outDir)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw BankError(source + QStringLiteral(": cannot read: ") + in.errorString());
    const QString name = QFileInfo(source).fileName();
    saveFile(outDir.filePath(name), in.readAll());
    return name;
}

// Writes every exhibit once; maps each exhibit name to its diagram1 value.
QHash<QString, QString> writeExhibits(const Edition& edition, const QString& sourceDir,
                                      const QString& outDir)
{
    QHash<QString, QString> stored;
    const QDir source(sourceDir);
    const QDir out(outDir);
    for (const Exam& exam : edition.exams) {
        for (const Question& q : exam.questions) {
            if (q.exhibit.isEmpty() || stored.contains(q.exhibit))
                continue;
            if (!QDir().mkpath(outDir))
                throw BankError(outDir + QStringLiteral(": cannot create the exhibits folder"));
            const QString path = source.filePath(q.exhibit);
            if (!QFileInfo(path).isFile())
                throw BankError(exam.sourceFile +
                                QStringLiteral(": question %1: missing exhibit file ").arg(q.id) +
                                path);
            const bool svg =
                QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0;
            const QString name = svg ? renderSvg(path, out) : copyPicture(path, out);
            stored.insert(q.exhibit, QStringLiteral("exhibits/") + name);
        }
    }
    return stored;
}

// ---- database ---------------------------------------------------------------

class Writer {
public:
    Writer(const QString& file, const QString& nameForMessages) : m_name(nameForMessages)
    {
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        m_db.reset(raw);
        if (rc != SQLITE_OK)
            fail(QStringLiteral("cannot create the database"));
    }

    [[noreturn]] void fail(const QString& what) const
    {
        QString message = m_name + QStringLiteral(": ") + what;
        if (m_db)
            message += QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(m_db.get()));
        throw BankError(message);
    }

    void exec(const QString& sql)
    {
        if (sqlite3_exec(m_db.get(), sql.toUtf8().constData(), nullptr, nullptr, nullptr) !=
            SQLITE_OK)
            fail(QStringLiteral("cannot run \"%1\"").arg(sql));
    }

    data::StatementHandle prepare(const QString& sql)
    {
        sqlite3_stmt* raw = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db.get(), utf8.constData(), int(utf8.size()), &raw, nullptr) !=
            SQLITE_OK)
            fail(QStringLiteral("cannot prepare \"%1\"").arg(sql));
        return data::StatementHandle(raw);
    }

    void step(sqlite3_stmt* st, const QString& what)
    {
        if (sqlite3_step(st) != SQLITE_DONE)
            fail(what);
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
    }

    void close()
    {
        if (sqlite3_close(m_db.get()) != SQLITE_OK)
            fail(QStringLiteral("cannot close the database"));
        (void)m_db.release();
    }

private:
    QString m_name;
    data::SqliteHandle m_db;
};

void bindText(sqlite3_stmt* st, int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(st, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// Binds a picture path or, for none, NULL.
void bindOptional(sqlite3_stmt* st, int index, const QString& text)
{
    if (text.isEmpty())
        sqlite3_bind_null(st, index);
    else
        bindText(st, index, text);
}

QString placeholders(int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

const QString answerColumns = QStringLiteral(
    "answer1, answer2, answer3, answer4, answer5, "
    "correctanswer1, correctanswer2, correctanswer3, correctanswer4, correctanswer5");

void writeExam(Writer& db, const Exam& exam, const QHash<int, QString>& categories,
               const QHash<QString, QString>& exhibits)
{
    const QString working = data::sql::workingTable(exam.exam);
    const QString key = data::sql::keyTable(exam.exam);
    // Columns 1..2: ID, question; 3..7 answers; 8..12 choices; then the rest.
    const data::StatementHandle workingRow = db.prepare(
        QStringLiteral("INSERT INTO %1 (ID, question, %2, question_type, catid, cat_desc, "
                       "diagram1, explanation) VALUES (%3)")
            .arg(working, answerColumns, placeholders(17)));
    const data::StatementHandle keyRow = db.prepare(
        QStringLiteral("INSERT INTO %1 (ID, question, %2, explanation, diagram1, question_type) "
                       "VALUES (%3)")
            .arg(key, answerColumns, placeholders(15)));

    for (const Question& q : exam.questions) {
        const auto fail = [&](const QString& problem) {
            throw BankError(exam.sourceFile + QStringLiteral(": question %1: ").arg(q.id) +
                            problem);
        };
        if (q.answers.size() > answerSlots)
            fail(QStringLiteral("more answers than the database's %1 columns").arg(answerSlots));
        if (!categories.contains(q.catid))
            fail(QStringLiteral("unknown category %1").arg(q.catid));
        std::array<int, answerSlots> choices{};
        for (int position : q.correct) {
            if (position < 1 || position > q.answers.size())
                fail(QStringLiteral("correct answer %1 is outside the answers").arg(position));
            choices[std::size_t(position - 1)] = 1;
        }
        const QString diagram = q.exhibit.isEmpty() ? QString() : exhibits.value(q.exhibit);

        for (sqlite3_stmt* st : {workingRow.get(), keyRow.get()}) {
            const bool isKey = st == keyRow.get();
            sqlite3_bind_int64(st, 1, q.id);
            bindText(st, 2, q.question);
            for (int k = 0; k < answerSlots; ++k) {
                bindText(st, 3 + k, k < q.answers.size() ? q.answers.at(k) : QString());
                sqlite3_bind_int(st, 8 + k, isKey ? choices[std::size_t(k)] : 0);
            }
            if (isKey) {
                bindText(st, 13, q.explanation);
                bindOptional(st, 14, diagram);
                bindText(st, 15, q.type);
            } else {
                bindText(st, 13, q.type);
                sqlite3_bind_int(st, 14, q.catid);
                bindText(st, 15, categories.value(q.catid));
                bindOptional(st, 16, diagram);
                bindText(st, 17, q.explanation);
            }
            db.step(st, QStringLiteral("cannot insert question %1 into %2")
                            .arg(q.id)
                            .arg(isKey ? key : working));
        }
    }
}

void writeTables(const Edition& edition, const QString& file, const QString& name,
                 const QHash<QString, QString>& exhibits)
{
    Writer db(file, name);
    QList<int> examNumbers;
    for (const Exam& exam : edition.exams)
        examNumbers << exam.exam;
    // One transaction for the tables and their rows: one write to disk.
    db.exec(QStringLiteral("BEGIN"));
    for (const QString& ddl : data::questionDatabaseSchema(examNumbers))
        db.exec(ddl);
    {
        QHash<int, QString> categories;
        QList<Category> ordered = edition.categories;
        std::sort(ordered.begin(), ordered.end(),
                  [](const Category& a, const Category& b) { return a.catid < b.catid; });
        const data::StatementHandle cat =
            db.prepare(QStringLiteral("INSERT INTO cat (sl_no, cat_desc) VALUES (?, ?)"));
        for (const Category& category : ordered) {
            categories.insert(category.catid, category.description);
            sqlite3_bind_int(cat.get(), 1, category.catid + 1);
            bindText(cat.get(), 2, category.description);
            db.step(cat.get(), QStringLiteral("cannot insert category %1").arg(category.catid));
        }

        const TestInformation& info = edition.testInformation;
        const data::StatementHandle test = db.prepare(
            QStringLiteral(
                "INSERT INTO \"%1\" (test_name, number_of_questions, test_disclaimer, "
                "test_description, copyright_date, author_name) VALUES (?, ?, ?, ?, ?, ?)")
                .arg(data::sql::testInformationTable()));
        bindText(test.get(), 1, info.testName);
        bindText(test.get(), 2, info.numberOfQuestions);
        bindText(test.get(), 3, info.testDisclaimer);
        bindText(test.get(), 4, info.testDescription);
        bindText(test.get(), 5, info.copyrightDate);
        bindText(test.get(), 6, info.authorName);
        db.step(test.get(), QStringLiteral("cannot insert the test information"));

        for (const Exam& exam : edition.exams)
            writeExam(db, exam, categories, exhibits);
    }
    db.exec(QStringLiteral("COMMIT"));
    db.close();
}

std::filesystem::path nativePath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

void writeDatabase(const Edition& edition, const QString& databasePath,
                   const QString& exhibitsSourceDir, const QString& exhibitsOutDir)
{
    const QHash<QString, QString> exhibits =
        writeExhibits(edition, exhibitsSourceDir, exhibitsOutDir);

    const QString folder = QFileInfo(databasePath).absolutePath();
    if (!QDir().mkpath(folder))
        throw BankError(databasePath + QStringLiteral(": cannot create the folder ") + folder);

    const QString temporary = databasePath + QStringLiteral(".tmp");
    if (QFileInfo::exists(temporary) && !QFile::remove(temporary))
        throw BankError(temporary + QStringLiteral(": cannot remove the old temporary file"));
    try {
        writeTables(edition, temporary, databasePath, exhibits);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }

    std::error_code error;
    std::filesystem::rename(nativePath(temporary), nativePath(databasePath), error);
    if (error) {
        QFile::remove(temporary);
        throw BankError(databasePath +
                        QStringLiteral(": cannot replace it with the new database: ") +
                        QString::fromStdString(error.message()));
    }
}

} // namespace bank
