#include "platform/process.h"
#include "platform/process_native.h"

namespace platform {

namespace {
std::optional<QString> &executableOverride()
{
    static std::optional<QString> value;
    return value;
}

std::optional<QString> &commandLineOverride()
{
    static std::optional<QString> value;
    return value;
}
} // namespace

QString executablePath()
{
    return executableOverride() ? *executableOverride() : nativeExecutablePath();
}

QString commandLineText()
{
    return commandLineOverride() ? *commandLineOverride() : nativeCommandLineText();
}

void setExecutablePathOverride(std::optional<QString> path)
{
    executableOverride() = std::move(path);
}

void setCommandLineOverride(std::optional<QString> text)
{
    commandLineOverride() = std::move(text);
}

} // namespace platform
