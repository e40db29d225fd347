// Importing question banks from GIFT, Aiken and Moodle XML files.

#include "BankImport.h"
#include "BankSource.h"
#include "BankValidator.h"
#include "FileFixture.h"
#include "ImportCommand.h"
#include "QuestionFile.h"
#include "ScriptedPrompter.h"
#include "SqlFixture.h"
#include "TextFormat.h"
#include "gui/exam/ExamNotice.h"
#include "gui/exam/ExamWindow.h"
#include "gui/scoring/ScoreSheet.h"
#include "gui/shell/ExamInfoWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/StartUp.h"
#include "gui/toolkit/Program.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QCheckBox>
#include <QDirIterator>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// Takes any number of questions: the refusals of a real edition are tested on their own.
const bank::ImportTarget anyCount{u"test"_s, u"brel"_s, u"qbk09.mdb"_s, 1, 4, 19, 1};

const QString tool = QStringLiteral(QUIZMOOR_BINARY_DIR "/tools/bankbuild");
const QString samples = QStringLiteral(QUIZMOOR_SOURCE_DIR "/banks/samples");

using filefixture::contents;
// A question as one line: "type|question|answer / answer|correct|explanation|category".
QString describe(const bank::Question& q, const bank::Edition& edition)
{
    QStringList correct;
    for (int position : q.correct)
        correct << QString::number(position);
    return QStringList{q.type,
                       q.question,
                       q.answers.join(u" / "_s),
                       correct.join(u','),
                       q.explanation,
                       edition.categories.value(q.catid).description}
        .join(u'|');
}

struct Outcome {
    QStringList questions; // described
    QStringList skipped;   // the report, with the file's path cut to its name
    bank::ImportedBank bank;
};

// `text` written to a file named `name` and imported for `target`.
Outcome import(const QByteArray& text, const QString& name,
               const bank::ImportTarget& target = anyCount)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    filefixture::write(path, text);
    Outcome outcome;
    bank::ImportOptions options;
    options.exams = {1};
    options.exhibitPrefix = u"t-"_s;
    outcome.bank = bank::importBank(bank::readQuestionFile(path), target, options);
    if (!outcome.bank.edition.exams.isEmpty()) {
        for (const bank::Question& q : outcome.bank.edition.exams.first().questions)
            outcome.questions << describe(q, outcome.bank.edition);
    }
    for (const QString& line : outcome.bank.skipped)
        outcome.skipped << QString(line).remove(dir.path() + u'/');
    return outcome;
}

// The message a file is refused with, its folder cut off; empty when it is read.
QString refusal(const QByteArray& text, const QString& name, const QString& format)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    filefixture::write(path, text);
    try {
        bank::readQuestionFile(path, bank::importFormatNamed(format));
    } catch (const bank::BankError& error) {
        return QString(error.message()).remove(dir.path() + u'/');
    }
    return QString();
}

QByteArray pngBytes(QColor color)
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(color);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

// A Moodle XML multiple-choice question showing `reference`, embedding `files`.
QByteArray xmlQuestion(const QString& reference, const QList<QPair<QString, QByteArray>>& files)
{
    QByteArray xml = "<question type=\"multichoice\"><questiontext format=\"html\"><text>"
                     "<![CDATA[<p>Which colour?</p><p><img src=\"" +
                     reference.toUtf8() + "\"></p>]]></text>";
    for (const auto& [name, bytes] : files)
        xml += "<file name=\"" + name.toUtf8() + "\" path=\"/\" encoding=\"base64\">" +
               bytes.toBase64() + "</file>";
    return xml + "</questiontext><answer fraction=\"100\"><text>red</text></answer>"
                 "<answer fraction=\"0\"><text>green</text></answer>"
                 "<answer fraction=\"0\"><text>blue</text></answer></question>";
}

struct Run {
    int code = -1;
    QString out;
    QString err;
};

// `bankbuild import` with these arguments, run here.
Run bankbuildImport(const QStringList& arguments)
{
    Run run;
    QTextStream out(&run.out), err(&run.err);
    run.code = bank::runImport(arguments, out, err);
    return run;
}

// `count` sound GIFT questions, in category "Cat K" for K = i % categories.
QByteArray giftQuestions(int count, int categories = 1)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += "$CATEGORY: top/Cat " + QByteArray::number(i % categories) + "\n\nQuestion " +
                QByteArray::number(i) + "? {=right ~wrong ~other ~else}\n\n";
    return text;
}

} // namespace

class TestBankImport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void textBecomesPlain_data();
    void textBecomesPlain();
    void gift();
    void aiken();
    void moodleXml();
    void formatIsToldFromTheContents();
    void skippedWithTheirReason_data();
    void skippedWithTheirReason();
    void malformedFilesAreRefused_data();
    void malformedFilesAreRefused();
    void noInputCrashesOrHangs();
    void trueFalseIsTheOnlyTwoAnswerQuestion();
    void embeddedPicturesBecomeExhibits();
    void editionLimitsRefuseTheBank();
    void writtenBankHoldsTheChosenExams();
    void samplesMakeADemoBank();
    void commandLine();
};

