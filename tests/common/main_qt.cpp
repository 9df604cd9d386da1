// Test main for widget tests: GoogleTest reads its arguments first, so that
// listing the tests at build time creates no application at all.
#include "PantallaX.h"

#include <QApplication>
#include <QLocale>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleMock(&argc, argv);
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // On an X server, as the program reaches it.
    PrepararPantallaX();
    QApplication aplicacion(argc, argv);
    QLocale::setDefault(QLocale::c());
    return RUN_ALL_TESTS();
}
