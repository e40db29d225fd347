#include "BankImport.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <algorithm>
#include <optional>
#include <variant>

namespace bank {
namespace {

QString numberWord(qsizetype n)
{
    static const char* const words[] = {"no",  "one",   "two",   "three", "four", "five",
                                        "six", "seven", "eight", "nine",  "ten"};
    return n >= 0 && n <= 10 ? QString::fromLatin1(words[n]) : QString::number(n);
}

// How many choices the text tells the candidate to pick ("Choose two.",
// "select 3"), or nothing when it does not say.
std::optional<int> statedCount(const QString& text)
{
    static const QRegularExpression stated(
        QStringLiteral(R"(\b(?:choose|select|pick|mark|tick|check)\s+(?:the\s+)?)"
                       R"((one|two|three|four|five|[1-9])\b)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = stated.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QString n = match.captured(1).toLower();
    for (int k = 1; k <= 5; ++k) {
        if (n == numberWord(k))
            return k;
    }
    return n.toInt();
}

QString quotedList(const QStringList& items)
{
    QStringList quoted;
    for (const QString& item : items)
        quoted << u'"' + item + u'"';
    if (quoted.size() < 2)
        return quoted.join(QString());
    return quoted.mid(0, quoted.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           quoted.last();
}

// A reference fit for a one-line report: data URLs run to kilobytes.
QString shortReference(const QString& reference)
{
    constexpr qsizetype longest = 60;
    return reference.size() <= longest ? reference
                                       : reference.left(longest) + QStringLiteral("...");
}

// The file suffix for a picture the program can show, or empty.
QString pictureSuffix(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format().toLower();
    static const QHash<QByteArray, QString> raster = {{"png", QStringLiteral("png")},
                                                      {"jpeg", QStringLiteral("jpg")},
                                                      {"jpg", QStringLiteral("jpg")},
                                                      {"gif", QStringLiteral("gif")},
                                                      {"bmp", QStringLiteral("bmp")}};
    if (raster.contains(format))
        return reader.read().isNull() ? QString() : raster.value(format);
    if (bytes.contains("<svg")) {
        QSvgRenderer renderer(bytes);
        if (renderer.isValid() && !renderer.defaultSize().isEmpty())
            return QStringLiteral("svg");
    }
    return QString();
}

// A drawing is drawn at twice its own size: a huge one would take gigabytes.
constexpr int largestDrawing = 2000;

bool oversizedDrawing(const QByteArray& bytes)
{
    const QSize size = QSvgRenderer(bytes).defaultSize();
    return size.width() > largestDrawing || size.height() > largestDrawing;
}

struct Usable {
    Question question; // without ID and category number
    QString category;
    QByteArray picture;
    QString pictureSuffix;
};

// The question as the bank holds it, or why it cannot be.
std::variant<Usable, QString> convert(const ImportedQuestion& in, const ImportTarget& target)
{
    if (!in.unsupported.isEmpty())
        return in.unsupported +
               QStringLiteral("; only multiple-choice and true/false questions are imported");
    if (!in.problem.isEmpty())
        return in.problem;

    Usable out;
    Question& q = out.question;
    q.question = in.text.trimmed();
    if (q.question.isEmpty())
        return QStringLiteral("no question text");

    const qsizetype count = in.choices.size();
    if (count == 0)
        return QStringLiteral("no choices");
    QList<ImportedChoice> choices = in.choices;
    for (qsizetype k = 0; k < count; ++k) {
        ImportedChoice& c = choices[k];
        c.text = c.text.trimmed();
        if (c.showsPicture)
            return QStringLiteral("choice %1 shows a picture; choices can only be text").arg(k + 1);
        if (c.text.isEmpty())
            return QStringLiteral("choice %1 is empty").arg(k + 1);
    }
    const bool trueFalse =
        in.trueFalse ||
        (count == 2 && ((choices[0].text.compare(u"true", Qt::CaseInsensitive) == 0 &&
                         choices[1].text.compare(u"false", Qt::CaseInsensitive) == 0) ||
                        (choices[0].text.compare(u"false", Qt::CaseInsensitive) == 0 &&
                         choices[1].text.compare(u"true", Qt::CaseInsensitive) == 0)));
    if (trueFalse) {
        for (ImportedChoice& c : choices)
            c.text = c.text.compare(u"true", Qt::CaseInsensitive) == 0 ? QStringLiteral("True")
                                                                       : QStringLiteral("False");
    }
    if (count > target.answerColumns)
        return QStringLiteral("%1 choices, but the %2 edition has room for %3")
            .arg(numberWord(count), target.name, numberWord(target.answerColumns));
    if (count < 3 && !trueFalse)
        return QStringLiteral("%1 choice%2; a question needs three or more, unless they are "
                              "True and False")
            .arg(numberWord(count), count == 1 ? QString() : QStringLiteral("s"));

    // The key: with one pick allowed, the choice worth most; otherwise every
    // choice worth something.
    QList<int> key;
    double best = 0;
    for (const ImportedChoice& c : std::as_const(choices))
        best = std::max(best, c.weight);
    if (best <= 0)
        return QStringLiteral("no choice is marked right");
    for (qsizetype k = 0; k < count; ++k) {
        const double weight = choices.at(k).weight;
        if ((in.singleChoice || trueFalse) ? weight == best : weight > 0)
            key << int(k + 1);
    }
    if ((in.singleChoice || trueFalse) && key.size() > 1)
        return QStringLiteral("%1 choices are marked fully right, but the candidate may pick "
                              "only one")
            .arg(numberWord(key.size()));

    q.type = key.size() == 1 ? QStringLiteral("single_answer") : QStringLiteral("multiple_answer");
    if (const std::optional<int> stated = statedCount(q.question)) {
        if (*stated != key.size())
            return QStringLiteral("the question says to choose %1, but %2 %3 right")
                .arg(numberWord(*stated), numberWord(key.size()),
                     key.size() == 1 ? QStringLiteral("choice is") : QStringLiteral("choices are"));
    } else if (key.size() > 1) {
        // after a list or a second paragraph it stands on a line of its own
        q.question += (q.question.contains(u'\n') ? u'\n' : u' ') +
                      QStringLiteral("(Choose %1.)").arg(numberWord(key.size()));
    }
    for (const ImportedChoice& c : std::as_const(choices))
        q.answers << c.text;
    q.correct = key;

    if (in.pictures.size() > 1)
        return QStringLiteral("%1 pictures; a question has at most one exhibit")
            .arg(numberWord(in.pictures.size()));
    if (!in.pictures.isEmpty()) {
        const ImportedPicture& picture = in.pictures.first();
        if (picture.bytes.isEmpty())
            return QStringLiteral("picture \"%1\" cannot be had: %2")
                .arg(shortReference(picture.reference), picture.problem);
        out.pictureSuffix = pictureSuffix(picture.bytes);
        if (out.pictureSuffix.isEmpty())
            return QStringLiteral("picture \"%1\" is not a PNG, JPEG, GIF, BMP or SVG picture")
                .arg(shortReference(picture.reference));
        if (out.pictureSuffix == u"svg" && oversizedDrawing(picture.bytes))
            return QStringLiteral("drawing \"%1\" is larger than %2 by %2")
                .arg(shortReference(picture.reference))
                .arg(largestDrawing);
        out.picture = picture.bytes;
    }

    // The general feedback, or else a line naming the right choices; then
    // what the file says about each choice.
    QStringList explanation;
    if (!in.generalFeedback.trimmed().isEmpty()) {
        explanation << in.generalFeedback.trimmed();
    } else {
        QStringList right;
        for (int position : std::as_const(key))
            right << choices.at(position - 1).text;
        explanation << (key.size() == 1 ? QStringLiteral("The correct answer is %1.")
                                        : QStringLiteral("The correct answers are %1."))
                           .arg(quotedList(right));
    }
    for (const ImportedChoice& c : std::as_const(choices)) {
        if (!c.feedback.trimmed().isEmpty())
            explanation << c.text + QStringLiteral(": ") + c.feedback.trimmed();
    }
    q.explanation = explanation.join(u'\n');
    out.category = in.category.simplified();
    if (out.category.isEmpty())
        out.category = QFileInfo(in.file).fileName().simplified(); // ".gift" has no base name
    return out;
}

QString reportLine(const ImportedQuestion& q, const QString& reason)
{
    QString line = QStringLiteral("%1:%2: skipped: %3").arg(q.file).arg(q.line).arg(reason);
    if (!q.name.isEmpty())
        line += QStringLiteral(" (question \"%1\")").arg(q.name);
    return line;
}

} // namespace

ImportedBank importBank(const QList<ImportedQuestion>& questions, const ImportTarget& target,
                        const ImportOptions& options)
{
    ImportedBank bank;
    QList<Question> usable;
    QStringList categories;
    QHash<QString, int> categoryNumbers; // by lower-case name
    for (const ImportedQuestion& in : questions) {
        std::variant<Usable, QString> converted = convert(in, target);
        if (const QString* reason = std::get_if<QString>(&converted)) {
            bank.skipped << reportLine(in, *reason);
            continue;
        }
        Usable& u = std::get<Usable>(converted);
        const QString folded = u.category.toLower();
        auto number = categoryNumbers.constFind(folded);
        if (number == categoryNumbers.cend()) {
            number = categoryNumbers.insert(folded, int(categories.size()));
            categories << u.category;
        }
        u.question.catid = number.value();
        u.question.id = usable.size() + 1;
        if (!u.picture.isEmpty()) {
            const QString name = QStringLiteral("%1q%2.%3")
                                     .arg(options.exhibitPrefix)
                                     .arg(u.question.id)
                                     .arg(u.pictureSuffix);
            bank.exhibits.insert(name, u.picture);
            u.question.exhibit = name;
        }
        usable << u.question;
    }

    if (categories.size() > target.categorySlots)
        bank.refusals << QStringLiteral("%1 categories, but the %2 edition has room for %3: %4")
                             .arg(categories.size())
                             .arg(target.name)
                             .arg(target.categorySlots)
                             .arg(quotedList(categories));
    if (usable.size() < target.questionCount) {
        QString refusal = QStringLiteral("%1 usable question%2, but each exam of the %3 edition "
                                         "draws %4: %5 more needed")
                              .arg(usable.size())
                              .arg(usable.size() == 1 ? QString() : QStringLiteral("s"))
                              .arg(target.name)
                              .arg(target.questionCount)
                              .arg(target.questionCount - usable.size());
        if (!bank.skipped.isEmpty())
            refusal += QStringLiteral(" (%1 skipped, listed above)").arg(bank.skipped.size());
        bank.refusals << refusal;
    }

    Edition& edition = bank.edition;
    edition.sourceFile = QStringLiteral("imported bank");
    edition.answerColumns = target.answerColumns;
    for (qsizetype c = 0; c < categories.size(); ++c)
        edition.categories << Category{int(c), categories.at(c)};
    TestInformation& info = edition.testInformation;
    info.testName = options.title;
    QStringList inputs;
    for (const QString& input : options.inputs)
        inputs << QFileInfo(input).fileName();
    info.testDescription =
        QStringLiteral("%1 questions imported from %2. Each exam draws %3 of them.")
            .arg(usable.size())
            .arg(inputs.join(QStringLiteral(", ")))
            .arg(target.questionCount);
    info.numberOfQuestions = QString::number(target.questionCount);
    for (int exam : options.exams)
        edition.exams << Exam{exam, QStringLiteral("imported exam %1").arg(exam), usable};
    return bank;
}

} // namespace bank
