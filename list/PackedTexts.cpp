#include "list/PackedTexts.h"

TPackedTexts::TPackedTexts(std::initializer_list<std::string_view> texts)
{
    for (const auto text : texts)
        Append(text);
}

void TPackedTexts::Reserve(std::size_t count, std::size_t characters)
{
    m_ends.reserve(count);
    m_characters.reserve(characters);
}

void TPackedTexts::Append(std::string_view text)
{
    m_characters += text;
    m_ends.push_back(m_characters.size());
}

std::string_view TPackedTexts::operator[](std::size_t index) const
{
    const std::size_t begin = index == 0 ? 0 : m_ends[index - 1];
    return std::string_view(m_characters).substr(begin, m_ends[index] - begin);
}
