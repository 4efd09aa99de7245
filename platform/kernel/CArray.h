// The framework's dynamic array: elements of TYPE in index order, passed in as ARG_TYPE. SetSize
// grows and shrinks it; new elements are value-initialised (null for pointers). An index outside
// the array reads as a value-initialised element and is not written.
#pragma once

#include <vector>

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray {
public:
    int GetSize() const { return int(m_data.size()); }
    // A size of 0 (or less) frees the elements.
    void SetSize(int newSize) {
        if (newSize <= 0) {
            std::vector<TYPE>().swap(m_data);
            return;
        }
        m_data.resize(std::size_t(newSize));
    }
    void RemoveAll() { SetSize(0); }

    TYPE GetAt(int index) const { return Valid(index) ? m_data[std::size_t(index)] : TYPE{}; }
    void SetAt(int index, ARG_TYPE element) {
        if (Valid(index))
            m_data[std::size_t(index)] = element;
    }
    TYPE operator[](int index) const { return GetAt(index); }

private:
    bool Valid(int index) const { return index >= 0 && index < GetSize(); }

    std::vector<TYPE> m_data;
};
