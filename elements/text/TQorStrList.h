#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"

namespace winlayer {
class TWinStrList;
}

// A list of text lines, filled from a text (doText) or a file (doLoad), offered
// whole (Text) and as an array value (Array). The FileName property is
// FFileName, beside the FileName input.
class TQorStrList : public TElement {
public:
    TQorStrList();
    ~TQorStrList();
    TQorStrList(const TQorStrList &) = delete;
    TQorStrList &operator=(const TQorStrList &) = delete;

    winlayer::TWinStrList *Lines;
    TArrayRec *ArrayRec = nullptr;
    std::string FFileName;
    uint8_t AddType = 0; // kept for the scheme; nothing reads it

    TPointLink FileName;
    TPointLink Str;

    TPointLink onChange;

    // Replaces the list by the lines of Text.
    void SetStrings(const std::string &Text);

    void doText(TData &Data, uint16_t Index);
    void doLoad(TData &Data, uint16_t Index);
    void Text(TData &Data, uint16_t Index);
    void Array(TData &Data, uint16_t Index);

private:
    static void ArraySet(void *Self, const TData &Index, const TData &Value);
    static bool ArrayGet(void *Self, const TData &Index, TData &Item);
    static int32_t ArrayCount(void *Self);
    static void ArrayAdd(void *Self, const TData &Value);
};
