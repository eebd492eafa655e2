#include "app/SaveAtExit.h"

#include "app/Unit1.h"
#include "platform/Application.h"

#include <cstdlib>
#include <utility>

namespace {

// The window whose list an exit saves; an exit handler can reach it only through a static.
TForm1* FormToSave = nullptr;

void SaveOnExit()
{
    if (auto* form1 = std::exchange(FormToSave, nullptr))
        form1->SaveListAtExit();
}

} // namespace

TSaveAtExit::TSaveAtExit(TForm1& form1, TApplication& application)
    : m_application(application)
{
    // exit handlers cannot be removed, so one is registered for the life of the process.
    static const bool registered = std::atexit(SaveOnExit) == 0;
    if (registered)
        FormToSave = &form1;
    m_application.OnWindowSystemLost = SaveOnExit;
}

TSaveAtExit::~TSaveAtExit()
{
    m_application.OnWindowSystemLost = nullptr;
    FormToSave = nullptr;
}
