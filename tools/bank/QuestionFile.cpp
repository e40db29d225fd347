#include "QuestionFile.h"

#include "BankSource.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace bank {

std::optional<ImportFormat> importFormatNamed(QStringView name)
{
    if (name == u"gift")
        return ImportFormat::Gift;
    if (name == u"aiken")
        return ImportFormat::Aiken;
    if (name == u"moodlexml")
        return ImportFormat::MoodleXml;
    return std::nullopt;
}

QString importFormatName(ImportFormat format)
{
    switch (format) {
    case ImportFormat::Gift:
        return QStringLiteral("GIFT");
    case ImportFormat::Aiken:
        return QStringLiteral("Aiken");
    case ImportFormat::MoodleXml:
        return QStringLiteral("Moodle XML");
    }
    return QString();
}

std::optional<ImportFormat> detectImportFormat(const QByteArray& contents)
{
    QByteArrayView head(contents);
    if (head.startsWith("\xEF\xBB\xBF"))
        head = head.sliced(3);
    head = head.trimmed();
    if (head.startsWith('<'))
        return ImportFormat::MoodleXml;

    const QString text = QString::fromUtf8(head);
    static const QRegularExpression aikenAnswer(QStringLiteral("^ANSWER:"),
                                                QRegularExpression::MultilineOption);
    static const QRegularExpression aikenChoice(QStringLiteral(R"(^\s*[A-Za-z][.)]\s)"),
                                                QRegularExpression::MultilineOption);
    if (aikenAnswer.match(text).hasMatch() && aikenChoice.match(text).hasMatch())
        return ImportFormat::Aiken;

    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\\')
            ++i;
        else if (text.at(i) == u'{')
            return ImportFormat::Gift;
    }
    if (text.contains(QStringLiteral("::")) || text.contains(QStringLiteral("$CATEGORY:")))
        return ImportFormat::Gift;
    return std::nullopt;
}

namespace {

// The file as UTF-8 text without its byte order mark; refuses other bytes,
// naming the first line that holds them.
QString utf8Text(const QString& path, const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        qint64 line = 1;
        for (const QByteArray& each : bytes.split('\n')) {
            QStringDecoder lineDecoder(QStringDecoder::Utf8);
            const QString decoded = lineDecoder.decode(each);
            if (lineDecoder.hasError())
                break;
            ++line;
        }
        refuseFile(path, line, QStringLiteral("not UTF-8 text"));
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

} // namespace

QList<ImportedQuestion> readQuestionFile(const QString& path, std::optional<ImportFormat> format)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw BankError(path + QStringLiteral(": cannot read: ") + file.errorString());
    const QByteArray bytes = file.readAll();
    if (!format)
        format = detectImportFormat(bytes);
    if (!format)
        throw BankError(path + QStringLiteral(": cannot tell whether this is GIFT, Aiken or "
                                              "Moodle XML; name the format with --format"));
    switch (*format) {
    case ImportFormat::Gift:
        return readGift(path, utf8Text(path, bytes));
    case ImportFormat::Aiken:
        return readAiken(path, utf8Text(path, bytes));
    case ImportFormat::MoodleXml:
        return readMoodleXml(path, bytes);
    }
    return {};
}

QString categoryFromPath(QStringView path)
{
    // "//" is a slash inside a name; keep it out of the split
    QString escaped = path.toString();
    escaped.replace(QStringLiteral("//"), QString(QChar(0xE000)));
    const QStringList parts = escaped.split(u'/');
    for (auto it = parts.crbegin(); it != parts.crend(); ++it) {
        QString name = it->simplified();
        name.replace(QChar(0xE000), u'/');
        if (!name.isEmpty())
            return name;
    }
    return QString();
}

QString fileCategory(const QString& path)
{
    return QFileInfo(path).completeBaseName().simplified();
}

ImportedPicture pictureFromReference(const QString& reference)
{
    ImportedPicture picture;
    picture.reference = reference;
    static const QRegularExpression dataUrl(QStringLiteral(R"(^data:[^,;]*(;[^,;]*)*;base64,)"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (const auto match = dataUrl.match(reference); match.hasMatch()) {
        auto decoded =
            QByteArray::fromBase64Encoding(reference.sliced(match.capturedEnd()).toLatin1(),
                                           QByteArray::AbortOnBase64DecodingErrors);
        if (decoded && !decoded.decoded.isEmpty())
            picture.bytes = std::move(decoded.decoded);
        else
            picture.problem = QStringLiteral("its data cannot be decoded");
        return picture;
    }
    picture.problem = QStringLiteral("it is not in the file, and nothing is fetched");
    return picture;
}

void refuseFile(const QString& file, qint64 line, const QString& problem)
{
    throw BankError(QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(problem));
}

} // namespace bank
