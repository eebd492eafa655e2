#include "QtTestPlatform.h"

#include <cstdio>
#include <cstdlib>
#include <sched.h>
#include <sys/mount.h>

// The main window broadcasts when shown and the tests mount over folders, so the
// process first moves into network and mount namespaces of its own.
int main(int argc, char** argv)
{
    if (unshare(CLONE_NEWNS | CLONE_NEWNET) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        std::perror("widget tests need root for private network and mount namespaces");
        return EXIT_FAILURE;
    }
    return RunTestsOnQtPlatform(argc, argv, "/tmp/ostrel-app-tests-XXXXXX");
}
