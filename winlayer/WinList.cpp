#include "WinList.h"

#include <cstring>

namespace winlayer {

TWinList::~TWinList()
{
    delete[] FItems;
}

void TWinList::Grow()
{
    int32_t step = FGrowth > 0 ? FGrowth : FCount / 4 + 1;
    int32_t capacity = FCapacity + step;
    void **items = new void *[static_cast<size_t>(capacity)];
    if (FCount > 0)
        std::memcpy(items, FItems, static_cast<size_t>(FCount) * sizeof(void *));
    delete[] FItems;
    FItems = items;
    FCapacity = capacity;
}

int32_t TWinList::Add(void *item)
{
    if (FCount == FCapacity)
        Grow();
    FItems[FCount] = item;
    return FCount++;
}

void TWinList::Insert(int32_t index, void *item)
{
    if (index < 0 || index > FCount)
        return;
    if (FCount == FCapacity)
        Grow();
    std::memmove(FItems + index + 1, FItems + index, static_cast<size_t>(FCount - index) * sizeof(void *));
    FItems[index] = item;
    ++FCount;
}

void TWinList::Delete(int32_t index)
{
    if (index < 0 || index >= FCount)
        return;
    --FCount;
    std::memmove(FItems + index, FItems + index + 1, static_cast<size_t>(FCount - index) * sizeof(void *));
}

int32_t TWinList::IndexOf(const void *item) const
{
    for (int32_t i = 0; i < FCount; ++i)
        if (FItems[i] == item)
            return i;
    return -1;
}

void TWinList::Remove(const void *item)
{
    Delete(IndexOf(item));
}

void *TWinList::Items(int32_t index) const
{
    return index >= 0 && index < FCount ? FItems[index] : nullptr;
}

void TWinList::Clear()
{
    delete[] FItems;
    FItems = nullptr;
    FCount = 0;
    FCapacity = 0;
}

} // namespace winlayer