void TestBankImport::textBecomesPlain_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("pictures");
    using F = bank::TextFormat;
    const auto row = [](const char* name, F format, const QString& source, const QString& text,
                        const QStringList& pictures = {}) {
        QTest::newRow(name) << int(format) << source << text << pictures;
    };
    row("html: tags go, entities decode", F::Html,
        u"<p>Use <b>ls</b> &amp; <i>cd</i> &lt;dir&gt; &#233;&#x41;&nbsp;&euro;</p>"_s,
        u"Use ls & cd <dir> éA €"_s);
    row("html: unknown entity and a bare & stay", F::Html, u"R&D &bogus; a & b"_s,
        u"R&D &bogus; a & b"_s);
    row("html: a < that opens no tag stays", F::Html, u"a < b and 3<4, x<<y"_s,
        u"a < b and 3<4, x<<y"_s);
    row("html: breaks, paragraphs and lists keep their lines", F::Html,
        u"<p>One<br>two</p>\n<p>Three:</p><ul><li>a</li><li>b</li></ul><ol><li>c</li><li>d</li></ol>"_s,
        u"One\ntwo\n\nThree:\n\n- a\n- b\n\n1. c\n2. d"_s);
    row("html: whitespace collapses, pre keeps it", F::Html, u"  a \n\t b <pre>x  y\n  z</pre>"_s,
        u"a b\n\nx  y\n  z"_s);
    row("html: scripts, styles and comments hold no text", F::Html,
        u"a<script>alert('<b>')</script>b<style>p{}</style>c<!-- d -->e"_s, u"abce"_s);
    row("html: pictures are listed, not fetched", F::Html,
        u"See <img alt='x' SRC=\"http://h/a.png?x=1&amp;y=2\"> and <img src=b.png>."_s,
        u"See and ."_s, {u"http://h/a.png?x=1&y=2"_s, u"b.png"_s});
    row("moodle auto-format: line breaks count", F::MoodleAuto, u"one\ntwo <b>three</b>"_s,
        u"one\ntwo three"_s);
    row("plain: markup is text", F::Plain, u"What does <b> do?  \r\n\r\n\r\nNext"_s,
        u"What does <b> do?\n\nNext"_s);
    row("markdown: emphasis, code, links, lists", F::Markdown,
        u"# Title\nThe **bold** and *it* and `a*b*c` and [site](http://x) and snake_case_name.\n\n* one\n* two\n\n\\*not emphasis\\*"_s,
        u"Title\n\nThe bold and it and a*b*c and site and snake_case_name.\n\n- one\n- two\n\n*not emphasis*"_s);
    row("markdown: pictures are listed", F::Markdown, u"Look: ![net](diagram.png \"title\")"_s,
        u"Look:"_s, {u"diagram.png"_s});
}

void TestBankImport::textBecomesPlain()
{
    QFETCH(int, format);
    QFETCH(QString, source);
    QFETCH(QString, text);
    QFETCH(QStringList, pictures);
    const bank::PlainText plain = bank::toPlainText(source, bank::TextFormat(format));
    QCOMPARE(plain.text, text);
    QCOMPARE(plain.pictures, pictures);
}

