#include "app/Program.h"

#include "app/SaveAtExit.h"
#include "app/Unit1.h"
#include "platform/Application.h"
#include "platform/Platform.h"
#include "ui/Form2.h"

#include <exception>
#include <memory>

int RunProgram(TPlatform& platform)
{
    // Declared in this order, the dialog goes before the main window.
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    int exitCode = 0;
    try {
        form1 = std::make_unique<TForm1>(platform);
        form2 = std::make_unique<TForm2>(platform);
    } catch (const std::exception& error) {
        // Without its windows the program cannot go on: it says why instead of vanishing.
        platform.Application().ShowException(error);
        exitCode = 1;
    }
    if (exitCode == 0) {
        Form2 = form2.get();
        const TSaveAtExit saveAtExit(*form1, platform.Application());
        platform.Application().Run(form1->Form());
    }
    // The receive threads stop while the list and the controls still exist.
    if (form1)
        form1->CloseDiscovery();
    Form2 = nullptr;
    return exitCode;
}
