#pragma once

#include "data/DataControl.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace gui {

// Controls bound to a data control's current record. Text boxes and labels
// show a column; check boxes show a Yes/No column as ticked or not. A
// read-write check box changed on screen is stored in its table's row when
// the cursor moves, when the query is refreshed, or on commit(); this is the
// only way the candidate's choices reach the database. Display-only check
// boxes (the answer key) cannot be changed and never write.
class Bindings final : public data::RecordsetListener {
public:
    enum class Access { ReadWrite, DisplayOnly };

    explicit Bindings(data::DataControl& control);
    ~Bindings() override;
    Bindings(const Bindings&) = delete;
    Bindings& operator=(const Bindings&) = delete;

    void bind(QLineEdit* box, const QString& field);
    void bind(QPlainTextEdit* box, const QString& field);
    void bind(QLabel* label, const QString& field);
    void bind(QCheckBox* box, const QString& field, Access access);

    // Points a bound control at another column and shows it.
    void setDataField(QWidget* control, const QString& field);
    QString dataField(QWidget* control) const;

    // Stores pending check-box changes of the current record.
    void commit();

    void leavingRecord() override;
    void recordEntered() override;

private:
    enum class Kind { LineEdit, PlainText, Label, CheckBox };
    struct Binding {
        QPointer<QWidget> control;
        QString field;
        Kind kind;
        Access access;
        bool shownTicked = false;
    };
    void add(QWidget* control, const QString& field, Kind kind, Access access);
    void show(Binding& binding);

    data::DataControl& m_control;
    std::vector<Binding> m_bindings;
    bool m_showing = false; // the binding itself sets what a box shows
    QObject m_context;      // ends the boxes' connections with the bindings
};

} // namespace gui
