#pragma once

#include <QString>

// The system calls behind platform/process.h, one implementation per system.
namespace platform {

QString nativeExecutablePath();
QString nativeCommandLineText();

} // namespace platform
