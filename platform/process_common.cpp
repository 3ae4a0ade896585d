#include "platform/process.h"
#include "platform/process_native.h"

#include <utility>

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

std::optional<QString> setExecutablePathOverride(std::optional<QString> path)
{
    return std::exchange(executableOverride(), std::move(path));
}

std::optional<QString> setCommandLineOverride(std::optional<QString> text)
{
    return std::exchange(commandLineOverride(), std::move(text));
}

} // namespace platform
