#include "TEvents.h"

void TEvents::Add(THandler Code, void *Object)
{
    Handlers.push_back({Code, Object});
}

void TEvents::Remove(THandler Code, void *Object)
{
    for (size_t i = 0; i < Handlers.size(); ++i) {
        if (Handlers[i].Code == Code && Handlers[i].Object == Object) {
            Handlers.erase(Handlers.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

void TEvents::Call(void *Sender) const
{
    // A copy, so a handler that changes the list does not disturb the walk.
    std::vector<Entry> walk = Handlers;
    for (const Entry &e : walk)
        e.Code(e.Object, Sender);
}
