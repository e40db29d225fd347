#include "data/JetSql.h"

#include <QRegularExpression>
#include <vector>

namespace data {
namespace {

struct Word {
    qsizetype start;
    qsizetype length;
};

bool isWordStart(QChar c)
{
    return c.isLetter() || c == u'_';
}
bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Words outside quotes and brackets, with where they stand.
std::vector<Word> bareWords(const QString& sql)
{
    std::vector<Word> words;
    qsizetype i = 0;
    const qsizetype n = sql.size();
    while (i < n) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype close = sql.indexOf(c, i + 1);
            i = close < 0 ? n : close + 1;
        } else if (c == u'[') {
            const qsizetype close = sql.indexOf(u']', i + 1);
            i = close < 0 ? n : close + 1;
        } else if (isWordStart(c)) {
            const qsizetype start = i;
            while (i < n && isWordChar(sql[i]))
                ++i;
            words.push_back({start, i - start});
        } else {
            ++i;
        }
    }
    return words;
}

bool wordIs(const QString& sql, const Word& w, QLatin1StringView text)
{
    return QStringView(sql).mid(w.start, w.length).compare(text, Qt::CaseInsensitive) == 0;
}

QString rewriteDeleteStar(const QString& sql)
{
    static const QRegularExpression deleteStar(QStringLiteral("^(\\s*delete)\\s+\\*\\s+(from\\b)"),
                                               QRegularExpression::CaseInsensitiveOption);
    QString out = sql;
    out.replace(deleteStar, QStringLiteral("\\1 \\2"));
    return out;
}

// In "UPDATE t SET a.b = x, c.d = y WHERE ..." drop the "a." and "c." that
// qualify the assigned columns.
QString rewriteQualifiedSetColumns(const QString& sql)
{
    const std::vector<Word> words = bareWords(sql);
    if (words.empty() || !wordIs(sql, words.front(), QLatin1StringView("update")))
        return sql;
    qsizetype setEnd = -1;
    qsizetype whereStart = sql.size();
    for (const Word& w : words) {
        if (setEnd < 0 && wordIs(sql, w, QLatin1StringView("set")))
            setEnd = w.start + w.length;
        else if (setEnd >= 0 && wordIs(sql, w, QLatin1StringView("where"))) {
            whereStart = w.start;
            break;
        }
    }
    if (setEnd < 0)
        return sql;

    static const QRegularExpression qualified(QStringLiteral(
        "^(\\s*)(?:\\[[^\\]]*\\]|[A-Za-z_][A-Za-z0-9_]*)\\.((?:\\[[^\\]]*\\]|[A-Za-z_][A-Za-z0-9_]*)\\s*=)"));
    QString out = sql.left(setEnd);
    qsizetype pos = setEnd;
    while (pos < whereStart) {
        // one assignment runs to the next comma outside quotes, brackets and parentheses
        qsizetype end = pos;
        int depth = 0;
        while (end < whereStart) {
            const QChar c = sql[end];
            if (c == u'\'' || c == u'"' || c == u'[') {
                const QChar closing = c == u'[' ? QChar(u']') : c;
                const qsizetype close = sql.indexOf(closing, end + 1);
                end = close < 0 ? whereStart : close + 1;
                continue;
            }
            if (c == u'(')
                ++depth;
            else if (c == u')')
                --depth;
            else if (c == u',' && depth == 0)
                break;
            ++end;
        }
        QString assignment = sql.mid(pos, end - pos);
        assignment.replace(qualified, QStringLiteral("\\1\\2"));
        out += assignment;
        if (end < whereStart)
            out += u',';
        pos = end + 1;
    }
    out += sql.mid(whereStart);
    return out;
}

QString rewriteYesNo(const QString& sql)
{
    QString out;
    qsizetype copied = 0;
    for (const Word& w : bareWords(sql)) {
        const bool yes = wordIs(sql, w, QLatin1StringView("yes"));
        const bool no = wordIs(sql, w, QLatin1StringView("no"));
        if (!yes && !no)
            continue;
        // "t.No" would be a column called No, not the literal
        if (w.start > 0 && sql[w.start - 1] == u'.')
            continue;
        out += QStringView(sql).mid(copied, w.start - copied);
        out += yes ? u'1' : u'0';
        copied = w.start + w.length;
    }
    if (copied == 0)
        return sql;
    out += QStringView(sql).mid(copied);
    return out;
}

} // namespace

QString rewriteJetSql(const QString& sql)
{
    return rewriteYesNo(rewriteQualifiedSetColumns(rewriteDeleteStar(sql)));
}

} // namespace data
