#include "BankSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

#include <cmath>
#include <limits>

namespace bank {

BankError::BankError(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}

namespace {

// Where a value was read, for messages: the file and, inside an exam file,
// the question.
class Place {
public:
    explicit Place(QString file) : m_file(std::move(file)) {}

    Place question(const QString& which) const
    {
        Place inner(m_file);
        inner.m_question = which;
        return inner;
    }

    [[noreturn]] void fail(const QString& problem) const
    {
        QString message = m_file + QStringLiteral(": ");
        if (!m_question.isEmpty())
            message += QStringLiteral("question ") + m_question + QStringLiteral(": ");
        throw BankError(message + problem);
    }

private:
    QString m_file;
    QString m_question;
};

QString describe(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("true/false");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("missing");
}

QString quoted(const QString& key)
{
    return QLatin1Char('"') + key + QLatin1Char('"');
}

void refuseUnknownKeys(const QJsonObject& object, const QStringList& known, const Place& place)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!known.contains(it.key()))
            place.fail(QStringLiteral("unknown field ") + quoted(it.key()));
    }
}

QJsonValue required(const QJsonObject& object, const QString& key, const Place& place)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        place.fail(QStringLiteral("missing field ") + quoted(key));
    return value;
}

qint64 wholeNumber(const QJsonValue& value, const QString& what, const Place& place,
                   qint64 limit = std::numeric_limits<qint32>::max())
{
    if (!value.isDouble())
        place.fail(what + QStringLiteral(" must be a whole number, not ") + describe(value));
    const double number = value.toDouble();
    if (number != std::floor(number) || std::fabs(number) > double(limit))
        place.fail(what + QStringLiteral(" must be a whole number, not ") +
                   QString::number(number, 'g', 17));
    return qint64(number);
}

int integerField(const QJsonObject& object, const QString& key, const Place& place)
{
    return int(wholeNumber(required(object, key, place), quoted(key), place));
}

QString textField(const QJsonObject& object, const QString& key, const Place& place)
{
    const QJsonValue value = required(object, key, place);
    if (!value.isString())
        place.fail(quoted(key) + QStringLiteral(" must be a string, not ") + describe(value));
    return value.toString();
}

QJsonArray arrayField(const QJsonObject& object, const QString& key, const Place& place)
{
    const QJsonValue value = required(object, key, place);
    if (!value.isArray())
        place.fail(quoted(key) + QStringLiteral(" must be an array, not ") + describe(value));
    return value.toArray();
}

QJsonObject objectAt(const QJsonValue& value, const QString& what, const Place& place)
{
    if (!value.isObject())
        place.fail(what + QStringLiteral(" must be an object, not ") + describe(value));
    return value.toObject();
}

QJsonObject readJsonObject(const QString& path)
{
    const Place place(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        place.fail(QStringLiteral("cannot read: ") + file.errorString());
    const QByteArray bytes = file.readAll();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        const QByteArray before = bytes.left(error.offset);
        const qsizetype line = before.count('\n') + 1;
        const qsizetype column = error.offset - (before.lastIndexOf('\n') + 1) + 1;
        place.fail(QStringLiteral("malformed JSON at line %1, column %2: %3")
                       .arg(line)
                       .arg(column)
                       .arg(error.errorString()));
    }
    if (!document.isObject())
        place.fail(QStringLiteral("the file must hold one JSON object"));
    return document.object();
}

Question readQuestion(const QJsonValue& value, qsizetype index, const Place& filePlace)
{
    // Until the ID is known, the question is named by its place in the list.
    const Place listed = filePlace.question(QStringLiteral("#%1").arg(index + 1));
    const QJsonObject object = objectAt(value, QStringLiteral("a question"), listed);

    Question q;
    q.id = wholeNumber(required(object, QStringLiteral("id"), listed), QStringLiteral("\"id\""),
                       listed, std::numeric_limits<qint64>::max() / 2);
    const Place place = filePlace.question(QString::number(q.id));

    refuseUnknownKeys(object,
                      {QStringLiteral("id"), QStringLiteral("catid"), QStringLiteral("type"),
                       QStringLiteral("question"), QStringLiteral("answers"),
                       QStringLiteral("correct"), QStringLiteral("explanation"),
                       QStringLiteral("exhibit")},
                      place);
    q.catid = integerField(object, QStringLiteral("catid"), place);
    q.type = textField(object, QStringLiteral("type"), place);
    q.question = textField(object, QStringLiteral("question"), place);
    q.explanation = textField(object, QStringLiteral("explanation"), place);

    const QJsonArray answers = arrayField(object, QStringLiteral("answers"), place);
    for (qsizetype k = 0; k < answers.size(); ++k) {
        if (!answers.at(k).isString())
            place.fail(QStringLiteral("answer %1 must be a string, not ").arg(k + 1) +
                       describe(answers.at(k)));
        q.answers << answers.at(k).toString();
    }

    const QJsonArray correct = arrayField(object, QStringLiteral("correct"), place);
    for (const QJsonValue& position : correct)
        q.correct << int(wholeNumber(position, QStringLiteral("each of \"correct\""), place));

    const QJsonValue exhibit = object.value(QStringLiteral("exhibit"));
    if (!exhibit.isUndefined() && !exhibit.isNull()) {
        if (!exhibit.isString())
            place.fail(QStringLiteral("\"exhibit\" must be a string, not ") + describe(exhibit));
        q.exhibit = exhibit.toString();
    }
    return q;
}

