#pragma once

#include "platform/windows/WindowsApi.h"

#include <oleauto.h>

// Owns a VARIANT and what it holds (a string, an interface, an array): cleared when the
// owner goes, so a value a COM call hands out is freed on every path, throws included.
class TUniqueVariant
{
public:
    TUniqueVariant() { VariantInit(&m_value); }
    TUniqueVariant(const TUniqueVariant&) = delete;
    TUniqueVariant& operator=(const TUniqueVariant&) = delete;
    ~TUniqueVariant() { VariantClear(&m_value); }

    const VARIANT& Get() const { return m_value; }
    // The slot for a call that writes a new value; the one held before is cleared.
    VARIANT* Put()
    {
        VariantClear(&m_value);
        return &m_value;
    }
    // Converts the value in place; on failure it stays as it was.
    HRESULT ChangeType(VARTYPE type) { return VariantChangeType(&m_value, &m_value, 0, type); }

private:
    VARIANT m_value;
};
