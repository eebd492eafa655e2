#include "QtTestPlatform.h"

int main(int argc, char** argv)
{
    return RunTestsOnQtPlatform(argc, argv, "/tmp/ostrel-widget-contract-XXXXXX");
}
