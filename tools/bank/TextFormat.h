#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace bank {

// How an imported text is written. Moodle's own "auto-format" is HTML in
// which a line break also breaks the line.
enum class TextFormat { Plain, Html, MoodleAuto, Markdown };

// A text as the question database holds it, and the pictures it showed
// (the src of each <img> or Markdown image, in order), which the text no
// longer mentions.
struct PlainText {
    QString text;
    QStringList pictures;
};

// Tags are dropped, never followed: nothing is fetched or read from disk.
// Entities are decoded; <br>, paragraphs, headings, table rows and list
// items keep their line breaks (list items start with "- "); script and
// style contents go. Lines are trimmed and blank lines come at most one at a
// time.
PlainText toPlainText(QStringView source, TextFormat format);

// "html", "moodle_auto_format", "plain_text", "markdown" as Moodle XML's
// format attribute and GIFT's [html], [moodle], [plain], [markdown] name them.
std::optional<TextFormat> textFormatNamed(QStringView name);

} // namespace bank
