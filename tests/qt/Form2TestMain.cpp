#include "QtTestPlatform.h"

// Tests of windows built by the real Qt backend; nothing here touches the network.
int main(int argc, char** argv)
{
    return RunTestsOnQtPlatform(argc, argv, "/tmp/ostrel-ui-tests-XXXXXX");
}
