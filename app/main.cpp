#include "app/Program.h"
#include "platform/Platform.h"

int main()
{
    const auto platform = CreatePlatform();
    return RunProgram(*platform);
}
