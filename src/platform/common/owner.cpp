#include "platform/common/owner.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace platform::owner {
namespace {

struct Slot {
    std::atomic<const void*> key{nullptr};
    void* object = nullptr;
    void (*end)(void*) = nullptr;
    Life life = Life::Run;
    unsigned long made = 0;  // the owner's count of parts made when this one was
};

// Far more than the platform's rooms keep; the slots never move, so a lookup on another thread
// never meets one half made.
constexpr std::size_t kSlots = 64;

struct Owner {
    std::array<Slot, kSlots> slots;
    std::atomic<std::size_t> used{0};  // slots ever taken; an ended part's slot is taken again
    unsigned long made = 0;
};

// The one owner: made once and never destroyed (see owner.h).
Owner& TheOwner() {
    static Owner* const owner = new Owner;
    return *owner;
}

}  // namespace

namespace detail {

void* Find(const void* key) {
    Owner& o = TheOwner();
    const std::size_t used = o.used.load(std::memory_order_acquire);
    for (std::size_t i = 0; i < used; ++i)
        if (o.slots[i].key.load(std::memory_order_acquire) == key) return o.slots[i].object;
    return nullptr;
}

void* Add(const void* key, void* object, void (*end)(void*), Life life) {
    Owner& o = TheOwner();
    const std::size_t used = o.used.load(std::memory_order_relaxed);
    // An ended part leaves its slot free for the next one.
    std::size_t i = 0;
    while (i < used && o.slots[i].key.load(std::memory_order_relaxed) != nullptr) ++i;
    if (i == kSlots) {
        std::fputs("rushmora: the platform keeps more parts than it has room for\n", stderr);
        std::abort();
    }
    Slot& s = o.slots[i];
    s.object = object;
    s.end = end;
    s.life = life;
    s.made = ++o.made;
    s.key.store(key, std::memory_order_release);
    if (i == used) o.used.store(used + 1, std::memory_order_release);
    return object;
}

}  // namespace detail

void EndRun() {
    Owner& o = TheOwner();
    // The last made first: a later part may refer to an earlier one as it ends.
    for (;;) {
        Slot* last = nullptr;
        for (std::size_t i = 0; i < o.used.load(); ++i) {
            Slot& s = o.slots[i];
            if (s.life == Life::Run && s.key.load() != nullptr && (!last || s.made > last->made)) last = &s;
        }
        if (!last) return;
        Slot& s = *last;
        s.key.store(nullptr);
        void* object = s.object;
        s.object = nullptr;
        s.end(object);
    }
}

}  // namespace platform::owner