Exam readExam(const QString& path, int listedAs)
{
    const Place place(path);
    const QJsonObject root = readJsonObject(path);
    refuseUnknownKeys(root, {QStringLiteral("exam"), QStringLiteral("questions")}, place);

    Exam exam;
    exam.exam = listedAs;
    exam.sourceFile = path;
    if (root.contains(QStringLiteral("exam"))) {
        const int own = integerField(root, QStringLiteral("exam"), place);
        if (own != listedAs)
            place.fail(QStringLiteral("the file says exam %1 but edition.json lists it as exam %2")
                           .arg(own)
                           .arg(listedAs));
    }
    const QJsonArray questions = arrayField(root, QStringLiteral("questions"), place);
    for (qsizetype i = 0; i < questions.size(); ++i)
        exam.questions << readQuestion(questions.at(i), i, place);
    return exam;
}

TestInformation readTestInformation(const QJsonObject& root, const Place& place)
{
    const QJsonObject object = objectAt(required(root, QStringLiteral("test_information"), place),
                                        QStringLiteral("\"test_information\""), place);
    const QStringList keys = {
        QStringLiteral("test_name"),       QStringLiteral("author_name"),
        QStringLiteral("copyright_date"),  QStringLiteral("test_description"),
        QStringLiteral("test_disclaimer"), QStringLiteral("number_of_questions")};
    refuseUnknownKeys(object, keys, place);
    TestInformation info;
    info.testName = textField(object, keys[0], place);
    info.authorName = textField(object, keys[1], place);
    info.copyrightDate = textField(object, keys[2], place);
    info.testDescription = textField(object, keys[3], place);
    info.testDisclaimer = textField(object, keys[4], place);
    info.numberOfQuestions = textField(object, keys[5], place);
    return info;
}

} // namespace

Edition loadBank(const QString& editionJsonPath)
{
    const QString editionPath = QDir::cleanPath(editionJsonPath);
    const Place place(editionPath);
    const QJsonObject root = readJsonObject(editionPath);
    refuseUnknownKeys(root,
                      {QStringLiteral("answer_columns"), QStringLiteral("categories"),
                       QStringLiteral("test_information"), QStringLiteral("exams")},
                      place);

    Edition edition;
    edition.sourceFile = editionPath;
    edition.answerColumns = integerField(root, QStringLiteral("answer_columns"), place);

    for (const QJsonValue& value : arrayField(root, QStringLiteral("categories"), place)) {
        const QJsonObject object = objectAt(value, QStringLiteral("a category"), place);
        refuseUnknownKeys(object, {QStringLiteral("catid"), QStringLiteral("cat_desc")}, place);
        Category category;
        category.catid = integerField(object, QStringLiteral("catid"), place);
        category.description = textField(object, QStringLiteral("cat_desc"), place);
        edition.categories << category;
    }

    edition.testInformation = readTestInformation(root, place);

    const QDir folder = QFileInfo(editionPath).dir();
    for (const QJsonValue& value : arrayField(root, QStringLiteral("exams"), place)) {
        const QJsonObject object = objectAt(value, QStringLiteral("an exam entry"), place);
        refuseUnknownKeys(object, {QStringLiteral("exam"), QStringLiteral("file")}, place);
        const int number = integerField(object, QStringLiteral("exam"), place);
        const QString file = textField(object, QStringLiteral("file"), place);
        if (file.isEmpty())
            place.fail(QStringLiteral("exam %1 names no file").arg(number));
        edition.exams << readExam(QDir::cleanPath(folder.filePath(file)), number);
    }
    return edition;
}

} // namespace bank
