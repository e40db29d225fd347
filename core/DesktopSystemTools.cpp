#include "core/SystemInformation.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace core {
namespace {

// Systems without a registry: the tool is a program on the search path.
class DesktopSystemTools final : public SystemTools {
public:
    Registry* registry() override { return nullptr; }
    bool fileExists(const QString& path) override { return QFileInfo(path).isFile(); }
    QString findProgram(const QString& name) override
    {
        return QStandardPaths::findExecutable(name);
    }
    bool startDetached(const QString& path, const QStringList& arguments) override
    {
        return QProcess::startDetached(path, arguments);
    }
};

} // namespace

std::unique_ptr<SystemTools> nativeSystemTools()
{
    return std::make_unique<DesktopSystemTools>();
}

} // namespace core
