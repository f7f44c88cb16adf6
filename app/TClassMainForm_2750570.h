#pragma once
#include <memory>

#include "app/TMinimalMainForm.h"

// The main scheme. For now it holds only its main form.
class TClassMainForm_2750570 {
public:
    TClassMainForm_2750570();
    ~TClassMainForm_2750570();
    TClassMainForm_2750570(const TClassMainForm_2750570 &) = delete;
    TClassMainForm_2750570 &operator=(const TClassMainForm_2750570 &) = delete;

    TMinimalMainForm *MainForm() const { return Form.get(); }

private:
    std::unique_ptr<TMinimalMainForm> Form;
};
