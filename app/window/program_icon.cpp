#include "app/window/program_icon.h"

#include <QCoreApplication>
#include <QFile>

QIcon program_icon() {
    // Beside the program in the build tree and in an installed tree alike.
    const QString path = QCoreApplication::applicationDirPath() +
                         QStringLiteral("/../share/icons/hicolor/scalable/apps/velmarix.svg");
    if (QFile::exists(path)) return QIcon(path);
    return QIcon::fromTheme(QStringLiteral("velmarix"));
}
