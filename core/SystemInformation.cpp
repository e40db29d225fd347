#include "core/SystemInformation.h"

#include <array>
#include <exception>

namespace core {

QList<SystemInformationProgram> systemInformationPrograms()
{
    // Tools made for showing the hardware first: whoever installed one wants
    // it. Then the desktops' own pages, which only run on their own desktop.
    return {
        {QStringLiteral("hardinfo2"), {}},
        {QStringLiteral("hardinfo"), {}},
        {QStringLiteral("cpu-x"), {}},
        {QStringLiteral("kinfocenter"), {}},
        {QStringLiteral("xfce4-about"), {}},
        {QStringLiteral("gnome-control-center"), {QStringLiteral("info-overview")}},
    };
}

bool getKeyValue(Registry& registry, Registry::Key root, const QString& keyPath,
                 const QString& valueName, QString& value)
{
    // The registry's own interface takes the system's 8-bit code page.
    Registry::Key key = 0;
    if (registry.openKey(root, keyPath.toLocal8Bit(), Registry::ReadAccess, key) !=
        Registry::Success) {
        value.clear();
        if (key != 0)
            registry.closeKey(key);
        return false;
    }
    std::array<char, 1024> buffer{};
    std::uint32_t size = buffer.size();
    std::uint32_t type = 0;
    const long status =
        registry.queryValue(key, valueName.toLocal8Bit(), type, buffer.data(), size);
    registry.closeKey(key);
    if (status != Registry::Success || type != Registry::StringValue) {
        value.clear();
        return false;
    }
    QByteArray text(buffer.data(), qsizetype(std::min<std::uint32_t>(size, buffer.size())));
    // Stored with its terminating zero or without: the string ends at the
    // first zero either way, as every reader of the registry takes it.
    if (const qsizetype zero = text.indexOf('\0'); zero >= 0)
        text.truncate(zero);
    value = QString::fromLocal8Bit(text);
    return true;
}

namespace {

bool startFromRegistry(SystemTools& tools, Registry& registry)
{
    QString path;
    // An empty path is no more use than a missing one: the second place may still tell.
    if (getKeyValue(registry, Registry::LocalMachine,
                    QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                    QStringLiteral("PATH"), path) &&
        !path.isEmpty()) {
        // Started as it stands: a path that does not start is reported as
        // unavailable by the caller, like a missing one.
        return tools.startDetached(path, {});
    }
    if (getKeyValue(registry, Registry::LocalMachine,
                    QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                    QStringLiteral("MSINFO"), path) &&
        !path.isEmpty()) {
        const QString program = path + QStringLiteral("\\MSINFO32.EXE");
        if (tools.fileExists(program))
            return tools.startDetached(program, {});
    }
    return false;
}

bool startFromSearchPath(SystemTools& tools)
{
    for (const SystemInformationProgram& candidate : systemInformationPrograms()) {
        const QString path = tools.findProgram(candidate.name);
        if (!path.isEmpty() && tools.startDetached(path, candidate.arguments))
            return true;
    }
    return false;
}

} // namespace

bool startSystemInformation(SystemTools& tools)
{
    try {
        if (Registry* registry = tools.registry())
            return startFromRegistry(tools, *registry);
        return startFromSearchPath(tools);
    } catch (const std::exception&) {
        // whatever went wrong, the candidate hears only that the tool is unavailable
        return false;
    }
}

} // namespace core
