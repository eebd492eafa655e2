#pragma once

#include "platform/windows/WindowsApi.h"

#include <atomic>

// The reference count of a COM object of Ostrel's own, made on the heap: it starts at one,
// the reference its maker hands out, and the object is deleted at its last Release. The
// object's class makes this a friend, so that only its count may delete it.
template <class TObject> class TComReferences
{
public:
    ULONG AddRef() { return ++m_count; }
    ULONG Release(TObject* object)
    {
        const ULONG left = --m_count;
        if (left == 0)
            delete object;
        return left;
    }

private:
    std::atomic<ULONG> m_count = 1;
};
