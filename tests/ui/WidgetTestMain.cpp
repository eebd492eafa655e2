#include <gtest/gtest.h>
#include <QApplication>

// Widget tests need one application object for the whole run. They run on the
// offscreen platform also when started by hand or listed by the test discovery.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
