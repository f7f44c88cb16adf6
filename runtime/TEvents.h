#pragma once
#include <cstddef>
#include <vector>

// A list of plain handlers called in order with a sender.
class TEvents {
public:
    using THandler = void (*)(void *Object, void *Sender);

    void Add(THandler Code, void *Object);
    void Remove(THandler Code, void *Object);
    void Call(void *Sender) const;
    size_t Count() const { return Handlers.size(); }

private:
    struct Entry {
        THandler Code;
        void *Object;
    };
    std::vector<Entry> Handlers;
};
