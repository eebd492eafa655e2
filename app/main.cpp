#include "app/Unit1.h"
#include "platform/Application.h"
#include "platform/Platform.h"
#include "ui/Form2.h"

int main()
{
    const auto platform = CreatePlatform();
    auto form1 = std::make_unique<TForm1>(*platform);
    auto form2 = std::make_unique<TForm2>(*platform);
    Form2 = form2.get();
    platform->Application().Run(form1->Form());
    // The receive threads stop while the list and the controls still exist.
    form1->CloseDiscovery();
    Form2 = nullptr;
    form2.reset();
    form1.reset();
    return 0;
}
