#pragma once

#include "platform/win32/ComPtr.h"
#include "platform/windows/WindowsApi.h"

#include <oleacc.h>
#include <string>
#include <vector>

// What assistive technology tells of each row of a system list box after its text. The
// system's list has no such property: each row's description is an annotation of the list's
// accessible object, whose children are numbered by row, so the annotations follow the rows
// whenever rows go. Without the annotation service the rows simply have no description.
class TRowDescriptions
{
public:
    explicit TRowDescriptions(HWND list);
    ~TRowDescriptions();
    TRowDescriptions(const TRowDescriptions&) = delete;
    TRowDescriptions& operator=(const TRowDescriptions&) = delete;

    void RowAppended();
    void Set(int row, std::wstring description);
    void RowDeleted(int row);

private:
    // Writes the annotation of row as it stands now, and tells whoever listens that it changed.
    void Annotate(int row);
    void Clear(int row);

    const HWND m_list;
    TComPtr<IAccPropServices> m_services;
    std::vector<std::wstring> m_descriptions;
};
