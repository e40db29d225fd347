// The exam as assistive technology and the keyboard meet it: what each
// control is called and what it is, and that a choice made any way at all
// reaches the working table as the same value.

#include "ExamFixture.h"
#include "SqlFixture.h"
#include "gui/exam/AnswerWindow.h"
#include "gui/exam/ExamWindow.h"
#include "gui/review/ExhibitViewer.h"
#include "gui/scoring/ScoreSheet.h"
#include "gui/toolkit/ClickableLabel.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using gui::ExamWindow;
using namespace Qt::StringLiterals;

namespace {

const QString endQuestion = u"Do you really wish to end the test?"_s;

QAccessibleInterface* accessible(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

// Runs an accessibility action on a control, as a screen reader, voice
// control or switch access does.
void act(QWidget* widget, const QString& action)
{
    QAccessibleInterface* iface = accessible(widget);
    QVERIFY(iface && iface->actionInterface());
    QVERIFY2(iface->actionInterface()->actionNames().contains(action),
             qPrintable(iface->actionInterface()->actionNames().join(u", "_s)));
    iface->actionInterface()->doAction(action);
}

void addWays(std::initializer_list<const char*> ways)
{
    QTest::addColumn<QString>("way");
    for (const char* way : ways)
        QTest::newRow(way) << QString::fromLatin1(way);
}

// Chooses or ticks answer 3 of the question on screen the way named.
void chooseThird(ExamWindow& w, const QString& way)
{
    auto* c = w.controls();
    QAbstractButton* third = c->options[3];
    if (!third->isVisible())
        third = c->checks[3];
    if (way == u"mouse") {
        QTest::mouseClick(third, Qt::LeftButton);
    } else if (way == u"space") {
        third->setFocus();
        QTest::keyClick(third, Qt::Key_Space);
    } else if (way == u"arrow") {
        c->options[2]->setFocus();
        QTest::keyClick(c->options[2], Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), third);
    } else if (way == u"access key") {
        QTest::keyClick(w.widget(), Qt::Key_3, Qt::AltModifier);
    } else if (way.startsWith(u"accessible toggle")) {
        act(third, QAccessibleActionInterface::toggleAction());
        // toggling the chosen option leaves it chosen, as a click does
        if (way.endsWith(u"twice"))
            act(third, QAccessibleActionInterface::toggleAction());
    } else {
        QCOMPARE(way, u"answer text"_s);
        QTest::mouseClick(c->answerTexts[3]->viewport(), Qt::LeftButton);
    }
}

// Warnings Qt prints while a test runs, other than the offscreen platform's own.
QStringList warnings;
QtMessageHandler previousHandler = nullptr;
void collectWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    const bool platform = text.contains(u"propagateSizeHints"_s);
    if (type != QtDebugMsg && type != QtInfoMsg && !platform)
        warnings << text;
    if (previousHandler)
        previousHandler(type, context, text);
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choiceControlsSayWhatTheyAre();
    void everyWayOfChoosingAnOptionStoresIt_data();
    void everyWayOfChoosingAnOptionStoresIt();
    void everyWayOfTickingABoxStoresIt_data();
    void everyWayOfTickingABoxStoresIt();
    void picturesAndLinksArePressableButtons();
    void progressAndClockReadAsText();
    void tabOrderFollowsTheReadingOrder();
    void aWholeExamPrintsNoWarning();
};

void TestAccessibility::choiceControlsSayWhatTheyAre()
{
    ExamFixture f(core::fullEdition(), 83);
    ExamWindow* w = f.startExam(1);
    auto* c = w->controls();
    f.goToQuestionOfType(u"single_answer"_s);
    for (int k = 1; k <= 5; ++k) {
        const auto i = std::size_t(k);
        QCOMPARE(accessible(c->options[i])->role(), QAccessible::RadioButton);
        QCOMPARE(accessible(c->checks[i])->role(), QAccessible::CheckBox);
        QCOMPARE(accessible(c->options[i])->text(QAccessible::Name), u"Answer %1"_s.arg(k));
        QCOMPARE(accessible(c->checks[i])->text(QAccessible::Name), u"Answer %1"_s.arg(k));
        // the answer's text is read with its control
        QCOMPARE(accessible(c->options[i])->text(QAccessible::Description),
                 c->answerTexts[i]->toPlainText());
    }
    QVERIFY(!c->answerTexts[1]->toPlainText().isEmpty());
    // a question not yet answered shows no option chosen, in an exclusive group
    for (int k = 1; k <= 5; ++k)
        QVERIFY(!c->options[std::size_t(k)]->isChecked());
    QVERIFY(!accessible(c->options[1])->state().checked);
    c->optionGroup->setValue(1, true);
    QVERIFY(accessible(c->options[2])->state().checked);
    QCOMPARE(accessible(c->question)->text(QAccessible::Name), u"Question"_s);
    QCOMPARE(accessible(c->questionId)->text(QAccessible::Name), u"Question ID"_s);

    // the show-answer window names its answers too
    w->showAnswer();
    auto* answer = f.program().windows().existing<gui::AnswerWindow>()->controls();
    for (int k = 1; k <= 5; ++k)
        QCOMPARE(accessible(answer->checks[std::size_t(k)])->text(QAccessible::Name),
                 u"Answer %1"_s.arg(k));
    f.program().window<gui::AnswerWindow>().tick();
    QCOMPARE(accessible(answer->clock)->text(QAccessible::Name), u"Time open: 1 second"_s);
    f.prompter().expect(endQuestion, core::Prompter::Ok);
    w->endExam();
    QVERIFY(f.prompter().unexpected().isEmpty());
}

