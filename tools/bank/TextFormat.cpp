#include "TextFormat.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>

namespace bank {
namespace {

// Trailing blanks go from every line, blank lines come one at a time, and
// the text starts and ends with something to read.
QString tidy(QStringView text)
{
    QString out;
    out.reserve(text.size());
    int blankLines = 0;
    bool started = false;
    for (QStringView line : text.split(u'\n')) {
        qsizetype end = line.size();
        while (end > 0 && line.at(end - 1).isSpace())
            --end;
        line = line.first(end);
        if (line.isEmpty()) {
            ++blankLines;
            continue;
        }
        if (started)
            out += blankLines > 0 ? QStringLiteral("\n\n") : QStringLiteral("\n");
        out += line;
        started = true;
        blankLines = 0;
    }
    return out;
}

const QHash<QString, char16_t>& namedEntities()
{
    static const QHash<QString, char16_t> table = {
        {QStringLiteral("amp"), u'&'},        {QStringLiteral("lt"), u'<'},
        {QStringLiteral("gt"), u'>'},         {QStringLiteral("quot"), u'"'},
        {QStringLiteral("apos"), u'\''},      {QStringLiteral("nbsp"), u' '},
        {QStringLiteral("ensp"), u' '},       {QStringLiteral("emsp"), u' '},
        {QStringLiteral("thinsp"), u' '},     {QStringLiteral("shy"), u'\u00AD'},
        {QStringLiteral("copy"), u'\u00A9'},  {QStringLiteral("reg"), u'\u00AE'},
        {QStringLiteral("trade"), u'\u2122'}, {QStringLiteral("hellip"), u'\u2026'},
        {QStringLiteral("mdash"), u'\u2014'}, {QStringLiteral("ndash"), u'\u2013'},
        {QStringLiteral("lsquo"), u'\u2018'}, {QStringLiteral("rsquo"), u'\u2019'},
        {QStringLiteral("ldquo"), u'\u201C'}, {QStringLiteral("rdquo"), u'\u201D'},
        {QStringLiteral("laquo"), u'\u00AB'}, {QStringLiteral("raquo"), u'\u00BB'},
        {QStringLiteral("bull"), u'\u2022'},  {QStringLiteral("middot"), u'\u00B7'},
        {QStringLiteral("deg"), u'\u00B0'},   {QStringLiteral("plusmn"), u'\u00B1'},
        {QStringLiteral("times"), u'\u00D7'}, {QStringLiteral("divide"), u'\u00F7'},
        {QStringLiteral("micro"), u'\u00B5'}, {QStringLiteral("para"), u'\u00B6'},
        {QStringLiteral("sect"), u'\u00A7'},  {QStringLiteral("cent"), u'\u00A2'},
        {QStringLiteral("pound"), u'\u00A3'}, {QStringLiteral("euro"), u'\u20AC'},
        {QStringLiteral("yen"), u'\u00A5'},   {QStringLiteral("larr"), u'\u2190'},
        {QStringLiteral("rarr"), u'\u2192'},  {QStringLiteral("uarr"), u'\u2191'},
        {QStringLiteral("darr"), u'\u2193'},  {QStringLiteral("harr"), u'\u2194'},
        {QStringLiteral("le"), u'\u2264'},    {QStringLiteral("ge"), u'\u2265'},
        {QStringLiteral("ne"), u'\u2260'},    {QStringLiteral("minus"), u'\u2212'},
    };
    return table;
}

// The entity at `at` (which holds '&') and its length, or nothing when the
// '&' stands for itself.
std::optional<QString> entityAt(QStringView s, qsizetype at, qsizetype& length)
{
    constexpr qsizetype longest = 12;
    const qsizetype semicolon = s.sliced(at, std::min(longest, s.size() - at)).indexOf(u';');
    if (semicolon < 2)
        return std::nullopt;
    const QStringView body = s.sliced(at + 1, semicolon - 1);
    length = semicolon + 1;
    if (body.startsWith(u'#')) {
        bool ok = false;
        const bool hex = body.size() > 1 && (body.at(1) == u'x' || body.at(1) == u'X');
        const uint code = body.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        if (!ok)
            return std::nullopt;
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return QString(QChar::ReplacementCharacter);
        const char32_t wide[] = {char32_t(code)};
        return QString::fromUcs4(wide, 1);
    }
    const auto it = namedEntities().constFind(body.toString());
    if (it == namedEntities().cend())
        return std::nullopt;
    // a soft hyphen only says where a word may break
    return it.value() == u'\u00AD' ? QString() : QString(QChar(it.value()));
}

QString decodeEntities(QStringView s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        qsizetype length = 0;
        if (s.at(i) == u'&') {
            if (const std::optional<QString> decoded = entityAt(s, i, length)) {
                out += *decoded;
                i += length - 1;
                continue;
            }
        }
        out += s.at(i);
    }
    return out;
}

// ---- HTML --------------------------------------------------------------------

class HtmlReader {
public:
    HtmlReader(QStringView html, bool newlinesBreak) : m_in(html), m_newlinesBreak(newlinesBreak)
    {
        m_out.text.reserve(html.size());
    }

