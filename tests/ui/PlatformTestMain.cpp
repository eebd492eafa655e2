#include "platform/qt/QtPlatform.h"
#include "QtTestPlatform.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {
TQtPlatform* Platform = nullptr;
}

TQtPlatform& QtTestPlatform()
{
    return *Platform;
}

// Tests of windows built by the real Qt backend; nothing here touches the network.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    char folder[] = "/tmp/ostrel-ui-tests-XXXXXX";
    if (!mkdtemp(folder)) {
        std::perror("cannot make the test data folder");
        return EXIT_FAILURE;
    }
    ::testing::InitGoogleTest(&argc, argv);
    int result = EXIT_FAILURE;
    {
        TQtPlatform platform(folder);
        Platform = &platform;
        result = RUN_ALL_TESTS();
        Platform = nullptr;
    }
    std::filesystem::remove_all(folder);
    return result;
}
