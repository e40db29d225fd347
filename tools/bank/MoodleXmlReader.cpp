// Moodle XML: <quiz> holding <question type="...">; <question type="category">
// switches the category of the questions after it. Texts are HTML (or the
// format their element names) and may show pictures the question embeds as
// <file name="..." path="/" encoding="base64"> and names @@PLUGINFILE@@/name.

#include "QuestionFile.h"
#include "TextFormat.h"

#include <QHash>
#include <QUrl>
#include <QXmlStreamReader>

#include <cmath>

namespace bank {
namespace {

// A text element (<questiontext>, <answer>, <feedback>, ...) as it stands.
struct RichText {
    QString text;
    TextFormat format = TextFormat::Html;
    QHash<QString, QByteArray> files; // "/path/name" -> base64 contents
    QString feedback;                 // <answer>: its <feedback>, in plain text
};

const QString pluginFile = QStringLiteral("@@PLUGINFILE@@/");

QString unsupportedType(const QString& type)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("essay"), QStringLiteral("essay question")},
        {QStringLiteral("matching"), QStringLiteral("matching question")},
        {QStringLiteral("randomsamatch"), QStringLiteral("random matching question")},
        {QStringLiteral("shortanswer"), QStringLiteral("short-answer question")},
        {QStringLiteral("numerical"), QStringLiteral("numerical question")},
        {QStringLiteral("cloze"), QStringLiteral("cloze (embedded answers) question")},
        {QStringLiteral("multianswer"), QStringLiteral("cloze (embedded answers) question")},
        {QStringLiteral("description"), QStringLiteral("description (no answers)")},
        {QStringLiteral("calculated"), QStringLiteral("calculated question")},
        {QStringLiteral("calculatedsimple"), QStringLiteral("calculated question")},
        {QStringLiteral("calculatedmulti"), QStringLiteral("calculated question")},
        {QStringLiteral("ddwtos"), QStringLiteral("drag-and-drop question")},
        {QStringLiteral("ddimageortext"), QStringLiteral("drag-and-drop question")},
        {QStringLiteral("ddmarker"), QStringLiteral("drag-and-drop question")},
        {QStringLiteral("gapselect"), QStringLiteral("select-missing-words question")},
        {QStringLiteral("random"), QStringLiteral("random question")},
    };
    const QString name = names.value(type);
    return name.isEmpty() ? QStringLiteral("question of type \"%1\"").arg(type) : name;
}

class MoodleXmlReader {
public:
    MoodleXmlReader(const QString& file, const QByteArray& contents)
        : m_file(file), m_xml(contents), m_category(fileCategory(file))
    {
    }

    QList<ImportedQuestion> read()
    {
        // Entity declarations live in a DTD: refusing it leaves only XML's own five.
        bool root = false;
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::DTD)
                fail(QStringLiteral("a document type declaration (<!DOCTYPE>) is not accepted"));
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (root || m_xml.name() != u"quiz")
                fail(QStringLiteral("not a Moodle XML question file: it holds <%1>, not <quiz>")
                         .arg(m_xml.name()));
            root = true;
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() == u"question")
                    question();
                else
                    m_xml.skipCurrentElement();
            }
        }
        if (m_xml.hasError())
            fail(QStringLiteral("malformed XML: ") + m_xml.errorString());
        if (!root)
            fail(QStringLiteral("not a Moodle XML question file: no <quiz>"));
        return std::move(m_questions);
    }

