#pragma once

#include "core/SystemInformation.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QSet>

// A registry of keys and values held in memory; counts what is opened and closed.
class FakeRegistry final : public core::Registry {
public:
    struct Value {
        std::uint32_t type = StringValue;
        QByteArray bytes;
    };
    // A value stored as the registry stores it: a string with or without its terminating zero.
    void setString(const QByteArray& key, const QByteArray& name, const QByteArray& text,
                   bool terminated = true);
    void setValue(const QByteArray& key, const QByteArray& name, Value value);

    long openKey(Key root, const QByteArray& path, std::uint32_t access, Key& key) override;
    long queryValue(Key key, const QByteArray& name, std::uint32_t& type, char* data,
                    std::uint32_t& size) override;
    void closeKey(Key key) override;

    QList<std::uint32_t> accessAsked;
    QList<Key> rootsAsked;
    int opened = 0;
    int closed = 0;
    QList<Key> openKeys() const { return m_open.keys(); }

private:
    QMap<QByteArray, QMap<QByteArray, Value>> m_keys;
    QMap<Key, QByteArray> m_open;
    Key m_next = 100;
};

// A machine with or without a registry, some files, some programs on the
// search path, and a record of what was started.
class FakeSystemTools final : public core::SystemTools {
public:
    FakeRegistry* fakeRegistry = nullptr; // none: a system without a registry
    QSet<QString> files;
    QMap<QString, QString> programs; // name on the search path -> its full path
    QSet<QString> failsToStart;      // paths that do not start
    QList<QPair<QString, QStringList>> started;
    QStringList filesAsked;

    core::Registry* registry() override { return fakeRegistry; }
    bool fileExists(const QString& path) override;
    QString findProgram(const QString& name) override { return programs.value(name); }
    bool startDetached(const QString& path, const QStringList& arguments) override;
};