void TestBankImport::gift()
{
    const QByteArray text = R"(// a comment line
::Port:: Which port does HTTPS use? {
  ~80 #That is HTTP.
  =443
  ~21
  ~25
}

$CATEGORY: $course$/top/Nets/ Addressing 
// comments do not end a question
::Private::[html]<p>Which ranges are <b>private</b>?</p>{
  ~%50%10.0.0.0/8 ~%50%192.168.0.0/16
  ~%-100%8.8.8.0/24 #public
  ~4.4.4.0/24
####RFC 1918 &amp; friends.}

DNS resolves names.{TRUE#No, it does.#Yes, it does.}

DHCP leases last forever.{F}

Escapes\: \{x\} a\=b \#1 \~ C:\\dir\nnext? {=yes \= really ~no ~maybe}

The {~DNS =ARP ~ICMP} protocol finds MAC addresses.

::Choose::[markdown]Pick the **two** fast ones. Choose two. {~%50%SSD ~%50%NVMe ~HDD ~tape}

Plain: {=[plain]<b> ~[plain]<i> ~[plain]<u>}
)";
    const Outcome got = import(text, u"net.gift"_s);
    QCOMPARE(got.skipped, QStringList());
    QCOMPARE(got.questions,
             (QStringList{
                 u"single_answer|Which port does HTTPS use?|80 / 443 / 21 / 25|2|"
                 "The correct answer is \"443\".\n80: That is HTTP.|net"_s,
                 u"multiple_answer|Which ranges are private? (Choose two.)|10.0.0.0/8 / "
                 "192.168.0.0/16 / 8.8.8.0/24 / 4.4.4.0/24|1,2|RFC 1918 & friends.\n8.8.8.0/24: "
                 "public|Addressing"_s,
                 u"single_answer|DNS resolves names.|True / False|1|The correct answer is "
                 "\"True\".\nTrue: Yes, it does.\nFalse: No, it does.|Addressing"_s,
                 u"single_answer|DHCP leases last forever.|True / False|2|The correct answer is "
                 "\"False\".|Addressing"_s,
                 u"single_answer|Escapes: {x} a=b #1 ~ C:\\dir\nnext?|yes = really / no / maybe|"
                 "1|The correct answer is \"yes = really\".|Addressing"_s,
                 u"single_answer|The _____ protocol finds MAC addresses.|DNS / ARP / ICMP|2|The "
                 "correct answer is \"ARP\".|Addressing"_s,
                 u"multiple_answer|Pick the two fast ones. Choose two.|SSD / NVMe / HDD / tape|1,2|"
                 "The correct answers are \"SSD\" and \"NVMe\".|Addressing"_s,
                 u"single_answer|Plain:|<b> / <i> / <u>|1|The correct answer is \"<b>\".|"
                 "Addressing"_s}));
}

void TestBankImport::aiken()
{
    const QByteArray text = "Which layer routes packets?\n"
                            "A. Physical\nB. Network\nC. Session\nANSWER: B\n"
                            "Which are\nstorage devices?\n"
                            "a) SSD\nb) Mouse\nc) HDD\nd) Monitor\nANSWER: A, C\n\n"
                            "Backups should be tested.\nA. TRUE\nB. false\nANSWER: A\n";
    const Outcome got = import(text, u"Storage basics.txt"_s);
    QCOMPARE(got.skipped, QStringList());
    QCOMPARE(got.questions,
             (QStringList{u"single_answer|Which layer routes packets?|Physical / Network / "
                          "Session|2|The correct answer is \"Network\".|Storage basics"_s,
                          u"multiple_answer|Which are\nstorage devices?\n(Choose two.)|SSD / Mouse "
                          "/ HDD / Monitor|1,3|The correct answers are \"SSD\" and \"HDD\".|"
                          "Storage basics"_s,
                          u"single_answer|Backups should be tested.|True / False|1|The correct "
                          "answer is \"True\".|Storage basics"_s}));
}

void TestBankImport::moodleXml()
{
    const QByteArray text = R"(<?xml version="1.0" encoding="UTF-8"?>
<quiz>
  <question type="multichoice">
    <name><text>Before any category</text></name>
    <questiontext format="html"><text>&lt;p&gt;Which is a &lt;em&gt;browser&lt;/em&gt;?&lt;/p&gt;</text></questiontext>
    <single>true</single>
    <answer fraction="0"><text>grep</text></answer>
    <answer fraction="100"><text>Firefox</text><feedback><text><![CDATA[<p>It <b>is</b>.</p>]]></text></feedback></answer>
    <answer fraction="0"><text>cron</text></answer>
  </question>
  <question type="category"><category><text>$course$/top/Default for X/Storage</text></category></question>
  <question type="multichoice">
    <questiontext format="html"><text><![CDATA[<p>Which keep data<br>without power?</p>]]></text></questiontext>
    <generalfeedback format="html"><text><![CDATA[Flash &amp; disks keep it.]]></text></generalfeedback>
    <single>false</single>
    <answer fraction="33.33333"><text>SSD</text></answer>
    <answer fraction="-100"><text>RAM</text></answer>
    <answer fraction="33.33333"><text>HDD</text></answer>
    <answer fraction="33.33334"><text>USB stick</text></answer>
  </question>
  <question type="truefalse">
    <questiontext format="moodle_auto_format"><text>RAM is volatile.</text></questiontext>
    <answer fraction="0"><text>true</text><feedback><text>No.</text></feedback></answer>
    <answer fraction="100"><text>false</text></answer>
  </question>
  <question type="multichoice">
    <questiontext format="markdown"><text>Pick **one**.</text></questiontext>
    <answer fraction="50"><text>half</text></answer>
    <answer fraction="100"><text>full</text></answer>
    <answer fraction="0"><text>none</text></answer>
  </question>
</quiz>
)";
    const Outcome got = import(text, u"quiz.xml"_s);
    QCOMPARE(got.skipped, QStringList());
    QCOMPARE(got.questions,
             (QStringList{
                 u"single_answer|Which is a browser?|grep / Firefox / cron|2|The correct answer "
                 "is \"Firefox\".\nFirefox: It is.|quiz"_s,
                 u"multiple_answer|Which keep data\nwithout power?\n(Choose three.)|SSD / RAM / "
                 "HDD / USB stick|1,3,4|Flash & disks keep it.|Storage"_s,
                 u"single_answer|RAM is volatile.|True / False|2|The correct answer is "
                 "\"False\".\nTrue: No.|Storage"_s,
                 u"single_answer|Pick one.|half / full / none|2|The correct answer is "
                 "\"full\".|Storage"_s}));
}

void TestBankImport::formatIsToldFromTheContents()
{
    using bank::ImportFormat;
    QCOMPARE(bank::detectImportFormat("\xEF\xBB\xBF  <?xml version=\"1.0\"?><quiz/>"),
             ImportFormat::MoodleXml);
    // braces in an Aiken question do not make it GIFT
    QCOMPARE(bank::detectImportFormat("What does { do?\nA. x\nB. y\nC. z\nANSWER: A\n"),
             ImportFormat::Aiken);
    QCOMPARE(bank::detectImportFormat("just some text \\{ escaped"), std::nullopt);
}

