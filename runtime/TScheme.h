#pragma once
#include <type_traits>
#include <utility>
#include <vector>

#include "TPointLink.h"

// What a scheme class is built from: it makes its elements one by one (each
// configured right after it is made), wires their points, and frees them in
// reverse order of creation when it goes.
class TScheme {
public:
    TScheme() = default;
    TScheme(const TScheme &) = delete;
    TScheme &operator=(const TScheme &) = delete;
    virtual ~TScheme() { FreeElements(); }

    template <class T, class... Args> T *Make(Args &&...args)
    {
        T *element = new T(std::forward<Args>(args)...);
        Elements.push_back({element, [](void *p) { delete static_cast<T *>(p); }});
        return element;
    }

    size_t ElementCount() const { return Elements.size(); }

protected:
    // Frees what was made, the last made first.
    void FreeElements()
    {
        while (!Elements.empty()) {
            Owned last = Elements.back();
            Elements.pop_back();
            last.Delete(last.Object);
        }
    }

private:
    struct Owned {
        void *Object;
        void (*Delete)(void *);
    };
    std::vector<Owned> Elements;
};

// Event link: Source (an element's on... field) -> Target's method, with Index.
template <class T, class C>
void LinkEvent(TPointLink &Source, T *Target, void (C::*Method)(TData &, uint16_t), uint16_t Index)
{
    static_assert(std::is_base_of_v<C, T>, "the method belongs to another element class");
    MakeEventLink(Index, Source, PointOf(Method), static_cast<TElement *>(static_cast<C *>(Target)));
}

// Data link: Input (an element's data input field) <- Target's data output, with Index.
template <class T, class C>
void LinkData(TPointLink &Input, T *Target, void (C::*Output)(TData &, uint16_t), uint16_t Index)
{
    static_assert(std::is_base_of_v<C, T>, "the data output belongs to another element class");
    MakeDataLink(Index, Input, PointOf(Output), static_cast<TElement *>(static_cast<C *>(Target)));
}
