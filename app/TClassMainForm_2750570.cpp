#include "app/TClassMainForm_2750570.h"

TClassMainForm_2750570::TClassMainForm_2750570()
    : Form(std::make_unique<TMinimalMainForm>("Tervik v4"))
{
}

TClassMainForm_2750570::~TClassMainForm_2750570() = default;
