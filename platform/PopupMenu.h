#pragma once

#include <functional>
#include <string>
#include <string_view>

class TMenuItem
{
public:
    virtual ~TMenuItem() = default;
    virtual std::string Name() const = 0;
    virtual std::string Caption() const = 0;

    std::function<void()> OnClick;
};

class TPopupMenu
{
public:
    virtual ~TPopupMenu() = default;
    virtual std::string Name() const = 0;
    virtual int ItemCount() const = 0;
    virtual TMenuItem& Item(int index) = 0;
    virtual TMenuItem& Item(std::string_view name) = 0;
};
