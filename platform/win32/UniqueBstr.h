#pragma once

#include "platform/windows/WindowsApi.h"

#include <memory>
#include <oleauto.h>

struct TFreeString
{
    void operator()(BSTR text) const { SysFreeString(text); }
};
// Owns a BSTR, freed with SysFreeString.
using TUniqueBstr = std::unique_ptr<OLECHAR, TFreeString>;