    PlainText read()
    {
        qsizetype i = 0;
        const qsizetype n = m_in.size();
        while (i < n) {
            const QChar c = m_in.at(i);
            if (c == u'<' && i + 1 < n) {
                const qsizetype next = markup(i);
                if (next > i) {
                    i = next;
                    continue;
                }
            }
            if (c == u'&') {
                qsizetype length = 0;
                if (const std::optional<QString> decoded = entityAt(m_in, i, length)) {
                    for (QChar d : *decoded)
                        character(d);
                    i += length;
                    continue;
                }
            }
            character(c);
            ++i;
        }
        m_out.text = tidy(m_out.text);
        return std::move(m_out);
    }

private:
    void character(QChar c)
    {
        if (c == u'\r')
            return;
        if (m_preDepth > 0 && c == u'\n') {
            m_out.text += u'\n';
            m_pendingSpace = false;
            return;
        }
        if (m_preDepth == 0 && c.isSpace() && c != u'\u00A0') {
            if (c == u'\n' && m_newlinesBreak)
                lineBreak();
            else
                m_pendingSpace = !m_out.text.isEmpty();
            return;
        }
        if (m_pendingBreaks > 0) {
            if (!m_out.text.isEmpty())
                m_out.text += QString(m_pendingBreaks, u'\n');
            m_pendingBreaks = 0;
            m_pendingSpace = false;
        } else if (m_pendingSpace && !m_out.text.endsWith(u'\n')) {
            m_out.text += u' ';
        }
        m_pendingSpace = false;
        if (!m_pendingPrefix.isEmpty()) {
            m_out.text += m_pendingPrefix;
            m_pendingPrefix.clear();
        }
        m_out.text += c == u'\u00A0' ? QChar(u' ') : c;
    }

    void blockBreak(int lines)
    {
        m_pendingBreaks = std::max(m_pendingBreaks, lines);
        m_pendingSpace = false;
    }

    // <br>: each one counts, up to one blank line.
    void lineBreak()
    {
        m_pendingBreaks = std::min(m_pendingBreaks + 1, 2);
        m_pendingSpace = false;
    }

    // Handles the markup at `at` ('<'); returns where reading goes on, or
    // `at` itself when the '<' is just a character.
    qsizetype markup(qsizetype at)
    {
        const QChar next = m_in.at(at + 1);
        if (m_in.sliced(at).startsWith(u"<!--")) {
            const qsizetype end = m_in.indexOf(u"-->", at + 4);
            return end < 0 ? m_in.size() : end + 3; // an open comment runs to the end
        }
        if (m_in.sliced(at).startsWith(u"<![CDATA[")) {
            const qsizetype end = m_in.indexOf(u"]]>", at + 9);
            const qsizetype stop = end < 0 ? m_in.size() : end;
            for (QChar c : m_in.sliced(at + 9, stop - at - 9))
                character(c);
            return end < 0 ? m_in.size() : end + 3;
        }
        const bool closing = next == u'/';
        if (!(next.isLetter() || next == u'!' || next == u'?' ||
              (closing && at + 2 < m_in.size() && m_in.at(at + 2).isLetter())))
            return at;
        // Quotes are not honoured: one search per tag keeps any input linear.
        if (m_nextClose < at) {
            m_nextClose = m_in.indexOf(u'>', at);
            if (m_nextClose < 0)
                m_nextClose = m_in.size(); // no '>' left: every '<' from here is text
        }
        if (m_nextClose >= m_in.size())
            return at;
        const qsizetype end = m_nextClose;
        const QStringView inside = m_in.sliced(at + 1, end - at - 1);
        if (next == u'!' || next == u'?')
            return end + 1;
        tag(inside, closing);
        if (!closing && isRawText(m_lastTag)) {
            // script and style hold no text to read: skip to their end tag
            const QString endTag = QStringLiteral("</") + m_lastTag;
            const qsizetype stop = m_in.indexOf(endTag, end + 1, Qt::CaseInsensitive);
            if (stop < 0)
                return m_in.size();
            const qsizetype close = m_in.indexOf(u'>', stop);
            return close < 0 ? m_in.size() : close + 1;
        }
        return end + 1;
    }