private:
    [[noreturn]] void fail(const QString& problem)
    {
        refuseFile(m_file, std::max<qint64>(1, m_xml.lineNumber()), problem);
    }

    void checked()
    {
        if (m_xml.hasError())
            fail(QStringLiteral("malformed XML: ") + m_xml.errorString());
    }

    // The text inside the current element, markup inside it dropped. Qt's own
    // readElementText() descends into child elements by recursion, which
    // deep enough nesting turns into a stack overflow.
    QString elementText()
    {
        QString text;
        for (int depth = 1; depth > 0 && !m_xml.atEnd();) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::StartElement:
                ++depth;
                break;
            case QXmlStreamReader::EndElement:
                --depth;
                break;
            case QXmlStreamReader::Characters:
            case QXmlStreamReader::EntityReference:
                text += m_xml.text();
                break;
            default:
                break;
            }
        }
        return text;
    }

    // The text of the current element's <text> child, the rest skipped.
    QString textChild()
    {
        QString text;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"text")
                text = elementText();
            else
                m_xml.skipCurrentElement();
        }
        checked();
        return text;
    }

    // An <answer> has a <feedback>, itself a text element; nothing deeper is read.
    RichText richText(bool withFeedback = false)
    {
        RichText rich;
        if (const auto format = textFormatNamed(m_xml.attributes().value(QStringLiteral("format"))))
            rich.format = *format;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"text") {
                rich.text = elementText();
            } else if (m_xml.name() == u"file") {
                QString path = m_xml.attributes().value(QStringLiteral("path")).toString();
                if (!path.startsWith(u'/'))
                    path.prepend(u'/');
                if (!path.endsWith(u'/'))
                    path += u'/';
                const QString name = m_xml.attributes().value(QStringLiteral("name")).toString();
                rich.files.insert(path + name, elementText().toLatin1());
            } else if (withFeedback && m_xml.name() == u"feedback") {
                rich.feedback = plain(richText()).text;
            } else {
                m_xml.skipCurrentElement();
            }
        }
        checked();
        return rich;
    }

    static PlainText plain(const RichText& rich) { return toPlainText(rich.text, rich.format); }

    // The picture `reference` names, from the files of `rich`.
    static ImportedPicture picture(const QString& reference, const RichText& rich)
    {
        if (!reference.startsWith(pluginFile))
            return pictureFromReference(reference);
        ImportedPicture picture;
        picture.reference = reference;
        QString name = QUrl::fromPercentEncoding(reference.sliced(pluginFile.size()).toUtf8());
        if (const qsizetype query = name.indexOf(u'?'); query >= 0)
            name.truncate(query);
        const auto it = rich.files.constFind(u'/' + name);
        if (it == rich.files.cend()) {
            picture.problem = QStringLiteral("the question embeds no file of that name");
            return picture;
        }
        QByteArray base64;
        base64.reserve(it.value().size());
        for (char c : it.value()) {
            if (!QChar::isSpace(uchar(c)))
                base64 += c;
        }
        auto decoded =
            QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
        if (decoded && !decoded.decoded.isEmpty())
            picture.bytes = std::move(decoded.decoded);
        else
            picture.problem = QStringLiteral("its embedded data cannot be decoded");
        return picture;
    }

    void question()
    {
        const QString type = m_xml.attributes().value(QStringLiteral("type")).toString();
        ImportedQuestion q;
        q.file = m_file;
        q.line = int(m_xml.lineNumber());
        q.category = m_category;

        if (type == u"category") {
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() == u"category") {
                    const QString name = categoryFromPath(textChild());
                    if (!name.isEmpty())
                        m_category = name;
                } else {
                    m_xml.skipCurrentElement();
                }
            }
            checked();
            return;
        }

        const bool choice = type == u"multichoice";
        const bool trueFalse = type == u"truefalse";
        if (!choice && !trueFalse)
            q.unsupported = unsupportedType(type);
        q.trueFalse = trueFalse;
        int answers = 0;
        while (m_xml.readNextStartElement()) {
            const QStringView name = m_xml.name();
            if (name == u"name") {
                q.name = textChild().simplified();
            } else if (name == u"questiontext") {
                const RichText rich = richText();
                const PlainText text = plain(rich);
                q.text = text.text;
                for (const QString& reference : text.pictures)
                    q.pictures << picture(reference, rich);
            } else if (name == u"generalfeedback") {
                q.generalFeedback = plain(richText()).text;
            } else if (name == u"single") {
                const QString single = elementText().trimmed().toLower();
                q.singleChoice = single != u"false" && single != u"0";
            } else if (name == u"answer") {
                ++answers;
                const QString fraction =
                    m_xml.attributes().value(QStringLiteral("fraction")).toString().trimmed();
                const RichText rich = richText(true);
                const PlainText text = plain(rich);
                bool ok = true;
                const double weight = fraction.isEmpty() ? 0.0 : fraction.toDouble(&ok);
                if ((!ok || !std::isfinite(weight)) && q.problem.isEmpty())
                    q.problem = QStringLiteral("answer %1 has the unreadable fraction \"%2\"")
                                    .arg(answers)
                                    .arg(fraction.left(20));
                q.choices << ImportedChoice{text.text, ok ? weight : 0.0, rich.feedback,
                                            !text.pictures.isEmpty()};
            } else {
                m_xml.skipCurrentElement();
            }
        }
        checked();

        if (trueFalse) {
            // Moodle writes "true" and "false"; the bank shows them as True and False.
            bool sound = q.choices.size() == 2;
            for (ImportedChoice& c : q.choices) {
                if (c.text.compare(u"true", Qt::CaseInsensitive) == 0)
                    c.text = QStringLiteral("True");
                else if (c.text.compare(u"false", Qt::CaseInsensitive) == 0)
                    c.text = QStringLiteral("False");
                else
                    sound = false;
            }
            if (!sound && q.problem.isEmpty())
                q.problem =
                    QStringLiteral("a true/false question needs the answers true and false");
        }
        m_questions << q;
    }

    QString m_file;
    QXmlStreamReader m_xml;
    QString m_category;
    QList<ImportedQuestion> m_questions;
};

} // namespace

QList<ImportedQuestion> readMoodleXml(const QString& file, const QByteArray& contents)
{
    return MoodleXmlReader(file, contents).read();
}

} // namespace bank
