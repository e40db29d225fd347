#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

namespace core {

// The three registry calls the About box makes, shaped as Windows offers
// them (status 0 is success), so that a test can hand in a registry of its own.
class Registry {
public:
    using Key = std::uintptr_t;
    static constexpr Key LocalMachine = 0x80000002; // HKEY_LOCAL_MACHINE
    static constexpr long Success = 0;
    static constexpr std::uint32_t StringValue = 1; // REG_SZ
    // KEY_READ. Asking for write rights as well, as older programs did, is
    // refused under HKEY_LOCAL_MACHINE to anyone but an administrator, and
    // the tool would then never be found.
    static constexpr std::uint32_t ReadAccess = 0x20019;

    virtual ~Registry() = default;
    virtual long openKey(Key root, const QByteArray& path, std::uint32_t access, Key& key) = 0;
    // Reads at most `size` bytes into `data`; `size` then holds the bytes written.
    virtual long queryValue(Key key, const QByteArray& name, std::uint32_t& type, char* data,
                            std::uint32_t& size) = 0;
    virtual void closeKey(Key key) = 0;
};

// What this machine offers for finding and starting its system-information
// tool. The program's own implementation is chosen when it is built
// (nativeSystemTools()); tests hand in a fake.
class SystemTools {
public:
    virtual ~SystemTools() = default;
    // The system's registry, where it has one (Windows); nullptr elsewhere.
    virtual Registry* registry() = 0;
    virtual bool fileExists(const QString& path) = 0;
    // The full path of a program found on the search path, or "".
    virtual QString findProgram(const QString& name) = 0;
    // Starts a program as a process of its own that nobody waits for; false
    // when it could not be started.
    virtual bool startDetached(const QString& path, const QStringList& arguments) = 0;
};

std::unique_ptr<SystemTools> nativeSystemTools();

// A program that shows what the machine is made of, and how to open it there.
struct SystemInformationProgram {
    QString name;
    QStringList arguments;
};

// Where there is no registry: the desktops' own system-information tools and
// the common stand-alone ones, best first.
QList<SystemInformationProgram> systemInformationPrograms();

// Reads a string value of the registry into `value`. False, with `value`
// empty, when the key or the value cannot be read or the value is not a
// string (a number taken as a path would only fail later, less clearly).
// The key is closed on every path.
bool getKeyValue(Registry& registry, Registry::Key root, const QString& keyPath,
                 const QString& valueName, QString& value);

// Finds the system-information tool and starts it: with a registry, where
// the registry says it is (msinfo32); without one, the first program of
// systemInformationPrograms() on the search path. False when none was found
// or it did not start; the caller then tells the candidate.
bool startSystemInformation(SystemTools& tools);

} // namespace core
