#include <cstdio>
#include <string>

#include "TPointLink.h"

void *(*DebugMessageOwner)() = nullptr;

void PlatformDebugMessage(const std::string &Text)
{
    std::fprintf(stderr, "String-Debug: %s\n", Text.c_str());
}

// The native build carries no resources.
const char *LoadTextResource(const char *)
{
    return nullptr;
}
