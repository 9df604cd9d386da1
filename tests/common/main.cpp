// Test main for code that needs no window: a pinned C locale, so that the
// decimal separator is the point unless a test asks otherwise.
#include <QLocale>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleMock(&argc, argv);
    QLocale::setDefault(QLocale::c());
    return RUN_ALL_TESTS();
}
