// GIFT: questions separated by blank lines; "//" starts a comment line;
// "::name::" and a "[html]", "[moodle]", "[plain]" or "[markdown]" text format
// may lead a question; the answers stand in one pair of braces; a backslash
// escapes ~ = # { } : and "\n" is a line break.

#include "QuestionFile.h"
#include "TextFormat.h"

#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace bank {
namespace {

// The next unescaped `c` at or after `from` (which must not be inside an
// escape), or -1.
qsizetype findUnescaped(QStringView s, QChar c, qsizetype from)
{
    for (qsizetype i = from; i < s.size(); ++i) {
        if (s.at(i) == u'\\')
            ++i;
        else if (s.at(i) == c)
            return i;
    }
    return -1;
}

qsizetype findUnescaped(QStringView s, QStringView sequence, qsizetype from)
{
    for (qsizetype i = from; i < s.size(); ++i) {
        if (s.at(i) == u'\\')
            ++i;
        else if (s.sliced(i).startsWith(sequence))
            return i;
    }
    return -1;
}

QString unescape(QStringView s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == u'\\' && i + 1 < s.size()) {
            const QChar next = s.at(i + 1);
            if (next == u'n') {
                out += u'\n';
                ++i;
                continue;
            }
            if (QStringView(u":~=#{}\\").contains(next)) {
                out += next;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// A "[html]"-style marker at the start of `s`: its format and length.
std::optional<TextFormat> formatMarker(QStringView s, qsizetype& length)
{
    if (!s.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = s.first(std::min<qsizetype>(s.size(), 12)).indexOf(u']');
    if (close < 0)
        return std::nullopt;
    const QStringView name = s.sliced(1, close - 1);
    if (name.compare(u"html", Qt::CaseInsensitive) == 0 ||
        name.compare(u"moodle", Qt::CaseInsensitive) == 0 ||
        name.compare(u"plain", Qt::CaseInsensitive) == 0 ||
        name.compare(u"markdown", Qt::CaseInsensitive) == 0) {
        length = close + 1;
        return textFormatNamed(name);
    }
    return std::nullopt;
}

// One question's lines, comments removed, joined; offsets map back to lines.
struct Block {
    QString text;
    QList<qsizetype> starts; // offset of each line in text
    QList<qint64> numbers;   // its line number in the file

    qint64 lineAt(qsizetype offset) const
    {
        const auto it = std::upper_bound(starts.cbegin(), starts.cend(), offset);
        return numbers.at(std::max<qsizetype>(0, (it - starts.cbegin()) - 1));
    }
};

class GiftReader {
public:
    GiftReader(const QString& file, QStringView text)
        : m_file(file), m_text(text), m_category(fileCategory(file))
    {
    }

    QList<ImportedQuestion> read()
    {
        Block block;
        qint64 number = 0;
        for (QStringView line : m_text.split(u'\n')) {
            ++number;
            if (line.endsWith(u'\r'))
                line.chop(1);
            const QStringView trimmed = line.trimmed();
            if (trimmed.startsWith(u"//"))
                continue;
            if (trimmed.isEmpty()) {
                take(block);
                continue;
            }
            // "$CATEGORY: path" before a question puts it and those after it there
            if (block.text.isEmpty() && trimmed.startsWith(u"$CATEGORY:")) {
                const QString name = categoryFromPath(trimmed.sliced(10));
                m_category = name.isEmpty() ? fileCategory(m_file) : name;
                continue;
            }
            if (!block.text.isEmpty())
                block.text += u'\n';
            block.starts << block.text.size();
            block.numbers << number;
            block.text += line;
        }
        take(block);
        return std::move(m_questions);
    }

private:
    [[noreturn]] void fail(const Block& block, qsizetype offset, const QString& problem) const
    {
        refuseFile(m_file, block.lineAt(offset), problem);
    }

    void take(Block& block)
    {
        if (!block.text.isEmpty())
            m_questions << question(block);
        block = {};
    }

    // A text piece in the question's format, or in its own when it starts
    // with a marker; pictures it shows are added to `pictures`.
    QString convert(QStringView raw, TextFormat format, QStringList* pictures = nullptr) const
    {
        QStringView piece = raw.trimmed();
        qsizetype length = 0;
        if (const auto own = formatMarker(piece, length)) {
            format = *own;
            piece = piece.sliced(length);
        }
        PlainText plain = toPlainText(unescape(piece), format);
        if (pictures)
            *pictures << plain.pictures;
        return plain.text;
    }

    ImportedQuestion question(const Block& block) const
    {
        const QStringView s = block.text;
        ImportedQuestion q;
        q.file = m_file;
        q.line = int(block.numbers.first());
        q.category = m_category;

        qsizetype pos = 0;
        while (pos < s.size() && s.at(pos).isSpace())
            ++pos;
        if (s.sliced(pos).startsWith(u"::")) {
            const qsizetype end = findUnescaped(s, u"::", pos + 2);
            if (end < 0)
                fail(block, pos, QStringLiteral("the question name opened with :: is not closed"));
            q.name = unescape(s.sliced(pos + 2, end - pos - 2)).simplified();
            pos = end + 2;
        }
        while (pos < s.size() && s.at(pos).isSpace())
            ++pos;
        TextFormat format = TextFormat::MoodleAuto;
        qsizetype length = 0;
        if (const auto marked = formatMarker(s.sliced(pos), length)) {
            format = *marked;
            pos += length;
        }

        const qsizetype open = findUnescaped(s, u'{', pos);
        const qsizetype stray = findUnescaped(s, u'}', pos);
        if (stray >= 0 && (open < 0 || stray < open))
            fail(block, stray, QStringLiteral("} without an opening {; write \\} for a brace"));
        QStringList pictures;
        if (open < 0) {
            q.text = convert(s.sliced(pos), format, &pictures);
            q.unsupported = QStringLiteral("description (no answers)");
            return q;
        }
        const qsizetype close = findUnescaped(s, u'}', open + 1);
        const qsizetype inner = findUnescaped(s, u'{', open + 1);
        if (inner >= 0 && (close < 0 || inner < close))
            fail(block, inner,
                 QStringLiteral("{ inside the answers opened at line %1; write \\{ for a brace")
                     .arg(block.lineAt(open)));
        if (close < 0)
            fail(block, open, QStringLiteral("the answers opened with { are never closed"));
        if (const qsizetype second = findUnescaped(s, u'{', close + 1); second >= 0)
            fail(block, second, QStringLiteral("a second answer block; a question has one"));
        if (const qsizetype late = findUnescaped(s, u'}', close + 1); late >= 0)
            fail(block, late, QStringLiteral("} without an opening {; write \\} for a brace"));

        // Text after the answers makes a missing-word question: a blank stands for them.
        const QString before = convert(s.sliced(pos, open - pos), format, &pictures);
        const QString after = convert(s.sliced(close + 1), format, &pictures);
        if (after.isEmpty()) {
            q.text = before;
        } else {
            const bool punctuation = after.at(0).isPunct();
            q.text = (before.isEmpty() ? QString() : before + u' ') + QStringLiteral("_____") +
                     (punctuation ? QString() : QStringLiteral(" ")) + after;
        }
        for (const QString& reference : std::as_const(pictures))
            q.pictures << pictureFromReference(reference);

        answers(block, open + 1, close, format, q);
        return q;
    }

    void answers(const Block& block, qsizetype from, qsizetype to, TextFormat format,
                 ImportedQuestion& q) const
    {
        QStringView body = QStringView(block.text).sliced(from, to - from);
        if (const qsizetype general = findUnescaped(body, u"####", 0); general >= 0) {
            q.generalFeedback = convert(body.sliced(general + 4), format);
            body = body.first(general);
        }
        const QStringView trimmed = body.trimmed();
        if (trimmed.isEmpty()) {
            q.unsupported = QStringLiteral("essay question");
            return;
        }
        if (trimmed.startsWith(u'#')) {
            q.unsupported = QStringLiteral("numerical question");
            return;
        }
        if (trueFalse(block, from, body, format, q))
            return;
        if (!trimmed.startsWith(u'=') && !trimmed.startsWith(u'~'))
            fail(block, from + (trimmed.data() - body.data()),
                 QStringLiteral("answers start with = or ~ (or are T, F, #... or empty)"));

        // Each answer runs from its = or ~ to the next one.
        QList<qsizetype> marks;
        for (qsizetype i = 0; i < body.size(); ++i) {
            if (body.at(i) == u'\\')
                ++i;
            else if (body.at(i) == u'=' || body.at(i) == u'~')
                marks << i;
        }
        bool anyWrong = false;
        bool anyRight = false;
        bool matching = false;
        static const QRegularExpression weight(QStringLiteral(R"(^\s*%(-?\d{1,3}(?:\.\d+)?)%)"));
        for (qsizetype k = 0; k < marks.size(); ++k) {
            const qsizetype start = marks.at(k);
            const qsizetype end = k + 1 < marks.size() ? marks.at(k + 1) : body.size();
            QStringView item = body.sliced(start + 1, end - start - 1);
            const bool right = body.at(start) == u'=';
            (right ? anyRight : anyWrong) = true;

            ImportedChoice choice;
            choice.weight = right ? 100 : 0;
            if (const auto m = weight.match(item); m.hasMatch()) {
                choice.weight = m.capturedView(1).toDouble();
                item = item.sliced(m.capturedEnd());
            }
            QStringView feedback;
            if (const qsizetype hash = findUnescaped(item, u'#', 0); hash >= 0) {
                feedback = item.sliced(hash + 1);
                item = item.first(hash);
            }
            if (item.contains(u"->"))
                matching = true;
            QStringList pictures;
            choice.text = convert(item, format, &pictures);
            choice.showsPicture = !pictures.isEmpty();
            choice.feedback = convert(feedback, format);
            q.choices << choice;
        }
        if (!anyWrong) {
            q.unsupported = matching ? QStringLiteral("matching question")
                                     : QStringLiteral("short-answer question");
            return;
        }
        // "=" marks the one right choice; with weights alone several can be right
        q.singleChoice = anyRight;
    }

    // {T}, {TRUE}, {F}, {FALSE}, each with "#feedback when wrong#feedback when right".
    bool trueFalse(const Block& block, qsizetype from, QStringView body, TextFormat format,
                   ImportedQuestion& q) const
    {
        QList<QStringView> parts;
        qsizetype start = 0;
        for (qsizetype hash; (hash = findUnescaped(body, u'#', start)) >= 0; start = hash + 1)
            parts << body.sliced(start, hash - start);
        parts << body.sliced(start);
        const QStringView word = parts.first().trimmed();
        const bool isTrue = word.compare(u"T", Qt::CaseInsensitive) == 0 ||
                            word.compare(u"TRUE", Qt::CaseInsensitive) == 0;
        const bool isFalse = word.compare(u"F", Qt::CaseInsensitive) == 0 ||
                             word.compare(u"FALSE", Qt::CaseInsensitive) == 0;
        if (!isTrue && !isFalse)
            return false;
        if (parts.size() > 3)
            fail(block, from, QStringLiteral("a true/false answer takes at most two # feedbacks"));
        const QString whenWrong = parts.size() > 1 ? convert(parts.at(1), format) : QString();
        const QString whenRight = parts.size() > 2 ? convert(parts.at(2), format) : QString();
        q.trueFalse = true;
        q.choices << ImportedChoice{QStringLiteral("True"), isTrue ? 100.0 : 0.0,
                                    isTrue ? whenRight : whenWrong, false};
        q.choices << ImportedChoice{QStringLiteral("False"), isFalse ? 100.0 : 0.0,
                                    isFalse ? whenRight : whenWrong, false};
        return true;
    }

    QString m_file;
    QStringView m_text;
    QString m_category;
    QList<ImportedQuestion> m_questions;
};

} // namespace

QList<ImportedQuestion> readGift(const QString& file, QStringView text)
{
    return GiftReader(file, text).read();
}

} // namespace bank
