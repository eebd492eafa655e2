#include <gtest/gtest.h>
#include <QApplication>
#include <unistd.h>

// Widget tests need one application object for the whole run. They run on the
// offscreen platform also when started by hand or listed by the test discovery.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The web engine refuses its sandbox to root, and wants shared GL contexts
    // chosen before the application object exists.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
