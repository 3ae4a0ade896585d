#pragma once

#include <QString>

class QWidget;

// The system calls behind platform/window.h, one implementation per system.
namespace platform {

void nativeShellOpen(QWidget *owner, const QString &path);

} // namespace platform
