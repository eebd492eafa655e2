#pragma once

#include "platform/windows/WindowsApi.h"

#include <objbase.h>
#include <utility>

// Owns one reference to a COM object: released when the owner goes, never copied, so every
// AddRef in the program has exactly one Release.
template <class T> class TComPtr
{
public:
    TComPtr() = default;
    TComPtr(TComPtr&& other) noexcept
        : m_pointer(std::exchange(other.m_pointer, nullptr))
    { }
    TComPtr& operator=(TComPtr&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_pointer = std::exchange(other.m_pointer, nullptr);
        }
        return *this;
    }
    TComPtr(const TComPtr&) = delete;
    TComPtr& operator=(const TComPtr&) = delete;
    ~TComPtr() { Reset(); }

    // Takes over a reference the caller holds already (a newly made object's first one).
    static TComPtr Adopt(T* pointer)
    {
        TComPtr owner;
        owner.m_pointer = pointer;
        return owner;
    }
    // Takes a reference of its own to an object someone else holds.
    static TComPtr Share(T* pointer)
    {
        if (pointer)
            pointer->AddRef();
        return Adopt(pointer);
    }

    T* Get() const { return m_pointer; }
    T* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    // The slot for a call that hands out a new reference; the one held before is released.
    T** Put()
    {
        Reset();
        return &m_pointer;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    // Another interface of the same object; an empty owner when the object lacks it.
    template <class U> TComPtr<U> As() const
    {
        TComPtr<U> other;
        if (m_pointer)
            m_pointer->QueryInterface(__uuidof(U), other.PutVoid());
        return other;
    }

    void Reset()
    {
        if (T* pointer = std::exchange(m_pointer, nullptr))
            pointer->Release();
    }

private:
    T* m_pointer = nullptr;
};