void TestBankImport::skippedWithTheirReason_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("report"); // "file:line: skipped: ..." starts with it
    const auto gift = [](const char* name, const char* text, const char* report) {
        QTest::newRow(name) << u"q.gift"_s << QByteArray("\n\n") + text
                            << u"q.gift:3: skipped: "_s + QString::fromUtf8(report);
    };
    const QString only = u"; only multiple-choice and true/false questions are imported"_s;
    gift("essay", "Explain DNS. {}", "essay question; only multiple-choice");
    gift("essay with general feedback", "Explain DNS. {####Model answer.}", "essay question");
    gift("short answer", "2+2? {=4 =four}", "short-answer question");
    gift("numerical", "2+2? {#4:0}", "numerical question");
    gift("matching", "Match {=a -> 1 =b -> 2}", "matching question");
    gift("description", "::Intro:: Read this first.",
         "description (no answers); only multiple-choice and true/false questions are imported "
         "(question \"Intro\")");
    gift("too many choices", "Q? {=a ~b ~c ~d ~e}",
         "five choices, but the test edition has room "
         "for four");
    gift("two choices, not true and false", "Q? {=yes ~no}", "two choices; a question needs three");
    gift("no right choice", "Q? {~%-50%a ~b ~c}", "no choice is marked right");
    gift("several fully right in single choice", "Q? {=a =b ~c}",
         "two choices are marked fully right, but the candidate may pick only one");
    gift("stem counts otherwise", "Q? (Choose three.) {~%50%a ~%50%b ~c}",
         "the question says to choose three, but two choices are right");
    gift("empty choice", "Q? {=a ~ ~c}", "choice 2 is empty");
    gift("no question text", "{=a ~b ~c}", "no question text");
    gift("picture from the web", "[html]Q <img src=\"http://example.com/x.png\"> {=a ~b ~c}",
         "picture \"http://example.com/x.png\" cannot be had: it is not in the file, and nothing "
         "is fetched");
    gift("picture in a choice", "[html]Q {=<img src\\=\"a.png\"> ~b ~c}",
         "choice 1 shows a picture");

    const auto xml = [](const char* name, const QByteArray& question, const char* report) {
        QTest::newRow(name) << u"q.xml"_s
                            << "<quiz>\n<question type=\"category\"><category><text>C</text>"
                               "</category></question>\n" +
                                   question + "\n</quiz>"
                            << u"q.xml:3: skipped: "_s + QString::fromUtf8(report);
    };
    const QByteArray answers = "<answer fraction=\"100\"><text>a</text></answer>"
                               "<answer fraction=\"0\"><text>b</text></answer>"
                               "<answer fraction=\"0\"><text>c</text></answer>";
    const QList<std::pair<const char*, QString>> types = {
        {"essay", u"essay question"_s},          {"cloze", u"cloze (embedded answers) question"_s},
        {"matching", u"matching question"_s},    {"shortanswer", u"short-answer question"_s},
        {"numerical", u"numerical question"_s},  {"description", u"description (no answers)"_s},
        {"calculated", u"calculated question"_s}};
    for (const auto& [type, reason] : types)
        QTest::newRow(type) << u"q.xml"_s
                            << "<quiz>\n\n<question type=\"" + QByteArray(type) +
                                   "\"><name><text>N</text></name><questiontext><text>Q?</text>"
                                   "</questiontext></question></quiz>"
                            << u"q.xml:3: skipped: "_s + reason + only + u" (question \"N\")"_s;
    xml("picture not embedded", xmlQuestion(u"@@PLUGINFILE@@/gone.png"_s, {}),
        "picture \"@@PLUGINFILE@@/gone.png\" cannot be had: the question embeds no file of that "
        "name");
    xml("two pictures",
        xmlQuestion(u"@@PLUGINFILE@@/a.png\"><img src=\"@@PLUGINFILE@@/b.png"_s,
                    {{u"a.png"_s, pngBytes(Qt::red)}, {u"b.png"_s, pngBytes(Qt::blue)}}),
        "two pictures; a question has at most one exhibit");
    xml("not a picture",
        xmlQuestion(u"@@PLUGINFILE@@/a.png"_s, {{u"a.png"_s, "MZ\x90 an executable"}}),
        "picture \"@@PLUGINFILE@@/a.png\" is not a PNG, JPEG, GIF, BMP or SVG picture");
    xml("drawing too large",
        xmlQuestion(u"@@PLUGINFILE@@/a.svg"_s,
                    {{u"a.svg"_s, R"(<svg xmlns="http://www.w3.org/2000/svg" width="90000" )"
                                  R"(height="20"><rect width="9" height="9"/></svg>)"}}),
        "drawing \"@@PLUGINFILE@@/a.svg\" is larger than 2000 by 2000");
    xml("unreadable fraction",
        "<question type=\"multichoice\"><questiontext><text>Q?</text></questiontext>"
        "<answer fraction=\"lots\"><text>a</text></answer>" +
            answers + "</question>",
        "answer 1 has the unreadable fraction \"lots\"");
    xml("true/false without true and false",
        "<question type=\"truefalse\"><questiontext><text>Q?</text></questiontext>"
        "<answer fraction=\"100\"><text>yes</text></answer>"
        "<answer fraction=\"0\"><text>no</text></answer></question>",
        "a true/false question needs the answers true and false");

    QTest::newRow("aiken: too many choices")
        << u"q.txt"_s << QByteArray("\n\nQ?\nA. a\nB. b\nC. c\nD. d\nE. e\nF. f\nANSWER: A\n")
        << u"q.txt:3: skipped: six choices, but the test edition has room for four"_s;
}

void TestBankImport::skippedWithTheirReason()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, text);
    QFETCH(QString, report);
    const Outcome got = import(text, file);
    QCOMPARE(got.questions, QStringList());
    QCOMPARE(got.skipped.size(), 1);
    QVERIFY2(got.skipped.first().startsWith(report), qPrintable(got.skipped.first()));
}

