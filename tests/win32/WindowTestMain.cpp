#include <fstream>
#include <gtest/gtest.h>
#include <string_view>

// Besides the tests, the program stands in for the user's browser: the help link's test
// names it as the handler of web addresses, and it writes the address it was given to a file.
int main(int argc, char** argv)
{
    if (argc == 4 && std::string_view(argv[1]) == "--record-url") {
        std::ofstream(argv[3], std::ios::binary) << argv[2];
        return 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
