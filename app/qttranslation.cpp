#include "app/qttranslation.h"

#include <QCoreApplication>
#include <QTranslator>

bool QtTranslation::install(QCoreApplication &app)
{
    // Owned by the application, so that it lives as long as the texts are asked for.
    auto *translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral(":/translations/qtbase_ro.qm"))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