void TestBankImport::malformedFilesAreRefused_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message"); // starts with it
    QTest::addColumn<QString>("format");  // empty: told from the contents
    const auto row = [](const char* name, const char* file, const QByteArray& text,
                        const char* message, const char* format = "") {
        QTest::newRow(name) << QString::fromLatin1(file) << text << QString::fromUtf8(message)
                            << QString::fromLatin1(format);
    };
    row("gift: unclosed brace", "a.gift", "Good? {=a ~b ~c}\n\n// c\nBad?\n  {=a\n  ~b\n",
        "a.gift:5: the answers opened with { are never closed");
    row("gift: a blank line ends the answers", "a.gift", "Q? {\n=a\n\n~b}\n",
        "a.gift:1: the answers opened with { are never closed");
    row("gift: closing brace alone", "a.gift", "Q? a} {=a ~b ~c}",
        "a.gift:1: } without an opening {");
    row("gift: brace inside answers", "a.gift", "Q?\n{=a {b ~c}",
        "a.gift:2: { inside the answers opened at line 2");
    row("gift: second answer block", "a.gift", "Q? {=a ~b ~c}\nand {=d ~e}",
        "a.gift:2: a second answer block");
    row("gift: name not closed", "a.gift", "\n::Name: Q? {=a ~b ~c}",
        "a.gift:2: the question name opened with :: is not closed");
    row("gift: answers without = or ~", "a.gift", "Q? {yes no}",
        "a.gift:1: answers start with = or ~");
    row("gift: not UTF-8", "a.gift", "Q1? {=a ~b ~c}\n\nQ2 caf\xE9? {=a ~b ~c}\n",
        "a.gift:3: not UTF-8 text");
    row("aiken: no ANSWER line", "a.txt",
        "Q1?\nA. a\nB. b\nC. c\nANSWER: A\n\nQ2?\nA. a\nB. b\n\nQ3?\nA. x\n",
        "a.txt:7: the question has no ANSWER: line before line 11");
    row("aiken: no ANSWER line at the end", "a.txt", "Q1?\nA. a\nB. b\nC. c\n",
        "a.txt:1: the question has no ANSWER: line", "aiken");
    row("aiken: answer names no choice", "a.txt", "Q1?\nA. a\nB. b\nC. c\nANSWER: D\n",
        "a.txt:5: ANSWER: D names no choice of the question at line 1");
    row("aiken: choices out of order", "a.txt", "Q1?\nA. a\nC. c\nANSWER: A\n",
        "a.txt:3: choice C where B comes next");
    row("aiken: answer without a question", "a.txt", "\nANSWER: A\n",
        "a.txt:2: ANSWER: without a question before it", "aiken");
    row("xml: unclosed element", "a.xml",
        "<quiz>\n<question type=\"multichoice\">\n<questiontext><text>Q</text>\n</question>\n</quiz>\n",
        "a.xml:4: malformed XML: ");
    row("xml: undeclared entity", "a.xml", "<quiz>\n<question>&evil;</question></quiz>",
        "a.xml:2: malformed XML: ");
    row("xml: external entity", "a.xml",
        "<?xml version=\"1.0\"?>\n<!DOCTYPE quiz [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n"
        "<quiz><question type=\"essay\"><questiontext><text>&x;</text></questiontext></question></quiz>",
        "a.xml:2: a document type declaration (<!DOCTYPE>) is not accepted");
    row("xml: not a quiz", "a.xml", "<html><body/></html>",
        "a.xml:1: not a Moodle XML question file: it holds <html>, not <quiz>");
    row("format cannot be told", "a.dat", "just words",
        "a.dat: cannot tell whether this is GIFT, Aiken or Moodle XML");
}

void TestBankImport::malformedFilesAreRefused()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    QFETCH(QString, format);
    const QString got = refusal(text, file, format);
    QVERIFY2(got.startsWith(message), qPrintable(got));
}