void TestAccessibility::everyWayOfChoosingAnOptionStoresIt_data()
{
    addWays({"mouse", "space", "arrow", "access key", "accessible toggle",
             "accessible toggle twice", "answer text"});
}

void TestAccessibility::everyWayOfChoosingAnOptionStoresIt()
{
    QFETCH(QString, way);
    ExamFixture f(core::fullEdition(), 83);
    ExamWindow* w = f.startExam(1);
    auto* c = w->controls();
    QVERIFY(QTest::qWaitForWindowActive(w->widget()));
    f.goToQuestionOfType(u"single_answer"_s);
    const qint64 id = f.currentId();
    // answer 2 first, by a plain click; then answer 3 the way under test
    QTest::mouseClick(c->options[2], Qt::LeftButton);
    QRadioButton* third = c->options[3];
    QVERIFY(third->isVisible() && !c->checks[3]->isVisible());
    chooseThird(*w, way);
    QTRY_VERIFY(third->isChecked()); // an access key's click comes a moment later
    QVERIFY(!c->options[2]->isChecked());
    QVERIFY(!c->checks[2]->isChecked() && c->checks[3]->isChecked());
    QCOMPARE(f.storedChoices(u"exam1"_s, id), 0); // pending until the cursor moves
    if (way.startsWith(u"accessible")) {
        // on to the next question the same way
        act(c->nextButton, QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(f.currentId() != id);
    } else {
        w->nextQuestion();
    }
    QCOMPARE(f.storedChoices(u"exam1"_s, id), 4);
    w->previousQuestion();
    QCOMPARE(f.currentId(), id);
    QVERIFY(third->isChecked() && !c->options[2]->isChecked());
    QVERIFY(f.prompter().unexpected().isEmpty());
}

void TestAccessibility::everyWayOfTickingABoxStoresIt_data()
{
    addWays({"mouse", "space", "access key", "accessible toggle", "answer text"});
}

void TestAccessibility::everyWayOfTickingABoxStoresIt()
{
    QFETCH(QString, way);
    ExamFixture f(core::fullEdition(), 83);
    ExamWindow* w = f.startExam(1);
    auto* c = w->controls();
    QVERIFY(QTest::qWaitForWindowActive(w->widget()));
    f.goToQuestionOfType(u"multiple_answer"_s);
    const qint64 id = f.currentId();
    QTest::mouseClick(c->checks[1], Qt::LeftButton);
    QCheckBox* third = c->checks[3];
    QVERIFY(third->isVisible() && !c->options[3]->isVisible());
    chooseThird(*w, way);
    QTRY_VERIFY(third->isChecked());
    QVERIFY(accessible(third)->state().checked);
    // End Exam stores the question on screen, and no other
    f.prompter().expect(endQuestion, core::Prompter::Ok);
    w->endExam();
    QCOMPARE(f.storedChoices(u"exam1"_s, id), 1 + 4);
    QCOMPARE(sqlfixture::scalar(f.database(), u"SELECT count(*) FROM exam1 WHERE correctanswer1 "
                                              "+ correctanswer2 + correctanswer3 + "
                                              "correctanswer4 + correctanswer5 > 0"_s)
                 .toInt(),
             1);
    QVERIFY(f.prompter().unexpected().isEmpty());
}

void TestAccessibility::picturesAndLinksArePressableButtons()
{
    ExamFixture f(core::fullEdition(), 83);
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(f.bank().path(u"net.png"_s)));
    for (auto& q : f.bank().edition().exams[0].questions)
        q.exhibit = u"net.png"_s;
    f.rewrite();
    ExamWindow* w = f.startExam(1);
    auto* c = w->controls();
    for (QWidget* label :
         {static_cast<QWidget*>(c->pauseLink), static_cast<QWidget*>(c->exhibitButton)}) {
        QCOMPARE(accessible(label)->role(), QAccessible::Button);
        QVERIFY(label->focusPolicy() & Qt::TabFocus);
    }
    QCOMPARE(accessible(c->exhibitButton)->text(QAccessible::Name), u"Exhibit"_s);
    QCOMPARE(accessible(c->pauseLink)->text(QAccessible::Name), u"Pause Timer"_s);
    act(c->pauseLink, QAccessibleActionInterface::pressAction());
    QVERIFY(!c->timer->isEnabled());
    QCOMPARE(accessible(c->pauseLink)->text(QAccessible::Name), u"Restart Timer"_s);
    act(c->pauseLink, QAccessibleActionInterface::pressAction());
    QVERIFY(c->timer->isEnabled());
    act(c->exhibitButton, QAccessibleActionInterface::pressAction());
    auto* viewer = f.program().windows().existing<gui::ExhibitViewer>();
    QVERIFY(viewer && viewer->isVisible());
    viewer->returnToCaller();
    QVERIFY(w->isVisible());
}

