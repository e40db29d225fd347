#include "core/SystemInformation.h"

#include <QFileInfo>
#include <QProcess>

#include <windows.h>

namespace core {
namespace {

class WindowsRegistry final : public Registry {
public:
    long openKey(Key root, const QByteArray& path, std::uint32_t access, Key& key) override
    {
        HKEY opened = nullptr;
        const LONG status = RegOpenKeyExA(handle(root), path.constData(), 0, access, &opened);
        key = reinterpret_cast<Key>(opened);
        return status;
    }

    long queryValue(Key key, const QByteArray& name, std::uint32_t& type, char* data,
                    std::uint32_t& size) override
    {
        DWORD valueType = 0;
        DWORD bytes = size;
        const LONG status = RegQueryValueExA(handle(key), name.constData(), nullptr, &valueType,
                                             reinterpret_cast<LPBYTE>(data), &bytes);
        type = valueType;
        size = bytes;
        return status;
    }

    void closeKey(Key key) override { RegCloseKey(handle(key)); }

private:
    // The predefined roots are sign-extended on 64-bit Windows, so the
    // plain number does not name them there.
    static HKEY handle(Key key)
    {
        return key == LocalMachine ? HKEY_LOCAL_MACHINE : reinterpret_cast<HKEY>(key);
    }
};

class WindowsSystemTools final : public SystemTools {
public:
    Registry* registry() override { return &m_registry; }
    bool fileExists(const QString& path) override { return QFileInfo(path).isFile(); }
    QString findProgram(const QString&) override { return QString(); }
    bool startDetached(const QString& path, const QStringList& arguments) override
    {
        return QProcess::startDetached(path, arguments);
    }

private:
    WindowsRegistry m_registry;
};

} // namespace

std::unique_ptr<SystemTools> nativeSystemTools()
{
    return std::make_unique<WindowsSystemTools>();
}

} // namespace core
