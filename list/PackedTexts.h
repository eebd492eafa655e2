#pragma once

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

// Texts kept end to end in one block: a list file's entries run to a million, and an allocation
// for each would cost more than reading them.
class TPackedTexts
{
public:
    class TIterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        TIterator() = default;
        TIterator(const TPackedTexts& texts, std::size_t index)
            : m_texts(&texts)
            , m_index(index)
        { }

        std::string_view operator*() const { return (*m_texts)[m_index]; }
        TIterator& operator++()
        {
            ++m_index;
            return *this;
        }
        TIterator operator++(int)
        {
            TIterator before = *this;
            ++m_index;
            return before;
        }
        bool operator==(const TIterator& other) const = default;

    private:
        const TPackedTexts* m_texts = nullptr;
        std::size_t m_index = 0;
    };

    TPackedTexts() = default;
    TPackedTexts(std::initializer_list<std::string_view> texts);

    // Room for count texts of characters bytes in all.
    void Reserve(std::size_t count, std::size_t characters);
    void Append(std::string_view text);

    std::size_t Size() const { return m_ends.size(); }
    bool Empty() const { return m_ends.empty(); }
    std::string_view operator[](std::size_t index) const;
    TIterator begin() const { return { *this, 0 }; }
    TIterator end() const { return { *this, Size() }; }

    // The same texts in the same order.
    bool operator==(const TPackedTexts& other) const = default;

private:
    std::string m_characters;
    // Where each text ends in m_characters; it begins where the one before it ends.
    std::vector<std::size_t> m_ends;
};
