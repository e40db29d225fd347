#include "gui/toolkit/Bindings.h"

#include "core/BankCheck.h"
#include "data/DataError.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <map>

namespace gui {
namespace {

// A text longer than a bank may hold (the file changed after it was checked)
// shows its beginning only: laying out a paragraph of a million characters
// would hold the window for minutes.
QString shownText(const QVariant& value)
{
    if (value.isNull())
        return QString();
    QString text = value.toString();
    if (text.size() <= core::longestBankText)
        return text;
    qsizetype cut = core::longestBankText;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    text.truncate(cut);
    return text + QStringLiteral("\u2026 (the rest is too long to show)");
}

} // namespace

Bindings::Bindings(data::DataControl& control) : m_control(control)
{
    m_control.setListener(this);
}

Bindings::~Bindings()
{
    m_control.setListener(nullptr);
}

void Bindings::add(QWidget* control, const QString& field, Kind kind, Access access)
{
    m_bindings.push_back({control, field, kind, access, false});
    if (m_control.hasRecordset())
        show(m_bindings.back());
}

void Bindings::bind(QLineEdit* box, const QString& field)
{
    add(box, field, Kind::LineEdit, Access::DisplayOnly);
}
void Bindings::bind(QPlainTextEdit* box, const QString& field)
{
    // A word longer than the line (a path, a run without blanks) breaks where
    // it must instead of running off to the right.
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    add(box, field, Kind::PlainText, Access::DisplayOnly);
}
void Bindings::bind(QLabel* label, const QString& field)
{
    // What a bank holds is shown as written: "<img src=...>" in a test name
    // must not make the label look a picture up on disk.
    label->setTextFormat(Qt::PlainText);
    add(label, field, Kind::Label, Access::DisplayOnly);
}

void Bindings::bind(QCheckBox* box, const QString& field, Access access)
{
    if (access == Access::DisplayOnly) {
        // The answer key is shown, not offered: it cannot be ticked by mouse or key.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
        // A change that reaches it all the same (its caption's access key, an
        // event sent to it directly, an accessibility Toggle) is undone at once.
        QObject::connect(box, &QCheckBox::toggled, &m_context, [this, box](bool checked) {
            if (m_showing)
                return;
            const QScopedValueRollback undoing(m_showing, true);
            box->setChecked(!checked);
        });
    }
    add(box, field, Kind::CheckBox, access);
}

void Bindings::setDataField(QWidget* control, const QString& field)
{
    for (Binding& b : m_bindings) {
        if (b.control == control) {
            b.field = field;
            if (m_control.hasRecordset())
                show(b);
        }
    }
}

QString Bindings::dataField(QWidget* control) const
{
    for (const Binding& b : m_bindings) {
        if (b.control == control)
            return b.field;
    }
    return QString();
}

void Bindings::show(Binding& b)
{
    if (!b.control)
        return;
    data::Recordset& rs = m_control.recordset();
    QVariant value;
    if (rs.hasCurrent())
        value = rs.value(b.field); // a missing column is reported, never shown as blank
    const QString text = shownText(value);
    switch (b.kind) {
    case Kind::LineEdit:
        static_cast<QLineEdit*>(b.control.data())->setText(text);
        static_cast<QLineEdit*>(b.control.data())->setCursorPosition(0);
        break;
    case Kind::PlainText:
        static_cast<QPlainTextEdit*>(b.control.data())->setPlainText(text);
        break;
    case Kind::Label:
        static_cast<QLabel*>(b.control.data())->setText(text);
        break;
    case Kind::CheckBox: {
        b.shownTicked = !value.isNull() && value.toLongLong() != 0;
        const QScopedValueRollback showing(m_showing, true);
        static_cast<QCheckBox*>(b.control.data())->setChecked(b.shownTicked);
        break;
    }
    }
}

void Bindings::recordEntered()
{
    for (Binding& b : m_bindings)
        show(b);
}

void Bindings::leavingRecord()
{
    if (!m_control.hasRecordset())
        return;
    data::Recordset& rs = m_control.recordset();
    if (!rs.hasCurrent())
        return;
    std::map<int, bool> changes;
    for (const Binding& b : m_bindings) {
        if (b.kind != Kind::CheckBox || b.access != Access::ReadWrite || !b.control)
            continue;
        const bool ticked = static_cast<QCheckBox*>(b.control.data())->isChecked();
        if (ticked == b.shownTicked)
            continue;
        const int position = rs.fieldIndex(b.field);
        if (position < 0 || !rs.canWriteBack(position))
            throw data::DataError(
                data::DataError::Kind::Other, m_control.DatabaseName,
                QStringLiteral("the choice in \"%1\" cannot be stored").arg(b.field));
        changes[position] = ticked;
    }
    if (changes.empty())
        return;
    rs.Edit();
    for (const auto& [position, ticked] : changes)
        rs.setValue(position, ticked ? 1 : 0);
    rs.Update();
    for (Binding& b : m_bindings) {
        if (b.kind == Kind::CheckBox && b.control && b.access == Access::ReadWrite)
            b.shownTicked = static_cast<QCheckBox*>(b.control.data())->isChecked();
    }
}

void Bindings::commit()
{
    leavingRecord();
}

} // namespace gui
