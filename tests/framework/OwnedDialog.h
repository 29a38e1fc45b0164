#pragma once

#include "framework/TestDialog.h"
#include "ui/framework/Dialog.h"

// The test template made into a hidden modeless dialog, destroyed with the object.
template <class Base = Dialog>
class Owned : public Base {
public:
    Owned() { this->CreateModeless(IDD_TEST, nullptr); }
    ~Owned()
    {
        if (this->GetHwnd()) DestroyWindow(this->GetHwnd());
    }
};