void TestBankImport::noInputCrashesOrHangs()
{
    // Pathological texts, then the samples cut short and with bytes changed at random.
    QList<QByteArray> inputs = {
        QByteArray(200000, '{'),
        QByteArray(200000, '\\'),
        QByteArray(200000, '<'),
        "[html]" + QByteArray(100000, '<') + "{=a ~b ~c}",
        "[html]<!--" + QByteArray(100000, '&') + "{=a ~b ~c}",
        "[markdown]" + QByteArray(50000, '*') + "{=a ~b ~c}",
        // openers never closed: sized so that quadratic work runs past the test's time limit
        "[markdown]" + QByteArray("**a ").repeated(200000) + "{=a ~b ~c}",
        "[markdown]" + QByteArray("_a ").repeated(200000) + "{=a ~b ~c}",
        "[html]<img " + QByteArray("a=\"").repeated(100000) + ">{=a ~b ~c}",
        "Q {" + QByteArray("~%1%#").repeated(100000) + "}",
        QByteArray("<quiz>").repeated(50000),
        "<quiz>" +
            QByteArray("<question type=\"multichoice\"><questiontext><text>").repeated(20000),
        QByteArray("ANSWER: A\n").repeated(1000),
        QByteArray("Q?\nA. a\n").repeated(20000),
        QByteArray(1, '\0'),
        QByteArray(),
    };
    QDirIterator it(samples, QDir::Files);
    QRandomGenerator random(20240229);
    while (it.hasNext()) {
        const QByteArray sample = contents(it.next());
        for (int i = 0; i < 30; ++i) {
            QByteArray changed = sample.left(random.bounded(sample.size() + 1));
            for (int k = 0; k < 8 && !changed.isEmpty(); ++k)
                changed[random.bounded(changed.size())] = char(random.bounded(256));
            inputs << changed;
        }
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(u"input"_s);
    for (const QByteArray& input : std::as_const(inputs)) {
        filefixture::write(path, input);
        for (const char* format : {"gift", "aiken", "moodlexml"}) {
            try {
                const auto questions = bank::readQuestionFile(
                    path, bank::importFormatNamed(QString::fromLatin1(format)));
                (void)bank::importBank(questions, anyCount, {{1}, u"t"_s, u"t-"_s, {}});
            } catch (const bank::BankError& error) {
                QVERIFY(error.message().startsWith(path + u':'));
            }
        }
    }
}

void TestBankImport::trueFalseIsTheOnlyTwoAnswerQuestion()
{
    bank::Edition edition;
    edition.sourceFile = u"e"_s;
    edition.categories = {{0, u"C"_s}};
    edition.testInformation.numberOfQuestions = u"1"_s;
    bank::Question q{1, 0, u"single_answer"_s, u"Q?"_s, {u"False"_s, u"True"_s}, {2}, u"E."_s, {}};
    edition.exams = {{1, u"x"_s, {q}}};
    QCOMPARE(bank::validate(edition, QString(), bank::Standard::Imported), QStringList());

    const auto problems = [&](const QString& type, const QStringList& answers) {
        edition.exams[0].questions[0].type = type;
        edition.exams[0].questions[0].answers = answers;
        return bank::validate(edition, QString()).join(u'\n');
    };
    QVERIFY(problems(u"single_answer"_s, {u"Yes"_s, u"No"_s}).contains(u"two answers"_s));
    QVERIFY(problems(u"single_answer"_s, {u"True"_s, u"True"_s}).contains(u"two answers"_s));
    QVERIFY(problems(u"multiple_answer"_s, {u"True"_s, u"False"_s}).contains(u"two answers"_s));
}

void TestBankImport::embeddedPicturesBecomeExhibits()
{
    // Each picture's file name tries to leave the exhibits folder.
    const QStringList names = {u"../../evil.png"_s, u"/tmp/quizmoor-evil.png"_s,
                               u"..\\..\\evil.png"_s, u"sub/../../../evil.png"_s};
    const QList<QColor> colours = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    QByteArray xml = "<quiz>";
    for (qsizetype k = 0; k < names.size(); ++k) {
        const QByteArray picture = pngBytes(colours.at(k));
        xml += xmlQuestion(u"@@PLUGINFILE@@/"_s +
                               QString::fromLatin1(QUrl::toPercentEncoding(names.at(k), "/")),
                           {{names.at(k), picture}});
    }
    xml += "</quiz>";

    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath(u"a/b/out"_s)));
    const QString input = dir.filePath(u"a/b/pictures.xml"_s);
    filefixture::write(input, xml);
    const QString database = dir.filePath(u"a/b/out/bank.mdb"_s);
    const QStringList arguments = {u"--edition"_s, u"full"_s, u"--out"_s, database,
                                   u"--exams"_s,   u"2"_s,    input};
    const Run run = bankbuildImport(arguments);
    QCOMPARE(run.code, int(bank::ImportRefused)); // four are too few for the full edition...
    QVERIFY2(run.err.contains(u"4 usable questions, but each exam of the full edition draws 83: "
                              "79 more needed"_s),
             qPrintable(run.err));

    // ...so the same questions, 21 times over, make a bank
    QByteArray many = "<quiz>";
    for (int n = 0; n < 21; ++n)
        many += xml.sliced(6, xml.size() - 13);
    filefixture::write(input, many + "</quiz>");
    QCOMPARE(bankbuildImport(arguments).code, int(bank::ImportWritten));

    QCOMPARE(
        sqlfixture::rows(database, u"SELECT ID, diagram1, question FROM exam2 WHERE ID <= 4"_s),
        (QStringList{
            u"1|exhibits/bank-q1.png|Which colour?"_s, u"2|exhibits/bank-q2.png|Which colour?"_s,
            u"3|exhibits/bank-q3.png|Which colour?"_s, u"4|exhibits/bank-q4.png|Which colour?"_s}));
    QCOMPARE(sqlfixture::scalar(database, u"SELECT diagram1 FROM exam22 WHERE ID = 3"_s),
             QVariant(u"exhibits/bank-q3.png"_s));
    for (int k = 0; k < 4; ++k)
        QCOMPARE(
            QImage(dir.filePath(u"a/b/out/exhibits/bank-q%1.png"_s.arg(k + 1))).pixelColor(0, 0),
            colours.at(k));
    // nothing anywhere else
    QStringList written;
    QDirIterator all(dir.path(), QDir::Files, QDirIterator::Subdirectories);
    while (all.hasNext())
        written << QDir(dir.path()).relativeFilePath(all.next());
    QCOMPARE(written.filter(u"evil"_s), QStringList());
    QVERIFY(!QFileInfo::exists(u"/tmp/quizmoor-evil.png"_s));
    QCOMPARE(written.filter(u"exhibits/"_s).size(), 84);
}

