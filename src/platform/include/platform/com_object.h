// The base of the COM-style objects (Direct3D, D3DX and DirectSound): plain classes with a
// reference count behind Release. An object starts with one reference, its creator's; the last
// Release deletes it.
#pragma once

#include "platform/win32.h"

class ComObject {
  public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    virtual ~ComObject() = default;

    ULONG AddRef() { return ++refs_; }
    ULONG Release() {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

  private:
    ULONG refs_ = 1;
};