    static bool isRawText(const QString& name)
    {
        return name == u"script" || name == u"style" || name == u"title" || name == u"template";
    }

    void tag(QStringView inside, bool closing)
    {
        QStringView body = closing ? inside.sliced(1) : inside;
        qsizetype nameEnd = 0;
        while (nameEnd < body.size() && (body.at(nameEnd).isLetterOrNumber()))
            ++nameEnd;
        m_lastTag = body.first(nameEnd).toString().toLower();
        const QString& name = m_lastTag;

        static const QStringList paragraphs = {
            QStringLiteral("p"),     QStringLiteral("h1"),    QStringLiteral("h2"),
            QStringLiteral("h3"),    QStringLiteral("h4"),    QStringLiteral("h5"),
            QStringLiteral("h6"),    QStringLiteral("table"), QStringLiteral("blockquote"),
            QStringLiteral("pre"),   QStringLiteral("dl"),    QStringLiteral("hr"),
            QStringLiteral("figure")};
        static const QStringList lines = {
            QStringLiteral("div"),     QStringLiteral("tr"),      QStringLiteral("dt"),
            QStringLiteral("dd"),      QStringLiteral("section"), QStringLiteral("article"),
            QStringLiteral("header"),  QStringLiteral("footer"),  QStringLiteral("figcaption"),
            QStringLiteral("address"), QStringLiteral("caption"), QStringLiteral("li")};
        static const QStringList media = {QStringLiteral("img"),   QStringLiteral("video"),
                                          QStringLiteral("audio"), QStringLiteral("iframe"),
                                          QStringLiteral("embed"), QStringLiteral("object"),
                                          QStringLiteral("source")};

        if (name == u"br") {
            lineBreak();
        } else if (name == u"ul" || name == u"ol") {
            blockBreak(m_lists.isEmpty() ? 2 : 1);
            if (closing) {
                if (!m_lists.isEmpty())
                    m_lists.removeLast();
            } else {
                m_lists << (name == u"ul" ? -1 : 0);
            }
        } else if (paragraphs.contains(name)) {
            blockBreak(2);
            if (name == u"pre")
                m_preDepth = std::max(0, m_preDepth + (closing ? -1 : 1));
        } else if (lines.contains(name)) {
            blockBreak(1);
            if (name == u"li" && !closing) {
                if (!m_lists.isEmpty() && m_lists.last() >= 0)
                    m_pendingPrefix = QString::number(++m_lists.last()) + QStringLiteral(". ");
                else
                    m_pendingPrefix = QStringLiteral("- ");
            }
        } else if (name == u"td" || name == u"th") {
            m_pendingSpace = !m_out.text.isEmpty();
        } else if (!closing && media.contains(name)) {
            const QString source =
                attribute(body.sliced(nameEnd), name == u"object" ? u"data" : u"src");
            if (!source.isEmpty())
                m_out.pictures << source;
        }
    }

    static QString attribute(QStringView attributes, QStringView wanted)
    {
        static const QRegularExpression pattern(QStringLiteral(
            R"((?:^|\s)([A-Za-z_:][-A-Za-z0-9_:.]*)\s*=\s*("[^"]*"|'[^']*'|[^\s"'>]+))"));
        auto it = pattern.globalMatch(attributes);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            if (match.capturedView(1).compare(wanted, Qt::CaseInsensitive) != 0)
                continue;
            QStringView value = match.capturedView(2);
            if (value.startsWith(u'"') || value.startsWith(u'\''))
                value = value.sliced(1, value.size() - 2);
            return decodeEntities(value).trimmed();
        }
        return QString();
    }

    QStringView m_in;
    bool m_newlinesBreak;
    PlainText m_out;
    int m_pendingBreaks = 0;
    bool m_pendingSpace = false;
    QString m_pendingPrefix;
    int m_preDepth = 0;
    QList<int> m_lists; // -1 for a bulleted list, else the last number of a numbered one
    QString m_lastTag;
    qsizetype m_nextClose = -1;
};

