#include "FakeSystemTools.h"

#include <cstring>

void FakeRegistry::setString(const QByteArray& key, const QByteArray& name, const QByteArray& text,
                             bool terminated)
{
    QByteArray bytes = text;
    if (terminated)
        bytes.append('\0');
    setValue(key, name, {StringValue, bytes});
}

void FakeRegistry::setValue(const QByteArray& key, const QByteArray& name, Value value)
{
    m_keys[key.toLower()][name.toLower()] = std::move(value);
}

long FakeRegistry::openKey(Key root, const QByteArray& path, std::uint32_t access, Key& key)
{
    rootsAsked << root;
    accessAsked << access;
    // the registry's names ignore letter case
    if (root != LocalMachine || !m_keys.contains(path.toLower())) {
        key = 0;
        return 2; // ERROR_FILE_NOT_FOUND
    }
    key = m_next++;
    m_open.insert(key, path.toLower());
    ++opened;
    return Success;
}

long FakeRegistry::queryValue(Key key, const QByteArray& name, std::uint32_t& type, char* data,
                              std::uint32_t& size)
{
    const auto values = m_keys.constFind(m_open.value(key));
    if (!m_open.contains(key) || values == m_keys.cend() || !values->contains(name.toLower()))
        return 2;
    const Value& value = values->value(name.toLower());
    type = value.type;
    if (std::uint32_t(value.bytes.size()) > size)
        return 234; // ERROR_MORE_DATA
    std::memcpy(data, value.bytes.constData(), std::size_t(value.bytes.size()));
    size = std::uint32_t(value.bytes.size());
    return Success;
}

void FakeRegistry::closeKey(Key key)
{
    if (m_open.remove(key) > 0)
        ++closed;
}

bool FakeSystemTools::fileExists(const QString& path)
{
    filesAsked << path;
    return files.contains(path);
}

bool FakeSystemTools::startDetached(const QString& path, const QStringList& arguments)
{
    if (failsToStart.contains(path) || path.isEmpty())
        return false;
    started.append({path, arguments});
    return true;
}
