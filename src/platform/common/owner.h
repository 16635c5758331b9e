// The platform's state, owned in one place. Each room keeps what it keeps in parts of one owner,
// made when first needed and reached through the room's own accessor (the mixer's TheMixer(), the
// desktop's TheScreen(), ...); nothing else in the platform is mutable and outlives a call.
//
// A part lives for the run or for the program:
// - A run's parts are ended when the next run starts (Start calls EndRun), last made first ended, so
//   that every run begins anew. They stay after Stop, which has stopped the devices and threads,
//   for what the program reads of the run once it is over (its frames, its outputs, its boxes).
// - The program's parts are what is handed over before a run or reached after it: the game's keys,
//   the count of frames ever begun, and what the sound device's thread and the game's objects may
//   still reach when a run is over (the mixer, the sequencer, the message queue and the windows'
//   classes, the picture cache). They are never ended: a program that ends, with or without Stop,
//   destroys none of them, so that no order of its exit reaches one destroyed.
#pragma once

#include <new>

namespace platform::owner {

enum class Life { Run, Program };

namespace detail {
// The address of kKey<T> tells the parts apart.
template <class T>
inline constexpr char kKey = 0;
// Part lookups may come from the sound device's thread: a part once made stays where it is until
// EndRun, which comes only after the devices stopped.
void* Find(const void* key);
void* Add(const void* key, void* object, void (*end)(void*), Life life);
}  // namespace detail

// The part of type T, made (value-initialised) at its first need.
template <class T>
T& Part(Life life) {
    const void* key = &detail::kKey<T>;
    if (void* found = detail::Find(key)) return *static_cast<T*>(found);
    return *static_cast<T*>(detail::Add(
        key, new T(), [](void* p) { delete static_cast<T*>(p); }, life));
}

// Ends the parts of the run, the last made first.
void EndRun();

}  // namespace platform::owner
