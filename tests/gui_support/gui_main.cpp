// main() of the window tests: the offscreen platform, one QApplication and
// the number library, then the tests.
#include <gtest/gtest.h>

#include <QApplication>

#include "numlib/mp_context.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    mp_init();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