// ---- Markdown ----------------------------------------------------------------

// Characters a backslash escapes in Markdown, kept out of the way of the
// inline rules while they run.
constexpr char16_t escapedBase = 0xE000;
const QString markdownPunctuation = QStringLiteral("\\`*_{}[]()#+-.!<>|~\"'");

// `text` with each pair of `marker` around something ("**bold**") reduced
// to what it encloses. One pass, each opener waiting for the next closer: a
// regular expression would go quadratic on a line of openers never closed.
// Underscores do not pair inside words (snake_case_name).
QString withoutEmphasis(const QString& text, QStringView marker, bool insideWords)
{
    QString out;
    out.reserve(text.size());
    QList<qsizetype> dropped; // where in `out` a marker of a pair stands
    qsizetype opener = -1;
    const qsizetype n = text.size();
    const qsizetype length = marker.size();
    for (qsizetype i = 0; i < n;) {
        if (!QStringView(text).sliced(i).startsWith(marker)) {
            out += text.at(i++);
            continue;
        }
        const QChar before = i > 0 ? text.at(i - 1) : QChar(u' ');
        const QChar after = i + length < n ? text.at(i + length) : QChar(u' ');
        if (opener >= 0 && !before.isSpace() && (insideWords || !after.isLetterOrNumber())) {
            dropped << opener;
            opener = -1;
        } else {
            if (!after.isSpace() && (insideWords || !before.isLetterOrNumber()))
                opener = out.size();
            out += marker;
        }
        i += length;
    }
    if (dropped.isEmpty())
        return out;
    QString kept;
    kept.reserve(out.size());
    qsizetype from = 0;
    for (qsizetype at : std::as_const(dropped)) {
        kept += QStringView(out).sliced(from, at - from);
        from = at + length;
    }
    return kept + QStringView(out).sliced(from);
}

QString inlineMarkdown(QStringView line, QStringList& pictures)
{
    // code spans first: nothing inside them is markup
    QString text;
    QStringList codes;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == u'\\' && i + 1 < line.size()) {
            const qsizetype which = markdownPunctuation.indexOf(line.at(i + 1));
            if (which >= 0) {
                text += QChar(char16_t(escapedBase + which));
                ++i;
                continue;
            }
        }
        if (c == u'`') {
            qsizetype ticks = 1;
            while (i + ticks < line.size() && line.at(i + ticks) == u'`')
                ++ticks;
            const QString fence(ticks, u'`');
            const qsizetype end = line.indexOf(fence, i + ticks);
            if (end > 0) {
                codes << line.sliced(i + ticks, end - i - ticks).trimmed().toString();
                text += QChar(char16_t(escapedBase + 0x100 + codes.size() - 1));
                i = end + ticks - 1;
                continue;
            }
        }
        text += c;
    }

    static const QRegularExpression image(
        QStringLiteral(R"(!\[([^\]]*)\]\(\s*<?([^)\s>]*)>?(?:\s+"[^"]*")?\s*\))"));
    static const QRegularExpression link(
        QStringLiteral(R"(\[([^\]]*)\]\(\s*<?([^)\s>]*)>?(?:\s+"[^"]*")?\s*\))"));
    static const QRegularExpression autolink(
        QStringLiteral(R"(<((?:https?|ftp|mailto):[^>\s]*)>)"));
    auto it = image.globalMatch(text);
    while (it.hasNext())
        pictures << it.next().captured(2);
    text.replace(image, QString());
    text.replace(link, QStringLiteral("\\1"));
    text.replace(autolink, QStringLiteral("\\1"));
    for (const auto& [marker, insideWords] :
         {std::pair{u"**", true}, {u"__", false}, {u"~~", true}, {u"*", true}, {u"_", false}})
        text = withoutEmphasis(text, marker, insideWords);

    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= escapedBase + 0x100 && u - escapedBase - 0x100 < codes.size())
            out += codes.at(u - escapedBase - 0x100);
        else if (u >= escapedBase && u - escapedBase < markdownPunctuation.size())
            out += markdownPunctuation.at(u - escapedBase);
        else
            out += c;
    }
    return out;
}