void TestBankImport::editionLimitsRefuseTheBank()
{
    // The demo draws 30 and has 18 category slots; 19 categories are one too many.
    Outcome got = import(giftQuestions(40, 19), u"c.gift"_s, *bank::importTargetNamed(u"demo"));
    QCOMPARE(got.bank.refusals.size(), 1);
    QVERIFY2(got.bank.refusals.first().startsWith(
                 u"19 categories, but the demo edition has room for 18: \"Cat 0\", \"Cat 1\""_s),
             qPrintable(got.bank.refusals.first()));
    QVERIFY(got.bank.refusals.first().endsWith(u"\"Cat 17\" and \"Cat 18\""_s));

    got = import(giftQuestions(29, 3) + "Essay? {}\n", u"c.gift"_s,
                 *bank::importTargetNamed(u"demo"));
    QCOMPARE(got.bank.refusals,
             QStringList{u"29 usable questions, but each exam of the demo edition draws 30: 1 "
                         "more needed (1 skipped, listed above)"_s});

    got = import(giftQuestions(30, 18), u"c.gift"_s, *bank::importTargetNamed(u"demo"));
    QCOMPARE(got.bank.refusals, QStringList());
    // five choices fit the demo, not the full edition
    const QByteArray five = "Q? {=a ~b ~c ~d ~e}\n";
    QCOMPARE(import(five, u"f.gift"_s, *bank::importTargetNamed(u"demo")).questions.size(), 1);
    QCOMPARE(import(five, u"f.gift"_s, *bank::importTargetNamed(u"full")).skipped.size(), 1);
}

void TestBankImport::writtenBankHoldsTheChosenExams()
{
    QTemporaryDir dir;
    const QString input = dir.filePath(u"Exam set.gift"_s);
    filefixture::write(input, giftQuestions(90, 4));
    const QString database = dir.filePath(u"qbk09.mdb"_s);
    const Run run = bankbuildImport(
        {u"--edition"_s, u"full"_s, u"--exams"_s, u"3,1"_s, u"--out"_s, dir.path(), input});
    QCOMPARE(run.code, int(bank::ImportWritten));
    QCOMPARE(run.err, QString());
    QCOMPARE(run.out, u"bankbuild: wrote %1: 90 questions in 4 categories, 0 exhibits, for exams "
                      "1, 3 of the full edition; 0 skipped\n"_s.arg(database));

    const auto count = [&](const char* table) {
        return sqlfixture::scalar(database, u"SELECT count(*) FROM "_s + QLatin1StringView(table))
            .toInt();
    };
    QCOMPARE((QList<int>{count("exam1"), count("exam11"), count("exam2"), count("exam22"),
                         count("exam3"), count("exam33")}),
             (QList<int>{90, 90, 0, 0, 90, 90}));
    QCOMPARE(sqlfixture::rows(database, u"SELECT sl_no, cat_desc FROM cat"_s),
             (QStringList{u"1|Cat 0"_s, u"2|Cat 1"_s, u"3|Cat 2"_s, u"4|Cat 3"_s}));
    QCOMPARE(sqlfixture::rows(database, u"SELECT test_name, number_of_questions FROM "
                                        "[Test Information]"_s),
             QStringList{u"Exam set|83"_s});
    QCOMPARE(sqlfixture::rows(database,
                              u"SELECT w.question, w.catid, w.cat_desc, w.correctanswer1, "
                              "k.correctanswer1 || k.correctanswer2, k.question_type FROM exam3 w "
                              "JOIN exam33 k USING (ID) WHERE ID = 6"_s),
             QStringList{u"Question 5?|1|Cat 1|0|10|single_answer"_s});
}

void TestBankImport::samplesMakeADemoBank()
{
    QTemporaryDir dir;
    QStringList inputs;
    for (const char* name : {"networking.gift", "Security.txt", "computers.xml"})
        inputs << samples + u'/' + QLatin1StringView(name);
    const QString database = dir.filePath(u"qbk009.mdb"_s);
    const Run run =
        bankbuildImport(QStringList{u"--edition"_s, u"demo"_s, u"--out"_s, database} + inputs);
    QCOMPARE(run.code, int(bank::ImportWritten));
    QCOMPARE(run.err.count(u'\n'), 8); // the skipped, one line each
    QCOMPARE(sqlfixture::scalar(database, u"SELECT count(*) FROM exam1"_s).toInt(), 37);
    QCOMPARE(sqlfixture::rows(database, u"SELECT cat_desc FROM cat ORDER BY sl_no"_s),
             (QStringList{u"Networking basics"_s, u"IP addressing"_s, u"Security"_s, u"Hardware"_s,
                          u"Operating systems"_s}));
    const QString exhibit =
        sqlfixture::scalar(database, u"SELECT diagram1 FROM exam1 WHERE diagram1 <> ''"_s)
            .toString();
    QVERIFY2(QImage(dir.filePath(exhibit)).width() >= 360, qPrintable(exhibit));

    // The demo program opens the imported bank like its own and the
    // candidate takes an exam on it, through the windows: every question
    // answered from the key but the first, which gets no answer.
    const QString previousFolder = QDir::currentPath();
    QDir::setCurrent(dir.path());
    ScriptedPrompter prompter;
    {
        gui::Program program(core::demoEdition(), prompter);
        program.setEndHandler([] {});
        gui::startUp(program);
        prompter.expectInput(program.edition().namePrompt, u"Ada"_s);
        program.window<gui::MainWindow>().startExam(1);
        program.window<gui::ExamInfoWindow>().next();
        program.window<gui::ExamNotice>().accept();
        gui::ExamWindow* exam = program.windows().existing<gui::ExamWindow>();
        QVERIFY(exam && exam->isVisible());
        for (int n = 1; n <= 30; ++n) {
            const auto& c = *exam->controls();
            const qint64 id = c.questionId->text().toLongLong();
            const QStringList key = sqlfixture::rows(
                database, u"SELECT correctanswer1, correctanswer2, correctanswer3, "
                          u"correctanswer4, correctanswer5 FROM exam11 WHERE ID = %1"_s.arg(id));
            QCOMPARE(key.size(), 1);
            const QStringList marks = key.first().split(u'|');
            for (int k = 1; k <= 5 && n > 1; ++k) {
                if (marks.at(k - 1) == u"0"_s)
                    continue;
                QAbstractButton* box =
                    c.options[std::size_t(k)]->isVisible()
                        ? static_cast<QAbstractButton*>(c.options[std::size_t(k)])
                        : c.checks[std::size_t(k)];
                QVERIFY(box->isVisible());
                QTest::mouseClick(box, Qt::LeftButton);
            }
            if (n < 30)
                exam->nextQuestion();
        }
        prompter.expect(u"Do you really wish to end the test?"_s, core::Prompter::Ok);
        exam->endExam();
        gui::ScoreSheet* sheet = program.windows().existing<gui::ScoreSheet>();
        QVERIFY(sheet && sheet->isVisible() && sheet->grade());
        QCOMPARE(sheet->grade()->score, 966); // 29 of 30
        QVERIFY2(prompter.unexpected().isEmpty(), qPrintable(prompter.unexpected().join(u'\n')));
    }
    QDir::setCurrent(previousFolder);
}

