#include <gtest/gtest.h>

#include "winlayer/WinObject.h"

using winlayer::TWinObject;

namespace {
struct Probe : TWinObject {
    explicit Probe(bool *gone) : Gone(gone) {}
    ~Probe() override { *Gone = true; }
    bool *Gone;
};
} // namespace

TEST(WinObject, FreeWhileHeldWaitsForTheLastRelease)
{
    bool gone = false;
    Probe *p = winlayer::NewObject<Probe>(&gone);
    const int32_t live = TWinObject::LiveObjects();
    p->AddRef();
    p->AddRef();
    p->Free();
    EXPECT_FALSE(gone);
    EXPECT_TRUE(p->FreePending());
    p->Free(); // a second free of a pending object does nothing
    p->Release();
    EXPECT_FALSE(gone);
    p->Release();
    EXPECT_TRUE(gone);
    EXPECT_EQ(TWinObject::LiveObjects(), live - 1);
}
