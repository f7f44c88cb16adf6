#pragma once
#include <cstdint>

#include "WinObject.h"

namespace winlayer {

// A list of untyped references. It owns the slots, not what they point to.
class TWinList : public TWinObject {
public:
    TWinList() = default;

    int32_t Add(void *item);                 // the new item's index
    void Insert(int32_t index, void *item);  // 0 .. Count; other indexes are ignored
    void Delete(int32_t index);              // indexes outside the list are ignored
    int32_t IndexOf(const void *item) const; // first identical item, or -1
    void Remove(const void *item);           // deletes the first identical item, if any
    void *Items(int32_t index) const;        // nullptr outside the list
    void Clear();

    int32_t Count() const { return FCount; }
    int32_t Capacity() const { return FCapacity; }
    // Slots added when the list is full; 0 means Count / 4 + 1.
    int32_t Growth() const { return FGrowth; }
    void SetGrowth(int32_t growth) { FGrowth = growth < 0 ? 0 : growth; }

protected:
    ~TWinList() override;

private:
    void Grow();

    void **FItems = nullptr;
    int32_t FCount = 0;
    int32_t FCapacity = 0;
    int32_t FGrowth = 0;
};

} // namespace winlayer
