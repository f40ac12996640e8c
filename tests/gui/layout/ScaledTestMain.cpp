#include <QApplication>
#include <gtest/gtest.h>

// The GUI tests once more with every widget drawn one and a half times as
// large, as on a screen set to 150 %.
int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "1.5");
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
