#pragma once

#include <QByteArray>
#include <QString>

// Invariant checks for the fuzzers: a broken invariant prints what was
// expected and what came out, then aborts, so libFuzzer saves the input as a
// crash.
namespace fuzz {

[[noreturn]] void fail(const char *what, const QString &detail = QString());

inline void check(bool holds, const char *what, const QString &detail = QString())
{
    if (!holds)
        fail(what, detail);
}

// A readable form of a text or byte string for failure reports: printable
// ASCII as it is, everything else as \x.. or \u.... escapes.
QString shown(const QString &text);
QString shown(const QByteArray &bytes);

} // namespace fuzz

// Text and byte strings, both printed in the failure report.
#define FUZZ_CHECK_EQUAL(actual, expected, what)                                                                       \
    ::fuzz::check((actual) == (expected), what,                                                                        \
                  QStringLiteral("expected: %1\nactual:   %2").arg(::fuzz::shown(expected), ::fuzz::shown(actual)))
