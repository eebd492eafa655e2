#include "QtTestPlatform.h"

#include <cstdio>
#include <cstdlib>
#include <sched.h>

// The main window's scenarios open its discovery socket, so the process first moves into a
// network namespace of its own.
int main(int argc, char** argv)
{
    if (unshare(CLONE_NEWNET) != 0) {
        std::perror("widget scenarios need root for a private network namespace");
        return EXIT_FAILURE;
    }
    return RunTestsOnQtPlatform(argc, argv, "/tmp/ostrel-widget-contract-XXXXXX");
}