void TestAccessibility::progressAndClockReadAsText()
{
    for (const core::Edition& edition : {core::fullEdition(), core::demoEdition()}) {
        ExamFixture f(edition, edition.questionCount);
        ExamWindow* w = f.startExam(1);
        auto* c = w->controls();
        const QString total = QString::number(edition.questionCount);
        QCOMPARE(c->questionNo->text() + u' ' + c->questionTotal->text(), u"1 / "_s + total);
        QCOMPARE(accessible(c->questionNo)->text(QAccessible::Name), u"Question 1 of "_s + total);
        w->nextQuestion();
        QCOMPARE(c->questionNo->text() + u' ' + c->questionTotal->text(), u"2 / "_s + total);
        QCOMPARE(accessible(c->questionNo)->text(QAccessible::Name), u"Question 2 of "_s + total);
        // before the first tick the clock says the whole time
        const QString whole = edition.timeLimitMinutes == 120 ? u"2 hours"_s : u"30 minutes"_s;
        QCOMPARE(accessible(c->clock)->text(QAccessible::Name), u"Time left: "_s + whole);
        w->tick();
        QCOMPARE(accessible(c->clock)->text(QAccessible::Name),
                 edition.timeLimitMinutes == 120 ? u"Time left: 1 hour 59 minutes 59 seconds"_s
                                                 : u"Time left: 29 minutes 59 seconds"_s);
    }
}

void TestAccessibility::tabOrderFollowsTheReadingOrder()
{
    ExamFixture f(core::fullEdition(), 83);
    ExamWindow* w = f.startExam(1);
    auto* c = w->controls();
    QVERIFY(QTest::qWaitForWindowActive(w->widget()));
    w->nextQuestion(); // Previous enabled
    f.goToQuestionOfType(u"multiple_answer"_s);
    auto tabs = [&] {
        QStringList order;
        c->question->setFocus();
        for (int i = 0; i < 12; ++i) {
            QWidget* focused = QApplication::focusWidget();
            order << focused->objectName();
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        return order;
    };
    // the exhibit button is hidden without an exhibit; answer texts take no focus
    QCOMPARE(tabs(), (QStringList{u"text2_0"_s, u"Check1"_s, u"Check2"_s, u"Check3"_s, u"Check4"_s,
                                  u"cmdPrevQ"_s, u"CmdNextQ"_s, u"Command1"_s, u"cmdEndExam"_s,
                                  u"LblPause"_s, u"Text1"_s, u"text2_0"_s}));
    // a single-answer question's options are one stop, entered at the chosen one
    f.goToQuestionOfType(u"single_answer"_s);
    QCOMPARE(tabs().mid(0, 3), (QStringList{u"text2_0"_s, u"Option1"_s, u"cmdPrevQ"_s}));
    QTest::mouseClick(c->options[2], Qt::LeftButton);
    w->nextQuestion();
    w->previousQuestion();
    QCOMPARE(tabs().mid(0, 3), (QStringList{u"text2_0"_s, u"Option2"_s, u"cmdPrevQ"_s}));
}

void TestAccessibility::aWholeExamPrintsNoWarning()
{
    warnings.clear();
    previousHandler = qInstallMessageHandler(collectWarnings);
    {
        ExamFixture f(core::fullEdition(), 83);
        ExamWindow* w = f.startExam(1);
        auto* c = w->controls();
        for (int i = 0; i < 83; ++i) {
            w->tick();
            // a click on an answer's text, anywhere along it, chooses it
            QPlainTextEdit* text = c->answerTexts[std::size_t(i % 4 + 1)];
            const QRect line = text->viewport()->rect();
            QTest::mouseClick(text->viewport(), Qt::LeftButton, {},
                              QPoint(line.width() - 2 - i * 7 % line.width(), line.height() / 2));
            QTest::mouseClick(c->nextButton, Qt::LeftButton);
        }
        for (int i = 0; i < 10; ++i)
            w->previousQuestion();
        w->showAnswer();
        f.program().window<gui::AnswerWindow>().tick();
        f.program().window<gui::AnswerWindow>().returnToExam();
        f.prompter().expect(endQuestion, core::Prompter::Ok);
        w->endExam();
        f.program().window<gui::ScoreSheet>().exit();
        f.program().windows().collectDiscarded();
        QCoreApplication::processEvents();
    }
    qInstallMessageHandler(previousHandler);
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(u'\n')));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
