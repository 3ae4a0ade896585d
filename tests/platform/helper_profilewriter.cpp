// Writes one key of a settings file `count` times with the values 1 to
// count, as a separate process would; with "distinct" it writes the keys
// <key>1 to <key><count> instead, so that every lost update leaves a gap.
// Exit code 0 when every write succeeded, 1 when one failed, 2 on wrong
// arguments.
//
// helper_profilewriter <file> <section> <key> <count> [distinct]

#include "platform/profile.h"

#include <QString>

int main(int argc, char *argv[])
{
    if (argc != 5 && argc != 6)
        return 2;
    const bool distinct = argc == 6;
    if (distinct && QString::fromLocal8Bit(argv[5]) != QStringLiteral("distinct"))
        return 2;
    const QString file = QString::fromLocal8Bit(argv[1]);
    const QString section = QString::fromLocal8Bit(argv[2]);
    const QString key = QString::fromLocal8Bit(argv[3]);
    bool ok = false;
    const int count = QString::fromLocal8Bit(argv[4]).toInt(&ok);
    if (!ok || count < 1)
        return 2;
    for (int i = 1; i <= count; ++i) {
        const QString name = distinct ? key + QString::number(i) : key;
        if (!platform::writeProfileString(section, name, QString::number(i), file))
            return 1;
    }
    return 0;
}
