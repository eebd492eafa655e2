#include "platform/common/AccessKey.h"

namespace {
bool IsKeyCharacter(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return code >= 0x80 || (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z');
}
} // namespace

std::string WithAccessKey(std::string_view caption)
{
    std::string marked;
    marked.reserve(caption.size() + 2);
    bool keyGiven = false;
    for (const char c : caption) {
        if (c == '&')
            marked += '&';
        else if (!keyGiven && IsKeyCharacter(c)) {
            marked += '&';
            keyGiven = true;
        }
        marked += c;
    }
    return marked;
}
