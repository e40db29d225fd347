#pragma once

#include <QMap>
#include <QString>

namespace core {
struct Edition;
}

namespace gui {

enum class HelpTopic { Navigation, Certification, ReadMe, Ordering };

// The help texts are Markdown files among the program's resources. They name
// what differs between the editions as {{name}}, filled in from the edition
// record, so that no number of an edition is written down a second time.
namespace helptext {

// The values a text may name: {{questionCount}}, {{timeLimit}}, ...
QMap<QString, QString> values(const core::Edition& edition, const QString& databasePath);
// The text of a topic with its values filled in.
QString markdown(HelpTopic topic, const QMap<QString, QString>& values);
// The resource a topic's text comes from, before filling in.
QString source(HelpTopic topic);

} // namespace helptext
} // namespace gui
