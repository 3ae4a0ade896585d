#include "program/qtgermantexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool LoadQtGermanTexts(QCoreApplication &app)
{
    // The user interface is German whatever the desktop's language, so the
    // locale is fixed rather than the system's. Where Qt was deployed beside
    // the executable (Windows), its translations lie in a folder there.
    const QLocale german(QLocale::German, QLocale::Germany);
    const QStringList folders = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                 QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"))};
    auto *translator = new QTranslator(&app);
    for (const QString &folder : folders) {
        if (translator->load(german, QStringLiteral("qtbase"), QStringLiteral("_"), folder))
            return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}