void TestBankImport::commandLine()
{
    QTemporaryDir dir;
    const QString good = dir.filePath(u"good.gift"_s);
    filefixture::write(good, "Essay? {}\n\n" + giftQuestions(30));
    const QString database = dir.filePath(u"out/qbk009.mdb"_s);

    // As scripts run it: the skipped on standard error, what was written on standard output.
    QVERIFY2(QFileInfo(tool).isExecutable(), "build the bankbuild target first");
    QProcess process;
    process.start(tool, {u"import"_s, u"--edition"_s, u"demo"_s, u"--out"_s, database, good});
    QVERIFY(process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(QString::fromLocal8Bit(process.readAllStandardError()) // the platform may add its own
                 .split(u'\n')
                 .filter(QRegularExpression(u"^(bankbuild: |/)"_s)),
             QStringList{good + u":1: skipped: essay question; only multiple-choice and true/false "
                                "questions are imported"_s});
    QVERIFY(QString::fromLocal8Bit(process.readAllStandardOutput())
                .startsWith(u"bankbuild: wrote "_s + database));
    const QByteArray written = contents(database);

    // An existing bank stays unless --force says otherwise.
    Run run = bankbuildImport({u"--edition"_s, u"demo"_s, u"--out"_s, database, good});
    QCOMPARE(run.code, 2);
    QVERIFY2(run.err.contains(database + u" exists; add --force to replace it"_s),
             qPrintable(run.err));
    QCOMPARE(contents(database), written);
    filefixture::write(good, giftQuestions(31));
    run = bankbuildImport({u"--edition"_s, u"demo"_s, u"--force"_s, u"--out"_s, database, good});
    QCOMPARE(run.code, 0);
    QCOMPARE(sqlfixture::scalar(database, u"SELECT count(*) FROM exam1"_s).toInt(), 31);

    // Refused input: every malformed file named, nothing written.
    const QString broken = dir.filePath(u"broken.gift"_s);
    filefixture::write(broken, "Q? {=a ~b\n");
    const QString fresh = dir.filePath(u"fresh.mdb"_s);
    run = bankbuildImport({u"--edition"_s, u"demo"_s, u"--out"_s, fresh, broken, good, broken});
    QCOMPARE(run.code, 1);
    QCOMPARE(run.err.count(broken + u":1: the answers opened with { are never closed"_s), 2);
    QVERIFY(!QFileInfo::exists(fresh));

    // Usage errors.
    const QList<QStringList> usage = {
        {u"--edition"_s, u"demo"_s, u"--out"_s, fresh, u"--colour"_s, good},
        {u"--out"_s, fresh, good},
        {u"--edition"_s, u"gold"_s, u"--out"_s, fresh, good},
        {u"--edition"_s, u"demo"_s, good},
        {u"--edition"_s, u"demo"_s, u"--out"_s, fresh},
        {u"--edition"_s, u"demo"_s, u"--out"_s, fresh, u"--format"_s, u"csv"_s, good},
        {u"--edition"_s, u"demo"_s, u"--out"_s, fresh, u"--exams"_s, u"2"_s, good},
        {u"--edition"_s, u"full"_s, u"--out"_s, fresh, u"--exams"_s, u"1,1"_s, good},
        {u"--edition"_s, u"demo"_s, u"--force"_s, u"--out"_s, good, good},
    };
    for (const QStringList& arguments : usage) {
        run = bankbuildImport(arguments);
        QVERIFY2(run.code == 2, qPrintable(arguments.join(u' ')));
        QVERIFY(run.err.contains(u"usage: bankbuild import"_s));
    }
    QVERIFY(!QFileInfo::exists(fresh));

    // --format overrides what the contents suggest.
    const QString aiken = dir.filePath(u"braces.txt"_s);
    filefixture::write(aiken, "Q? {=a ~b ~c}\n");
    run = bankbuildImport(
        {u"--edition"_s, u"demo"_s, u"--format"_s, u"aiken"_s, u"--out"_s, fresh, aiken});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(aiken + u":1: the question has no ANSWER: line"_s),
             qPrintable(run.err));
}

QTEST_MAIN(TestBankImport)
#include "tst_bankimport.moc"
