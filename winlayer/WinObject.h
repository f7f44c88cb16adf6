#pragma once
#include <cstdint>

namespace winlayer {

// Base of every layer object. The count is twice the number of holders, plus one
// while a free is pending, so that an object freed from inside one of its own
// handlers lives until the handler walk lets go of it.
class TWinObject {
public:
    TWinObject();
    TWinObject(const TWinObject &) = delete;
    TWinObject &operator=(const TWinObject &) = delete;

    // Run once right after allocation.
    virtual void InitObject() {}

    void AddRef() { RefCount += 2; }
    // Destroys the object now when nobody holds it; otherwise marks it
    // free-pending and leaves the destruction to the last Release.
    void Free();
    // Drops one hold; destroys the object when a free is pending and this was
    // the last hold.
    void Release();

    bool FreePending() const { return (RefCount & 1) != 0; }
    int32_t RefCountValue() const { return RefCount; }

    // Counts objects made and not yet destroyed, for leak checks in tests.
    static int32_t LiveObjects();

protected:
    virtual ~TWinObject();
    friend struct TWinObjectDeleter;

private:
    int32_t RefCount = 0;
};

// Makes a layer object and runs its InitObject, the way every object comes into being.
template <class T, class... Args> T *NewObject(Args &&...args)
{
    T *obj = new T(static_cast<Args &&>(args)...);
    obj->InitObject();
    return obj;
}

} // namespace winlayer
