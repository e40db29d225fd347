#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace gui {

// Keeps a second copy of the same edition from running on the same question
// database: both would write their draw and choices into the one file.
class SingleInstance {
public:
    // `key` names what is guarded, e.g. the database's absolute path.
    explicit SingleInstance(const QString& key);
    bool acquired() const { return m_acquired; }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_acquired = false;
};

} // namespace gui
