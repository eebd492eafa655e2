#include "platform/common/ErrorReport.h"

std::string ExceptionReportText(std::string_view message)
{
    std::string text(message);
    // The last UTF-8 byte of a character beyond ASCII is above '.' too, so bytes decide alike.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return text;
}

std::string ApplicationTitle(std::string_view programPath)
{
    const auto folderEnd = programPath.find_last_of("/\\");
    auto name = folderEnd == std::string_view::npos ? programPath : programPath.substr(folderEnd + 1);
    name = name.substr(0, name.find('.'));
    std::string title(name);
    // Letters beyond ASCII keep their case: a program file's name rarely holds one.
    for (std::size_t i = 1; i < title.size(); ++i) {
        if (title[i] >= 'A' && title[i] <= 'Z')
            title[i] = static_cast<char>(title[i] - 'A' + 'a');
    }
    return title;
}