PlainText markdownToPlainText(QStringView markdown)
{
    static const QRegularExpression heading(QStringLiteral(R"(^\s{0,3}#{1,6}(\s+|$))"));
    static const QRegularExpression closingHashes(QStringLiteral(R"(\s+#+\s*$)"));
    static const QRegularExpression quote(QStringLiteral(R"(^\s{0,3}>\s?)"));
    static const QRegularExpression bullet(QStringLiteral(R"(^\s*[-*+]\s+)"));
    static const QRegularExpression numbered(QStringLiteral(R"(^\s*\d{1,9}[.)]\s+)"));
    static const QRegularExpression rule(QStringLiteral(R"(^\s{0,3}([-*_])(\s*\1){2,}\s*$)"));

    PlainText out;
    QString text;
    bool inParagraph = false;
    bool fenced = false;
    for (QStringView raw : markdown.split(u'\n')) {
        QString line = raw.toString();
        line.remove(u'\r');
        if (line.trimmed().startsWith(QStringLiteral("```")) ||
            line.trimmed().startsWith(QStringLiteral("~~~"))) {
            fenced = !fenced;
            text += QStringLiteral("\n");
            inParagraph = false;
            continue;
        }
        if (fenced) {
            text += line + u'\n';
            continue;
        }
        while (quote.match(line).hasMatch())
            line.remove(quote);
        if (line.trimmed().isEmpty()) {
            text += QStringLiteral("\n\n");
            inParagraph = false;
            continue;
        }
        if (rule.match(line).hasMatch()) {
            text += QStringLiteral("\n\n");
            inParagraph = false;
            continue;
        }
        const bool hardBreak = line.endsWith(QStringLiteral("  ")) || line.endsWith(u'\\');
        if (line.endsWith(u'\\'))
            line.chop(1);
        bool ownLine = false;
        bool isHeading = false;
        if (const auto m = heading.match(line); m.hasMatch()) {
            line = line.sliced(m.capturedEnd()).remove(closingHashes);
            text += QStringLiteral("\n\n");
            ownLine = true;
            isHeading = true;
        } else if (const auto b = bullet.match(line); b.hasMatch()) {
            line = QStringLiteral("- ") + line.sliced(b.capturedEnd());
            ownLine = true;
        } else if (numbered.match(line).hasMatch()) {
            line = line.trimmed();
            ownLine = true;
        }
        const QString converted = inlineMarkdown(QStringView(line).trimmed(), out.pictures);
        if (ownLine || !inParagraph)
            text += u'\n';
        else
            text += u' ';
        text += converted;
        if (hardBreak)
            text += u'\n';
        // a heading stands alone; what follows it starts a paragraph
        if (isHeading)
            text += QStringLiteral("\n\n");
        inParagraph = !hardBreak && !isHeading;
    }
    out.text = tidy(text);
    return out;
}

PlainText plainToPlainText(QStringView plain)
{
    QString text = plain.toString();
    text.remove(u'\r');
    return {tidy(text), {}};
}

} // namespace

PlainText toPlainText(QStringView source, TextFormat format)
{
    switch (format) {
    case TextFormat::Plain:
        return plainToPlainText(source);
    case TextFormat::Html:
        return HtmlReader(source, false).read();
    case TextFormat::MoodleAuto:
        return HtmlReader(source, true).read();
    case TextFormat::Markdown:
        return markdownToPlainText(source);
    }
    return plainToPlainText(source);
}

std::optional<TextFormat> textFormatNamed(QStringView name)
{
    const QString n = name.trimmed().toString().toLower();
    if (n == u"html")
        return TextFormat::Html;
    if (n == u"moodle" || n == u"moodle_auto_format")
        return TextFormat::MoodleAuto;
    if (n == u"plain" || n == u"plain_text")
        return TextFormat::Plain;
    if (n == u"markdown")
        return TextFormat::Markdown;
    return std::nullopt;
}

} // namespace bank
